// The set/get pipeline: skipping, routing, lamp pairs, infrared budget,
// unknown keys, failures and the guards around the image-algorithm library.
#include "ControllerFixtures.h"

using PipelineTest = StillControllerTest;

TEST_F(PipelineTest, SameValueIsSkippedOnlyWhenSavingAgainstTheReferenceScheme)
{
    EXPECT_EQ(V{}, applied({{KEY_BRIGHTNESS, 50}}));  // the factory value
    EXPECT_EQ(V{"ia 34=70"}, applied({{KEY_BRIGHTNESS, 70}}, false));
    EXPECT_EQ(50, cached(KEY_BRIGHTNESS));
    // While switching, values are compared with the scheme left.
    cache(KEY_BRIGHTNESS, 9, 1);
    ASSERT_TRUE(ctrl().setParamScheme(1) && ctrl().setParamScheme(0));  // scheme 1 is the one left
    access().statusFlag() = SNS_STATUS_INITIALISED | SNS_STATUS_SWITCHING;
    EXPECT_EQ(V{}, applied({{KEY_BRIGHTNESS, 9}}));
}

TEST_F(PipelineTest, SchemeModeAndDayNightKeys)
{
    EXPECT_EQ(V{}, applied({{KEY_SCHEME_MODE, 2}}));
    EXPECT_TRUE(access().dnSwitch());
    // Under day/night switching scheme 0 applies these keys and scheme 1 follows.
    EXPECT_EQ(V{"ia 144=1"}, applied({{KEY_DN_MODE, 1}}));
    EXPECT_EQ("1 1 2 2 2", rows(KEY_DN_MODE));
    ASSERT_TRUE(ctrl().setParamScheme(1));
    EXPECT_EQ(V{}, applied({{KEY_DN_MODE, 0}}));
    EXPECT_EQ("1 0 2 2 2", rows(KEY_DN_MODE));
    // The mode belongs to scheme 0; the other user schemes get a copy.
    ASSERT_TRUE(ctrl().setParamScheme(0));
    set(KEY_SCHEME_MODE, 1);
    EXPECT_TRUE(access().timeSwitch() && !access().dnSwitch());
    EXPECT_EQ("1 1 1 1 0", rows(KEY_SCHEME_MODE));
    set(KEY_SCHEME_MODE, 5);  // no automatic switching: the copies say 0
    EXPECT_FALSE(access().timeSwitch() || access().dnSwitch());
    EXPECT_EQ("5 0 0 0 0", rows(KEY_SCHEME_MODE));
    ASSERT_TRUE(ctrl().setParamScheme(2));
    set(KEY_SCHEME_MODE, 1);
    EXPECT_FALSE(access().timeSwitch());
    EXPECT_EQ("5 0 1 0 0", rows(KEY_SCHEME_MODE));
}

TEST_F(PipelineTest, LampPairsFollowTheLightType)
{
    cache(KEY_LIGHT_TYPE, 2);  // intelligent: 168 is applied as 161, and 161 itself is skipped
    EXPECT_EQ(V{"ia 161=1"}, applied({{KEY_IR_MODE_INTELL, 1}, {KEY_IR_MODE, 5}}));
    EXPECT_EQ("1 1", std::to_string(cached(KEY_IR_MODE)) + " " + std::to_string(cached(KEY_IR_MODE_INTELL)));
    cache(KEY_LIGHT_TYPE, 0);
    EXPECT_EQ(V{"ia 161=2"}, applied({{KEY_IR_MODE, 2}, {KEY_IR_MODE_INTELL, 3}}));
    set(KEY_IR_MODE, 4, false);
    EXPECT_EQ("2 4", std::to_string(cached(KEY_IR_MODE)) + " " + std::to_string(cached(KEY_IR_MODE_INTELL)));
}

