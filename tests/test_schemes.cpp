// Scheme switching, mode, restore, revert to the saved file and save.
#include "ControllerFixtures.h"

class SchemesTest : public StillControllerTest {
protected:
    SchemesTest()
        : StillControllerTest({{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_EXPOSE_MODE, 0},
                               {KEY_AUTO_FOCUS_MODE, 0}, {KEY_DN_MODE, 2}}, "(lensId=3)")
    {
    }
};

TEST_F(SchemesTest, DiffFullAndLprSwitches)
{
    cache(KEY_BRIGHTNESS, 70, 1);
    ctrl().switch_to(1, false);
    EXPECT_EQ(V{"ia 34=70"}, timeline());
    EXPECT_EQ(0, access().lastScheme());
    EXPECT_EQ(u32(SNS_STATUS_INITIALISED), access().statusFlag());
    V vecAll = {"ia 34=50", "ia 2337=60", "ia 16=0", "ia 1536=0", "ia 144=2"};
    ctrl().switch_to(0, true);
    EXPECT_EQ(vecAll, timeline());
    vecAll.back() = "ia 144=0";
    ctrl().LPR_switch_to(0);
    EXPECT_EQ(vecAll, timeline());
    EXPECT_EQ(2, cached(KEY_DN_MODE));  // the row keeps its value
}

TEST_F(SchemesTest, HostRequestsAndTheFactoryScheme)
{
    EXPECT_TRUE(ctrl().setParamScheme(4));
    EXPECT_EQ(0, ctrl().flush());  // the factory scheme is never saved
    EXPECT_FALSE(testsupport::flashFileExists(schemeFile(1, 4)));
    EXPECT_TRUE(ctrl().resetToLastParameters());
    const std::string strOut = output([&] {
        EXPECT_FALSE(ctrl().setParamScheme(5) || ctrl().setParamScheme(-1));
        EXPECT_TRUE(ctrl().setParamMode(5));
        EXPECT_EQ(-1, ctrl().restore(4000));
    });
    expectParts(strOut, {"p_nScheme(-1)\n", "0 == p_nMode || 1 == p_nMode",
                         "restore key(4000) failed! make sure it is sensor ui key \n"});
    int nMode = 0;
    EXPECT_TRUE(ctrl().getParamMode(nMode) && nMode == 5);
    EXPECT_EQ(4, scheme());
    EXPECT_EQ(V{}, timeline());
}

TEST_F(SchemesTest, FlushChecksTheWindowBeforeWriting)
{
    cache(KEY_BRIGHTNESS, 70);  // reaches the file only with a valid window
    // 2400 passes the limit, start not below end; minutes are not bounded.
    const u32 nCases[][5] = {
        {8, 0, 8, 0, 507}, {24, 0, 24, 0, 507}, {8, 0, 25, 0, 506}, {24, 10, 24, 20, 505}};
    for (const u32* c : nCases) {
        setWindow(0, c[0], c[1], c[2], c[3]);
        EXPECT_EQ(int(c[4]), ctrl().flush());
    }
    EXPECT_EQ(50, valueOf(records(schemeFile(1, 0)), KEY_BRIGHTNESS));
    setWindow(0, 7, 99, 8, 0);  // 799 < 800
    EXPECT_EQ(0, ctrl().flush());
    setWindow(0, 0, 0, 24, 0);
    EXPECT_EQ(0, ctrl().flush());
    const std::string strFile = testsupport::readFlashFile(schemeFile(1, 0));
    ASSERT_EQ(10u * 8, strFile.size());
    EXPECT_EQ(std::string("\x40\x1f\0\0\0\0\0\0\x41\x1f\0\0", 12), strFile.substr(0, 12));
    EXPECT_EQ(std::string("\x22\0\0\0\x46\0\0\0", 8), strFile.substr(40, 8));  // 34 = 70
}

TEST_F(SchemesTest, RestoreAndRevertSendStoredValues)
{
    EXPECT_TRUE(ctrl().restoreAeMode());
    EXPECT_EQ((V{"ia 1536=0", "ia 16=0"}), timeline());
    access().hasLens() = false;
    access().isThermal() = true;
    EXPECT_TRUE(ctrl().restoreAeMode());
    EXPECT_EQ(V{}, timeline());
    access().isThermal() = false;
    applied({{KEY_BRIGHTNESS, 10}, {KEY_SATURATION, 11}});
    EXPECT_TRUE(ctrl().resetToLastParameters());
    EXPECT_EQ((V{"ia 34=50", "ia 2337=60"}), timeline());
    EXPECT_EQ(60, cached(KEY_SATURATION));
    EXPECT_EQ(u32(SNS_STATUS_INITIALISED), access().statusFlag());
}
