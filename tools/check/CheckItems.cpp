// The merged style's items and the factory records the library reads from it.
#include <stdlib.h>

#include <functional>
#include <map>

#include "Checks.h"
#include "KeyArgs.h"
#include "SensorKeys.h"
#include "SensorLib.h"
#include "SensorStyle.h"
#include "ValueRules.h"

namespace {

// Room for far more records than the library keeps, to tell how many the style gives.
const u32 kCountingCapacity = 4096;
// The window keys lead every scheme row, in this order; the sensor thread reads them by position.
const u32 kSchemeKeys[] = {KEY_SCHEME_MODE, KEY_SCHEME_START_HOUR, KEY_SCHEME_START_MIN, KEY_SCHEME_END_HOUR,
                           KEY_SCHEME_END_MIN};
const char kMergedStyle[] = "merged style";
const char kDynamicStyle[] = "dynamic style";

void forEachItem(const TiXmlElement* p_pElement, const std::function<void(const TiXmlElement*)>& p_fnVisit)
{
    for (; p_pElement != nullptr; p_pElement = p_pElement->NextSiblingElement()) {
        if (p_pElement->Attribute("id") != nullptr) p_fnVisit(p_pElement);
        forEachItem(p_pElement->FirstChildElement(), p_fnVisit);
    }
}

bool isDecimal(const char* p_szText)
{
    long long nValue = 0;
    return sensorhost::parseNumber(p_szText, INT32_MIN, UINT32_MAX, nValue);
}

}  // namespace

bool buildStyleFacts(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    SysConfig stConf;
    initSysConf(p_stCtx.m_nCameraID, p_stCtx.m_objModule, &stConf);
    p_stCtx.m_nSchemeCount = stConf.nSchemeSum;
    p_stCtx.m_strMergedStyle = stConf.szUIStyle != nullptr ? stConf.szUIStyle : "";
    getDnaStyle(p_stCtx.m_nCameraID, p_stCtx.m_strMergedStyle.c_str(), p_stCtx.m_strDynamicStyle, true);
    std::vector<KeyVal> vecRecords(kCountingCapacity);
    u32 nCount = 0;
    getFctData(p_stCtx.m_nCameraID, stConf.szUIStyle, vecRecords.data(), &nCount, true, kCountingCapacity);
    vecRecords.resize(nCount);
    p_stCtx.m_vecFactory = vecRecords;
    uinitSysConf(&stConf);
    p_stCtx.m_bSysConf = parseXmlText(p_stCtx.m_strMergedStyle).m_bParsed;
    if (!p_stCtx.m_bSysConf)
        Check(p_objReport, "merged-style", kMergedStyle).fail("", "the merge gave no document: the channel has no parameters");
    return p_stCtx.m_bSysConf;
}

void checkStyleItems(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    const XmlFile stMerged = parseXmlText(p_stCtx.m_strMergedStyle);
    Check objKnown(p_objReport, "style-ids-known", kMergedStyle);
    Check objUnique(p_objReport, "style-ids-unique", kMergedStyle);
    std::map<u32, std::string> mapFirst;
    int nItems = 0;
    forEachItem(stMerged.m_pDoc->RootElement(), [&](const TiXmlElement* p_pItem) {
        ++nItems;
        const char* szId = p_pItem->Attribute("id");
        const u32 nKey = static_cast<u32>(atoi(szId));
        const std::string strWhere = styleItemWhere(p_pItem);
        if (!isDecimal(szId))
            objKnown.fail(strWhere, std::string("id '") + szId + "' is not a decimal number; the library reads it as " +
                                        std::to_string(nKey));
        else if (findKeyName(nKey) == nullptr && !lampPairPartner(nKey, nullptr))
            objKnown.fail(strWhere, "id " + std::to_string(nKey) +
                                        " is not a key the library knows (neither in the key table nor a lamp pair key)");
        const auto itFirst = mapFirst.find(nKey);
        if (itFirst != mapFirst.end())
            objUnique.fail(strWhere, "id " + std::to_string(nKey) + " appears again (first at " + itFirst->second +
                                         "): the library gives it two factory records");
        else
            mapFirst[nKey] = strWhere;
    });
    objKnown.done(std::to_string(nItems) + " item ids, all keys of the library");
    objUnique.done("no id twice");

    Check objDefaults(p_objReport, "style-defaults", kDynamicStyle);
    const XmlFile stDynamic = parseXmlText(p_stCtx.m_strDynamicStyle);
    sensorhost::ValueRules objRules;
    objRules.load(p_stCtx.m_strDynamicStyle);
    int nChecked = 0;
    if (stDynamic.m_bParsed)
        forEachItem(stDynamic.m_pDoc->RootElement(), [&](const TiXmlElement* p_pItem) {
            const char* szValue = p_pItem->Attribute("value");
            if (szValue == nullptr) return;
            const u32 nKey = static_cast<u32>(atoi(p_pItem->Attribute("id")));
            ++nChecked;
            const sensorhost::ValueCheck stCheck = objRules.check(nKey, static_cast<int32_t>(atoll(szValue)));
            if (stCheck.m_eVerdict == sensorhost::Verdict::kRefused)
                objDefaults.fail(styleItemWhere(p_pItem), std::string("default ") + szValue + " is not allowed (" +
                                                              stCheck.m_strReason + ")");
        });
    objDefaults.done(std::to_string(nChecked) + " defaults within their range or menu (after the sensor's defaults)");
}

void checkFactoryRecords(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    const std::vector<KeyVal>& vecFactory = p_stCtx.m_vecFactory;
    Check objFirst(p_objReport, "scheme-keys-first", kDynamicStyle);
    const u32 nSchemeKeys = sizeof(kSchemeKeys) / sizeof(kSchemeKeys[0]);
    for (u32 i = 0; i < nSchemeKeys; ++i) {
        if (i < vecFactory.size() && vecFactory[i].key == kSchemeKeys[i]) continue;
        objFirst.fail("factory record " + std::to_string(i),
                      (i < vecFactory.size() ? sensorhost::keyLabel(vecFactory[i].key) : std::string("nothing")) +
                          " where " + sensorhost::keyLabel(kSchemeKeys[i]) +
                          " belongs: the first five items with a value must be the scheme keys 8000 to 8004, "
                          "in this order (the sensor thread reads the time window by position)");
        break;
    }
    objFirst.done("the factory records begin with the scheme keys 8000 to 8004");

    Check objCapacity(p_objReport, "factory-capacity", kDynamicStyle);
    const u32 nCapacity = SNS_KEY_TABLE_CAPACITY;
    if (vecFactory.size() > nCapacity)
        objCapacity.fail("", std::to_string(vecFactory.size()) + " items with id and value; the library keeps " +
                                 std::to_string(nCapacity) + " factory records and drops the rest");
    objCapacity.done(std::to_string(vecFactory.size()) + " factory records, room for " + std::to_string(nCapacity));
}
