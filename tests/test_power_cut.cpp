// Power-cut-safe writes: a truncating write replaces its file only when the
// whole new content reached the flash; injected faults (cut write, full
// flash, power cut before the rename) leave the old file and the library's
// reports as they are.
#include <sys/stat.h>

#include <filesystem>

#include "ControllerFixtures.h"
#include "PKFile.h"
#include "PlatformSim.h"

namespace {

const int kReplace = PKFile::modeWrite | PKFile::modeTruncate;
const char kCfgDir[] = "/mnt/mtd/code/config_file";

// Files beside p_strTarget whose names begin with its name (temporary files).
int leftovers(const std::string& p_strTarget)
{
    const std::filesystem::path objTarget(platformsim::resolvePath(p_strTarget));
    int nCount = 0;
    for (const auto& objEntry : std::filesystem::directory_iterator(objTarget.parent_path())) {
        const std::string strName = objEntry.path().filename().string();
        if (strName != objTarget.filename().string() && strName.rfind(objTarget.filename().string(), 0) == 0) ++nCount;
    }
    return nCount;
}

class PowerCutTest : public InitFixture {
protected:
    void TearDown() override
    {
        platformsim::resetWriteFaults();
        InitFixture::TearDown();
    }
    // Writes p_strText through one replacing PKFile; the write's result.
    static int replace(const std::string& p_strPath, std::string p_strText)
    {
        PKFile objFile;
        if (!objFile.open(p_strPath.c_str(), kReplace)) return -100;
        return objFile.write(&p_strText[0], static_cast<unsigned int>(p_strText.size()));
    }
    std::string m_strFile = std::string(kCfgDir) + "/data.bin";
};

TEST_F(PowerCutTest, ReplacementAppearsOnlyWhenCompleteAndKeepsPermissions)
{
    ASSERT_EQ(3, replace(m_strFile, "old"));
    struct stat stInfo;
    ASSERT_EQ(0, stat(platformsim::resolvePath(m_strFile).c_str(), &stInfo));
    EXPECT_EQ(0644u, stInfo.st_mode & 07777);
    chmod(platformsim::resolvePath(m_strFile).c_str(), 0600);
    {
        PKFile objFile;
        ASSERT_TRUE(objFile.open(m_strFile.c_str(), kReplace));
        char aData[] = "new content";
        EXPECT_EQ(11, objFile.write(aData, 11));
        EXPECT_EQ(11, objFile.getLength());
        EXPECT_EQ("old", testsupport::readFlashFile(m_strFile));
        objFile.close();
    }
    EXPECT_EQ("new content", testsupport::readFlashFile(m_strFile));
    ASSERT_EQ(0, stat(platformsim::resolvePath(m_strFile).c_str(), &stInfo));
    EXPECT_EQ(0600u, stInfo.st_mode & 07777);

    platformsim::failNthWrite(2);  // the second write stores half of its bytes
    {
        PKFile objFile;
        ASSERT_TRUE(objFile.open(m_strFile.c_str(), kReplace));
        char aData[] = "abcdefgh";
        EXPECT_EQ(4, objFile.write(aData, 4));
        EXPECT_EQ(2, objFile.write(aData + 4, 4));
        EXPECT_EQ("new content", testsupport::readFlashFile(m_strFile));
    }
    EXPECT_EQ("new content", testsupport::readFlashFile(m_strFile));

    platformsim::noSpaceLeft(true);
    EXPECT_EQ(-1, replace(m_strFile, "full"));
    EXPECT_EQ("new content", testsupport::readFlashFile(m_strFile));
    EXPECT_EQ(0, leftovers(m_strFile));

    platformsim::resetWriteFaults();
    platformsim::failBeforeRename(true);
    EXPECT_EQ(3, replace(m_strFile, "cut"));
    EXPECT_EQ("new content", testsupport::readFlashFile(m_strFile));
    EXPECT_EQ(1, leftovers(m_strFile));  // the power cut left the complete new text beside it
    platformsim::resetWriteFaults();
    EXPECT_EQ(5, replace(m_strFile, "final"));
    EXPECT_EQ("final", testsupport::readFlashFile(m_strFile));
}

TEST_F(PowerCutTest, FlushUnderFaultsReportsAndKeepsTheSavedScheme)
{
    start();
    const std::string strScheme = schemeFile(1, 0);
    set(KEY_BRIGHTNESS, 70);
    ASSERT_EQ(0, ctrl().flush());
    set(KEY_BRIGHTNESS, 71);
    const int nBytes = static_cast<int>(kSmallStyleRecords * sizeof(KeyVal));
    const std::string strCount = "p_nKeyValNum(" + std::to_string(kSmallStyleRecords) + ")\n";

    platformsim::failNthWrite(1);
    std::string strOut = output([&] { EXPECT_EQ(0, ctrl().flush()); });
    expectParts(strOut, {"[sensor assert] file:SensorFile fun:keyValToFile",
                         "nSize == sizeof(KeyVal)*p_nKeyValSum   ~~~Assertion failed.",
                         "nSize(" + std::to_string(nBytes / 2) + ") sizeof(KeyVal) = 8, " + strCount});
    EXPECT_EQ(70, valueOf(records(strScheme), KEY_BRIGHTNESS));
    EXPECT_EQ(kSmallStyleRecords, records(strScheme).size());

    platformsim::noSpaceLeft(true);
    strOut = output([&] { EXPECT_EQ(0, ctrl().flush()); });
    expectParts(strOut, {"nSize(-1) sizeof(KeyVal) = 8, " + strCount});
    EXPECT_EQ(70, valueOf(records(strScheme), KEY_BRIGHTNESS));

    platformsim::resetWriteFaults();
    platformsim::failBeforeRename(true);
    strOut = output([&] { EXPECT_EQ(0, ctrl().flush()); });
    EXPECT_EQ(std::string::npos, strOut.find("[sensor assert]")) << strOut;
    EXPECT_EQ(70, valueOf(records(strScheme), KEY_BRIGHTNESS));

    // The camera comes back up after the cut: the last complete save counts.
    platformsim::resetWriteFaults();
    ctrl().uinit();
    start();
    EXPECT_EQ(70, cached(KEY_BRIGHTNESS));
    EXPECT_EQ(1, leftovers(strScheme));  // only the one file the cut left
}

TEST_F(PowerCutTest, FullFlashAtStartCostsNeitherVersionNorSchemes)
{
    start();
    set(KEY_BRIGHTNESS, 77);
    ASSERT_EQ(0, ctrl().flush());
    ctrl().uinit();

    platformsim::noSpaceLeft(true);
    const std::string strOut = output([&] { start(); });
    expectParts(strOut, {"SNS_SUCCESS == setVersion(m_nVersion)   ~~~Assertion failed.", "m_nVersion(8)\n"});
    EXPECT_TRUE(ctrl().getSensorStatus());
    ctrl().uinit();

    // A truncated version file would make the next start delete every scheme.
    platformsim::resetWriteFaults();
    platformsim::clearShellCommands();
    start();
    EXPECT_EQ(V{}, platformsim::shellCommands());
    EXPECT_EQ(77, cached(KEY_BRIGHTNESS));

    // On an empty flash nothing half-written is left behind.
    ctrl().uinit();
    testsupport::removeTree(platformsim::resolvePath(kCfgDir));
    platformsim::noSpaceLeft(true);
    output([&] { start(); });
    EXPECT_TRUE(ctrl().getSensorStatus());
    EXPECT_TRUE(std::filesystem::is_empty(platformsim::resolvePath(kCfgDir)));
}

}  // namespace
