// Diagnostics: levels from the operator's control file, what is printed and
// logged, silencing and the abort switch.
#define SNS_SOURCE_FILE "unit"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>

#include "PlatformSim.h"

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

// /tmp is world-writable: what is planted there in place of the control file
// neither blocks nor floods the process, and leaves the level as it was.
TEST_F(DiagnosticsTest, PlantedControlFileNeitherBlocksNorFloods)
{
    writeFlashFile("/tmp/Debug.sign", "6\n1\n");
    updateDebugLevel();
    const std::string strSign = platformsim::resolvePath("/tmp/Debug.sign");
    const std::function<void()> plants[] = {
        [&] { ASSERT_EQ(0, mkfifo(strSign.c_str(), 0666)); },
        [&] { ASSERT_EQ(0, symlink("/dev/zero", strSign.c_str())); },
    };
    for (const auto& fnPlant : plants) {
        unlink(strSign.c_str());
        fnPlant();
        auto objDone = std::async(std::launch::async, [] { updateDebugLevel(); });
        const bool bReturned = objDone.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
        if (!bReturned) {
            // Let a blocked open through, so that the test can end.
            const int nFd = open(strSign.c_str(), O_WRONLY | O_NONBLOCK);
            objDone.wait();
            close(nFd);
        }
        EXPECT_TRUE(bReturned);
        EXPECT_EQ(6, g_nDebugLevel);
        EXPECT_TRUE(g_bEnAssert);
    }
    unlink(strSign.c_str());
    // A long file is read only as far as its two lines.
    writeFlashFile("/tmp/Debug.sign", "5\n0\n" + std::string(1 << 20, 'x'));
    updateDebugLevel();
    EXPECT_EQ(5, g_nDebugLevel);
    EXPECT_FALSE(g_bEnAssert);
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
