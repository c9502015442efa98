// The parameter text form: "(key,value)" pairs back to back, both written as
// signed decimal numbers.
#define SNS_SOURCE_FILE "SensorKeyVal"

#include <stdint.h>
#include <stdio.h>

#include <charconv>
#include <string>

#include "SensorLib.h"

namespace {

// Room for two signed 32-bit numbers in "(%d,%d)" with its terminator.
const size_t kPairTextSize = 32;

}  // namespace

void keyval_str2st(const std::string& p_strText, KeyVal* p_pKeyVal, u32* p_pnCount)
{
    keyval_str2st(p_strText, p_pKeyVal, p_pnCount, UINT32_MAX);
}

void keyval_str2st(const std::string& p_strText, KeyVal* p_pKeyVal, u32* p_pnCount,
                   u32 p_nCapacity)
{
    *p_pnCount = 0;
    // Held across pairs: a number that does not convert keeps the previous one.
    int nKey = 0;
    int nValue = 0;
    size_t nPos = 0;
    const size_t nLen = p_strText.size();
    while (nPos < nLen && *p_pnCount < p_nCapacity) {
        const size_t nOpen = p_strText.find('(', nPos);
        if (nOpen == std::string::npos || nOpen == nLen - 1) break;
        // Searched from the "(" rather than from nPos: a stray ")" before it
        // is skipped instead of pairing with a "(" that follows it.
        const size_t nClose = p_strText.find(')', nOpen);
        if (nClose == std::string::npos) break;
        sscanf(p_strText.substr(nOpen, nClose - nOpen + 1).c_str(), "(%d,%d)", &nKey, &nValue);
        p_pKeyVal[*p_pnCount].key = static_cast<u32>(nKey);
        p_pKeyVal[*p_pnCount].value = static_cast<u32>(nValue);
        ++*p_pnCount;
        nPos = nClose + 1;
    }
}

void keyval_st2str(std::string& p_strText, const KeyVal* p_pKeyVal, u32 p_nCount)
{
    // The text of "(%d,%d)", without the formatted output's cost per pair.
    // A signed 32-bit number takes at most 11 characters.
    const size_t kNumberMax = 11;
    char szPair[kPairTextSize];
    for (u32 i = 0; i < p_nCount; ++i) {
        char* p = szPair;
        *p++ = '(';
        p = std::to_chars(p, p + kNumberMax, static_cast<int>(p_pKeyVal[i].key)).ptr;
        *p++ = ',';
        p = std::to_chars(p, p + kNumberMax, static_cast<int>(p_pKeyVal[i].value)).ptr;
        p_strText.append(szPair, static_cast<size_t>(p - szPair)).push_back(')');
    }
}
