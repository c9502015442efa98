// The set/get pipeline: skipping, routing, lamp pairs, infrared budget,
// unknown keys, failures and the guards around the image-algorithm library.
#include "ControllerRowsFixture.h"
#include "IaInterface.h"

using V = std::vector<std::string>;
using testing::HasSubstr;
using testing::Not;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class PipelineTest : public ControllerRowsTest {};

TEST_F(PipelineTest, SameValueIsSkippedOnlyWhenSavingAgainstTheReferenceScheme)
{
    cache(0, 34, 50);
    EXPECT_EQ(0, m_pCtrl->setParameter(34, 50, true));
    EXPECT_EQ(V{}, timeline());
    EXPECT_EQ(0, m_pCtrl->setParameter(34, 70, false));
    EXPECT_EQ(V{"ia 34=70"}, timeline());
    EXPECT_EQ(50u, cached(0, 34));
    // While switching, values are compared with the scheme left.
    access().statusFlag() = SNS_STATUS_SWITCHING;
    access().lastScheme() = 1;
    cache(1, 34, 9);
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(34, 9, true));
    EXPECT_EQ(V{}, timeline());
}

TEST_F(PipelineTest, SchemeModeIsSharedFromSchemeZeroOnly)
{
    EXPECT_EQ(0, m_pCtrl->setParameter(8000, 2, true));
    EXPECT_TRUE(access().dnSwitch());
    EXPECT_EQ(0, m_pCtrl->setParameter(8000, 1, true));
    EXPECT_TRUE(access().timeSwitch());
    EXPECT_FALSE(access().dnSwitch());
    for (u32 s = 0; s < kSchemes; ++s) EXPECT_EQ(1u, cached(s, 8000));
    EXPECT_EQ(0u, cached(kSchemes, 8000));
    EXPECT_EQ(0, m_pCtrl->setParameter(8000, 5, true));
    EXPECT_FALSE(access().timeSwitch() || access().dnSwitch());
    EXPECT_EQ(5u, cached(0, 8000));
    EXPECT_EQ(0u, cached(3, 8000));
    access().curScheme() = 2;
    EXPECT_EQ(0, m_pCtrl->setParameter(8000, 1, true));
    EXPECT_FALSE(access().timeSwitch());
    EXPECT_EQ(1u, cached(2, 8000));
    EXPECT_EQ(0u, cached(1, 8000));
    EXPECT_EQ(V{}, timeline());
}

TEST_F(PipelineTest, DayNightKeysAreAppliedInSchemeZeroAndMirroredIntoSchemeOne)
{
    access().dnSwitch() = true;
    EXPECT_EQ(0, m_pCtrl->setParameter(144, 1, true));
    EXPECT_EQ(V{"ia 144=1"}, timeline());
    EXPECT_EQ(1u, cached(0, 144));
    EXPECT_EQ(1u, cached(1, 144));
    access().curScheme() = 1;
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(144, 2, true));
    EXPECT_EQ(V{}, timeline());
    EXPECT_EQ(2u, cached(1, 144));
    EXPECT_EQ(1u, cached(0, 144));
}

TEST_F(PipelineTest, LampPairsFollowTheLightType)
{
    cache(0, 224, 2);
    EXPECT_EQ(0, m_pCtrl->setParameter(161, 1, true));
    EXPECT_EQ(0u, cached(0, 161) + cached(0, 168));
    EXPECT_EQ(0, m_pCtrl->setParameter(168, 1, true));
    EXPECT_EQ(V{"ia 161=1"}, timeline());
    EXPECT_EQ(1u, cached(0, 161));
    EXPECT_EQ(1u, cached(0, 168));

    cache(0, 224, 0);
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(161, 2, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(168, 3, true));
    EXPECT_EQ(V{"ia 161=2"}, timeline());
    EXPECT_EQ(2u, cached(0, 161));
    EXPECT_EQ(2u, cached(0, 168));
    EXPECT_EQ(0, m_pCtrl->setParameter(161, 4, false));
    EXPECT_EQ(2u, cached(0, 161));
    EXPECT_EQ(4u, cached(0, 168));
}

