#include "SchemeInfo.h"

#include <algorithm>

#include "Session.h"
#include "ToolCommon.h"

using namespace sensorhost;

namespace {

u32 cachedValue(ISensorController& p_objCtrl, int p_nScheme, u32 p_nKey)
{
    u32 nValue = 0;
    p_objCtrl.getKeyValFromCache(static_cast<u32>(p_nScheme), p_nKey, nValue);
    return nValue;
}

}  // namespace

int currentScheme(ISensorController& p_objCtrl)
{
    int nScheme = -1;
    p_objCtrl.getParamScheme(nScheme);
    return nScheme;
}

std::vector<u32> currentSchemeKeys(ISensorController& p_objCtrl)
{
    std::string strText;
    p_objCtrl.getAllParameters(strText);
    std::vector<KeyVal> vecPairs(
        static_cast<size_t>(std::count(strText.begin(), strText.end(), '(')));
    u32 nCount = 0;
    keyval_str2st(strText, vecPairs.data(), &nCount, static_cast<u32>(vecPairs.size()));
    std::vector<u32> vecKeys;
    for (u32 i = 0; i < nCount; ++i) vecKeys.push_back(vecPairs[i].key);
    return vecKeys;
}

std::string schemeText(const Session& p_objSession, int p_nScheme)
{
    if (p_nScheme == p_objSession.schemeCount())
        return formatText("factory scheme (%d)", p_nScheme);
    return formatText("scheme %d (user schemes 0-%d)", p_nScheme, p_objSession.schemeCount() - 1);
}

std::string windowText(ISensorController& p_objCtrl, int p_nScheme)
{
    return formatText("%02u:%02u-%02u:%02u",
                      cachedValue(p_objCtrl, p_nScheme, KEY_SCHEME_START_HOUR),
                      cachedValue(p_objCtrl, p_nScheme, KEY_SCHEME_START_MIN),
                      cachedValue(p_objCtrl, p_nScheme, KEY_SCHEME_END_HOUR),
                      cachedValue(p_objCtrl, p_nScheme, KEY_SCHEME_END_MIN));
}

std::string switchingText(ISensorController& p_objCtrl)
{
    switch (cachedValue(p_objCtrl, 0, KEY_SCHEME_MODE)) {
        case SCHEME_MODE_TIME:
            return "by time window";
        case SCHEME_MODE_DAY_NIGHT:
            return "by day/night state";
        default:
            return "none";
    }
}

bool autoSwitchingOn(ISensorController& p_objCtrl)
{
    int nMode = 0;
    p_objCtrl.getParamMode(nMode);
    const u32 nKind = cachedValue(p_objCtrl, 0, KEY_SCHEME_MODE);
    return nMode != 0 && (nKind == SCHEME_MODE_TIME || nKind == SCHEME_MODE_DAY_NIGHT);
}
