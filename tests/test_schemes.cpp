// Scheme switching, mode, restore, revert to the saved file and save.
#include "SchemeRowsFixture.h"

using testsupport::flashFileExists;

namespace {

const char kScheme0File[] = "/mnt/mtd/code/config_file/sensor1_0.cfg";

class SchemesTest : public SchemeRowsTest {
protected:
    void SetUp() override
    {
        SchemeRowsTest::SetUp();
        prepare({{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_EXPOSE_MODE, 0},
                 {KEY_AUTO_FOCUS_MODE, 0}, {KEY_DN_MODE, 2}});
    }
    static std::string reports(bool p_bStart)
    {
        if (p_bStart) testing::internal::CaptureStdout();
        fflush(stdout);
        return p_bStart ? "" : testing::internal::GetCapturedStdout();
    }
};

TEST_F(SchemesTest, DiffFullAndLprSwitches)
{
    setValue(1, KEY_BRIGHTNESS, 70);
    ctrl().switch_to(1, false);
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 70}}), sets());
    EXPECT_EQ(0, access().lastScheme());
    EXPECT_EQ(0u, access().statusFlag());

    iasim::clearCalls();
    ctrl().switch_to(0, true);
    const Sets vecAll = {{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_EXPOSE_MODE, 0},
                         {KEY_AUTO_FOCUS_MODE, 0}, {KEY_DN_MODE, 2}};
    EXPECT_EQ(vecAll, sets());

    iasim::clearCalls();
    ctrl().LPR_switch_to(0);
    Sets vecNight = vecAll;
    vecNight.back().second = 0;
    EXPECT_EQ(vecNight, sets());
    EXPECT_EQ(2, cached(0, KEY_DN_MODE));  // the row keeps its value
}

TEST_F(SchemesTest, HostRequestsAndTheFactoryScheme)
{
    int nValue = -5;
    EXPECT_TRUE(ctrl().setParamScheme(4));
    ctrl().getParamScheme(nValue);
    EXPECT_EQ(4, nValue);
    EXPECT_EQ(0, ctrl().flush());  // the factory scheme is never saved
    EXPECT_FALSE(flashFileExists(kScheme0File));
    EXPECT_TRUE(ctrl().resetToLastParameters());

    reports(true);
    EXPECT_FALSE(ctrl().setParamScheme(5));
    EXPECT_FALSE(ctrl().setParamScheme(-1));
    EXPECT_TRUE(ctrl().setParamMode(5));
    EXPECT_EQ(-1, ctrl().restore(4000));
    const std::string strOut = reports(false);
    EXPECT_NE(std::string::npos, strOut.find("p_nScheme(-1)\n"));
    EXPECT_NE(std::string::npos, strOut.find("0 == p_nMode || 1 == p_nMode"));
    EXPECT_NE(std::string::npos, strOut.find("restore key(4000) failed! make sure it is sensor ui key \n"));
    ctrl().getParamScheme(nValue);
    EXPECT_EQ(4, nValue);
    ctrl().getParamMode(nValue);
    EXPECT_EQ(5, nValue);
    EXPECT_TRUE(sets().empty());
}

TEST_F(SchemesTest, FlushChecksTheWindowBeforeWriting)
{
    const u32 nCases[][5] = {{8, 0, 8, 0, 507}, {8, 0, 25, 0, 506}, {24, 10, 24, 20, 505}};
    for (const u32* c : nCases) {
        setWindow(0, c[0], c[1], c[2], c[3]);
        EXPECT_EQ(int(c[4]), ctrl().flush());
        EXPECT_FALSE(flashFileExists(kScheme0File));
    }
    setWindow(0, 0, 0, 24, 0);
    EXPECT_EQ(0, ctrl().flush());
    const std::string strFile = testsupport::readFlashFile(kScheme0File);
    ASSERT_EQ(10u * 8, strFile.size());
    EXPECT_EQ(std::string("\x40\x1f\0\0\0\0\0\0\x41\x1f\0\0", 12), strFile.substr(0, 12));
    EXPECT_EQ(std::string("\x22\0\0\0\x32\0\0\0", 8), strFile.substr(40, 8));  // 34 = 50
}

TEST_F(SchemesTest, RestoreAndRevertSendStoredValues)
{
    EXPECT_TRUE(ctrl().restoreAeMode());
    EXPECT_EQ((Sets{{KEY_AUTO_FOCUS_MODE, 0}, {KEY_EXPOSE_MODE, 0}}), sets());
    iasim::clearCalls();
    access().hasLens() = false;
    access().isThermal() = true;
    EXPECT_TRUE(ctrl().restoreAeMode());
    EXPECT_TRUE(sets().empty());

    ASSERT_EQ(0, ctrl().flush());
    ctrl().setParameter(KEY_BRIGHTNESS, 10, true);
    ctrl().setParameter(KEY_SATURATION, 11, true);
    iasim::clearCalls();
    EXPECT_TRUE(ctrl().resetToLastParameters());
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}}), sets());
    EXPECT_EQ(60, cached(0, KEY_SATURATION));
    EXPECT_EQ(0u, access().statusFlag());
}

}  // namespace