TEST_F(PipelineTest, InfraredBudgetRefusesAboveOneHundred)
{
    access().limitedIrPower() = true;
    cache(0, 167, 50);
    EXPECT_EQ(-163, m_pCtrl->setParameter(163, 60, true));
    EXPECT_EQ(V{}, timeline());
    EXPECT_EQ(0u, cached(0, 163));
    EXPECT_EQ(0, m_pCtrl->setParameter(163, 50, true));
    EXPECT_EQ(V{"ia 163=50"}, timeline());

    // A partner missing from the row is read from the library.
    entry(0, 167)->key = 9999;
    iasim::setValue(0, 167, 70);
    CaptureStdout();
    EXPECT_EQ(-163, m_pCtrl->setParameter(163, 40, true));
    EXPECT_THAT(GetCapturedStdout(), HasSubstr("### KEY_IR_MANUAL_STRG_FAR doIaCmd sucess\n"));
    iasim::failCommand(167, 1, -1, IA_CMD_OPT_GET);
    CaptureStdout();
    EXPECT_EQ(0, m_pCtrl->setParameter(163, 45, true));
    std::string strOut = GetCapturedStdout();
    EXPECT_THAT(strOut, HasSubstr("fun:setParameters line:807\n"));
    EXPECT_THAT(strOut, HasSubstr("get key(167) val from 2a err"));
    EXPECT_THAT(strOut, HasSubstr("### KEY_IR_MANUAL_STRG_FAR doIaCmd error\n"));
    entry(0, 163)->key = 9998;
    iasim::failCommand(163, 1, -1, IA_CMD_OPT_GET);
    CaptureStdout();
    EXPECT_EQ(0, m_pCtrl->setParameter(167, 45, true));
    strOut = GetCapturedStdout();
    EXPECT_THAT(strOut, HasSubstr("line:878\n"));
    EXPECT_THAT(strOut, HasSubstr("### KEY_IR_MANUAL_STRG_NEAR doIaCmd error\n"));
}

TEST_F(PipelineTest, KeyWithoutRowGoesToTheLibraryUnderItsOwnNumber)
{
    traceAll();
    CaptureStdout();
    EXPECT_EQ(0, m_pCtrl->setParameter(4000, 7, true));
    const std::string strOut = GetCapturedStdout();
    EXPECT_THAT(strOut, HasSubstr("[sensor assert] file:ISensorController fun:setParameters line:991\n"
                                  "-1 != findFromKeyCmdMap(m_pKeyCmdMap, nKey, stKeyCmdTmp)   ~~~"));
    EXPECT_THAT(strOut, HasSubstr("p_pKeyval[0].key(4000)"));
    EXPECT_THAT(strOut, HasSubstr("\033[0m\033[32mnot find (4000) \n\033[0m"));
    EXPECT_THAT(strOut, HasSubstr("\033[31m====================== set unknow key (4000,7) "
                                  "func:ISensorController::doIaCmd ia_cmd:4000 ====="));
    EXPECT_THAT(strOut, HasSubstr("[sensor dbg] file:ISensorController fun:setParameters line:1020\n"
                                  "SET_KEY_VAL FAILED, m_nCurScheme(0), p_pKeyval[0].key(4000), "
                                  "p_pKeyval[0].value(7),  maybe jixin\n"));
    EXPECT_EQ(V{"ia 4000=7"}, timeline());
}

TEST_F(PipelineTest, FailingHandlerStopsAtItsEntry)
{
    traceAll();
    iasim::failCommand(144, 1, -4);
    KeyVal arrEntries[] = {{34, 11}, {144, 3}, {2368, 1}};
    CaptureStdout();
    EXPECT_EQ(-144, m_pCtrl->setParameters(arrEntries, 3, true));
    EXPECT_THAT(GetCapturedStdout(),
                HasSubstr("[sensor err] file:ISensorController fun:setParameters line:1008\nset "
                          "KEY_DN_MODE (144,3) func:&ISensorController::doIaCmd ia_cmd:144 "
                          "~~~failed ia_ret=-4\n"));
    EXPECT_EQ(V({"ia 34=11", "ia 144=3"}), timeline());
    EXPECT_EQ(11u, cached(0, 34));
    EXPECT_EQ(0u, cached(0, 144));
    // Other failures stop just as well, without the trace.
    iasim::failCommand(34, 1, -2);
    CaptureStdout();
    EXPECT_EQ(-34, m_pCtrl->setParameter(34, 12, true));
    EXPECT_THAT(GetCapturedStdout(), Not(HasSubstr("~~~failed")));
}

TEST_F(PipelineTest, ThermalChannelRoutesPastTheTable)
{
    access().isThermal() = true;
    iasim::failCommand(2384, 1, -1);
    EXPECT_EQ(0, m_pCtrl->setParameter(8201, 1, true));
    EXPECT_EQ(0, m_pCtrl->setParameter(2384, 1, true));
    EXPECT_EQ(V({"video 8201=1", "video 2384=1", "ia 2384=1"}), timeline());
    EXPECT_EQ(1u, cached(0, 2384));
    access().isThermal() = false;
    clearLog();
    EXPECT_EQ(0, m_pCtrl->setParameter(8201, 2, true));
    EXPECT_EQ(V{"ia 8201=2"}, timeline());
}

