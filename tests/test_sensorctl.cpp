// sensorctl run as a process on flash folders below the test's own root.
#include <stdint.h>
#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace fs = std::filesystem;

#ifdef SNS_SENSORCTL_PATH

namespace {

struct ToolRun {
    int m_nExit;
    std::string m_strOut;
    std::string m_strErr;
};

std::string readFile(const std::string& p_strPath)
{
    std::ifstream in(p_strPath, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& p_strPath, const std::string& p_strBytes)
{
    std::ofstream out(p_strPath, std::ios::binary | std::ios::trunc);
    out << p_strBytes;
}

std::string record(uint32_t p_nKey, uint32_t p_nValue)
{
    std::string strBytes;
    for (uint32_t nWord : {p_nKey, p_nValue})
        for (int i = 0; i < 4; ++i) strBytes += static_cast<char>((nWord >> (8 * i)) & 0xFF);
    return strBytes;
}

class SensorctlTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        m_strFlash = m_strRoot + "/flash";
    }

    // Runs "sensorctl --flash <flash> <args>", standard input from p_strInput.
    ToolRun run(const std::string& p_strArgs, const std::string& p_strInput = "",
                const std::string& p_strFlash = "")
    {
        const std::string strIn = m_strRoot + "/stdin.txt";
        const std::string strErr = m_strRoot + "/stderr.txt";
        writeFile(strIn, p_strInput);
        const std::string strCmd = std::string("'") + SNS_SENSORCTL_PATH + "' --flash '" +
                                   (p_strFlash.empty() ? m_strFlash : p_strFlash) + "' " +
                                   p_strArgs + " <'" + strIn + "' 2>'" + strErr + "'";
        ToolRun stRun = {-1, "", ""};
        FILE* pPipe = popen(strCmd.c_str(), "r");
        if (pPipe == nullptr) return stRun;
        char szBuf[4096];
        size_t nRead = 0;
        while ((nRead = fread(szBuf, 1, sizeof(szBuf), pPipe)) > 0)
            stRun.m_strOut.append(szBuf, nRead);
        const int nStatus = pclose(pPipe);
        stRun.m_nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
        stRun.m_strErr = readFile(strErr);
        return stRun;
    }

    // The value `get` printed for a key name, or a failure.
    static ::testing::AssertionResult valueIn(const std::string& p_strOut,
                                              const std::string& p_strName, int& p_nValue)
    {
        std::smatch objMatch;
        const std::regex objLine("\\n?\\s*\\d+\\s+" + p_strName + "\\s+(-?\\d+)\\n");
        if (!std::regex_search(p_strOut, objMatch, objLine))
            return ::testing::AssertionFailure() << p_strName << " not in:\n" << p_strOut;
        p_nValue = std::stoi(objMatch[1]);
        return ::testing::AssertionSuccess();
    }

    int brightness(const std::string& p_strOptions = "")
    {
        const ToolRun stRun = run(p_strOptions + " get brightness");
        int nValue = -1;
        EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
        EXPECT_TRUE(valueIn(stRun.m_strOut, "KEY_BRIGHTNESS", nValue));
        return nValue;
    }

    std::string schemeFile(int p_nScheme) const
    {
        return m_strFlash + "/mnt/mtd/code/config_file/sensor1_" + std::to_string(p_nScheme) +
               ".cfg";
    }

    std::string m_strFlash;
};

TEST_F(SensorctlTest, MissingFlashBecomesSampleCopyAndKeysParseInEveryForm)
{
    const ToolRun stRun = run("get 34 brightness KEY_BRIGHTNESS bRiGhTnEsS");
    ASSERT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
    EXPECT_NE(std::string::npos, stRun.m_strErr.find("created flash folder"));
    EXPECT_TRUE(fs::exists(m_strFlash + "/hd1/moduleConfig/moduleConfig.xml"));
    EXPECT_TRUE(fs::exists(schemeFile(0)));
    // Four forms of one key: four identical answers, nothing else on standard output.
    std::istringstream objLines(stRun.m_strOut);
    std::vector<std::string> vecLines;
    for (std::string strLine; std::getline(objLines, strLine);) vecLines.push_back(strLine);
    ASSERT_EQ(4u, vecLines.size()) << stRun.m_strOut;
    for (const std::string& strLine : vecLines) EXPECT_EQ(vecLines[0], strLine);

    // The answer is the value of the scheme file init created.
    const ToolRun stDecode = run("decode '" + schemeFile(0) + "'");
    int nFromFile = -1;
    int nFromGet = -2;
    ASSERT_TRUE(valueIn(stDecode.m_strOut, "KEY_BRIGHTNESS", nFromFile));
    ASSERT_TRUE(valueIn(stRun.m_strOut, "KEY_BRIGHTNESS", nFromGet));
    EXPECT_EQ(nFromFile, nFromGet);
    // A second run uses the folder as it is.
    EXPECT_EQ(std::string::npos, run("get 34").m_strErr.find("created flash folder"));
}

