// sy_system: removal below the flash root, the command log, shell commands.
#include <chrono>
#include <string>
#include <vector>

#include "PlatformSim.h"
#include "SySystem.h"
#include "TestSupport.h"

namespace {

using testsupport::flashFileExists;
using testsupport::writeFlashFile;

class PlatformSystem : public testsupport::FlashTest {};

TEST_F(PlatformSystem, RmRemovesGlobMatchesBelowTheRootOnly)
{
    // glob characters in the root itself must be taken literally
    const std::string strRoot = m_strRoot + "/we[i]rd*";
    platformsim::setFlashRoot(strRoot);
    const std::string strDir = "/mnt/mtd/code/config_file/";
    for (const char* szName : {"sensor1_0.cfg", "sensor1_3.cfg", "sensor1_4.cfg", "sensor2_0.cfg"})
        writeFlashFile(strDir + szName, "x");
    writeFlashFile("/mnt/mtd/code/config_old/sensor1_2.cfg", "x");
    writeFlashFile("/hd1/tree/a/b/c.txt", "x");
    writeFlashFile("/../outside.txt", "x");  // lands in the folder above the root

    EXPECT_EQ(0, sy_system("rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg /hd1/tree /no/such*", 30));
    EXPECT_FALSE(flashFileExists(strDir + "sensor1_0.cfg"));
    EXPECT_FALSE(flashFileExists(strDir + "sensor1_3.cfg"));
    EXPECT_FALSE(flashFileExists("/mnt/mtd/code/config_old/sensor1_2.cfg"));
    EXPECT_TRUE(flashFileExists(strDir + "sensor1_4.cfg"));
    EXPECT_TRUE(flashFileExists(strDir + "sensor2_0.cfg"));
    EXPECT_FALSE(flashFileExists("/hd1/tree"));
    EXPECT_TRUE(flashFileExists("/hd1"));

    EXPECT_EQ(1, sy_system("rm -rf /../outside.txt", 30));
    EXPECT_TRUE(flashFileExists("/../outside.txt"));
    EXPECT_EQ(1, sy_system("rm -rf /", 30));
    EXPECT_TRUE(flashFileExists(strDir + "sensor2_0.cfg"));

    const std::vector<std::string> vecExpected = {
        "rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg /hd1/tree /no/such*", "rm -rf /../outside.txt",
        "rm -rf /"};
    EXPECT_EQ(vecExpected, platformsim::shellCommands());
    platformsim::clearShellCommands();
    EXPECT_TRUE(platformsim::shellCommands().empty());
    EXPECT_EQ(-1, sy_system(nullptr, 30));
    EXPECT_TRUE(platformsim::shellCommands().empty());
}

TEST_F(PlatformSystem, ShellCommandGivesItsStatusOrTimesOut)
{
    EXPECT_EQ(0, sy_system("true", 30));
    EXPECT_EQ(3, sy_system("exit 3", 30));
    EXPECT_EQ(137, sy_system("kill -9 $$", 30));  // killed by a signal, as a shell reports it
    EXPECT_EQ(127, sy_system("no-such-command-here 2>/dev/null", 30));

    const auto tStart = std::chrono::steady_clock::now();
    EXPECT_EQ(-1, sy_system("sleep 5; true", 1));
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    EXPECT_GE(dSeconds, 0.9);
    EXPECT_LT(dSeconds, 3.0);
    EXPECT_EQ(5u, platformsim::shellCommands().size());
}

}  // namespace
