// Base library file access below the flash root, and the rotating logger.
#include <sys/stat.h>

#include <atomic>
#include <string>
#include <thread>

#include "PKFile.h"
#include "PKLogger.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

using testsupport::flashFileExists;
using testsupport::readFlashFile;
using testsupport::writeFlashFile;

class PlatformFile : public testsupport::FlashTest {};

std::string writeText(const char* p_szPath, int p_nMode, std::string p_strText)
{
    PKFile objFile;
    if (!objFile.open(p_szPath, p_nMode)) return "open failed";
    const int nMoved = objFile.write(&p_strText[0], static_cast<unsigned int>(p_strText.size()));
    return std::to_string(nMoved);
}

TEST_F(PlatformFile, PathsResolveBelowTheRootOnlyWhenAbsolute)
{
    EXPECT_EQ(m_strRoot + "/a/b", platformsim::resolvePath("/a/b"));
    EXPECT_EQ("a/b", platformsim::resolvePath("a/b"));
    platformsim::setFlashRoot(m_strRoot + "//");
    EXPECT_EQ(m_strRoot + "/a", platformsim::resolvePath("/a"));
    platformsim::setFlashRoot("");
    EXPECT_EQ("/a/b", platformsim::resolvePath("/a/b"));
    platformsim::setFlashRoot(m_strRoot);

    writeFlashFile("/tmp/Debug.sign", "6\n");
    EXPECT_TRUE(PKFile::isExist("/tmp/Debug.sign"));
    EXPECT_FALSE(PKFile::isExist("/tmp/Other.sign"));
    EXPECT_FALSE(PKFile::isExist(nullptr));
    EXPECT_FALSE(PKFile::isExist((std::string(5000, '/') + "x").c_str()));
}

TEST_F(PlatformFile, RootChangesWhileOtherThreadsResolve)
{
    const std::string strOther = m_strRoot + "/other";
    std::atomic<bool> bDone(false);
    std::atomic<int> nBad(0);
    std::thread objReader([&] {
        while (!bDone) {
            const std::string strPath = platformsim::resolvePath("/x");
            if (strPath != m_strRoot + "/x" && strPath != strOther + "/x") ++nBad;
            PKFile::isExist("/x");
        }
    });
    for (int i = 0; i < 2000; ++i) platformsim::setFlashRoot(i % 2 ? strOther : m_strRoot);
    bDone = true;
    objReader.join();
    EXPECT_EQ(0, nBad.load());
}

TEST_F(PlatformFile, WriteModesCreateParentsTruncateOrAppend)
{
    const char* szPath = "/mnt/mtd/code/config_file/sensor1_0.cfg";
    EXPECT_EQ("6", writeText(szPath, PKFile::modeWrite | PKFile::modeTruncate, "abcdef"));
    EXPECT_EQ("abcdef", readFlashFile(szPath));
    EXPECT_EQ("2", writeText(szPath, PKFile::modeWrite, "XY"));
    EXPECT_EQ("XYcdef", readFlashFile(szPath));
    EXPECT_EQ("1", writeText(szPath, PKFile::modeWrite | PKFile::modeAppend, "!"));
    EXPECT_EQ("XYcdef!", readFlashFile(szPath));
    EXPECT_EQ("2", writeText(szPath, PKFile::modeWrite | PKFile::modeTruncate, "zz"));
    EXPECT_EQ("zz", readFlashFile(szPath));

    EXPECT_EQ("open failed", writeText("/mnt/missing.cfg", PKFile::modeRead, "x"));
    EXPECT_EQ("open failed", writeText("/mnt/mtd/code", PKFile::modeRead, "x"));  // a folder
    EXPECT_FALSE(flashFileExists("/mnt/missing.cfg"));
    EXPECT_FALSE(flashFileExists("/mnt/mtd/code/config_file/sensor1_0.cfg/x"));
}

TEST_F(PlatformFile, UnopenedFileAnswersMinusOneAndZeroLength)
{
    PKFile objFile;
    char aBuf[4] = {1, 2, 3, 4};
    EXPECT_FALSE(objFile.open("/nothing/here.cfg", PKFile::modeRead));
    EXPECT_FALSE(objFile.isOpen());
    EXPECT_EQ(nullptr, objFile.getFileHandle());
    EXPECT_EQ(-1, objFile.read(aBuf, 4));
    EXPECT_EQ(-1, objFile.write(aBuf, 4));
    EXPECT_EQ(0, objFile.getLength());
    EXPECT_TRUE(objFile.ReadLines().empty());
    EXPECT_EQ("", PKFile::ReadOneLine(nullptr));
}

