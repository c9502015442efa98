// Bringing a channel up and down: version check, scheme files, capability
// fields, starting scheme, show options, the factory set's bound.
#include <filesystem>

#include "IaInterface.h"
#include "IaSim.h"
#include "InitFixture.h"
#include "PlatformSim.h"

using testsupport::flashFileExists;
using testsupport::writeFlashFile;

namespace {

const char kVersionFile[] = "/mnt/mtd/code/config_file/snsversion.cfg";

class InitTest : public InitFixture {};

TEST_F(InitTest, FirstStartOnAnEmptyFlash)
{
    writeFlashFile("/tmp/Debug.sign", "4\n");
    testing::internal::CaptureStdout();
    ISensorController& objCtrl = start("");
    const std::string strOut = capturedStdout();
    SensorControllerTestAccess acc(objCtrl);
    EXPECT_NE(std::string::npos, strOut.find("check the sensor version,   local(0) --> libsensordll.so(8), "
                                             "source the cmd: rm -rf /mnt/mtd/code/config*/sensor*\n"));
    EXPECT_EQ(std::string::npos, strOut.find("[sensor assert]")) << strOut;
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"},
              platformsim::shellCommands());
    for (int s = 0; s < 4; ++s) {
        const std::vector<KeyVal> vecFile = records(schemeFile(1, s));
        ASSERT_EQ(kSmallStyleRecords, vecFile.size());
        EXPECT_EQ(8000u, vecFile[0].key);
        EXPECT_EQ(0u, vecFile[0].value);
        EXPECT_EQ(25, valueOf(vecFile, KEY_MAX_SHUTTER));
    }
    EXPECT_EQ(std::string("\x08\0\0\0", 4), testsupport::readFlashFile(kVersionFile));
    EXPECT_FALSE(acc.timeSwitch() || acc.dnSwitch());
    EXPECT_EQ(std::vector<uint32_t>{50}, iasim::setValuesOf(KEY_BRIGHTNESS));
    EXPECT_EQ(u32(SNS_STATUS_INITIALISED), acc.statusFlag());
    EXPECT_TRUE(acc.sensorThread()->isRunning());

    objCtrl.uinit();
    EXPECT_FALSE(acc.sensorThread()->isRunning());
    EXPECT_TRUE(objCtrl.getSensorStatus());
    EXPECT_EQ(-1, acc.curScheme());
    objCtrl.uinit();  // nothing is held any more: no second release
    ISensorController objNever;
    objNever.uinit();
    EXPECT_EQ(0u, SensorControllerTestAccess(objNever).statusFlag());
}

TEST_F(InitTest, LaterStartsReadTheFilesWithoutWriting)
{
    start("").uinit();
    setRecord(schemeFile(1, 0), KEY_SCHEME_MODE, 2);
    setRecord(schemeFile(1, 1), KEY_BRIGHTNESS, 66);
    const auto tOld = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (int s = 0; s < 4; ++s) std::filesystem::last_write_time(platformsim::resolvePath(schemeFile(1, s)), tOld);
    platformsim::clearShellCommands();
    iasim::clearCalls();
    iasim::setValue(0, IA_CMD_DN_STATE, 1);

    ISensorController& objCtrl = start("");
    EXPECT_TRUE(platformsim::shellCommands().empty());
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(tOld, std::filesystem::last_write_time(platformsim::resolvePath(schemeFile(1, s))));
    SensorControllerTestAccess acc(objCtrl);
    EXPECT_TRUE(acc.dnSwitch());
    // No starting switch to scheme 0: the direct pass chose the night scheme.
    EXPECT_EQ(std::vector<uint32_t>{66}, iasim::setValuesOf(KEY_BRIGHTNESS));
    int nScheme = -1;
    objCtrl.getParamScheme(nScheme);
    EXPECT_EQ(1, nScheme);
}

TEST_F(InitTest, ThermalChannelHasItsOwnFiles)
{
    writeMachineInfo(17, "SIM-DUAL");
    writeStyle("_Thermal", kSmallStyle);
    writeFlashFile("/mnt/mtd/code/config_file/sensor-thermal7.cfg", "old");
    start("", 2);
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor-thermal*.cfg"},
              platformsim::shellCommands());
    EXPECT_FALSE(flashFileExists("/mnt/mtd/code/config_file/sensor-thermal7.cfg"));
    EXPECT_EQ(kSmallStyleRecords, records("/mnt/mtd/code/config_file/sensor-thermal3.cfg").size());
    EXPECT_FALSE(flashFileExists(schemeFile(2, 0)));
}

