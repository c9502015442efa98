// Diagnostics of the library: coloured trace lines on standard output,
// assertion reports also written to the error log, optional abort. Every
// report re-reads the operator's control file first (updateDebugLevel).
//
// Every report names its call site with one descriptor, SnsSite: the file
// name printed as "file:", the function, the line and the full signature
// given to the abort. A source file defines SNS_SOURCE_FILE before including
// this header; SNS_HERE and SNS_AT(line) then build the site.
#ifndef SENSOR_DEBUG_H
#define SENSOR_DEBUG_H

#include "FlashLayout.h"
#include "SensorLib.h"

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

// Where a report comes from. Reports of a step split out of a host operation
// name that operation (and its signature), as the host sees one operation.
struct SnsSite {
    const char* szFile;
    const char* szFunc;
    int nLine;
    const char* szSignature;

    SnsSite as(const char* p_szSignature) const { return SnsSite{szFile, szFunc, nLine, p_szSignature}; }
};

#define SNS_AT(line) (SnsSite{SNS_SOURCE_FILE, __func__, (line), __PRETTY_FUNCTION__})
#define SNS_HERE SNS_AT(__LINE__)

// Trace print: printed from p_nMinLevel on; the tag may be null (message only).
void snsTrace(const SnsSite& p_stSite, int p_nMinLevel, int p_nColour, const char* p_szTag,
              const char* p_szFmt, ...) __attribute__((format(printf, 5, 6)));
// "[sensor dbg]" and "[sensor err]" traces, and untagged ones in a colour.
void snsDbg(const SnsSite& p_stSite, const char* p_szFmt, ...) __attribute__((format(printf, 2, 3)));
void snsErr(const SnsSite& p_stSite, const char* p_szFmt, ...) __attribute__((format(printf, 2, 3)));
void snsPrint(const SnsSite& p_stSite, int p_nColour, const char* p_szFmt, ...)
    __attribute__((format(printf, 3, 4)));

// True when a report of this level is printed now (refreshes the level as
// every report does).
bool snsLevelPasses(int p_nMinLevel);
// Prints a trace whose level test has just passed.
void snsTracePassed(const SnsSite& p_stSite, int p_nColour, const char* p_szTag, const char* p_szFmt, ...)
    __attribute__((format(printf, 4, 5)));
// Information dump whose text is built only when it is printed.
template <class MakeText>
void snsInfo(const SnsSite& p_stSite, MakeText p_fnText)
{
    if (snsLevelPasses(SNS_LEVEL_INFO))
        snsTracePassed(p_stSite, SNS_COLOUR_MAGENTA, SNS_TAG_INFO, "%s", p_fnText().c_str());
}

// Warning: printed at level 4 and above and written to the error log.
void snsWarn(const SnsSite& p_stSite, const char* p_szFmt, ...) __attribute__((format(printf, 2, 3)));

// Report of a failed assertion (the condition was false): console and error
// log, then the abort when g_bEnAssert is set.
void snsAssertFailed(const SnsSite& p_stSite, const char* p_szExpr, const char* p_szFmt, ...)
    __attribute__((format(printf, 3, 4)));

// The assertion report without its abort and without the condition line:
// "[sensor assert]" tag line and message, colour 0, plus the error log.
void snsAssertNote(const SnsSite& p_stSite, const char* p_szFmt, ...) __attribute__((format(printf, 2, 3)));

// Assertion check: the condition is evaluated once; the message arguments
// only when it fails. `exprText` is the condition's text as reports print it.
#define SNS_ASSERT(site, cond, exprText, ...)                                       \
    do {                                                                            \
        if (!static_cast<bool>(cond)) snsAssertFailed(site, exprText, __VA_ARGS__); \
    } while (0)

#endif
