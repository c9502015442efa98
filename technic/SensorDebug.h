// Diagnostics of the library: coloured trace lines on standard output,
// assertion reports also written to the error log, optional abort. Every
// site re-reads the operator's control file first (updateDebugLevel).
//
// A source file defines SNS_SOURCE_FILE (the name printed as "file:") before
// including this header.
#ifndef SENSOR_DEBUG_H
#define SENSOR_DEBUG_H

#include "SensorLib.h"

#define SNS_DEBUG_SIGN_FILE "/tmp/Debug.sign"
#define SNS_ERROR_LOG_FILE "/mnt/mtd/log/SensorError.log"
#define SNS_ERROR_LOG_SIZE 10240
#define SNS_ERROR_LOG_COUNT 3

#define SNS_TAG_ASSERT "[sensor assert]"
#define SNS_TAG_WARN "[sensor warn]"
#define SNS_TAG_ERR "[sensor err]"
#define SNS_TAG_DBG "[sensor dbg]"
#define SNS_TAG_INFO "[sensor info]"

enum SnsLevel { SNS_LEVEL_ASSERT = 0, SNS_LEVEL_WARN = 4, SNS_LEVEL_TRACE = 6, SNS_LEVEL_INFO = 7 };

enum SnsColour { SNS_COLOUR_NONE = 0, SNS_COLOUR_RED = 31, SNS_COLOUR_GREEN = 32,
                 SNS_COLOUR_MAGENTA = 35, SNS_COLOUR_WHITE = 37 };

// Trace print: tag may be null (message only).
void snsTrace(int p_nMinLevel, int p_nColour, const char* p_szTag, const char* p_szFile,
              const char* p_szFunc, int p_nLine, const char* p_szFmt, ...)
    __attribute__((format(printf, 7, 8)));

// For a site whose message arguments cost more than the level test: true
// when a report of this level is printed now (refreshes the level as every
// site does), then snsTracePassed prints it without a second refresh.
bool snsLevelPasses(int p_nMinLevel);
void snsTracePassed(int p_nColour, const char* p_szTag, const char* p_szFile, const char* p_szFunc,
                    int p_nLine, const char* p_szFmt, ...) __attribute__((format(printf, 6, 7)));

// Warning: printed at level 4 and above and written to the error log.
void snsWarn(const char* p_szFile, const char* p_szFunc, int p_nLine, const char* p_szFmt, ...)
    __attribute__((format(printf, 4, 5)));

// Report of a failed assertion (the condition was false): console and error
// log, then the abort when g_bEnAssert is set.
void snsAssertFailed(const char* p_szExpr, const char* p_szFile, const char* p_szFunc, int p_nLine,
                     const char* p_szSignature, const char* p_szFmt, ...)
    __attribute__((format(printf, 6, 7)));

// The assertion report without its abort and without the condition line:
// "[sensor assert]" tag line and message, colour 0, plus the error log.
void snsAssertNote(const char* p_szFile, const char* p_szFunc, int p_nLine, const char* p_szFmt, ...)
    __attribute__((format(printf, 4, 5)));

#define SNS_DBG_AT(line, ...) \
    snsTrace(SNS_LEVEL_TRACE, SNS_COLOUR_NONE, SNS_TAG_DBG, SNS_SOURCE_FILE, __func__, line, __VA_ARGS__)
#define SNS_DBG(...) SNS_DBG_AT(__LINE__, __VA_ARGS__)
#define SNS_ERR_AT(line, ...) \
    snsTrace(SNS_LEVEL_TRACE, SNS_COLOUR_NONE, SNS_TAG_ERR, SNS_SOURCE_FILE, __func__, line, __VA_ARGS__)
#define SNS_INFO_AT(line, ...) \
    snsTrace(SNS_LEVEL_INFO, SNS_COLOUR_MAGENTA, SNS_TAG_INFO, SNS_SOURCE_FILE, __func__, line, __VA_ARGS__)
// Information dump whose arguments are evaluated only when it is printed.
#define SNS_INFO_LAZY_AT(line, ...)                                                                     \
    do {                                                                                                \
        if (snsLevelPasses(SNS_LEVEL_INFO))                                                             \
            snsTracePassed(SNS_COLOUR_MAGENTA, SNS_TAG_INFO, SNS_SOURCE_FILE, __func__, line, __VA_ARGS__); \
    } while (0)
// Untagged trace (message only) in the given colour.
#define SNS_PRINT(colour, ...) \
    snsTrace(SNS_LEVEL_TRACE, colour, nullptr, SNS_SOURCE_FILE, __func__, __LINE__, __VA_ARGS__)
#define SNS_WARN_AT(line, ...) snsWarn(SNS_SOURCE_FILE, __func__, line, __VA_ARGS__)

// Assertion check: `exprText` is the condition's text as reports print it.
#define SNS_ASSERT_AT(line, cond, exprText, ...)                                             \
    do {                                                                                     \
        const bool bRet = static_cast<bool>(cond);                                           \
        if (!bRet)                                                                           \
            snsAssertFailed(exprText, SNS_SOURCE_FILE, __func__, line, __PRETTY_FUNCTION__,  \
                            __VA_ARGS__);                                                    \
    } while (0)
#define SNS_ASSERT(cond, exprText, ...) SNS_ASSERT_AT(__LINE__, cond, exprText, __VA_ARGS__)
// The same with the signature text given, for functions whose compiler-printed
// signature differs from the reported one (std::string is printed in the
// library's reports by its full name std::__cxx11::string).
#define SNS_ASSERT_SIG_AT(line, signature, cond, exprText, ...)                                      \
    do {                                                                                             \
        const bool bRet = static_cast<bool>(cond);                                                   \
        if (!bRet) snsAssertFailed(exprText, SNS_SOURCE_FILE, __func__, line, signature, __VA_ARGS__); \
    } while (0)

// For an operation split into helpers: the helpers' reports name the
// operation that was entered (function and signature), as the host sees one
// operation.
#define SNS_DBG_IN(func, line, ...) \
    snsTrace(SNS_LEVEL_TRACE, SNS_COLOUR_NONE, SNS_TAG_DBG, SNS_SOURCE_FILE, func, line, __VA_ARGS__)
#define SNS_ASSERT_IN(func, signature, line, cond, exprText, ...)                              \
    do {                                                                                        \
        const bool bRet = static_cast<bool>(cond);                                              \
        if (!bRet) snsAssertFailed(exprText, SNS_SOURCE_FILE, func, line, signature, __VA_ARGS__); \
    } while (0)

#endif
