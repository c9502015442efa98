// Base library file access below the flash root, and the rotating logger.
#include <unistd.h>

#include <regex>
#include <string>

#include "PKFile.h"
#include "PKLogger.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

using testsupport::flashFileExists;
using testsupport::readFlashFile;

class PlatformFile : public testsupport::FlashTest {};

// Writes p_strText through one PKFile, left to its destructor to close:
// "<bytes written> <length before the close>", or "open failed".
std::string writeText(const char* p_szPath, int p_nMode, std::string p_strText)
{
    PKFile objFile;
    if (!objFile.open(p_szPath, p_nMode)) return "open failed";
    const int nMoved = objFile.write(&p_strText[0], static_cast<unsigned int>(p_strText.size()));
    return std::to_string(nMoved) + " " + std::to_string(objFile.getLength());
}

TEST_F(PlatformFile, PathsResolveBelowTheRootAndMissingFilesFailQuietly)
{
    EXPECT_EQ(m_strRoot + "/a/b", platformsim::resolvePath("/a/b"));
    EXPECT_EQ("a/b", platformsim::resolvePath("a/b"));
    platformsim::setFlashRoot("");
    EXPECT_EQ("/a/b", platformsim::resolvePath("/a/b"));
    platformsim::setFlashRoot(m_strRoot);

    testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "6\n");
    EXPECT_TRUE(PKFile::isExist(SNS_PATH_DEBUG_SIGN));
    EXPECT_FALSE(PKFile::isExist("/tmp/Other.sign"));
    EXPECT_FALSE(PKFile::isExist(nullptr));
    EXPECT_FALSE(PKFile::isExist((std::string(5000, '/') + "x").c_str()));

    PKFile objFile;
    char aBuf[4] = {1, 2, 3, 4};
    EXPECT_FALSE(objFile.open("/nothing/here.cfg", PKFile::modeRead));
    EXPECT_EQ(-1, objFile.read(aBuf, 4));
    EXPECT_EQ(-1, objFile.write(aBuf, 4));
    EXPECT_EQ(0, objFile.getLength());
    EXPECT_TRUE(objFile.ReadLines().empty());
    EXPECT_EQ("", PKFile::ReadOneLine(nullptr));
}

TEST_F(PlatformFile, WriteModesCreateParentsTruncateOrAppend)
{
    const char* szPath = SNS_PATH_CONFIG_DIR "/sensor1_0.cfg";
    EXPECT_EQ("6 6", writeText(szPath, PKFile::modeWrite | PKFile::modeTruncate, "abcdef"));
    EXPECT_EQ("2 6", writeText(szPath, PKFile::modeWrite, "XY"));
    EXPECT_EQ("1 7", writeText(szPath, PKFile::modeWrite | PKFile::modeAppend, "!"));
    EXPECT_EQ("XYcdef!", readFlashFile(szPath));
    EXPECT_EQ("2 2", writeText(szPath, PKFile::modeWrite | PKFile::modeTruncate, "zz"));
    EXPECT_EQ("open failed", writeText("/mnt/mtd/code", PKFile::modeRead, "x"));  // a folder

    EXPECT_TRUE(PKFile::remove(szPath));
    EXPECT_FALSE(PKFile::remove(szPath));
    EXPECT_TRUE(PKFile::mkdirs("/hd1/moduleConfig/deep") && flashFileExists("/hd1/moduleConfig/deep"));
}