TEST_F(PipelineTest, InfraredBudgetOfOneHundred)
{
    access().limitedIrPower() = true;
    cache(KEY_IR_MANUAL_STRG_FAR, 50);
    EXPECT_EQ((V{"=> -163", "ia 163=50"}),
              applied({{KEY_IR_MANUAL_STRG_NEAR, 60}, {KEY_IR_MANUAL_STRG_NEAR, 50}}));
    // Without a row the partner is read from the library; an unreadable one refuses nothing.
    writeStyle("", styleOf({{KEY_IR_MANUAL_STRG_NEAR, 10}}));
    startStill("(isInfrared=17)");
    iasim::setValue(0, 167, 70);
    iasim::failCommand(167, 1, -1, IA_CMD_OPT_GET);
    V vecDone;
    expectParts(
        output([&] {
            vecDone = applied({{KEY_IR_MANUAL_STRG_NEAR, 45}, {KEY_IR_MANUAL_STRG_NEAR, 40}});
        }),
        {"fun:setParameters line:807\n", "get key(167) val from 2a err",
         "### KEY_IR_MANUAL_STRG_FAR doIaCmd error\n", "### KEY_IR_MANUAL_STRG_FAR doIaCmd sucess\n"});
    EXPECT_EQ((V{"ia1 167=4294967295", "ia 163=45", "ia1 167=70", "=> -163"}), vecDone);
    writeStyle("", styleOf({{KEY_IR_MANUAL_STRG_FAR, 10}}));
    startStill("(isInfrared=17)");
    iasim::failCommand(163, 1, -1, IA_CMD_OPT_GET);
    expectParts(output([&] { set(KEY_IR_MANUAL_STRG_FAR, 45); }),
                {"line:878\n", "### KEY_IR_MANUAL_STRG_NEAR doIaCmd error\n"});
}

TEST_F(PipelineTest, UnknownKeysAndFailingHandlersAreReported)
{
    testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "6\n");
    V vecDone;
    expectParts(output([&] { vecDone = applied({{4000, 7}}); }),
                {"[sensor assert] file:ISensorController fun:setParameters line:991\n"
                 "-1 != findFromKeyCmdMap(m_pKeyCmdMap, nKey, stKeyCmdTmp)   ~~~",
                 "p_pKeyval[0].key(4000)", "\033[0m\033[32mnot find (4000) \n\033[0m",
                 "\033[31m====================== set unknow key (4000,7) "
                 "func:ISensorController::doIaCmd ia_cmd:4000 =====",
                 "[sensor dbg] file:ISensorController fun:setParameters line:1020\n"
                 "SET_KEY_VAL FAILED, m_nCurScheme(0), p_pKeyval[0].key(4000), p_pKeyval[0].value(7),  maybe jixin\n"});
    EXPECT_EQ(V{"ia 4000=7"}, vecDone);

    // A failing handler stops the run at its entry, traced for -1, -4 and -5 only.
    iasim::failCommand(144, 1, -4);
    iasim::failCommand(34, 1, -2);
    KeyVal arrEntries[] = {{KEY_SATURATION, 11}, {KEY_DN_MODE, 3}, {KEY_WDR_MODE, 1}};
    expectParts(output([&] { EXPECT_EQ(-144, ctrl().setParameters(arrEntries, 3, true)); }),
                {"[sensor err] file:ISensorController fun:setParameters line:1008\nset KEY_DN_MODE (144,3) "
                 "func:&ISensorController::doIaCmd ia_cmd:144 ~~~failed ia_ret=-4\n"});
    EXPECT_EQ("11 2", std::to_string(cached(KEY_SATURATION)) + " " + std::to_string(cached(KEY_DN_MODE)));
    EXPECT_EQ(std::string::npos, output([&] { EXPECT_EQ(-34, set(KEY_BRIGHTNESS, 12)); }).find("~~~failed"));
    EXPECT_EQ((V{"ia 2337=11", "ia 144=3", "ia 34=12"}), timeline());
}

