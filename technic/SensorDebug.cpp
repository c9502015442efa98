// Diagnostics: trace print, warning and assertion check.
#include "SensorDebug.h"

// The abort on a failed assertion is the operator's switch (g_bEnAssert), not
// a build option: release builds (NDEBUG) need the routine's declaration too.
#undef NDEBUG
#include <assert.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "AtomicWord.h"
#include "PKFile.h"
#include "PKLogger.h"

int g_nDebugLevel = 1;
bool g_bEnAssert = false;

namespace {

// Log entries are single short lines; longer ones are cut.
const int kLogBufferSize = 1024;

void printColourPrefix(int p_nColour)
{
    printf("\033[%dm\033[%dm", 0, p_nColour);
}

void printReset()
{
    printf("\033[0m");
}

void printTagLine(const char* p_szTag, const char* p_szFile, const char* p_szFunc, int p_nLine)
{
    printf("%s file:%s fun:%s line:%d\n", p_szTag, p_szFile, p_szFunc, p_nLine);
}

// One logger per entry group: the log is opened anew for every report.
class ErrorLog {
public:
    ErrorLog() { m_objLogger.init(SNS_ERROR_LOG_FILE, SNS_ERROR_LOG_SIZE, SNS_ERROR_LOG_COUNT); }
    void write(const char* p_szTag, const char* p_szText) { m_objLogger.writeLog(p_szTag, p_szText); }
    void writeLocation(const char* p_szTag, const char* p_szFile, const char* p_szFunc, int p_nLine)
    {
        char szBuf[kLogBufferSize] = {0};
        snprintf(szBuf, sizeof(szBuf), "file:%s fun:%s line:%d\n", p_szFile, p_szFunc, p_nLine);
        m_objLogger.writeLog(p_szTag, szBuf);
    }

private:
    PKLogger m_objLogger;
};

// The control file holds two short numbers; what lies beyond is not read.
const int kDebugSignMaxBytes = 256;

// The line at p_nPos without its line end ("" past the end); p_nPos moves
// to the next line.
std::string nextLine(const char* p_szText, size_t p_nLen, size_t& p_nPos)
{
    size_t nEnd = p_nPos;
    while (nEnd < p_nLen && p_szText[nEnd] != '\n') ++nEnd;
    std::string strLine(p_szText + p_nPos, p_szText + nEnd);
    p_nPos = nEnd < p_nLen ? nEnd + 1 : p_nLen;
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    return strLine;
}

std::string formatMessage(const char* p_szFmt, va_list p_args)
{
    char szBuf[kLogBufferSize] = {0};
    vsnprintf(szBuf, sizeof(szBuf), p_szFmt, p_args);
    return std::string(szBuf);
}

}  // namespace

void updateDebugLevel()
{
    if (!PKFile::isExist(SNS_DEBUG_SIGN_FILE)) {
        atomicSet(g_nDebugLevel, 1);
        atomicSet(g_bEnAssert, false);
        return;
    }
    // Anyone may write /tmp: only a regular file is read (PKFile refuses a
    // FIFO or a device without blocking), and only its first bytes.
    PKFile objFile;
    if (!objFile.open(SNS_DEBUG_SIGN_FILE, PKFile::modeRead)) return;
    char szText[kDebugSignMaxBytes + 1] = {0};
    const int nRead = objFile.read(szText, kDebugSignMaxBytes);
    objFile.close();
    if (nRead < 0) return;
    size_t nPos = 0;
    const std::string strLevel = nextLine(szText, static_cast<size_t>(nRead), nPos);
    atomicSet(g_nDebugLevel, strLevel.empty() ? 1 : atoi(strLevel.c_str()));
    const std::string strAssert = nextLine(szText, static_cast<size_t>(nRead), nPos);
    atomicSet(g_bEnAssert, strAssert.empty() ? false : atoi(strAssert.c_str()) != 0);
}

static void vtrace(int p_nColour, const char* p_szTag, const char* p_szFile,
                   const char* p_szFunc, int p_nLine, const char* p_szFmt, va_list p_args)
{
    printColourPrefix(p_nColour);
    if (p_szTag != nullptr) printTagLine(p_szTag, p_szFile, p_szFunc, p_nLine);
    vprintf(p_szFmt, p_args);
    printReset();
}