TEST_F(SensorctlTest, SetLastsForTheRunUnlessSaved)
{
    const int nFactory = brightness();
    const int nNew = nFactory + 13;
    const ToolRun stSet = run("set brightness=" + std::to_string(nNew));
    ASSERT_EQ(0, stSet.m_nExit) << stSet.m_strErr;
    int nShown = -1;
    ASSERT_TRUE(valueIn(stSet.m_strOut, "KEY_BRIGHTNESS", nShown));
    EXPECT_EQ(nNew, nShown);
    EXPECT_EQ(nFactory, brightness());

    const ToolRun stSave = run("set KEY_BRIGHTNESS=" + std::to_string(nNew) + " --save");
    ASSERT_EQ(0, stSave.m_nExit) << stSave.m_strErr;
    EXPECT_NE(std::string::npos, stSave.m_strOut.find("saved scheme 0"));
    EXPECT_EQ(nNew, brightness());
    int nInFile = -1;
    ASSERT_TRUE(valueIn(run("decode '" + schemeFile(0) + "'").m_strOut, "KEY_BRIGHTNESS", nInFile));
    EXPECT_EQ(nNew, nInFile);

    // The factory reset rewrites the file from the factory values.
    const ToolRun stReset = run("reset");
    EXPECT_EQ(0, stReset.m_nExit) << stReset.m_strErr;
    EXPECT_EQ(nFactory, brightness());
}

TEST_F(SensorctlTest, SchemesAreSelectedSavedAndCheckedSeparately)
{
    const int nFactory = brightness();
    ASSERT_EQ(0,
              run("--scheme 2 set brightness=" + std::to_string(nFactory + 7) + " --save").m_nExit);
    EXPECT_EQ(nFactory + 7, brightness("--scheme 2"));
    EXPECT_EQ(nFactory, brightness());
    EXPECT_EQ(nFactory, brightness("--scheme 1"));

    const ToolRun stSwitch = run("scheme 2");
    EXPECT_EQ(0, stSwitch.m_nExit);
    EXPECT_NE(std::string::npos, stSwitch.m_strOut.find("scheme 2 (user schemes 0-3)"));
    EXPECT_NE(std::string::npos, run("scheme 4").m_strOut.find("factory scheme (4)"));
    EXPECT_EQ(2, run("scheme 5").m_nExit);

    // The factory scheme has no file; an empty time window is not saved.
    EXPECT_NE(std::string::npos, run("--scheme 4 flush").m_strOut.find("nothing saved"));
    const std::string strBefore = readFile(schemeFile(1));
    const ToolRun stBad = run("--scheme 1 set 8001=9 8002=0 8003=9 8004=0 --save");
    EXPECT_EQ(1, stBad.m_nExit);
    EXPECT_NE(std::string::npos,
              stBad.m_strErr.find("does not start before it ends (window 09:00-09:00)"));
    EXPECT_EQ(strBefore, readFile(schemeFile(1)));
    EXPECT_EQ(0, run("--scheme 1 set 8001=9 8002=0 8003=9 8004=1 --save").m_nExit);
    EXPECT_NE(strBefore, readFile(schemeFile(1)));
}

