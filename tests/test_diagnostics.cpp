// Diagnostics: levels from the operator's control file, what is printed and
// logged, silencing and the abort switch.
#define SNS_SOURCE_FILE "unit"

#include <functional>
#include <string>

#include "SensorDebug.h"
#include "TestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using testsupport::readFlashFile;
using testsupport::writeFlashFile;

namespace {

const char kLog[] = SNS_PATH_ERROR_LOG;
const SnsSite kSite = {"unit", "fn", 7, "void fn()"};

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
    SNS_ASSERT(SNS_AT(42), 1 == 2, "1 == 2", "%s", p_szMsg);
}

class DiagnosticsTest : public testsupport::FlashTest {};

TEST_F(DiagnosticsTest, ControlFileSetsLevelAndAbortSwitch)
{
    const struct {
        const char* szFile;  // null: no control file
        int nLevel;
        bool bAbort;
    } arrCases[] = {{nullptr, 1, false}, {"3\n7\n", 3, true}, {"verbose\n", 0, false}, {"", 1, false}};
    for (const auto& stCase : arrCases) {
        g_nDebugLevel = 9;
        g_bEnAssert = !stCase.bAbort;
        if (stCase.szFile != nullptr) writeFlashFile(SNS_PATH_DEBUG_SIGN, stCase.szFile);
        updateDebugLevel();
        EXPECT_EQ(stCase.nLevel, g_nDebugLevel) << (stCase.szFile ? stCase.szFile : "none");
        EXPECT_EQ(stCase.bAbort, g_bEnAssert) << (stCase.szFile ? stCase.szFile : "none");
    }
}

TEST_F(DiagnosticsTest, TracesPrintFromTheirLevelAndOnlyWarningsReachTheLog)
{
    auto capture = [](const std::function<void()>& p_fnReport) {
        CaptureStdout();
        p_fnReport();
        return GetCapturedStdout();
    };
    auto dbgTrace = [] { snsDbg(kSite, "v=%d\n", 5); };
    auto warning = [] { snsWarn(SNS_AT(107), "local(%u)\n", 0u); };
    EXPECT_EQ("", capture(dbgTrace));  // default level 1
    writeFlashFile(SNS_PATH_DEBUG_SIGN, "3\n");
    EXPECT_EQ("", capture(warning));
    EXPECT_FALSE(testsupport::flashFileExists(kLog));

    writeFlashFile(SNS_PATH_DEBUG_SIGN, "6\n");
    EXPECT_EQ("\033[0m\033[0m[sensor dbg] file:unit fun:fn line:7\nv=5\n\033[0m", capture(dbgTrace));
    EXPECT_EQ("", capture([] { snsInfo(kSite, [] { return std::string("x\n"); }); }));
    EXPECT_EQ("\033[0m\033[32mplain\n\033[0m", capture([] { snsPrint(kSite, SNS_COLOUR_GREEN, "plain\n"); }));
    EXPECT_FALSE(testsupport::flashFileExists(kLog));  // traces never reach the log

    writeFlashFile(SNS_PATH_DEBUG_SIGN, "4\n");
    EXPECT_NE(std::string::npos,
              capture(warning).find("[sensor warn] file:unit fun:operator() line:107\nlocal(0)\n"));
    const std::string strLog = readFlashFile(kLog);
    EXPECT_EQ(2, countOf(strLog, "[sensor warn]"));
    EXPECT_NE(std::string::npos, strLog.find("file:unit fun:operator() line:107"));
    EXPECT_NE(std::string::npos, strLog.find("local(0)"));
}

TEST_F(DiagnosticsTest, FailedAssertionPrintsTwoBlocksAndThreeLogEntries)
{
    CaptureStdout();
    failingAssertion("");
    SNS_ASSERT(SNS_AT(43), true, "true", "never\n");  // a holding condition is silent
    EXPECT_EQ(
        "\033[0m\033[31m[sensor assert] file:unit fun:failingAssertion line:42\n"
        "1 == 2   ~~~Assertion failed.\n\033[0m\033[0m\033[31m\033[0m",
        GetCapturedStdout());
    const std::string strLog = readFlashFile(kLog);
    EXPECT_EQ(3, countOf(strLog, "[sensor assert]"));
    EXPECT_NE(std::string::npos, strLog.find("1 == 2   ~~~Assertion failed."));

    writeFlashFile(SNS_PATH_DEBUG_SIGN, "-1\n");  // silences everything
    CaptureStdout();
    failingAssertion("m\n");
    snsWarn(SNS_AT(1), "w\n");
    EXPECT_EQ("", GetCapturedStdout());
    EXPECT_EQ(strLog, readFlashFile(kLog));
}

TEST_F(DiagnosticsTest, AbortSwitchEndsTheProcessAfterTheReports)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    writeFlashFile(SNS_PATH_DEBUG_SIGN, "0\n1\n");
    EXPECT_DEATH(failingAssertion(""), "void \\{anonymous\\}::failingAssertion\\(const char\\*\\)");
    EXPECT_DEATH(SNS_ASSERT(SNS_AT(9).as("std::__cxx11::string X::f()"), false, "x", ""),
                 "std::__cxx11::string X::f\\(\\)");
    writeFlashFile(SNS_PATH_DEBUG_SIGN, "-1\n1\n");  // silenced reports still abort
    EXPECT_DEATH(failingAssertion("bye\n"), "Assertion `bRet' failed");
}

}  // namespace
