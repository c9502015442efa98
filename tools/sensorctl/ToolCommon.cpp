#include "ToolCommon.h"

#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

#include <vector>

#include "ConsoleCapture.h"
#include "ToolOptions.h"

namespace {

FILE* g_pToolOut = stdout;

void vprintPrefixed(const char* p_szPrefix, const char* p_szFmt, va_list p_args)
{
    // Keep the order of lines when both streams reach one terminal.
    fflush(stdout);
    fflush(g_pToolOut);
    fprintf(stderr, "sensorctl: %s", p_szPrefix);
    vfprintf(stderr, p_szFmt, p_args);
    fputc('\n', stderr);
}

}  // namespace

void separateLibraryOutput()
{
    FILE* pAnswers = sensorhost::ConsoleCapture::instance().start();
    if (pAnswers != nullptr) g_pToolOut = pAnswers;
}

void echoLibraryOutput(const ToolOptions& p_stOptions)
{
    if (p_stOptions.m_bVerbose) sensorhost::ConsoleCapture::instance().setEcho(stderr, isatty(STDERR_FILENO) != 0);
}

std::string libraryLogPath(const ToolOptions& p_stOptions, const std::string& p_strFlashDir)
{
    return p_stOptions.m_strLogFile.empty() ? p_strFlashDir + "/sensorctl.log" : p_stOptions.m_strLogFile;
}

FILE* toolOut()
{
    return g_pToolOut;
}

void toolPrint(const char* p_szFmt, ...)
{
    va_list args;
    va_start(args, p_szFmt);
    vfprintf(g_pToolOut, p_szFmt, args);
    va_end(args);
}

void toolError(const char* p_szFmt, ...)
{
    va_list args;
    va_start(args, p_szFmt);
    vprintPrefixed("", p_szFmt, args);
    va_end(args);
}

void toolNote(const char* p_szFmt, ...)
{
    va_list args;
    va_start(args, p_szFmt);
    vprintPrefixed("note: ", p_szFmt, args);
    va_end(args);
}

std::string formatText(const char* p_szFmt, ...)
{
    va_list args;
    va_start(args, p_szFmt);
    va_list copy;
    va_copy(copy, args);
    const int nLen = vsnprintf(nullptr, 0, p_szFmt, copy);
    va_end(copy);
    std::string strOut;
    if (nLen > 0) {
        std::vector<char> vecBuf(static_cast<size_t>(nLen) + 1);
        vsnprintf(vecBuf.data(), vecBuf.size(), p_szFmt, args);
        strOut.assign(vecBuf.data(), static_cast<size_t>(nLen));
    }
    va_end(args);
    return strOut;
}
