// Factory reset of a channel, and a whole session on the sample camera.
#include <list>

#include "IaSim.h"
#include "InitFixture.h"
#include "PlatformSim.h"

using testsupport::flashFileExists;
using testsupport::writeFlashFile;

namespace {

class ResetTest : public InitFixture {};

TEST_F(ResetTest, ResetOfChannelOneRecreatesTheFactoryFiles)
{
    ISensorController& objCtrl = start("");
    SensorControllerTestAccess acc(objCtrl);
    ASSERT_EQ(0, objCtrl.setParameter(KEY_SCHEME_END_HOUR, 24, true));
    ASSERT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 99, true));
    ASSERT_EQ(0, objCtrl.setParameter(KEY_SCHEME_MODE, 2, true));
    ASSERT_EQ(0, objCtrl.flush());
    ASSERT_TRUE(acc.dnSwitch());
    platformsim::clearShellCommands();
    iasim::clearCalls();

    testing::internal::CaptureStdout();
    EXPECT_TRUE(objCtrl.resetParameters());
    EXPECT_EQ(std::string::npos, capturedStdout().find("[sensor assert]"));
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"},
              platformsim::shellCommands());
    EXPECT_EQ(50u, iasim::setValuesOf(KEY_BRIGHTNESS).at(0));  // the factory scheme first
    for (int s = 0; s < 4; ++s) {
        const std::vector<KeyVal> vecFile = records(schemeFile(1, s));
        ASSERT_EQ(kSmallStyleRecords, vecFile.size());
        EXPECT_EQ(0, valueOf(vecFile, KEY_SCHEME_MODE));
        EXPECT_EQ(50, valueOf(vecFile, KEY_BRIGHTNESS));
        EXPECT_EQ(0, valueOf(vecFile, KEY_SCHEME_END_HOUR));
    }
    EXPECT_EQ(0, acc.curScheme());
    EXPECT_FALSE(acc.dnSwitch() || acc.timeSwitch());
    EXPECT_EQ(u32(SNS_STATUS_INITIALISED), acc.statusFlag());
    EXPECT_TRUE(acc.sensorThread()->isRunning());
}

TEST_F(ResetTest, ThermalResetRemovesEveryThermalFile)
{
    writeMachineInfo(17, "SIM-DUAL");
    writeStyle("_Thermal", kSmallStyle);
    ISensorController& objCtrl = start("", 2);
    writeFlashFile("/mnt/mtd/code/config_file/sensor-thermal9.cfg", "old");
    platformsim::clearShellCommands();
    EXPECT_TRUE(objCtrl.resetParameters());
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor-thermal*.cfg"},
              platformsim::shellCommands());
    EXPECT_FALSE(flashFileExists("/mnt/mtd/code/config_file/sensor-thermal9.cfg"));
    EXPECT_EQ(kSmallStyleRecords, records("/mnt/mtd/code/config_file/sensor-thermal3.cfg").size());
}

TEST_F(ResetTest, ModuleConfigurationOfTheRestart)
{
    ISensorController& objCtrl = start("(max_scheme=2)");
    SensorControllerTestAccess acc(objCtrl);
    EXPECT_TRUE(objCtrl.resetParameters());
    EXPECT_EQ(2u, acc.sysConf().nSchemeSum);  // the copy held since init

    // From debug level 6 on the module configuration document is read again;
    // when it yields nothing the held copy stays.
    writeFlashFile("/tmp/Debug.sign", "6\n");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(objCtrl.resetParameters());
    EXPECT_EQ(2u, acc.sysConf().nSchemeSum);
    writeFlashFile("/hd1/moduleConfig/moduleConfig.xml",
                   "<ModuleConfig><Module id=\"7\" hardware_model=\"SIM-IPC\">"
                   "<Detail>(max_scheme=3)</Detail><Parameters>p</Parameters></Module></ModuleConfig>");
    EXPECT_TRUE(objCtrl.resetParameters());
    capturedStdout();
    EXPECT_EQ(3u, acc.sysConf().nSchemeSum);
    EXPECT_EQ(7u, objCtrl.getSensorType());
}

// The sample camera: start, host calls, reset and shutdown without a single
// assertion report.
TEST_F(ResetTest, SampleCameraSessionReportsNothing)
{
    testsupport::copySampleFlash();
    MachineInfo objMachine;
    ASSERT_TRUE(SystemInfoParser::parseMachineInfo("/mnt/mtd/code/factory_setting/machineinfo.ini",
                                                   objMachine));
    std::list<ModuleConfigure> lstModules;
    ASSERT_TRUE(ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml",
                                             objMachine.getHardwareModel(),
                                             objMachine.getHardwareCode(), lstModules));
    ASSERT_FALSE(lstModules.empty());

    testing::internal::CaptureStdout();
    ISensorController objCtrl;
    objCtrl.setChannelID(1);
    objCtrl.setVideoStreamModule(&m_objVideo);
    EXPECT_TRUE(objCtrl.init(lstModules.front()));
    int nValue = -1;
    EXPECT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 40, true));
    EXPECT_TRUE(objCtrl.getParameter(KEY_BRIGHTNESS, nValue));
    EXPECT_EQ(40, nValue);
    EXPECT_TRUE(objCtrl.setParamScheme(1));
    EXPECT_TRUE(objCtrl.restoreAeMode());
    EXPECT_TRUE(objCtrl.resetToLastParameters());
    std::string strAll;
    EXPECT_TRUE(objCtrl.getAllParameters(strAll));
    EXPECT_TRUE(objCtrl.resetParameters());
    objCtrl.uinit();
    const std::string strOut = capturedStdout();
    EXPECT_EQ(std::string::npos, strOut.find("[sensor assert]")) << strOut;
}

}  // namespace
