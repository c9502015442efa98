// sensorctl run as a process on flash folders below the test's own root.
#include <regex>
#include <string>

#include "SensorctlRun.h"

#ifdef SNS_SENSORCTL_PATH

namespace {

using namespace testsupport;

const size_t npos = std::string::npos;

TEST_F(SensorctlTest, KeysInEveryFormAndSetOutlivingTheRunOnlyWhenSaved)
{
    const ToolRun stGet = run("get 34 brightness KEY_BRIGHTNESS bRiGhTnEsS");
    ASSERT_EQ(0, stGet.m_nExit) << stGet.m_strErr;
    EXPECT_NE(npos, stGet.m_strErr.find("created flash folder"));  // from the sample camera
    // Four forms of one key: four identical rows, nothing else.
    const std::string strRow = stGet.m_strOut.substr(0, stGet.m_strOut.find('\n') + 1);
    EXPECT_EQ(strRow + strRow + strRow + strRow, stGet.m_strOut);
    const long long nFactory = shown(strRow, "KEY_BRIGHTNESS");
    ASSERT_NE(kNoRow, nFactory);

    const std::string strNew = std::to_string(nFactory + 13);
    EXPECT_EQ(nFactory + 13, shown(run("set brightness=" + strNew).m_strOut, "KEY_BRIGHTNESS"));
    EXPECT_EQ(nFactory, brightness());
    EXPECT_NE(npos, run("set KEY_BRIGHTNESS=" + strNew + " --save").m_strOut.find("saved scheme 0"));
    EXPECT_EQ(nFactory + 13, brightness());
    EXPECT_EQ(nFactory + 13, shown(run("decode " + onDisk(schemeFile(1, 0))).m_strOut, "KEY_BRIGHTNESS"));
    // The factory reset rewrites the files from the factory values.
    EXPECT_EQ(0, run("reset").m_nExit);
    EXPECT_EQ(nFactory, brightness());
}

// On a full flash the save is refused by the medium: the tool says so and
// the file keeps the old value.
TEST_F(SensorctlTest, SaveOnAFullFlashIsAFailure)
{
    const long long nFactory = brightness();
    testsupport::SmallTmpfs objFlash("/flash/mnt/mtd/code/config_file", 64 * 1024);
    if (!objFlash.mounted()) GTEST_SKIP() << objFlash.reason();
    ASSERT_EQ(0, run("get brightness").m_nExit);  // the start writes the files onto the small flash
    objFlash.fillUp();
    const ToolRun stSave = run("set brightness=" + std::to_string(nFactory + 16) + " --save");
    EXPECT_EQ(1, stSave.m_nExit);
    EXPECT_EQ(npos, stSave.m_strOut.find("saved scheme")) << stSave.m_strOut;
    EXPECT_NE(npos, stSave.m_strErr.find("not saved: scheme 0")) << stSave.m_strErr;
    EXPECT_NE(npos, stSave.m_strErr.find("nSize == sizeof(KeyVal)*p_nKeyValSum")) << stSave.m_strErr;
    EXPECT_EQ(nFactory, shown(run("decode " + onDisk(schemeFile(1, 0))).m_strOut, "KEY_BRIGHTNESS"));
}

TEST_F(SensorctlTest, SchemesAndChannelsKeepTheirOwnFiles)
{
    const long long nFactory = brightness();
    ASSERT_EQ(0, run("--scheme 2 set brightness=" + std::to_string(nFactory + 7) + " --save").m_nExit);
    ASSERT_EQ(0, run("--channel 2 set brightness=" + std::to_string(nFactory + 3) + " --save").m_nExit);
    EXPECT_EQ(nFactory + 7, brightness("--scheme 2"));
    EXPECT_EQ(nFactory + 3, brightness("--channel 2"));
    EXPECT_EQ(nFactory + 3, shown(run("decode " + onDisk(schemeFile(2, 0))).m_strOut, "KEY_BRIGHTNESS"));
    EXPECT_EQ(nFactory, brightness());
    EXPECT_NE(npos, run("scheme 2").m_strOut.find("scheme 2 (user schemes 0-3)"));
    EXPECT_NE(npos, run("scheme 4").m_strOut.find("factory scheme (4)"));
    EXPECT_NE(npos, run("--scheme 4 flush").m_strOut.find("nothing saved"));  // the factory scheme has no file

    // An empty time window is not saved; one of a minute is.
    const std::string strBefore = readFlashFile(schemeFile(1, 1));
    const ToolRun stEmpty = run("--scheme 1 set 8001=9 8002=0 8003=9 8004=0 --save");
    EXPECT_EQ(1, stEmpty.m_nExit);
    EXPECT_NE(npos, stEmpty.m_strErr.find("does not start before it ends (window 09:00-09:00)"));
    EXPECT_EQ(strBefore, readFlashFile(schemeFile(1, 1)));
    EXPECT_EQ(0, run("--scheme 1 set 8001=9 8002=0 8003=9 8004=1 --save").m_nExit);
    EXPECT_NE(strBefore, readFlashFile(schemeFile(1, 1)));

    // A cut parameter file is named before the library reads it, and nothing runs.
    const std::string strWhole = readFlashFile(schemeFile(1, 3));
    writeFlashFile(schemeFile(1, 3), strWhole.substr(0, strWhole.size() - 5));
    const ToolRun stDamaged = run("get brightness");
    EXPECT_EQ(1, stDamaged.m_nExit);
    EXPECT_NE(npos, stDamaged.m_strErr.find("damaged parameter file " + m_strRoot + schemeFile(1, 3) +
                                            ": " + std::to_string(strWhole.size() - 5) + " bytes"));
    EXPECT_EQ(strWhole.size() - 5, readFlashFile(schemeFile(1, 3)).size());
}

TEST_F(SensorctlTest, UsageErrorsExitWithTwoBeforeAnyFlashAndFailuresWithOne)
{
    const struct {
        const char* szArgs;
        int nExit;
        const char* szText;  // in standard output or error
    } arrCases[] = {{"set --help", 0, "usage: sensorctl [OPTIONS] set KEY=VALUE... [--save]"},
                    {"", 2, "no command given"},
                    {"--channel 0 get 34", 2, "--channel needs a channel number from 1 to 64, got '0'"},
                    {"frobnicate", 2, "unknown command 'frobnicate'"},
                    {"set brightness", 2, "expected KEY=VALUE, got 'brightness'"},
                    {"set brightness=bright", 2, "value 'bright' of KEY_BRIGHTNESS (34) is not a 32-bit number"},
                    {"mode 2", 2, "mode needs 0 or 1, got '2'"},
                    {"get brigtness", 2, "closest names: KEY_BRIGHTNESS"}};
    for (const auto& stCase : arrCases) {
        const ToolRun stRun = run(stCase.szArgs);
        EXPECT_EQ(stCase.nExit, stRun.m_nExit) << stCase.szArgs;
        EXPECT_NE(npos, (stRun.m_strOut + stRun.m_strErr).find(stCase.szText))
            << stCase.szArgs << ": " << stRun.m_strErr;
    }
    EXPECT_FALSE(testsupport::flashFileExists("/flash"));

    EXPECT_EQ(2, run("scheme 5").m_nExit);
    EXPECT_EQ(1, run("range brightness").m_nExit);
    writeFlashFile("/plainfile", "x");
    EXPECT_EQ(1, run("get 34", "", "/plainfile").m_nExit);
    writeFlashFile("/other/dir/x", "");
    const ToolRun stNotFlash = run("get 34", "", "/other");
    EXPECT_EQ(1, stNotFlash.m_nExit);
    EXPECT_NE(npos, stNotFlash.m_strErr.find("is not a camera flash tree"));
}

TEST_F(SensorctlTest, DecodeReadsLittleEndianRecordsAndReportsBadSizes)
{
    writeFlashFile("/sensor1_0.cfg", record(34, 77) + record(2337, 0xFFFFFFFFu) + record(4000, 0x01020304u));
    writeFlashFile("/sensor1_1.cfg", record(34, 5) + "abc");
    const ToolRun stRun = run("decode " + onDisk("/sensor1_1.cfg") + " " + onDisk("/sensor1_0.cfg"));
    EXPECT_EQ(1, stRun.m_nExit);
    EXPECT_NE(npos, stRun.m_strErr.find("11 bytes is not a multiple of 8 (1 whole records, 3 bytes left over)"));
    // The next file is still decoded.
    const size_t nGood = stRun.m_strOut.find("3 records");
    ASSERT_NE(npos, nGood) << stRun.m_strOut;
    EXPECT_EQ(77, shown(stRun.m_strOut.substr(nGood), "KEY_BRIGHTNESS"));
    EXPECT_EQ(-1, shown(stRun.m_strOut.substr(nGood), "KEY_SATURATION"));
    EXPECT_EQ(0x01020304, shown(stRun.m_strOut.substr(nGood), "-"));

    writeFlashFile("/snsversion.cfg", std::string("\x0d\x0c\x0b\x0a", 4));
    EXPECT_NE(npos, run("decode " + onDisk("/snsversion.cfg")).m_strOut.find("version 168496141"));
    writeFlashFile("/snsversion.cfg", "ab");
    EXPECT_EQ(1, run("decode " + onDisk("/snsversion.cfg")).m_nExit);
}

TEST_F(SensorctlTest, ShellFromPipeFollowsTheClockAndTheDayNightState)
{
    const std::string strScript =
        "set 8001=6 8003=12\nscheme 1\nset 8001=12 8003=18 brightness=66\n"
        "scheme 2\nset 8001=18 8003=22 brightness=44\nscheme 0\nclock 23:00\nset KEY_SCHEME_MODE=1\n"
        "calls\nclock 13:00\nwait 1\ncalls\nclock 19:30\nwait 2\ncalls\nclock 22:00\nwait 0\n"
        "set KEY_SCHEME_MODE=2\nmode\ncalls\ndaynight night\nwait 1\ncalls\ndaynight day\nwait 0\n"
        "quit\nget contrast\n";
    const ToolRun stRun = run("--sleep-scale 0.05 shell", strScript);
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
    const std::string& strOut = stRun.m_strOut;
    EXPECT_EQ(npos, strOut.find("sensorctl>"));  // no prompt on a pipe
    EXPECT_NE(npos, strOut.find("switching configured in scheme 0: by day/night state"));
    // From the first switch on, each switch sent the brightness of the scheme
    // it entered, and only that (22:00 ends window 2; scheme 0 keeps the
    // sample's 50).
    const std::regex objSent("SET\\s+cmd 34 value (\\d+)\\n|(scheme \\d) is current");
    std::string strSeen;
    const std::string strSwitches = strOut.substr(std::min(strOut.find("scheme 1 is"), strOut.size()));
    for (std::sregex_iterator it(strSwitches.begin(), strSwitches.end(), objSent), end; it != end; ++it)
        strSeen += (*it)[1].matched ? (*it)[1].str() + " " : (*it)[2].str() + ", ";
    EXPECT_EQ("scheme 1, 66 scheme 2, 44 scheme 0, 50 scheme 1, 66 scheme 0, ", strSeen) << strOut;
    EXPECT_EQ(npos, strOut.find("KEY_CONTRAST"));  // nothing after quit ran
}

TEST_F(SensorctlTest, ShellGoesOnAfterFailuresAndARefusalStopsAtItsKey)
{
    // The image-algorithm library refuses to set its read-only list command 4112.
    const ToolRun stRun = run("--sleep-scale 0.05 shell",
                              "nonsense\nwait 3 0.1\nset brightness=61 4112=1 contrast=33\nget brightness contrast\n");
    EXPECT_EQ(1, stRun.m_nExit);
    EXPECT_NE(npos, stRun.m_strErr.find("unknown command 'nonsense'"));
    EXPECT_NE(npos, stRun.m_strErr.find("scheme 3 did not become current"));
    EXPECT_NE(npos, stRun.m_strErr.find("refused key 4112 (result -4112): value 1 was not applied"));
    EXPECT_EQ(61, shown(stRun.m_strOut, "KEY_BRIGHTNESS"));
    EXPECT_EQ(50, shown(stRun.m_strOut, "KEY_CONTRAST"));  // the sample's value
}

TEST_F(SensorctlTest, ShowCarriesTheRangeOfRangedKeys)
{
    const ToolRun stShow = run("show");
    const ToolRun stRange = run("range KEY_MAX_SHUTTER");
    ASSERT_EQ(0, stShow.m_nExit + stRange.m_nExit) << stShow.m_strErr << stRange.m_strErr;
    std::smatch objRange;
    ASSERT_TRUE(std::regex_search(stRange.m_strOut, objRange, std::regex("default (-?\\d+), allowed ([-0-9 ]+)\\n")));
    EXPECT_TRUE(std::regex_search(stShow.m_strOut, std::regex("KEY_MAX_SHUTTER\\s+-?\\d+\\s+" + objRange[1].str() +
                                                              "\\s+" + objRange[2].str() + "\\n")));
    EXPECT_TRUE(std::regex_search(stShow.m_strOut, std::regex("\\n\\s*34\\s+KEY_BRIGHTNESS\\s+-?\\d+\\n")));
}

TEST_F(SensorctlTest, DemoRunsToTheEnd)
{
    const ToolRun stRun = run("demo");
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
    EXPECT_NE(npos, stRun.m_strOut.find("The tour is over"));
    EXPECT_NE(npos, stRun.m_strOut.find("video: channel 1 key 2384"));
    // It ends with a factory reset, so a second tour, agreed to, starts from the same state.
    EXPECT_EQ(0, run("--allow-reset demo").m_nExit);
}

}  // namespace

#else

TEST(Sensorctl, NotBuilt)
{
    GTEST_SKIP() << "sensorctl is not part of this build (SNS_BUILD_TOOLS off)";
}

#endif
