// sy_system: the rm the library issues stays below the flash root; the command log.
#include <string>

#include "PlatformSim.h"
#include "SySystem.h"
#include "TestSupport.h"

namespace {

using testsupport::flashFileExists;
using testsupport::writeFlashFile;

class PlatformSystem : public testsupport::FlashTest {};

TEST_F(PlatformSystem, RmRemovesGlobMatchesBelowTheRootOnly)
{
    platformsim::setFlashRoot(m_strRoot + "/we[i]rd*");  // glob characters of the root are literal
    const std::string strDir = SNS_PATH_CONFIG_DIR "/";
    for (const char* szName : {"sensor1_0.cfg", "sensor1_3.cfg", "sensor1_4.cfg", "sensor2_0.cfg"})
        writeFlashFile(strDir + szName, "x");
    writeFlashFile("/mnt/mtd/code/config_old/sensor1_2.cfg", "x");
    writeFlashFile("/hd1/tree/a/b/c.txt", "x");
    writeFlashFile("/../outside.txt", "x");  // lands in the folder above the root

    EXPECT_EQ(0, sy_system("rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg /hd1/tree /no/such*", 30));
    EXPECT_FALSE(flashFileExists(strDir + "sensor1_0.cfg") || flashFileExists(strDir + "sensor1_3.cfg") ||
                 flashFileExists("/mnt/mtd/code/config_old/sensor1_2.cfg") || flashFileExists("/hd1/tree"));
    EXPECT_TRUE(flashFileExists(strDir + "sensor1_4.cfg") && flashFileExists(strDir + "sensor2_0.cfg") &&
                flashFileExists("/hd1"));
    EXPECT_EQ(1, sy_system("rm -rf /../outside.txt", 30));
    EXPECT_TRUE(flashFileExists("/../outside.txt"));
    EXPECT_EQ(1, sy_system("rm -rf /", 30));
    EXPECT_TRUE(flashFileExists(strDir + "sensor2_0.cfg"));

    EXPECT_EQ(-1, sy_system(nullptr, 30));
    const std::vector<std::string> vecCommands = platformsim::shellCommands();
    ASSERT_EQ(3u, vecCommands.size());
    EXPECT_EQ("rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg /hd1/tree /no/such*", vecCommands[0]);
    platformsim::clearShellCommands();
    EXPECT_TRUE(platformsim::shellCommands().empty());
}

}  // namespace
