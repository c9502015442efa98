// Diagnostics: levels from the operator's control file, what is printed and
// logged, silencing and the abort switch.
#define SNS_SOURCE_FILE "unit"

#include <string>

#include "SensorDebug.h"
#include "TestSupport.h"

using testsupport::readFlashFile;
using testsupport::writeFlashFile;

namespace {

const char* const kLog = "/mnt/mtd/log/SensorError.log";

int countOf(const std::string& p_strText, const std::string& p_strNeedle)
{
    int n = 0;
    for (size_t pos = p_strText.find(p_strNeedle); pos != std::string::npos;
         pos = p_strText.find(p_strNeedle, pos + 1))
        ++n;
    return n;
}

void failingAssertion(const char* p_szMsg)
{
    SNS_ASSERT_AT(42, 1 == 2, "1 == 2", "%s", p_szMsg);
}

class DiagnosticsTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    std::string captureTrace(int p_nLevel, const char* p_szTag)
    {
        testing::internal::CaptureStdout();
        snsTrace(p_nLevel, SNS_COLOUR_NONE, p_szTag, "unit", "fn", 7, "v=%d\n", 5);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(DiagnosticsTest, ControlFileSetsLevelAndAbortSwitch)
{
    g_nDebugLevel = 9;
    g_bEnAssert = true;
    updateDebugLevel();
    EXPECT_EQ(1, g_nDebugLevel);  // no file: defaults whatever they were
    EXPECT_FALSE(g_bEnAssert);

    writeFlashFile("/tmp/Debug.sign", "6\n");
    updateDebugLevel();
    EXPECT_EQ(6, g_nDebugLevel);
    EXPECT_FALSE(g_bEnAssert);

    writeFlashFile("/tmp/Debug.sign", "3\n7\n");
    updateDebugLevel();
    EXPECT_EQ(3, g_nDebugLevel);
    EXPECT_TRUE(g_bEnAssert);

    writeFlashFile("/tmp/Debug.sign", "verbose\n");
    updateDebugLevel();
    EXPECT_EQ(0, g_nDebugLevel);  // text without a number reads as 0

    writeFlashFile("/tmp/Debug.sign", "");
    updateDebugLevel();
    EXPECT_EQ(1, g_nDebugLevel);  // empty first line
    EXPECT_FALSE(g_bEnAssert);
}

TEST_F(DiagnosticsTest, TracePrintsOnlyFromItsLevelWithExactLayout)
{
    EXPECT_EQ("", captureTrace(6, SNS_TAG_DBG));  // default level 1

    writeFlashFile("/tmp/Debug.sign", "6\n");
    EXPECT_EQ("\033[0m\033[0m[sensor dbg] file:unit fun:fn line:7\nv=5\n\033[0m",
              captureTrace(6, SNS_TAG_DBG));
    EXPECT_EQ("", captureTrace(7, SNS_TAG_INFO));

    testing::internal::CaptureStdout();
    snsTrace(6, SNS_COLOUR_GREEN, nullptr, "unit", "fn", 7, "plain\n");
    EXPECT_EQ("\033[0m\033[32mplain\n\033[0m", testing::internal::GetCapturedStdout());
    EXPECT_FALSE(testsupport::flashFileExists(kLog));  // traces never reach the log
}

TEST_F(DiagnosticsTest, WarningIsPrintedAndLoggedFromLevelFour)
{
    writeFlashFile("/tmp/Debug.sign", "3\n");
    testing::internal::CaptureStdout();
    SNS_WARN_AT(107, "local(%u)\n", 0u);
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_FALSE(testsupport::flashFileExists(kLog));

    writeFlashFile("/tmp/Debug.sign", "5\n");
    testing::internal::CaptureStdout();
    SNS_WARN_AT(107, "local(%u)\n", 0u);
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ("", captureTrace(6, SNS_TAG_DBG));  // a debug trace needs 6
    EXPECT_NE(std::string::npos, strOut.find("[sensor warn] file:unit fun:TestBody line:107\nlocal(0)\n"));
    const std::string strLog = readFlashFile(kLog);
    EXPECT_EQ(2, countOf(strLog, "[sensor warn]"));
    EXPECT_NE(std::string::npos, strLog.find("file:unit fun:TestBody line:107"));
    EXPECT_NE(std::string::npos, strLog.find("local(0)"));
}

TEST_F(DiagnosticsTest, FailedAssertionPrintsTwoBlocksAndThreeLogEntries)
{
    testing::internal::CaptureStdout();
    failingAssertion("");
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ("\033[0m\033[31m[sensor assert] file:unit fun:failingAssertion line:42\n"
              "1 == 2   ~~~Assertion failed.\n\033[0m"
              "\033[0m\033[31m\033[0m",
              strOut);
    const std::string strLog = readFlashFile(kLog);
    EXPECT_EQ(3, countOf(strLog, "[sensor assert]"));
    EXPECT_NE(std::string::npos, strLog.find("1 == 2   ~~~Assertion failed."));

    testing::internal::CaptureStdout();
    SNS_ASSERT_AT(43, true, "true", "never\n");  // a holding condition is silent
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ(3, countOf(readFlashFile(kLog), "[sensor assert]"));
}

TEST_F(DiagnosticsTest, NegativeLevelSilencesEverything)
{
    writeFlashFile("/tmp/Debug.sign", "-1\n");
    testing::internal::CaptureStdout();
    failingAssertion("m\n");
    SNS_WARN_AT(1, "w\n");
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_FALSE(testsupport::flashFileExists(kLog));
}

TEST_F(DiagnosticsTest, AbortSwitchEndsTheProcessAfterTheReports)
{
    writeFlashFile("/tmp/Debug.sign", "0\n1\n");
    EXPECT_DEATH(failingAssertion("bye\n"), "Assertion `bRet' failed");
    // Silenced reports still abort.
    writeFlashFile("/tmp/Debug.sign", "-1\n1\n");
    EXPECT_DEATH(failingAssertion("bye\n"), "failingAssertion");
}

TEST_F(DiagnosticsTest, ReportsCarryTheCompilerSignatureOrTheGivenOne)
{
    writeFlashFile("/tmp/Debug.sign", "0\n1\n");
    EXPECT_DEATH(failingAssertion(""), "void \\{anonymous\\}::failingAssertion\\(const char\\*\\)");
    EXPECT_DEATH(SNS_ASSERT_SIG_AT(9, "std::__cxx11::string X::f()", false, "x", ""),
                 "std::__cxx11::string X::f\\(\\)");
}

}  // namespace
