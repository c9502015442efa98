#include "StyleJson.h"

#include <stdlib.h>
#include <string.h>

#include <tinyxml.h>

#include "SensorLib.h"

using nlohmann::json;

namespace {

struct KindOfTag {
    const char* szTag;
    const char* szKind;
};

const KindOfTag kKinds[] = {
    {"Slider", "range"}, {"ComboBox", "menu"}, {"Switch", "switch"},
    {"Label", "label"},  {"Button", "button"},
};

// A number attribute as an integer, or null when the element has none.
json intAttribute(const TiXmlElement& p_objElem, const char* p_szName)
{
    const char* szText = p_objElem.Attribute(p_szName);
    if (szText == nullptr) return nullptr;
    return atoi(szText);
}

json textAttribute(const TiXmlElement& p_objElem, const char* p_szName)
{
    const char* szText = p_objElem.Attribute(p_szName);
    return szText != nullptr ? json(szText) : json(nullptr);
}

// Tags we do not know are placed by what they carry.
std::string kindOf(const TiXmlElement& p_objElem)
{
    for (const KindOfTag& stKind : kKinds)
        if (strcmp(p_objElem.Value(), stKind.szTag) == 0) return stKind.szKind;
    if (p_objElem.FirstChildElement("Item") != nullptr) return "menu";
    if (p_objElem.Attribute("min") != nullptr) return "range";
    return p_objElem.Attribute("text") != nullptr ? "label" : "button";
}

json enableList(const TiXmlElement& p_objElem)
{
    json objList = json::array();
    const char* szList = p_objElem.Attribute("enable_list");
    for (const char* p = szList; p != nullptr && *p != '\0';) {
        char* pEnd = nullptr;
        const long nId = strtol(p, &pEnd, 10);
        if (pEnd == p) {
            ++p;  // separators and stray characters
            continue;
        }
        objList.push_back(nId);
        p = pEnd;
    }
    return objList;
}

json itemOf(const TiXmlElement& p_objElem, int p_nId, const json& p_objGroup)
{
    const char* szKeyName = findKeyName(static_cast<u32>(p_nId));
    const std::string strKind = kindOf(p_objElem);
    json objItem = {{"id", p_nId},
                    {"key", szKeyName != nullptr ? json(szKeyName) : json(nullptr)},
                    {"name", textAttribute(p_objElem, "name")},
                    {"kind", strKind},
                    {"group", p_objGroup},
                    {"default", intAttribute(p_objElem, "value")}};
    if (strKind == "range") {
        objItem["min"] = intAttribute(p_objElem, "min");
        objItem["max"] = intAttribute(p_objElem, "max");
        const json objStep = intAttribute(p_objElem, "step");
        objItem["step"] = objStep.is_null() ? json(1) : objStep;
    } else if (strKind == "menu" || strKind == "switch") {
        json objMenu = json::array();
        for (const TiXmlElement* pEntry = p_objElem.FirstChildElement("Item"); pEntry != nullptr;
             pEntry = pEntry->NextSiblingElement("Item"))
            objMenu.push_back({{"value", intAttribute(*pEntry, "index")},
                               {"name", textAttribute(*pEntry, "name")}});
        objItem["menu"] = objMenu;
    } else if (strKind == "label") {
        objItem["text"] = textAttribute(p_objElem, "text");
    }
    objItem["enable_list"] = enableList(p_objElem);
    // Items the dynamic style hides are removed from the document, so every
    // item listed is shown.
    objItem["visible"] = true;
    return objItem;
}

// Items below p_objParent in document order; an element without "id" is a
// container whose "name" becomes the group of what it holds.
void collectItems(const TiXmlElement& p_objParent, const json& p_objGroup, json& p_objItems)
{
    for (const TiXmlElement* pChild = p_objParent.FirstChildElement(); pChild != nullptr;
         pChild = pChild->NextSiblingElement()) {
        const char* szId = pChild->Attribute("id");
        if (szId != nullptr) {
            p_objItems.push_back(itemOf(*pChild, atoi(szId), p_objGroup));
        } else if (strcmp(pChild->Value(), "Item") != 0) {
            const json objGroup = textAttribute(*pChild, "name");
            collectItems(*pChild, objGroup.is_null() ? p_objGroup : objGroup, p_objItems);
        }
    }
}

}  // namespace

json styleToJson(int p_nChannel, const std::string& p_strStyle, std::string& p_strError)
{
    json objTabs = json::array();
    TiXmlDocument objDoc;
    objDoc.Parse(p_strStyle.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement* pRoot = objDoc.RootElement();
    if (objDoc.Error() || pRoot == nullptr) {
        p_strError = std::string("the library's style document does not parse: ") +
                     (objDoc.Error() ? objDoc.ErrorDesc() : "it is empty");
    } else {
        for (const TiXmlElement* pTab = pRoot->FirstChildElement(); pTab != nullptr;
             pTab = pTab->NextSiblingElement()) {
            json objItems = json::array();
            collectItems(*pTab, nullptr, objItems);
            objTabs.push_back({{"key", textAttribute(*pTab, "key")},
                               {"name", textAttribute(*pTab, "name")},
                               {"items", objItems}});
        }
    }
    return {{"channel", p_nChannel}, {"tabs", objTabs}};
}

std::string StyleJsonCache::get(int p_nChannel, const std::string& p_strStyle,
                                std::string& p_strError)
{
    std::lock_guard<std::mutex> objLock(m_objMutex);
    if (m_strJson.empty() || p_strStyle != m_strStyle) {
        std::string strError;
        const json objStyle = styleToJson(p_nChannel, p_strStyle, strError);
        if (!strError.empty()) {
            p_strError = strError;
            return "";
        }
        m_strJson = objStyle.dump();
        m_strStyle = p_strStyle;
    }
    return m_strJson;
}
