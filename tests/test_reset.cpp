// Factory reset of a channel, and a whole session on the sample camera.
#include "ControllerFixtures.h"

using testsupport::flashFileExists;
using testsupport::writeFlashFile;
using ResetTest = InitFixture;

TEST_F(ResetTest, ResetRecreatesTheFactoryFilesWithTheHeldModuleConfiguration)
{
    SensorControllerDetail acc(start("(max_scheme=2)"));
    for (KeyVal stPair : std::vector<KeyVal>{{KEY_SCHEME_END_HOUR, 20}, {KEY_BRIGHTNESS, 99}, {KEY_SCHEME_MODE, 2}})
        ASSERT_EQ(0, set(stPair.key, stPair.value));
    ASSERT_EQ(0, ctrl().flush());
    platformsim::clearShellCommands();
    iasim::clearCalls();
    EXPECT_TRUE(ctrl().resetParameters());
    EXPECT_EQ(V{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"}, platformsim::shellCommands());
    // The factory scheme (a diff from 99) before the files go, then init's start from the new files.
    EXPECT_EQ((std::vector<uint32_t>{KEY_FIX_SHUTTER, 50}), iasim::setValuesOf(KEY_BRIGHTNESS));
    EXPECT_EQ(2u, acc.sysConf().nSchemeSum);
    EXPECT_EQ(0, valueOf(records(schemeFile(1, 0)), KEY_SCHEME_MODE));  // only scheme 0 was saved
    EXPECT_EQ(50, valueOf(records(schemeFile(1, 0)), KEY_BRIGHTNESS));
    EXPECT_EQ(24, valueOf(records(schemeFile(1, 0)), KEY_SCHEME_END_HOUR));
    EXPECT_EQ(0, scheme());
    EXPECT_FALSE(acc.dnSwitch() || acc.timeSwitch());
    EXPECT_EQ(u32(SNS_STATUS_INITIALISED), acc.statusFlag());

    // From debug level 6 on the module configuration document is read again;
    // when it yields nothing the held copy stays.
    writeFlashFile(SNS_PATH_DEBUG_SIGN, "6\n");
    output([&] {
        EXPECT_TRUE(ctrl().resetParameters());
        EXPECT_EQ(2u, acc.sysConf().nSchemeSum);
        writeFlashFile(SNS_PATH_MODULE_CONFIG,
                       "<ModuleConfig><Module id=\"7\" hardware_model=\"SIM-IPC\">"
                       "<Detail>(max_scheme=3)</Detail><Parameters>p</Parameters></Module></ModuleConfig>");
        EXPECT_TRUE(ctrl().resetParameters());
    });
    EXPECT_EQ(3u, acc.sysConf().nSchemeSum);
    EXPECT_EQ(7u, ctrl().getSensorType());
}

TEST_F(ResetTest, ThermalChannelFilesAtStartAndReset)
{
    const std::string strDir = SNS_PATH_CONFIG_DIR "/";
    const V vecRemove = {"rm -rf /mnt/mtd/code/config*/sensor-thermal*.cfg"};
    writeMachineInfo(17, "SIM-DUAL");
    writeStyle("_Thermal", styleOf(kStyleParams));
    writeFlashFile(strDir + "sensor-thermal7.cfg", "old");
    start("", 2);
    EXPECT_EQ(vecRemove, platformsim::shellCommands());
    EXPECT_FALSE(flashFileExists(strDir + "sensor-thermal7.cfg") || flashFileExists(schemeFile(2, 0)));
    writeFlashFile(strDir + "sensor-thermal9.cfg", "old");
    platformsim::clearShellCommands();
    EXPECT_TRUE(ctrl().resetParameters());
    EXPECT_EQ(vecRemove, platformsim::shellCommands());
    EXPECT_FALSE(flashFileExists(strDir + "sensor-thermal9.cfg"));
    EXPECT_EQ(kSmallStyleRecords, records(strDir + "sensor-thermal3.cfg").size());
}

// The sample camera: start, host calls, reset and shutdown without a single
// assertion report.
TEST_F(ResetTest, SampleCameraSessionReportsNothing)
{
    testsupport::copySampleFlash();
    const std::string strOut = output([&] {
        start("(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)");
        int nValue = -1;
        std::string strAll;
        EXPECT_EQ(0, set(KEY_BRIGHTNESS, 40));
        EXPECT_TRUE(ctrl().getParameter(KEY_BRIGHTNESS, nValue) && nValue == 40);
        EXPECT_TRUE(ctrl().setParamScheme(1) && ctrl().restoreAeMode() && ctrl().resetToLastParameters());
        EXPECT_TRUE(ctrl().getAllParameters(strAll) && ctrl().resetParameters());
        ctrl().uinit();
    });
    EXPECT_EQ(std::string::npos, strOut.find("[sensor assert]")) << strOut;
}