TEST_F(PipelineTest, ThermalChannelRoutesPastTheTable)
{
    access().isThermal() = true;
    iasim::failCommand(2384, 1, -1);
    EXPECT_EQ(V({"video 8201=1", "video 2384=1", "ia 2384=1"}),
              applied({{KEY_NONE_COLOR_MODE, 1}, {KEY_MIRROR, 1}}));
    EXPECT_EQ(1, cached(KEY_MIRROR));
    access().isThermal() = false;
    EXPECT_EQ(V{"ia 8201=2"}, applied({{KEY_NONE_COLOR_MODE, 2}}));
}

TEST_F(PipelineTest, GetParameterReadsCacheThenLibrary)
{
    // "result:value", the value starting as 3.
    auto get = [this](int p_nKey) {
        int nVal = 3;
        const bool bOk = ctrl().getParameter(p_nKey, nVal);
        return std::to_string(bOk) + ":" + std::to_string(nVal);
    };
    iasim::setValue(0, 2497, 25);
    EXPECT_EQ("1:50 1:-1 1:25", get(KEY_BRIGHTNESS) + " " + get(KEY_IR_SWITCH) + " " +
                                    get(KEY_SENSOR_FPS));  // 160: an IR key without row
    EXPECT_EQ(V{"ia1 2497=25"}, timeline());
    lockLens(true);
    EXPECT_EQ("1:3", get(KEY_MF_POSITION));
    iasim::failCommand(2353, 1, -1);
    expectParts(
        output([&] { EXPECT_EQ("0:3", get(KEY_CONTRAST)); }),
        {"line:1886\nSNS_SUCCESS == doIaCmd(p_nKey, IA_CMD_OPT_GET, &p_nVal)   ~~~Assertion failed."});
}

TEST_F(PipelineTest, GuardsAroundTheLibrary)
{
    u32 nVal = 1;
    // 8211 passes the shutter filter, the others the user filter.
    auto run = [&](std::initializer_list<u32> p_lstCmds) {
        for (u32 nCmd : p_lstCmds)
            nCmd == 8211 ? ctrl().doIaCmdShutter(nCmd, IA_CMD_OPT_SET, &nVal)
                         : ctrl().doIaCmd_User(nCmd, IA_CMD_OPT_SET, &nVal);
    };
    auto acc = access();
    lockLens(true);
    for (u32 nCmd : {1535u, 1536u, 1616u, 1617u}) ctrl().doIaCmd(nCmd, IA_CMD_OPT_SET, &nVal);
    EXPECT_EQ(V({"ia 1535=1", "ia 1617=1"}), timeline());
    lockLens(false);
    acc.statusFlag() = SNS_STATUS_RESETTING;
    run({KEY_IRIS_SIZE, 8211});
    acc.shutterUnlock() = true;  // one shutter command passes whatever the bits
    run({KEY_SHUTTER_ADJUST, 8211});
    acc.statusFlag() = SNS_STATUS_INITIALISING;
    run({1569});
    acc.statusFlag() = SNS_STATUS_SHUTTING_DOWN | SNS_STATUS_INITIALISED;
    acc.hasLens() = false;
    run({1539, 83, 8211});
    EXPECT_EQ(V({"ia 8211=1", "ia 83=1", "ia 8211=1"}), timeline());
}

TEST_F(PipelineTest, VideoChannelAndExecStatus)
{
    ctrl().setChannelID(2);
    ctrl().notifyToVideo(5, 6);
    access().machineInfo().setDeviceType(13);  // the video module knows this one as channel 1
    ctrl().notifyToVideo(5, 7);
    ASSERT_EQ(2u, m_objVideo.notes().size());
    EXPECT_EQ(std::make_pair(2, 1), std::make_pair(m_objVideo.notes()[0].channel, m_objVideo.notes()[1].channel));
    ctrl().setVideoStreamModule(nullptr);
    EXPECT_EQ(0, ctrl().notifyToVideo(5, 8));
    int nStatus = 0;
    iasim::setExecStatus(1536, 3);
    EXPECT_TRUE(ctrl().getCmdExecStatus(1536, nStatus) && nStatus == 3);
}
