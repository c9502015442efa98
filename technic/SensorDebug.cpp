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
    ErrorLog() { m_objLogger.init(kErrorLogFile, SNS_ERROR_LOG_SIZE, SNS_ERROR_LOG_COUNT); }
    void write(const char* p_szTag, const char* p_szText) { m_objLogger.writeLog(p_szTag, p_szText); }
    void writeLocation(const char* p_szTag, const SnsSite& p_stSite)
    {
        char szBuf[kLogBufferSize] = {0};
        snprintf(szBuf, sizeof(szBuf), "file:%s fun:%s line:%d\n", p_stSite.szFile, p_stSite.szFunc,
                 p_stSite.nLine);
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
    if (!PKFile::isExist(kDebugSignFile)) {
        atomicSet(g_nDebugLevel, 1);
        atomicSet(g_bEnAssert, false);
        return;
    }
    // Anyone may write /tmp: only a regular file is read (PKFile refuses a
    // FIFO or a device without blocking), and only its first bytes.
    PKFile objFile;
    if (!objFile.open(kDebugSignFile, PKFile::modeRead)) return;
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

namespace
{

void vtrace(const SnsSite& p_stSite, int p_nColour, const char* p_szTag, const char* p_szFmt, va_list p_args)
{
    printColourPrefix(p_nColour);
    if (p_szTag != nullptr) printTagLine(p_szTag, p_stSite.szFile, p_stSite.szFunc, p_stSite.nLine);
    vprintf(p_szFmt, p_args);
    printReset();
}

}  // namespace

bool snsLevelPasses(int p_nMinLevel)
{
    updateDebugLevel();
    return atomicGet(g_nDebugLevel) >= p_nMinLevel;
}

void snsTracePassed(const SnsSite& p_stSite, int p_nColour, const char* p_szTag, const char* p_szFmt, ...)
{
    va_list args;
    va_start(args, p_szFmt);
    vtrace(p_stSite, p_nColour, p_szTag, p_szFmt, args);
    va_end(args);
}

#define SNS_TRACE_BODY(level, colour, tag)        \
    if (!snsLevelPasses(level)) return;           \
    va_list args;                                 \
    va_start(args, p_szFmt);                      \
    vtrace(p_stSite, colour, tag, p_szFmt, args); \
    va_end(args)

void snsTrace(const SnsSite& p_stSite, int p_nMinLevel, int p_nColour, const char* p_szTag,
              const char* p_szFmt, ...)
{
    SNS_TRACE_BODY(p_nMinLevel, p_nColour, p_szTag);
}

void snsDbg(const SnsSite& p_stSite, const char* p_szFmt, ...)
{
    SNS_TRACE_BODY(SNS_LEVEL_TRACE, SNS_COLOUR_NONE, SNS_TAG_DBG);
}

void snsErr(const SnsSite& p_stSite, const char* p_szFmt, ...)
{
    SNS_TRACE_BODY(SNS_LEVEL_TRACE, SNS_COLOUR_NONE, SNS_TAG_ERR);
}

void snsPrint(const SnsSite& p_stSite, int p_nColour, const char* p_szFmt, ...)
{
    SNS_TRACE_BODY(SNS_LEVEL_TRACE, p_nColour, nullptr);
}

#undef SNS_TRACE_BODY

void snsWarn(const SnsSite& p_stSite, const char* p_szFmt, ...)
{
    if (!snsLevelPasses(SNS_LEVEL_WARN)) return;
    va_list args;
    va_start(args, p_szFmt);
    va_list argsCopy;
    va_copy(argsCopy, args);
    vtrace(p_stSite, SNS_COLOUR_NONE, SNS_TAG_WARN, p_szFmt, args);
    const std::string strMsg = formatMessage(p_szFmt, argsCopy);
    va_end(argsCopy);
    va_end(args);

    ErrorLog objLog;
    objLog.writeLocation(SNS_TAG_WARN, p_stSite);
    objLog.write(SNS_TAG_WARN, strMsg.c_str());
}

void snsAssertFailed(const SnsSite& p_stSite, const char* p_szExpr, const char* p_szFmt, ...)
{
    if (snsLevelPasses(SNS_LEVEL_ASSERT)) {
        printColourPrefix(SNS_COLOUR_RED);
        printTagLine(SNS_TAG_ASSERT, p_stSite.szFile, p_stSite.szFunc, p_stSite.nLine);
        printf("%s   ~~~Assertion failed.\n", p_szExpr);
        printReset();

        ErrorLog objLog;
        objLog.writeLocation(SNS_TAG_ASSERT, p_stSite);
        char szBuf[kLogBufferSize] = {0};
        snprintf(szBuf, sizeof(szBuf), "%s   ~~~Assertion failed.\n", p_szExpr);
        objLog.write(SNS_TAG_ASSERT, szBuf);
    }

    if (snsLevelPasses(SNS_LEVEL_ASSERT)) {
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

    if (atomicGet(g_bEnAssert)) __assert_fail("bRet", p_stSite.szFile, p_stSite.nLine, p_stSite.szSignature);
}

void snsAssertNote(const SnsSite& p_stSite, const char* p_szFmt, ...)
{
    if (!snsLevelPasses(SNS_LEVEL_ASSERT)) return;
    va_list args;
    va_start(args, p_szFmt);
    const std::string strMsg = formatMessage(p_szFmt, args);
    va_end(args);
    printColourPrefix(SNS_COLOUR_NONE);
    printTagLine(SNS_TAG_ASSERT, p_stSite.szFile, p_stSite.szFunc, p_stSite.nLine);
    printf("%s", strMsg.c_str());
    printReset();

    ErrorLog objLog;
    objLog.writeLocation(SNS_TAG_ASSERT, p_stSite);
    objLog.write(SNS_TAG_ASSERT, strMsg.c_str());
}
