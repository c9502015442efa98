// Module detail fields: "(name=value)" entries in the module's detail text.
#include <stdlib.h>
#include <string.h>

#include "SensorLib.h"

namespace {

// Values hold at most 9 characters (a 10-byte buffer with terminator);
// longer values are cut to 9.
const size_t kDetailValueMax = 9;

// Finds the value of the first occurrence of the name (a plain substring
// search): the text between the next "=" and the next ")" after it.
bool findDetailValue(const char* p_szDetail, const char* p_szName, const char*& p_pBegin, size_t& p_nLen)
{
    if (p_szDetail == nullptr || p_szName == nullptr) return false;
    const char* pName = strstr(p_szDetail, p_szName);
    if (pName == nullptr) return false;
    const char* pEqual = strchr(pName, '=');
    if (pEqual == nullptr) return false;
    const char* pClose = strchr(pEqual, ')');
    if (pClose == nullptr) return false;
    p_pBegin = pEqual + 1;
    p_nLen = static_cast<size_t>(pClose - p_pBegin);
    if (p_nLen > kDetailValueMax) p_nLen = kDetailValueMax;
    return true;
}

}  // namespace

int getDetailFieldTou32(const char* p_szDetail, const char* p_szName, u32* p_pnValue)
{
    const char* pBegin = nullptr;
    size_t nLen = 0;
    if (p_pnValue == nullptr || !findDetailValue(p_szDetail, p_szName, pBegin, nLen)) return -1;
    char szValue[kDetailValueMax + 1] = {0};
    memcpy(szValue, pBegin, nLen);
    *p_pnValue = static_cast<u32>(atoi(szValue));
    return 0;
}

int getDetailFieldToStr(const char* p_szDetail, const char* p_szName, char* p_szValue)
{
    const char* pBegin = nullptr;
    size_t nLen = 0;
    if (p_szValue == nullptr || !findDetailValue(p_szDetail, p_szName, pBegin, nLen)) return -1;
    memcpy(p_szValue, pBegin, nLen);
    return 0;
}
