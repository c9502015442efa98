#include "ValueRules.h"

#include <stdlib.h>

#include <algorithm>

#include <tinyxml.h>

#include "SensorKeys.h"
#include "SensorLib.h"

namespace sensorhost {

namespace {

// Listed in full up to this many items.
const size_t kItemsShown = 12;

struct ClockRule {
    u32 m_nKey;
    long long m_nMax;
    const char* m_szWhat;
};

// Time windows are clock times: hours 0-23, minutes 0-59.
const ClockRule kClockRules[] = {
    {KEY_SCHEME_MODE + 1, 23, "hour"},
    {KEY_SCHEME_MODE + 2, 59, "minute"},
    {KEY_SCHEME_MODE + 3, 23, "hour"},
    {KEY_SCHEME_MODE + 4, 59, "minute"},
};

bool readNumber(const char* p_szText, long long& p_nOut)
{
    if (p_szText == nullptr || *p_szText == '\0') return false;
    char* pEnd = nullptr;
    p_nOut = strtoll(p_szText, &pEnd, 10);
    return *pEnd == '\0';
}

ValueRule ruleOf(const TiXmlElement& p_objElement)
{
    ValueRule stRule;
    const char* szName = p_objElement.Attribute("name");
    stRule.m_strName = szName != nullptr ? szName : "";
    if (readNumber(p_objElement.Attribute("min"), stRule.m_nMin) &&
        readNumber(p_objElement.Attribute("max"), stRule.m_nMax)) {
        stRule.m_eKind = ValueRule::kRange;
        return stRule;
    }
    for (const TiXmlElement* pItem = p_objElement.FirstChildElement("Item"); pItem != nullptr;
         pItem = pItem->NextSiblingElement("Item")) {
        long long nIndex = 0;
        if (readNumber(pItem->Attribute("index"), nIndex)) stRule.m_vecItems.push_back(nIndex);
    }
    if (!stRule.m_vecItems.empty()) stRule.m_eKind = ValueRule::kMenu;
    return stRule;
}

void collect(const TiXmlElement* p_pElement, std::map<u32, ValueRule>& p_mapOut)
{
    for (; p_pElement != nullptr; p_pElement = p_pElement->NextSiblingElement()) {
        long long nKey = 0;
        if (readNumber(p_pElement->Attribute("id"), nKey) && nKey > 0 && nKey <= UINT32_MAX)
            p_mapOut.emplace(static_cast<u32>(nKey), ruleOf(*p_pElement));
        collect(p_pElement->FirstChildElement(), p_mapOut);
    }
}

}  // namespace

std::string ValueRule::allowedText() const
{
    if (m_eKind == kRange) return std::to_string(m_nMin) + " ... " + std::to_string(m_nMax);
    std::string strText;
    for (size_t i = 0; i < m_vecItems.size() && i < kItemsShown; ++i)
        strText += (i == 0 ? "" : ", ") + std::to_string(m_vecItems[i]);
    if (m_vecItems.size() > kItemsShown) strText += ", ... (" + std::to_string(m_vecItems.size()) + " items)";
    return strText;
}

std::string ValueRules::load(const std::string& p_strStyle)
{
    m_mapRules.clear();
    TiXmlDocument objDoc;
    objDoc.Parse(p_strStyle.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (objDoc.Error() || objDoc.RootElement() == nullptr)
        return "the library's UI style cannot be read, so values are checked only for the time window";
    collect(objDoc.RootElement(), m_mapRules);
    return "";
}

const ValueRule* ValueRules::find(u32 p_nKey) const
{
    const auto it = m_mapRules.find(p_nKey);
    return it != m_mapRules.end() ? &it->second : nullptr;
}

ValueCheck ValueRules::check(u32 p_nKey, int32_t p_nValue) const
{
    ValueCheck stOut;
    for (const ClockRule& stClock : kClockRules)
        if (stClock.m_nKey == p_nKey && (p_nValue < 0 || p_nValue > stClock.m_nMax)) {
            stOut.m_eVerdict = Verdict::kRefused;
            stOut.m_strReason = std::string("a time window ") + stClock.m_szWhat + " is 0 ... " +
                                std::to_string(stClock.m_nMax);
            return stOut;
        }
    const ValueRule* pRule = find(p_nKey);
    if (pRule == nullptr) {
        if (findKeyName(p_nKey) == nullptr) {
            stOut.m_eVerdict = Verdict::kUnknownKey;
            stOut.m_strReason = "neither the key table nor the UI style knows this key";
        }
        return stOut;
    }
    const bool bInRange = pRule->m_eKind != ValueRule::kRange ||
                          (p_nValue >= pRule->m_nMin && p_nValue <= pRule->m_nMax);
    const bool bInMenu = pRule->m_eKind != ValueRule::kMenu ||
                         std::find(pRule->m_vecItems.begin(), pRule->m_vecItems.end(), p_nValue) !=
                             pRule->m_vecItems.end();
    if (!bInRange || !bInMenu) {
        stOut.m_eVerdict = Verdict::kRefused;
        stOut.m_strReason = std::string(bInRange ? "allowed values: " : "allowed range: ") + pRule->allowedText();
    }
    return stOut;
}

}  // namespace sensorhost
