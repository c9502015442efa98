// Bringing a channel up and down: version check, scheme files, capability
// fields, starting scheme, show options (also without a video module), the
// bounds of the factory set and of the scheme count, short scheme files.
#include <filesystem>
#include <tuple>

#include "ControllerFixtures.h"

using InitTest = InitFixture;

TEST_F(InitTest, FirstStartShutdownAndLaterStart)
{
    testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "4\n");
    const std::string strOut = output([&] { start(); });
    expectParts(strOut, {"check the sensor version,   local(0) --> libsensordll.so(8), source the cmd: "
                         "rm -rf /mnt/mtd/code/config*/sensor*\n"});
    EXPECT_EQ(std::string::npos, strOut.find("[sensor assert]")) << strOut;
    EXPECT_EQ(V{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"}, platformsim::shellCommands());
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(kSmallStyleRecords, records(schemeFile(1, s)).size());
        EXPECT_EQ(0, valueOf(records(schemeFile(1, s)), KEY_SCHEME_MODE));
    }
    EXPECT_EQ(std::string("\x08\0\0\0", 4), testsupport::readFlashFile(SNS_PATH_VERSION_FILE));
    EXPECT_FALSE(access().timeSwitch() || access().dnSwitch());
    EXPECT_EQ(std::vector<uint32_t>{50}, iasim::setValuesOf(KEY_BRIGHTNESS));
    EXPECT_EQ(u32(SNS_STATUS_INITIALISED), access().statusFlag());
    EXPECT_TRUE(access().sensorThread()->isRunning());
    ctrl().uinit();
    EXPECT_FALSE(access().sensorThread()->isRunning());
    EXPECT_EQ(-1, scheme());
    ctrl().uinit();  // nothing is held any more: no second release
    ISensorController objNever;
    objNever.uinit();
    EXPECT_EQ(0u, SensorControllerDetail(objNever).statusFlag());

    // A later start reads the files without writing them.
    setRecord(schemeFile(1, 0), KEY_SCHEME_MODE, 2);
    setRecord(schemeFile(1, 1), KEY_BRIGHTNESS, 66);
    const auto tOld = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (int s = 0; s < 4; ++s) std::filesystem::last_write_time(platformsim::resolvePath(schemeFile(1, s)), tOld);
    platformsim::clearShellCommands();
    iasim::clearCalls();
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    start();
    EXPECT_EQ(V{}, platformsim::shellCommands());
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(tOld, std::filesystem::last_write_time(platformsim::resolvePath(schemeFile(1, s))));
    EXPECT_TRUE(access().dnSwitch());
    // No starting switch to scheme 0: the direct pass chose the night scheme.
    EXPECT_EQ(std::vector<uint32_t>{66}, iasim::setValuesOf(KEY_BRIGHTNESS));
    EXPECT_EQ(1, scheme());
}

TEST_F(InitTest, CapabilitiesFromTheDeviceTypeAndTheDetail)
{
    // Device type 8 without an infrared kind is an LPR camera, with a night image in scheme 1.
    writeMachineInfo(8, "SIM-LPR");
    EXPECT_TRUE(SensorControllerDetail(start("(max_scheme=3)")).lprMode());
    const std::pair<u32, long long> night[] = {{KEY_DN_MODE, 0}, {KEY_MAX_SHUTTER, 18},         {KEY_METER_AREA, -1},
                                               {KEY_IR_MODE, 2}, {KEY_IR_MANUAL_STRG_NEAR, 40}, {KEY_BRIGHTNESS, 50}};
    for (const auto& [nKey, nValue] : night) EXPECT_EQ(nValue, valueOf(records(schemeFile(1, 1)), nKey)) << nKey;
    EXPECT_EQ(2, valueOf(records(schemeFile(1, 2)), KEY_DN_MODE));
    EXPECT_EQ(1, valueOf(records(schemeFile(1, 0)), KEY_SCHEME_MODE));  // not overridden
    EXPECT_FALSE(SensorControllerDetail(start("(isInfrared=1)")).lprMode());

    const std::pair<const char*, bool> lens[] = {{"", false},          {"(lensId=0)", false}, {"(lensId=3)", true},
                                                 {"(lensId=3", false}, {"(lensId)", false},   {"(lensId)(x=3)", true}};
    for (const auto& [szDetail, bLens] : lens)
        EXPECT_EQ(bLens, SensorControllerDetail(start(szDetail)).hasLens()) << szDetail;
    expectParts(output([&] { start("(isInfrared=17)"); }), {"#### m_bisLimitedIrPower is true!\n"});
    EXPECT_TRUE(access().limitedIrPower());
}