TEST_F(SensorctlTest, LibraryRefusalStopsAtTheRefusedKey)
{
    // The image-algorithm library refuses to set its read-only list command 4112.
    const ToolRun stRun =
        run("--sleep-scale 0.05 shell", "set brightness=61 4112=1 contrast=33\nget brightness\n");
    EXPECT_EQ(1, stRun.m_nExit);
    EXPECT_NE(std::string::npos,
              stRun.m_strErr.find("refused key 4112 (result -4112): value 1 was not applied"));
    int nValue = -1;
    ASSERT_TRUE(valueIn(stRun.m_strOut, "KEY_BRIGHTNESS", nValue));
    EXPECT_EQ(61, nValue);
    EXPECT_EQ(std::string::npos, stRun.m_strOut.find("KEY_CONTRAST"));
}

TEST_F(SensorctlTest, UsageErrorsExitWithTwoAndFailuresWithOne)
{
    EXPECT_EQ(0, run("--help").m_nExit);
    const ToolRun stHelp = run("set --help");
    EXPECT_EQ(0, stHelp.m_nExit);
    EXPECT_NE(std::string::npos,
              stHelp.m_strOut.find("usage: sensorctl [OPTIONS] set KEY=VALUE... [--save]"));
    EXPECT_EQ(2, run("").m_nExit);
    EXPECT_EQ(2, run("--channel 0 get 34").m_nExit);
    EXPECT_EQ(2, run("frobnicate").m_nExit);
    EXPECT_EQ(2, run("set brightness").m_nExit);
    EXPECT_EQ(2, run("set brightness=bright").m_nExit);
    EXPECT_EQ(2, run("mode 2").m_nExit);
    const ToolRun stTypo = run("get brigtness");
    EXPECT_EQ(2, stTypo.m_nExit);
    EXPECT_NE(std::string::npos, stTypo.m_strErr.find("closest names: KEY_BRIGHTNESS"));
    // Usage errors are found before any flash folder is made.
    EXPECT_FALSE(fs::exists(m_strFlash));

    EXPECT_EQ(1, run("range brightness").m_nExit);
    writeFile(m_strRoot + "/plainfile", "x");
    EXPECT_EQ(1, run("get 34", "", m_strRoot + "/plainfile").m_nExit);
    fs::create_directories(m_strRoot + "/other/dir");
    const ToolRun stNotFlash = run("get 34", "", m_strRoot + "/other");
    EXPECT_EQ(1, stNotFlash.m_nExit);
    EXPECT_NE(std::string::npos, stNotFlash.m_strErr.find("is not a camera flash tree"));
}

TEST_F(SensorctlTest, DecodeReadsRecordsLittleEndianAndReportsBadSizes)
{
    const std::string strGood = m_strRoot + "/sensor1_0.cfg";
    writeFile(strGood, record(34, 77) + record(2337, 0xFFFFFFFFu) + record(4000, 0x01020304u));
    const ToolRun stGood = run("decode '" + strGood + "'");
    EXPECT_EQ(0, stGood.m_nExit) << stGood.m_strErr;
    EXPECT_NE(std::string::npos, stGood.m_strOut.find("3 records"));
    int nValue = 0;
    EXPECT_TRUE(valueIn(stGood.m_strOut, "KEY_BRIGHTNESS", nValue));
    EXPECT_EQ(77, nValue);
    EXPECT_TRUE(valueIn(stGood.m_strOut, "KEY_SATURATION", nValue));
    EXPECT_EQ(-1, nValue);
    EXPECT_TRUE(valueIn(stGood.m_strOut, "-", nValue));
    EXPECT_EQ(0x01020304, nValue);

    const std::string strBad = m_strRoot + "/sensor1_1.cfg";
    writeFile(strBad, record(34, 5) + "abc");
    const ToolRun stBad = run("decode '" + strBad + "' '" + strGood + "'");
    EXPECT_EQ(1, stBad.m_nExit);
    EXPECT_NE(std::string::npos,
              stBad.m_strErr.find(
                  "11 bytes is not a multiple of 8 (1 whole records, 3 bytes left over)"));
    EXPECT_NE(std::string::npos,
              stBad.m_strOut.find("3 records"));  // the next file is still decoded

    const std::string strVersion = m_strRoot + "/snsversion.cfg";
    writeFile(strVersion, std::string("\x0d\x0c\x0b\x0a", 4));
    EXPECT_NE(std::string::npos,
              run("decode '" + strVersion + "'").m_strOut.find("version 168496141"));
    writeFile(strVersion, "ab");
    EXPECT_EQ(1, run("decode '" + strVersion + "'").m_nExit);
}