bool snsLevelPasses(int p_nMinLevel)
{
    updateDebugLevel();
    return atomicGet(g_nDebugLevel) >= p_nMinLevel;
}

void snsTracePassed(int p_nColour, const char* p_szTag, const char* p_szFile, const char* p_szFunc,
                    int p_nLine, const char* p_szFmt, ...)
{
    va_list args;
    va_start(args, p_szFmt);
    vtrace(p_nColour, p_szTag, p_szFile, p_szFunc, p_nLine, p_szFmt, args);
    va_end(args);
}

void snsTrace(int p_nMinLevel, int p_nColour, const char* p_szTag, const char* p_szFile,
              const char* p_szFunc, int p_nLine, const char* p_szFmt, ...)
{
    if (!snsLevelPasses(p_nMinLevel)) return;
    va_list args;
    va_start(args, p_szFmt);
    vtrace(p_nColour, p_szTag, p_szFile, p_szFunc, p_nLine, p_szFmt, args);
    va_end(args);
}

void snsWarn(const char* p_szFile, const char* p_szFunc, int p_nLine, const char* p_szFmt, ...)
{
    updateDebugLevel();
    if (atomicGet(g_nDebugLevel) < SNS_LEVEL_WARN) return;
    va_list args;
    va_start(args, p_szFmt);
    va_list argsCopy;
    va_copy(argsCopy, args);
    vtrace(SNS_COLOUR_NONE, SNS_TAG_WARN, p_szFile, p_szFunc, p_nLine, p_szFmt, args);
    const std::string strMsg = formatMessage(p_szFmt, argsCopy);
    va_end(argsCopy);
    va_end(args);

    ErrorLog objLog;
    objLog.writeLocation(SNS_TAG_WARN, p_szFile, p_szFunc, p_nLine);
    objLog.write(SNS_TAG_WARN, strMsg.c_str());
}

void snsAssertFailed(const char* p_szExpr, const char* p_szFile, const char* p_szFunc, int p_nLine,
                     const char* p_szSignature, const char* p_szFmt, ...)
{
    updateDebugLevel();
    if (atomicGet(g_nDebugLevel) >= SNS_LEVEL_ASSERT) {
        printColourPrefix(SNS_COLOUR_RED);
        printTagLine(SNS_TAG_ASSERT, p_szFile, p_szFunc, p_nLine);
        printf("%s   ~~~Assertion failed.\n", p_szExpr);
        printReset();

        ErrorLog objLog;
        objLog.writeLocation(SNS_TAG_ASSERT, p_szFile, p_szFunc, p_nLine);
        char szBuf[kLogBufferSize] = {0};
        snprintf(szBuf, sizeof(szBuf), "%s   ~~~Assertion failed.\n", p_szExpr);
        objLog.write(SNS_TAG_ASSERT, szBuf);
    }

    updateDebugLevel();
    if (atomicGet(g_nDebugLevel) >= SNS_LEVEL_ASSERT) {
        va_list args;
        va_start(args, p_szFmt);
        const std::string strMsg = formatMessage(p_szFmt, args);
        va_end(args);
        printColourPrefix(SNS_COLOUR_RED);
        printf("%s", strMsg.c_str());
        printReset();

        ErrorLog objLog;
        objLog.write(SNS_TAG_ASSERT, strMsg.c_str());
    }
    fflush(stdout);

    if (atomicGet(g_bEnAssert)) __assert_fail("bRet", p_szFile, p_nLine, p_szSignature);
}

void snsAssertNote(const char* p_szFile, const char* p_szFunc, int p_nLine, const char* p_szFmt, ...)
{
    updateDebugLevel();
    if (atomicGet(g_nDebugLevel) < SNS_LEVEL_ASSERT) return;
    va_list args;
    va_start(args, p_szFmt);
    const std::string strMsg = formatMessage(p_szFmt, args);
    va_end(args);
    printColourPrefix(SNS_COLOUR_NONE);
    printTagLine(SNS_TAG_ASSERT, p_szFile, p_szFunc, p_nLine);
    printf("%s", strMsg.c_str());
    printReset();

    ErrorLog objLog;
    objLog.writeLocation(SNS_TAG_ASSERT, p_szFile, p_szFunc, p_nLine);
    objLog.write(SNS_TAG_ASSERT, strMsg.c_str());
}