TEST_F(InitTest, ShowOptionsFollowTheVideoModule)
{
    const std::tuple<const char*, int, int, bool> cases[] = {{"Hi3516AV200", 1, 240, false},
                                                             {"Hi3516AV200Thermal", 1, 255, false},
                                                             {"Hi3516AV200", 1, 256, true},
                                                             {"Hi3516AV200", 0, 240, true},
                                                             {"Hi3516AV300", 1, 240, true}};
    for (const auto& [szModel, nEncoder, nHeight, bShown] : cases) {
        writeMachineInfo(1, szModel);
        m_objVideo.m_vecStreams.assign(2, AVStreamParam());
        m_objVideo.m_vecStreams[1].setVideoEncoderType(nEncoder);
        m_objVideo.m_vecStreams[1].setVideoHeight(nHeight);
        start();
        EXPECT_EQ(bShown, getshowBeawayFalg()) << szModel << " " << nHeight;
    }
    m_objVideo.m_objWdr.setLimitFramesModeId(0);
    m_objVideo.m_objWdr.setLimitWdr(1);
    EXPECT_FALSE(SensorControllerDetail(start()).showWdr());
}

TEST_F(InitTest, BoundsOfTheFactorySetAndTheSchemeCount)
{
    std::vector<KeyVal> vecMany;
    for (u32 i = 0; i < 153; ++i) vecMany.push_back({8004, i});
    writeStyle("", styleOf(vecMany));  // 158 records with the scheme keys
    SensorControllerDetail acc(start());
    EXPECT_EQ(158u, acc.keyValSum());
    ctrl().uinit();
    EXPECT_TRUE(ctrl().init(testsupport::moduleWithDetail("")));  // later starts hold 156
    EXPECT_EQ(156u, acc.keyValSum());
    EXPECT_EQ(150u, acc.fctKeyVal()[155].value);

    // The module's scheme count as it is: a file for each, the next is the factory scheme.
    writeStyle("", styleOf(kStyleParams));
    const std::string strForty = output([&] { start("(max_scheme=40)"); });
    EXPECT_EQ(std::string::npos, strForty.find("[sensor assert]")) << strForty;
    EXPECT_TRUE(testsupport::flashFileExists(schemeFile(1, 39)));
    EXPECT_FALSE(testsupport::flashFileExists(schemeFile(1, 40)));
    EXPECT_TRUE(ctrl().setParamScheme(40));
    EXPECT_EQ(50, cached(KEY_BRIGHTNESS, 40));  // the factory row

    // A count whose + 1 wraps gets no rows: reported, only the factory scheme.
    testsupport::removeTree(platformsim::resolvePath(SNS_PATH_CONFIG_DIR));
    expectParts(output([&] { start("(max_scheme=-1)(lensId=1)"); }),
                {"fun:init", "NULL != m_ppUserKeyVal   ~~~Assertion failed.", "nSchemeSum(4294967295)"});
    EXPECT_EQ(0u, access().sysConf().nSchemeSum);
    EXPECT_FALSE(testsupport::flashFileExists(schemeFile(1, 0)));
    EXPECT_EQ(0, scheme());
    EXPECT_EQ(50, cached(KEY_BRIGHTNESS));
    EXPECT_EQ(0u, schemeSumOf("(max_scheme=-1)"));  // the count the tool shows
    EXPECT_EQ(4u, schemeSumOf(""));

    // A row too short to hold a window has no valid one, and is never read past.
    writeStyle("",
               "<Style><Tab key=\"image\"><P id=\"8000\" value=\"0\"/><P id=\"8001\" value=\"0\"/>"
               "<P id=\"8002\" value=\"0\"/><P id=\"8003\" value=\"24\"/></Tab></Style>");
    EXPECT_EQ(507, start().flush());
}

TEST_F(InitTest, ShortSchemeFileRestoresTheFactoryKeys)
{
    start();
    ctrl().uinit();
    // A file cut to 100 bytes: 12 whole records and half of one.
    const std::string strFile = testsupport::readFlashFile(schemeFile(1, 1));
    testsupport::writeFlashFile(schemeFile(1, 1), strFile.substr(0, 100));
    start();
    ASSERT_TRUE(ctrl().setParamScheme(1));
    ASSERT_EQ(0, ctrl().flush());
    // The whole records of the file, then the factory records in factory order.
    const std::vector<KeyVal> vecSaved = records(schemeFile(1, 1));
    ASSERT_EQ(kSmallStyleRecords, vecSaved.size());
    for (size_t i = 0; i < kSmallStyleRecords; ++i) {
        const KeyVal stExpected =
            i < 12 ? reinterpret_cast<const KeyVal*>(strFile.data())[i] : access().fctKeyVal()[i];
        EXPECT_EQ(stExpected.key, vecSaved[i].key) << i;
        EXPECT_EQ(stExpected.value, vecSaved[i].value) << i;
    }
}

TEST_F(InitTest, HostWithoutVideoModule)
{
    m_vecCtrls.emplace_back(new ISensorController());
    ctrl().setChannelID(1);
    EXPECT_TRUE(ctrl().init(testsupport::moduleWithDetail("")));
    EXPECT_TRUE(access().showWdr());
    EXPECT_TRUE(getshowBeawayFalg());
    EXPECT_EQ(SNS_SUCCESS, set(KEY_MIRROR, 1));  // a key that notifies the video module
    EXPECT_FALSE(ctrl().getUIStyleFile().empty());
}