// close() tells whether the new content replaced the file; a link at the
// path is replaced, never written through.
TEST_F(PlatformFile, CloseReportsWhetherTheContentArrived)
{
    const char* szPath = "/cfg/a.cfg";
    const int nReplace = PKFile::modeWrite | PKFile::modeTruncate;
    auto written = [&](int p_nMode, std::string p_strText) {
        PKFile objFile;
        if (!objFile.open(szPath, p_nMode)) return false;
        objFile.write(&p_strText[0], static_cast<unsigned int>(p_strText.size()));
        return objFile.close();
    };
    EXPECT_TRUE(written(nReplace, "old"));
    platformsim::failNthWrite(1);
    EXPECT_FALSE(written(nReplace, "half"));
    platformsim::resetWriteFaults();
    platformsim::noSpaceLeft(true);
    EXPECT_FALSE(written(nReplace, "full"));
    platformsim::resetWriteFaults();
    EXPECT_EQ("old", readFlashFile(szPath));

    testsupport::writeFlashFile("/victim", "kept");
    ASSERT_TRUE(PKFile::remove(szPath));
    ASSERT_EQ(0, symlink((m_strRoot + "/victim").c_str(), (m_strRoot + szPath).c_str()));
    EXPECT_TRUE(written(nReplace, "new"));
    EXPECT_EQ("new", readFlashFile(szPath));
    EXPECT_EQ("kept", readFlashFile("/victim"));
    PKFile objIdle;
    EXPECT_TRUE(objIdle.close());
}

TEST_F(PlatformFile, ReadsCountLengthAndLinesWithoutLineEnds)
{
    testsupport::writeFlashFile("/cfg/lines.ini", "one\r\n\ntwo\nlast");
    PKFile objFile;
    ASSERT_TRUE(objFile.open("/cfg/lines.ini", PKFile::modeRead));
    char aBuf[8] = {};
    EXPECT_EQ(3, objFile.read(aBuf, 3));
    EXPECT_EQ(14, objFile.getLength());  // the position survives the query
    for (const char* szLine : {"", "", "two", "last", ""})  // the rest of "one\r\n" first, end of file last
        EXPECT_EQ(szLine, PKFile::ReadOneLine(objFile.getFileHandle()));
    EXPECT_EQ((std::list<std::string>{"one", "", "two", "last"}), objFile.ReadLines());
    EXPECT_EQ(0, objFile.read(aBuf, 8));  // ReadLines read up to the end
}

TEST_F(PlatformFile, LoggerRotatesWithinSizeAndCount)
{
    const std::string strLog = SNS_PATH_ERROR_LOG;
    PKLogger objLogger;
    EXPECT_FALSE(objLogger.writeLog("[t]", "before init"));
    ASSERT_TRUE(objLogger.init(strLog.c_str(), 100, 4));
    // Each entry: 19 bytes of time, " [t] ", 25 bytes of text, "\n" = 50.
    ASSERT_TRUE(objLogger.writeLog("[t]", std::string(25, 'a').c_str()));
    const std::regex objEntry("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\[t\\] a{25}\\n");
    EXPECT_TRUE(std::regex_match(readFlashFile(strLog), objEntry)) << readFlashFile(strLog);
    ASSERT_TRUE(objLogger.writeLog("[t]", (std::string(25, 'b') + "\n").c_str()));
    EXPECT_EQ(100u, readFlashFile(strLog).size());  // exactly the limit: no rotation yet
    // Entries of 50 bytes: two per file, the newest rotated file is .1.
    for (const char c : std::string("cdefg")) objLogger.writeLog("[t]", std::string(25, c).c_str());
    for (const auto& pairFile : {std::make_pair("", "ggg"), std::make_pair(".1", "eee"), std::make_pair(".3", "aaa")})
        EXPECT_NE(std::string::npos, readFlashFile(strLog + pairFile.first).find(pairFile.second)) << pairFile.first;
    EXPECT_FALSE(flashFileExists(strLog + ".4"));

    PKLogger objSingle;
    ASSERT_TRUE(objSingle.init("/log/one.log", 60, 1));
    ASSERT_TRUE(objSingle.writeLog("[t]", std::string(100, 'x').c_str()));
    const std::string strCut = readFlashFile("/log/one.log");
    EXPECT_TRUE(strCut.size() == 60u && strCut.back() == '\n');  // an oversized entry is cut to the limit
    ASSERT_TRUE(objSingle.writeLog("[t]", "y"));
    EXPECT_EQ(26u, readFlashFile("/log/one.log").size());
    EXPECT_FALSE(flashFileExists("/log/one.log.1"));
}

}  // namespace
