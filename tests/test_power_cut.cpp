// Power-cut-safe writes: a truncating write replaces its file only when the
// whole new content reached the flash; injected faults (cut write, full
// flash, power cut before the rename) and a real full filesystem leave the
// old file, and every failure is reported.
#include <sys/stat.h>

#include <filesystem>

#include "ControllerFixtures.h"
#include "PKFile.h"
#include "PlatformSim.h"

namespace {

const char kCfgDir[] = SNS_PATH_CONFIG_DIR;

// Files beside p_strTarget named after it (its temporary files).
int leftovers(const std::string& p_strTarget)
{
    const std::string strReal = platformsim::resolvePath(p_strTarget);
    int nCount = 0;
    for (const auto& objEntry : std::filesystem::directory_iterator(std::filesystem::path(strReal).parent_path()))
        if (objEntry.path().string().rfind(strReal + ".", 0) == 0) ++nCount;
    return nCount;
}

unsigned permissions(const std::string& p_strPath)
{
    struct stat stInfo;
    return stat(platformsim::resolvePath(p_strPath).c_str(), &stInfo) == 0 ? stInfo.st_mode & 07777 : 0;
}

class PowerCutTest : public InitFixture {
protected:
    void TearDown() override
    {
        platformsim::resetWriteFaults();
        InitFixture::TearDown();
    }
};

TEST_F(PowerCutTest, ReplacementAppearsOnlyWhenCompleteAndKeepsPermissions)
{
    const std::string strFile = std::string(kCfgDir) + "/data.bin";
    // Writes p_strText through one replacing PKFile; what the file held before the close.
    const auto replace = [&](std::string p_strText) {
        PKFile objFile;
        EXPECT_TRUE(objFile.open(strFile.c_str(), PKFile::modeWrite | PKFile::modeTruncate));
        EXPECT_EQ(static_cast<int>(p_strText.size()), objFile.write(&p_strText[0], p_strText.size()));
        return testsupport::readFlashFile(strFile);
    };
    EXPECT_EQ("", replace("old"));
    EXPECT_EQ(0644u, permissions(strFile));
    chmod(platformsim::resolvePath(strFile).c_str(), 0600);
    EXPECT_EQ("old", replace("new content"));
    EXPECT_EQ("new content", testsupport::readFlashFile(strFile));
    EXPECT_EQ(0600u, permissions(strFile));
}

TEST_F(PowerCutTest, FlushUnderFaultsReportsAndKeepsTheSavedScheme)
{
    start();
    const std::string strScheme = schemeFile(1, 0);
    set(KEY_BRIGHTNESS, 70);
    ASSERT_EQ(0, ctrl().flush());
    set(KEY_BRIGHTNESS, 71);
    // Each fault, the temporary files it leaves and the size the report
    // names ("": no report).
    const struct {
        void (*fnInject)();
        int nLeftovers;
        std::string strReportedSize;
    } arrFaults[] = {{[] { platformsim::failNthWrite(1); }, 0, std::to_string(kSmallStyleRecords * 4)},
                     {[] { platformsim::noSpaceLeft(true); }, 0, "-1"},
                     {[] { platformsim::failBeforeRename(true); }, 1, ""}};
    for (const auto& stFault : arrFaults) {
        platformsim::resetWriteFaults();
        stFault.fnInject();
        const std::string strOut = output([&] { EXPECT_EQ(0, ctrl().flush()); });
        if (stFault.strReportedSize.empty()) {
            EXPECT_EQ(std::string::npos, strOut.find("[sensor assert]")) << strOut;
        } else {
            expectParts(strOut, {"[sensor assert] file:SensorFile fun:keyValToFile",
                                 "nSize == sizeof(KeyVal)*p_nKeyValSum   ~~~Assertion failed.",
                                 "nSize(" + stFault.strReportedSize + ") sizeof(KeyVal) = 8, p_nKeyValNum(" +
                                     std::to_string(kSmallStyleRecords) + ")\n"});
        }
        EXPECT_EQ(70, valueOf(records(strScheme), KEY_BRIGHTNESS));
        EXPECT_EQ(stFault.nLeftovers, leftovers(strScheme));
    }

    // The camera comes back up after the cut: the last complete save counts,
    // and the channel's start removes what the cut left.
    platformsim::resetWriteFaults();
    ctrl().uinit();
    const std::string strOther = std::string(kCfgDir) + "/sensor2_0.cfg";
    testsupport::writeFlashFile(strOther + ".Ab12Cd", "another channel's");
    testsupport::writeFlashFile(strScheme + ".keep", "not a temporary file");
    start();
    EXPECT_EQ(70, cached(KEY_BRIGHTNESS));
    EXPECT_EQ(1, leftovers(strScheme));  // only the file that is no temporary
    EXPECT_EQ(1, leftovers(strOther));
}

// A real full filesystem: the medium refuses the data only when stdio hands
// it over, after the write had been buffered.
TEST_F(PowerCutTest, RealFullFilesystemIsAReportedFailure)
{
    testsupport::SmallTmpfs objFlash(kCfgDir, 64 * 1024);
    if (!objFlash.mounted()) GTEST_SKIP() << objFlash.reason();
    start();
    const std::string strScheme = schemeFile(1, 0);
    set(KEY_BRIGHTNESS, 66);
    objFlash.fillUp();
    const std::string strOut = output([&] { EXPECT_EQ(0, ctrl().flush()); });
    expectParts(strOut, {"[sensor assert] file:SensorFile fun:keyValToFile", "nSize(-1) sizeof(KeyVal) = 8"});
    EXPECT_NE(std::string::npos, testsupport::readFlashFile("/mnt/mtd/log/SensorError.log").find("nSize(-1)"));
    EXPECT_EQ(50, valueOf(records(strScheme), KEY_BRIGHTNESS));
    EXPECT_EQ(0, leftovers(strScheme));
    output([&] { EXPECT_EQ(-1, setVersion(9)); });
    EXPECT_EQ(std::string("\x08\0\0\0", 4), testsupport::readFlashFile("/mnt/mtd/code/config_file/snsversion.cfg"));
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