TEST_F(SensorctlTest, ShellFromPipeFollowsTheClockAcrossWindows)
{
    const std::string strScript =
        "set 8001=6 8003=12\n"
        "scheme 1\n"
        "set 8001=12 8003=18 brightness=66\n"
        "scheme 2\n"
        "set 8001=18 8003=22 brightness=44\n"
        "scheme 0\n"
        "set KEY_SCHEME_MODE=1\n"
        "clock 23:00\n"
        "calls\n"
        "clock 13:00\n"
        "wait 1\n"
        "calls\n"
        "clock 19:30\n"
        "wait 2\n"
        "calls\n"
        "clock 22:00\n"
        "wait 0\n"
        "quit\n"
        "get contrast\n";
    const ToolRun stRun = run("--sleep-scale 0.05 shell", strScript);
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
    const std::string& strOut = stRun.m_strOut;
    EXPECT_EQ(std::string::npos, strOut.find("sensorctl>"));  // no prompt on a pipe
    const size_t nAt1 = strOut.find("scheme 1 is current");
    const size_t nAt2 = strOut.find("scheme 2 is current");
    const size_t nAt0 = strOut.find("scheme 0 is current");
    ASSERT_NE(std::string::npos, nAt1) << strOut;
    ASSERT_NE(std::string::npos, nAt2) << strOut;
    ASSERT_NE(std::string::npos, nAt0) << strOut;
    ASSERT_LT(nAt1, nAt2);
    ASSERT_LT(nAt2, nAt0);
    // Each switch sent the brightness of the scheme it entered (22:00 ends window 2).
    const std::regex objTo66("SET\\s+cmd 34 value 66\\n");
    const std::regex objTo44("SET\\s+cmd 34 value 44\\n");
    EXPECT_TRUE(std::regex_search(strOut.substr(nAt1, nAt2 - nAt1), objTo66)) << strOut;
    EXPECT_TRUE(std::regex_search(strOut.substr(nAt2, nAt0 - nAt2), objTo44)) << strOut;
    EXPECT_FALSE(std::regex_search(strOut.substr(nAt1, nAt2 - nAt1), objTo44)) << strOut;
    // Nothing after quit ran.
    EXPECT_EQ(std::string::npos, strOut.find("KEY_CONTRAST"));
}

TEST_F(SensorctlTest, ShellKeepsGoingAfterAFailedCommand)
{
    const ToolRun stRun = run("--sleep-scale 0.05 shell", "nonsense\nwait 3 0.1\nget contrast\n");
    EXPECT_EQ(1, stRun.m_nExit);
    EXPECT_NE(std::string::npos, stRun.m_strErr.find("unknown command 'nonsense'"));
    EXPECT_NE(std::string::npos, stRun.m_strErr.find("scheme 3 did not become current"));
    int nValue = -1;
    EXPECT_TRUE(valueIn(stRun.m_strOut, "KEY_CONTRAST", nValue));
}

TEST_F(SensorctlTest, ShowAndRangeAgreeWithTheFilesAndTheLibrary)
{
    const ToolRun stShow = run("show");
    ASSERT_EQ(0, stShow.m_nExit) << stShow.m_strErr;
    std::smatch objCount;
    ASSERT_TRUE(std::regex_search(stShow.m_strOut, objCount, std::regex("(\\d+) parameters\\n")));
    std::smatch objRecords;
    const ToolRun stDecode = run("decode '" + schemeFile(0) + "'");
    ASSERT_TRUE(
        std::regex_search(stDecode.m_strOut, objRecords, std::regex(": (\\d+) records\\n")));
    EXPECT_EQ(objRecords[1].str(), objCount[1].str());

    // The row of a range-capable key carries what `range` reports for it.
    std::smatch objRange;
    const ToolRun stRange = run("range KEY_MAX_SHUTTER");
    ASSERT_EQ(0, stRange.m_nExit) << stRange.m_strErr;
    ASSERT_TRUE(std::regex_search(stRange.m_strOut, objRange,
                                  std::regex("default (-?\\d+), allowed ([-0-9 ]+)\\n")));
    const std::regex objRow("KEY_MAX_SHUTTER\\s+-?\\d+\\s+" + objRange[1].str() + "\\s+" +
                            objRange[2].str() + "\\n");
    EXPECT_TRUE(std::regex_search(stShow.m_strOut, objRow)) << stShow.m_strOut;
    std::smatch objPlain;
    ASSERT_TRUE(
        std::regex_search(stShow.m_strOut, objPlain, std::regex("KEY_BRIGHTNESS[^\\n]*\\n")));
    EXPECT_TRUE(std::regex_match(objPlain[0].str(), std::regex("KEY_BRIGHTNESS\\s+-?\\d+\\n")));
}

