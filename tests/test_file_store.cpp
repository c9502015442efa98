// Parameter file store: record layout, short/long/missing files, the
// version file and the whole-file read the style loaders use.
#include <string>
#include <vector>

#include "SensorLib.h"
#include "TestSupport.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using testsupport::readFlashFile;
using testsupport::writeFlashFile;

class FileStoreTest : public testsupport::FlashTest {
protected:
    char m_szPath[64] = SNS_PATH_CONFIG_DIR "/sensor1_0.cfg";
};

// The camera's own file names: every path the library, the tool and the
// tests take from the layout.
TEST(FlashLayout, NamesTheCameraFiles)
{
    EXPECT_EQ("/mnt/mtd/code/config_file/sensor2_3.cfg", schemeFilePath(2, 3));
    EXPECT_EQ("/mnt/mtd/code/config_file/sensor-thermal1.cfg", schemeFilePath(2, 1, true));
    EXPECT_EQ("/tmp/merge_style_ch2.xml", mergedStylePath(2));
    char szCmd[100];
    schemeRemoveCommand(szCmd, sizeof(szCmd), 2, false);
    EXPECT_STREQ("rm -rf /mnt/mtd/code/config*/sensor2_[0-3].cfg", szCmd);
    schemeRemoveCommand(szCmd, sizeof(szCmd), 2, true);
    EXPECT_STREQ("rm -rf /mnt/mtd/code/config*/sensor-thermal*.cfg", szCmd);
    const std::vector<std::string> vecPaths = {
        SNS_PATH_MODULE_CONFIG, SNS_PATH_MACHINE_INFO, SNS_PATH_VERSION_FILE, SNS_PATH_SYNC_FOV,
        SNS_PATH_DEBUG_SIGN, SNS_PATH_ERROR_LOG, SNS_STYLE_FILE(SNS_STYLE_FAMILY_DOME),
        SNS_DIVERSITY_FILE(SNS_STYLE_FAMILY_THERMAL), SNS_CMD_REMOVE_ALL_SCHEMES};
    EXPECT_EQ((std::vector<std::string>{"/hd1/moduleConfig/moduleConfig.xml",
                                        "/mnt/mtd/code/factory_setting/machineinfo.ini",
                                        "/mnt/mtd/code/config_file/snsversion.cfg",
                                        "/mnt/mtd/hd1/program/config/sync_fov.ini", "/tmp/Debug.sign",
                                        "/mnt/mtd/log/SensorError.log",
                                        "/hd1/moduleConfig/sensorConfig/style/Style_dome.xml",
                                        "/hd1/moduleConfig/sensorConfig/styleDiversity/StyleDiversity_Thermal.xml",
                                        "rm -rf /mnt/mtd/code/config*/sensor*"}),
              vecPaths);
}

TEST_F(FileStoreTest, RecordsAreLittleEndianWithoutHeader)
{
    KeyVal arrOut[3] = {{8000, 0}, {8001, 1}, {8002, 30}};
    EXPECT_EQ(SNS_SUCCESS, keyValToFile(m_szPath, arrOut, 3));
    EXPECT_EQ(std::string("\x40\x1F\0\0\0\0\0\0\x41\x1F\0\0\x01\0\0\0\x42\x1F\0\0\x1E\0\0\0", 24),
              readFlashFile(m_szPath));
}

TEST_F(FileStoreTest, MissingShortAndLongFilesAreReportedAndReadAsFarAsTheyGo)
{
    std::vector<KeyVal> vecIn(156, KeyVal{1, 1});
    CaptureStdout();
    EXPECT_EQ(SNS_SUCCESS, keyValFromFile(m_szPath, vecIn.data(), 2));
    std::string strOut = GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("file.open(file_name)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("nSize(-1) sizeof(KeyVal) = 8, p_nKeyValNum(2)\n"));
    EXPECT_EQ(1u, vecIn[0].key);

    std::vector<KeyVal> vecFile;
    for (u32 i = 0; i < 150; ++i) vecFile.push_back(KeyVal{1000 + i, i});
    testsupport::writeRecords(m_szPath, vecFile);
    CaptureStdout();
    EXPECT_EQ(SNS_SUCCESS, keyValFromFile(m_szPath, vecIn.data(), 156));
    strOut = GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("nSize == sizeof(KeyVal)*p_nKeyValNum   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("nSize(1200) sizeof(KeyVal) = 8, p_nKeyValNum(156)\n"));
    EXPECT_EQ(1149u, vecIn[149].key);
    EXPECT_EQ(1u, vecIn[150].key);

    CaptureStdout();
    EXPECT_EQ(SNS_SUCCESS, keyValFromFile(m_szPath, vecIn.data(), 4));  // longer file: no report
    EXPECT_EQ("", GetCapturedStdout());
}

TEST_F(FileStoreTest, VersionFileNeedsItsFirstFourBytes)
{
    const char szVersionFile[] = SNS_PATH_VERSION_FILE;
    u32 nVersion = 0;
    EXPECT_EQ(-1, getVersion(&nVersion));
    writeFlashFile(szVersionFile, std::string("\x08\x00", 2));
    EXPECT_EQ(-1, getVersion(&nVersion));
    writeFlashFile(szVersionFile, std::string("\x07\x00\x00\x00\xFF\xFF\xFF\xFF", 8));
    EXPECT_EQ(0, getVersion(&nVersion));
    EXPECT_EQ(7u, nVersion);
    EXPECT_EQ(0, setVersion(8));
    EXPECT_EQ(std::string("\x08\x00\x00\x00", 4), readFlashFile(szVersionFile));
}

TEST_F(FileStoreTest, WholeFileReadRefusesShortAndBadRequests)
{
    writeFlashFile("/hd1/four.txt", "abcd");
    writeFlashFile("/hd1/empty.xml", "");
    char szBuf[8] = {0};
    EXPECT_EQ(0, loadFromFile("/hd1/empty.xml", szBuf, 0));
    EXPECT_EQ(-1, loadFromFile("/hd1/four.txt", szBuf, 8));
    EXPECT_EQ(4, loadFromFile("/hd1/four.txt", szBuf, getFileLen("/hd1/four.txt")));
    CaptureStdout();
    char szDir[] = "/hd1";  // a folder cannot be written
    EXPECT_EQ(-1, saveToFile(szDir, szBuf, 4));
    EXPECT_NE(std::string::npos, GetCapturedStdout().find("file_len(4)\n"));
}

}  // namespace