TEST_F(PlatformFile, ReadsCountLengthAndLinesWithoutLineEnds)
{
    writeFlashFile("/cfg/lines.ini", "one\r\n\ntwo\nlast");
    PKFile objFile;
    ASSERT_TRUE(objFile.open("/cfg/lines.ini", 1));
    EXPECT_EQ(14, objFile.getLength());
    char aBuf[8] = {};
    EXPECT_EQ(3, objFile.read(aBuf, 3));
    EXPECT_EQ(14, objFile.getLength());  // the position survives the query
    EXPECT_EQ("", PKFile::ReadOneLine(objFile.getFileHandle()));  // rest of "one\r\n"
    EXPECT_EQ("", PKFile::ReadOneLine(objFile.getFileHandle()));
    EXPECT_EQ("two", PKFile::ReadOneLine(objFile.getFileHandle()));
    EXPECT_EQ("last", PKFile::ReadOneLine(objFile.getFileHandle()));
    EXPECT_EQ("", PKFile::ReadOneLine(objFile.getFileHandle()));
    const std::list<std::string> lstLines = objFile.ReadLines();
    EXPECT_EQ((std::list<std::string>{"one", "", "two", "last"}), lstLines);
    EXPECT_EQ(0, objFile.read(aBuf, 8));  // ReadLines read up to the end
}

TEST_F(PlatformFile, LengthIncludesPendingWritesAndDestructorCloses)
{
    {
        PKFile objFile;
        ASSERT_TRUE(objFile.open("/log/data.bin", PKFile::modeWrite | PKFile::modeTruncate));
        char aData[5] = {'1', '2', '3', '4', '5'};
        EXPECT_EQ(5, objFile.write(aData, 5));
        EXPECT_EQ(5, objFile.getLength());
    }
    EXPECT_EQ("12345", readFlashFile("/log/data.bin"));
    EXPECT_TRUE(PKFile::remove("/log/data.bin"));
    EXPECT_FALSE(PKFile::remove("/log/data.bin"));
    EXPECT_TRUE(PKFile::mkdirs("/hd1/moduleConfig/deep"));
    struct stat stInfo;
    EXPECT_EQ(0, stat((m_strRoot + "/hd1/moduleConfig/deep").c_str(), &stInfo));
}

TEST_F(PlatformFile, LoggerRotatesWithinSizeAndCount)
{
    const char* szLog = "/mnt/mtd/log/SensorError.log";
    PKLogger objLogger;
    EXPECT_FALSE(objLogger.writeLog("[t]", "before init"));
    EXPECT_FALSE(objLogger.init(szLog, 0, 3));
    ASSERT_TRUE(objLogger.init(szLog, 100, 3));
    // Each entry: 19 bytes of time, " [t] ", 25 bytes of text, "\n" = 50.
    const std::string strText(25, 'a');
    ASSERT_TRUE(objLogger.writeLog("[t]", strText.c_str()));
    const std::string strFirst = readFlashFile(szLog);
    ASSERT_EQ(50u, strFirst.size());
    EXPECT_EQ(" [t] " + strText + "\n", strFirst.substr(19));
    EXPECT_EQ('-', strFirst[4]);
    EXPECT_EQ(':', strFirst[13]);

    ASSERT_TRUE(objLogger.writeLog("[t]", (std::string(25, 'b') + "\n").c_str()));
    EXPECT_EQ(100u, readFlashFile(szLog).size());  // exactly the limit: no rotation yet
    EXPECT_FALSE(flashFileExists(std::string(szLog) + ".1"));
    ASSERT_TRUE(objLogger.writeLog("[t]", std::string(25, 'c').c_str()));
    EXPECT_EQ(50u, readFlashFile(szLog).size());
    EXPECT_EQ(100u, readFlashFile(std::string(szLog) + ".1").size());
    for (const char c : std::string("defg")) objLogger.writeLog("[t]", std::string(25, c).c_str());
    EXPECT_NE(std::string::npos, readFlashFile(szLog).find("ggg"));
    EXPECT_NE(std::string::npos, readFlashFile(std::string(szLog) + ".1").find("eee"));
    EXPECT_NE(std::string::npos, readFlashFile(std::string(szLog) + ".2").find("ccc"));
    EXPECT_FALSE(flashFileExists(std::string(szLog) + ".3"));

    PKLogger objSingle;
    ASSERT_TRUE(objSingle.init("/log/one.log", 60, 1));
    ASSERT_TRUE(objSingle.writeLog("[t]", std::string(100, 'x').c_str()));
    const std::string strCut = readFlashFile("/log/one.log");
    EXPECT_EQ(60u, strCut.size());  // an oversized entry is cut to the limit
    EXPECT_EQ('\n', strCut.back());
    ASSERT_TRUE(objSingle.writeLog("[t]", "y"));
    EXPECT_EQ(26u, readFlashFile("/log/one.log").size());
    EXPECT_FALSE(flashFileExists("/log/one.log.1"));
}

}  // namespace
