// sensorctl never loses saved schemes and never reports a failure as
// success: each case runs the tool as a process and compares exit status
// and the camera's files before and after.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "SensorctlRun.h"

#ifdef SNS_SENSORCTL_PATH

namespace {

using namespace testsupport;

const size_t npos = std::string::npos;
const char* const kVersionFile = "/flash" SNS_PATH_VERSION_FILE;
const char* const kStyleFile = "/flash/hd1/moduleConfig/sensorConfig/style/Style.xml";

class SensorctlSafetyTest : public SensorctlTest {
protected:
    // A camera that has run once and holds a saved, non-factory scheme 0.
    void SetUp() override
    {
        SensorctlTest::SetUp();
        ASSERT_EQ(0, run("set brightness=71 --save").m_nExit);
        m_mapSaved = flashFiles();
        size_t nFiles = m_mapSaved.count(SNS_PATH_VERSION_FILE);
        for (int s = 0; s < 4; ++s) nFiles += m_mapSaved.count(schemeFilePath(1, s));
        ASSERT_EQ(5u, nFiles);
    }
    // Runs the command expecting a refusal that names p_szReason and leaves every file as it was.
    void expectRefusedUnchanged(const std::string& p_strArgs, const char* p_szReason)
    {
        const std::map<std::string, std::string> mapBefore = flashFiles();
        const ToolRun stRun = run(p_strArgs);
        EXPECT_EQ(1, stRun.m_nExit) << p_strArgs << ": " << stRun.m_strErr;
        EXPECT_NE(npos, stRun.m_strErr.find(p_szReason)) << p_strArgs << ": " << stRun.m_strErr;
        EXPECT_EQ(npos, stRun.m_strOut.find("saved")) << p_strArgs;
        EXPECT_EQ(npos, stRun.m_strOut.find("done")) << p_strArgs;
        EXPECT_TRUE(mapBefore == flashFiles()) << p_strArgs << " changed the flash tree";
    }
    std::map<std::string, std::string> m_mapSaved;
};

TEST_F(SensorctlSafetyTest, AVersionMismatchRefusesEveryCommandUntilTheLossIsAccepted)
{
    const std::string arrVersions[] = {std::string(), std::string("\x08\x00", 2),
                                       std::string("\x07\x00\x00\x00", 4)};
    for (const std::string& strVersion : arrVersions) {
        testsupport::removeTree(m_strRoot + kVersionFile);
        if (!strVersion.empty()) writeFlashFile(kVersionFile, strVersion);
        expectRefusedUnchanged("get 34", "init would reset the saved schemes of channel 1 to factory values");
        expectRefusedUnchanged("set brightness=5 --save", "init would reset the saved schemes of channel 1");
    }
    // Channel 2 has no saved schemes: nothing to lose there.
    EXPECT_EQ(0, run("--channel 2 get 34").m_nExit);
    writeFlashFile(kVersionFile, std::string("\x07\x00\x00\x00", 4));
    const ToolRun stAccepted = run("--allow-reset get brightness");
    EXPECT_EQ(0, stAccepted.m_nExit) << stAccepted.m_strErr;
    EXPECT_EQ(50, shown(stAccepted.m_strOut, "KEY_BRIGHTNESS"));  // the factory value again
    EXPECT_EQ(std::string("\x08\x00\x00\x00", 4), readFlashFile(kVersionFile));
}

TEST_F(SensorctlSafetyTest, DemoRunsOnAScratchCopyUnlessAFolderIsNamedAndAgreed)
{
    expectRefusedUnchanged("demo", "is not empty: the demo saves a scheme there");
    // Without --flash: a scratch copy below TMPDIR, gone afterwards.
    writeFlashFile("/scratch/.keep", "");
    const ToolRun stScratch = run("demo", "", "", "TMPDIR=" + onDisk("/scratch"));
    EXPECT_EQ(0, stScratch.m_nExit) << stScratch.m_strErr;
    EXPECT_NE(npos, stScratch.m_strOut.find("The tour is over"));
    EXPECT_EQ(1u, flashFiles("/scratch").size());
    EXPECT_TRUE(m_mapSaved == flashFiles());
}

TEST_F(SensorctlSafetyTest, ABrokenStyleOrScratchFolderRefusesTheResetBeforeItWritesAnything)
{
    const std::string strStyle = readFlashFile(kStyleFile);
    for (const char* szStyle : {"", "<SensorStyle><Tab key=\"Image\">", "not xml at all"}) {
        writeFlashFile(kStyleFile, szStyle);
        expectRefusedUnchanged("reset", "init would write empty parameter files");
    }
    writeFlashFile(kStyleFile, strStyle);
    testsupport::removeTree(m_strRoot + "/flash/tmp");
    writeFlashFile("/flash/tmp", "a file where a folder belongs");
    expectRefusedUnchanged("reset", "/flash/tmp is not a folder");
    expectRefusedUnchanged("get 34", "/flash/tmp is not a folder");
}

TEST_F(SensorctlSafetyTest, AnUnwritableParameterFolderIsNeverReportedAsSaved)
{
    // Permissions bind only a user other than root.
    std::string strAs;
    if (geteuid() == 0) {
        if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "needs setpriv to run as another user";
        strAs = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups";
        ASSERT_EQ(0, system(("chmod -R a+rwX " + onDisk("") + " && chmod a+rx " + onDisk("/..")).c_str()));
    }
    const std::string strDir = m_strRoot + "/flash" SNS_PATH_CONFIG_DIR;
    ASSERT_EQ(0, chmod(strDir.c_str(), 0555));
    for (const char* szArgs : {"set brightness=99 --save", "flush", "reset"}) {
        const ToolRun stRun = run(szArgs, "", "/flash", strAs);
        EXPECT_EQ(1, stRun.m_nExit) << szArgs << ": " << stRun.m_strErr;
        EXPECT_NE(npos, stRun.m_strErr.find("config_file cannot be written")) << szArgs << ": " << stRun.m_strErr;
    }
    chmod(strDir.c_str(), 0755);
    EXPECT_TRUE(m_mapSaved == flashFiles());
}

TEST_F(SensorctlSafetyTest, DecodeRefusesHugeFilesAndFlagsWholeRecordDamage)
{
    writeFlashFile("/big.cfg", std::string(64 * 1024 + 1, '\0'));
    const ToolRun stBig = run("decode " + onDisk("/big.cfg") + " /dev/zero");
    EXPECT_EQ(1, stBig.m_nExit);
    EXPECT_NE(npos, stBig.m_strErr.find("big.cfg: cannot decode: larger than 64 KiB"));
    EXPECT_NE(npos, stBig.m_strErr.find("/dev/zero: cannot decode: not a regular file"));

    // Scheme 1's records with a key zeroed, two swapped and one repeated.
    const std::string strWhole = readFlashFile(schemeFile(1, 1));
    std::string strBad = strWhole;
    strBad.replace(8 * 10, 8, record(0, 0));
    strBad.replace(8 * 20, 16, strWhole.substr(8 * 21, 8) + strWhole.substr(8 * 20, 8));
    strBad.replace(8 * 30, 8, strWhole.substr(8 * 29, 8));
    writeFlashFile(schemeFile(1, 1), strBad);
    const ToolRun stRun = run("decode " + onDisk(schemeFile(1, 1)));
    EXPECT_EQ(1, stRun.m_nExit);
    for (const char* szText : {"1 records of key 0 (record 10)", "1 repeated keys (record 30 key",
                               "1 keys out of factory order (record 21 key"})
        EXPECT_NE(npos, stRun.m_strErr.find(szText)) << szText << "\n" << stRun.m_strErr;
    expectRefusedUnchanged("get 34", "records of key 0");
}

TEST_F(SensorctlSafetyTest, AFileTruncatedToWholeRecordsOrAScratchFileIsNeverTakenAsGood)
{
    writeFlashFile(schemeFile(1, 2), readFlashFile(schemeFile(1, 2)).substr(0, 400));
    expectRefusedUnchanged("get 34", "sensor1_2.cfg: 50 records where the factory set has 145");
    const ToolRun stDecode = run("decode " + onDisk(schemeFile(1, 2)));
    EXPECT_EQ(1, stDecode.m_nExit);
    EXPECT_NE(npos, stDecode.m_strErr.find("50 records where the factory set has 145"));
    // The factory reset is the way back, and its files read back whole.
    const ToolRun stReset = run("reset");
    EXPECT_EQ(0, stReset.m_nExit) << stReset.m_strErr;
    EXPECT_EQ(145u * 8, readFlashFile(schemeFile(1, 2)).size());
    EXPECT_EQ(0, run("get 34").m_nExit);
}

TEST_F(SensorctlSafetyTest, ValuesOutsideTheStyleAreRefusedUnlessForced)
{
    const struct {
        const char* szArgs;
        const char* szText;
    } arrCases[] = {{"set brightness=101 --save", "value 101 is not allowed (allowed range: 0 ... 100)"},
                    {"set mirror=2 KEY_MIRROR=7", "value 7 is not allowed (allowed values: 0, 1, 2, 3)"},
                    {"set 8001=24", "a time window hour is 0 ... 23"},
                    {"set 8004=60 --save", "a time window minute is 0 ... 59"},
                    {"set 8002=-1", "a time window minute is 0 ... 59"}};
    for (const auto& stCase : arrCases) expectRefusedUnchanged(stCase.szArgs, stCase.szText);
    const ToolRun stForced = run("set brightness=101 --force --save");
    EXPECT_EQ(0, stForced.m_nExit) << stForced.m_strErr;
    EXPECT_NE(npos, stForced.m_strErr.find("sent anyway (--force)"));
    EXPECT_EQ(101, brightness());
    // An unknown key is sent with a warning; the library's failed check on it fails the command.
    const ToolRun stUnknown = run("set 4000=3");
    EXPECT_EQ(1, stUnknown.m_nExit);
    EXPECT_NE(npos, stUnknown.m_strErr.find("key 4000: neither the key table nor the UI style knows this key"));
    EXPECT_NE(npos, stUnknown.m_strErr.find("the library reported 1 failed check: -1 != findFromKeyCmdMap("));
    EXPECT_EQ(0, run("set 8001=23 8002=59 8003=0 8004=0").m_nExit);  // the edges pass
}

TEST_F(SensorctlSafetyTest, TheLibraryConsoleGoesToTheLogWithoutColour)
{
    const ToolRun stQuiet = run("get brightness");
    EXPECT_EQ(0, stQuiet.m_nExit);
    EXPECT_EQ("", stQuiet.m_strErr);
    const std::string strLog = readFlashFile("/flash/sensorctl.log");
    EXPECT_NE(npos, strLog.find("dnaParamList"));
    const ToolRun stVerbose = run("--verbose get brightness");
    EXPECT_NE(npos, stVerbose.m_strErr.find("dnaParamList"));
    EXPECT_EQ(npos, (strLog + stVerbose.m_strErr).find('\033'));
    EXPECT_EQ(std::string::npos, stVerbose.m_strOut.find("dnaParamList"));
}

}  // namespace

#endif