TEST_F(InitTest, LprDeviceWritesTheNightSchemeImage)
{
    writeMachineInfo(8, "SIM-LPR");
    SensorControllerTestAccess acc(start("(max_scheme=3)"));
    EXPECT_TRUE(acc.lprMode());
    const std::vector<KeyVal> vecNight = records(schemeFile(1, 1));
    const std::pair<u32, long long> expected[] = {{KEY_DN_MODE, 0},         {KEY_MAX_SHUTTER, 18},
                                                  {KEY_METER_AREA, -1},      {KEY_IR_MODE, 2},
                                                  {KEY_IR_MANUAL_STRG_NEAR, 40}, {KEY_BRIGHTNESS, 50}};
    for (const auto& e : expected) EXPECT_EQ(e.second, valueOf(vecNight, e.first)) << e.first;
    EXPECT_EQ(2, valueOf(records(schemeFile(1, 2)), KEY_DN_MODE));
    EXPECT_EQ(1, valueOf(records(schemeFile(1, 0)), KEY_SCHEME_MODE));  // not overridden
    EXPECT_EQ(1u, acc.fctKeyVal()[0].value);
    EXPECT_FALSE(SensorControllerTestAccess(start("(isInfrared=1)")).lprMode());
}

TEST_F(InitTest, DetailFieldsGiveTheCapabilities)
{
    const std::pair<const char*, bool> lens[] = {{"", false},          {"(lensId=0)", false},
                                                 {"(lensId=3)", true}, {"(lensId=3", false},
                                                 {"(lensId)", false},  {"(lensId)(x=3)", true}};
    for (const auto& c : lens) EXPECT_EQ(c.second, SensorControllerTestAccess(start(c.first)).hasLens()) << c.first;
    testing::internal::CaptureStdout();
    SensorControllerTestAccess acc(start("(isInfrared=17)"));
    EXPECT_NE(std::string::npos, capturedStdout().find("#### m_bisLimitedIrPower is true!\n"));
    EXPECT_TRUE(acc.limitedIrPower());
}

TEST_F(InitTest, ShowOptionsFollowTheVideoModule)
{
    const struct {
        const char* szModel;
        int nEncoder, nHeight;
        bool bShown;
    } cases[] = {{"Hi3516AV200", 1, 240, false}, {"Hi3516AV200Thermal", 1, 255, false},
                 {"Hi3516AV200", 1, 256, true},  {"Hi3516AV200", 0, 240, true},
                 {"Hi3516AV300", 1, 240, true}};
    for (const auto& c : cases) {
        writeMachineInfo(1, c.szModel);
        m_objVideo.m_vecStreams.assign(2, AVStreamParam());
        m_objVideo.m_vecStreams[1].setVideoEncoderType(c.nEncoder);
        m_objVideo.m_vecStreams[1].setVideoHeight(c.nHeight);
        start("");
        EXPECT_EQ(c.bShown, getshowBeawayFalg()) << c.szModel << " " << c.nHeight;
    }
    m_objVideo.m_objWdr.setLimitFramesModeId(0);
    m_objVideo.m_objWdr.setLimitWdr(1);
    EXPECT_FALSE(SensorControllerTestAccess(start("")).showWdr());
}

TEST_F(InitTest, LaterStartsBoundTheFactorySetByTheTableSize)
{
    std::string strStyle = "<S><T key=\"t\">";  // 158 records
    for (int i = 0; i < 5; ++i) strStyle += "<P id=\"" + std::to_string(8000 + i) + "\" value=\"0\"/>";
    for (int i = 0; i < 153; ++i) strStyle += "<P id=\"8004\" value=\"" + std::to_string(i) + "\"/>";
    writeStyle("", strStyle + "</T></S>");
    ISensorController& objCtrl = start("");
    SensorControllerTestAccess acc(objCtrl);
    EXPECT_EQ(158u, acc.keyValSum());
    objCtrl.uinit();
    EXPECT_TRUE(objCtrl.init(testsupport::moduleWithDetail("")));
    EXPECT_EQ(156u, acc.keyValSum());
    EXPECT_EQ(150u, acc.fctKeyVal()[155].value);
}

}  // namespace

TEST_F(InitTest, BrokenSchemeCountIsBoundedAndReported)
{
    testing::internal::CaptureStdout();
    ISensorController& objCtrl = start("(max_scheme=-1)(lensId=1)");
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("m_stSysConf.nSchemeSum <= kMaxSchemeSum"));
    SensorControllerTestAccess acc(objCtrl);
    EXPECT_EQ(32u, acc.sysConf().nSchemeSum);
    EXPECT_TRUE(testsupport::flashFileExists(schemeFile(1, 31)));
    EXPECT_FALSE(testsupport::flashFileExists(schemeFile(1, 32)));
    int nScheme = -1;
    EXPECT_TRUE(objCtrl.getParamScheme(nScheme));
    EXPECT_EQ(0, nScheme);
}