TEST_F(SensorctlTest, DayNightSwitchingFollowsTheSimulatedState)
{
    ASSERT_EQ(0, run("--scheme 1 set brightness=23 --save").m_nExit);
    ASSERT_EQ(0, run("set KEY_SCHEME_MODE=2 --save").m_nExit);
    EXPECT_NE(std::string::npos,
              run("mode").m_strOut.find("switching configured in scheme 0: by day/night state"));
    const ToolRun stRun =
        run("--sleep-scale 0.05 shell",
            "scheme\ndaynight night\nwait 1\nget brightness\ndaynight day\nwait 0\n");
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
    EXPECT_NE(std::string::npos, stRun.m_strOut.find("scheme 0 (user schemes 0-3)"));
    const size_t nNight = stRun.m_strOut.find("scheme 1 is current");
    ASSERT_NE(std::string::npos, nNight) << stRun.m_strOut;
    int nValue = -1;
    ASSERT_TRUE(valueIn(stRun.m_strOut.substr(nNight), "KEY_BRIGHTNESS", nValue));
    EXPECT_EQ(23, nValue);
    EXPECT_NE(std::string::npos, stRun.m_strOut.find("scheme 0 is current", nNight));
}

TEST_F(SensorctlTest, ChannelsDamagedFilesAndVersions)
{
    const int nFactory = brightness();
    ASSERT_EQ(
        0, run("--channel 2 set brightness=" + std::to_string(nFactory + 3) + " --save").m_nExit);
    EXPECT_TRUE(fs::exists(m_strFlash + "/mnt/mtd/code/config_file/sensor2_0.cfg"));
    EXPECT_EQ(nFactory + 3, brightness("--channel 2"));
    EXPECT_EQ(nFactory, brightness());

    // `version` reports the layout the version file holds.
    std::smatch objFile;
    std::smatch objTool;
    const std::string strVersionFile = m_strFlash + "/mnt/mtd/code/config_file/snsversion.cfg";
    const ToolRun stDecode = run("decode '" + strVersionFile + "'");
    ASSERT_TRUE(std::regex_search(stDecode.m_strOut, objFile, std::regex("version (\\d+)\\n")));
    const ToolRun stVersion = run("version");
    EXPECT_EQ(0, stVersion.m_nExit) << stVersion.m_strErr;
    ASSERT_TRUE(std::regex_search(stVersion.m_strOut, objTool, std::regex("layout: (\\d+)\\n")));
    EXPECT_EQ(objFile[1].str(), objTool[1].str());
    EXPECT_EQ(0u, run("style").m_strOut.find("<?xml"));

    // A cut parameter file is named before the library reads it; the run goes on.
    const std::string strCut = readFile(schemeFile(3));
    writeFile(schemeFile(3), strCut.substr(0, strCut.size() - 5));
    const ToolRun stDamaged = run("get brightness");
    EXPECT_EQ(0, stDamaged.m_nExit);
    EXPECT_NE(std::string::npos,
              stDamaged.m_strErr.find("damaged parameter file " + schemeFile(3)));
}

TEST_F(SensorctlTest, DemoRunsToTheEnd)
{
    const ToolRun stRun = run("demo");
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
    EXPECT_NE(std::string::npos, stRun.m_strOut.find("The tour is over"));
    EXPECT_NE(std::string::npos, stRun.m_strOut.find("video: channel 1 key 2384"));
    // It ends with a factory reset, so a second tour starts from the same state.
    EXPECT_EQ(0, run("demo").m_nExit);
}

}  // namespace

#else

TEST(Sensorctl, NotBuilt)
{
    GTEST_SKIP() << "sensorctl is not part of this build (SNS_BUILD_TOOLS off)";
}

#endif