TEST_F(PipelineTest, GetParameterReadsCacheThenLibrary)
{
    int nVal = 0;
    cache(0, 34, 77);
    EXPECT_TRUE(m_pCtrl->getParameter(34, nVal));
    EXPECT_EQ(77, nVal);
    EXPECT_TRUE(m_pCtrl->getParameter(160, nVal));
    EXPECT_EQ(-1, nVal);
    EXPECT_EQ(V{}, timeline());
    iasim::setValue(0, 2497, 25);
    EXPECT_TRUE(m_pCtrl->getParameter(2497, nVal));
    EXPECT_EQ(V{"ia1 2497=25"}, timeline());
    access().zoomFocus().setLockZoomFocusEnable(true);
    nVal = 3;
    EXPECT_TRUE(m_pCtrl->getParameter(1552, nVal));
    EXPECT_EQ(3, nVal);
    iasim::failCommand(2337, 1, -1);
    CaptureStdout();
    EXPECT_FALSE(m_pCtrl->getParameter(2337, nVal));
    EXPECT_THAT(GetCapturedStdout(), HasSubstr("line:1886\nSNS_SUCCESS == doIaCmd(p_nKey, "
                                               "IA_CMD_OPT_GET, &p_nVal)   ~~~Assertion failed."));
}

TEST_F(PipelineTest, GuardsAroundTheLibrary)
{
    u32 nVal = 1;
    auto acc = access();
    acc.zoomFocus().setLockZoomFocusEnable(true);
    for (u32 nCmd : {1535u, 1536u, 1616u, 1617u}) m_pCtrl->doIaCmd(nCmd, IA_CMD_OPT_SET, &nVal);
    EXPECT_EQ(V({"ia 1535=1", "ia 1617=1"}), timeline());
    clearLog();
    acc.statusFlag() = SNS_STATUS_RESETTING;
    EXPECT_EQ(0, m_pCtrl->doIaCmd_User(83, IA_CMD_OPT_SET, &nVal));
    EXPECT_EQ(0, m_pCtrl->doIaCmdShutter(8211, IA_CMD_OPT_SET, &nVal));
    acc.shutterUnlock() = true;  // one shutter command passes whatever the bits
    m_pCtrl->doIaCmdShutter(8211, IA_CMD_OPT_SET, &nVal);
    m_pCtrl->doIaCmdShutter(8211, IA_CMD_OPT_SET, &nVal);
    acc.statusFlag() = SNS_STATUS_INITIALISING;
    m_pCtrl->doIaCmd_User(1569, IA_CMD_OPT_SET, &nVal);
    acc.statusFlag() = SNS_STATUS_SHUTTING_DOWN | SNS_STATUS_INITIALISED;
    acc.hasLens() = false;
    m_pCtrl->doIaCmd_User(1539, IA_CMD_OPT_SET, &nVal);
    m_pCtrl->doIaCmd_User(83, IA_CMD_OPT_SET, &nVal);
    m_pCtrl->doIaCmdShutter(8211, IA_CMD_OPT_SET, &nVal);
    EXPECT_EQ(V({"ia 8211=1", "ia 83=1", "ia 8211=1"}), timeline());
}

TEST_F(PipelineTest, FieldOfViewRequestAndVideoChannel)
{
    EXPECT_EQ(0, m_pCtrl->setParameter(8104, 1, true));
    EXPECT_EQ(1, ISensorController::m_nChanneldDosomething);
    EXPECT_EQ(8104, ISensorController::m_nPassKeycmd);
    ISensorController::m_nChanneldDosomething = ISensorController::m_nPassKeycmd = -1;
    EXPECT_EQ(V{}, timeline());

    access().cameraId() = 2;
    m_pCtrl->notifyToVideo(5, 6);
    access().machineInfo().setDeviceType(13);
    m_pCtrl->notifyToVideo(5, 7);
    ASSERT_EQ(2u, m_objVideo.notes().size());
    EXPECT_EQ(2, m_objVideo.notes()[0].channel);
    EXPECT_EQ(1, m_objVideo.notes()[1].channel);
    m_pCtrl->setVideoStreamModule(nullptr);
    m_objVideo.m_nResult = -1;
    EXPECT_EQ(0, m_pCtrl->notifyToVideo(5, 8));

    int nStatus = 0;
    iasim::setExecStatus(1536, 3);
    EXPECT_TRUE(m_pCtrl->getCmdExecStatus(1536, nStatus));
    EXPECT_EQ(3, nStatus);
}
