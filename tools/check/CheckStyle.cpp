// The style document init loads, the diversity documents, their variants'
// conditions and the edits the merge makes.
#include <string.h>

#include <filesystem>
#include <set>

#include "Checks.h"
#include "PlatformSim.h"
#include "SensorLib.h"
#include "SensorStyle.h"

namespace {

const char* const kOperations[] = {"Modify", "AddAfter", "Delete"};

std::string lineOf(const TiXmlElement* p_pElement)
{
    return "line " + std::to_string(p_pElement->Row());
}

std::string printed(const TiXmlDocument& p_objDoc)
{
    TiXmlPrinter objPrinter;
    p_objDoc.Accept(&objPrinter);
    return objPrinter.CStr();
}

bool knownOperation(const std::string& p_strName)
{
    for (const char* szName : kOperations)
        if (p_strName == szName) return true;
    return false;
}

TiXmlElement* findTab(TiXmlDocument& p_objDoc, const char* p_szKey)
{
    for (TiXmlElement* pTab = p_objDoc.RootElement()->FirstChildElement(); pTab != nullptr;
         pTab = pTab->NextSiblingElement()) {
        const char* szKey = pTab->Attribute("key");
        if (szKey != nullptr && strcmp(szKey, p_szKey) == 0) return pTab;
    }
    return nullptr;
}

std::string tabKeys(TiXmlDocument& p_objDoc)
{
    std::string strKeys;
    for (TiXmlElement* pTab = p_objDoc.RootElement()->FirstChildElement(); pTab != nullptr;
         pTab = pTab->NextSiblingElement())
        if (pTab->Attribute("key") != nullptr) strKeys += (strKeys.empty() ? "" : ", ") + std::string(pTab->Attribute("key"));
    return strKeys;
}

std::string variantWhere(int p_nIndex, const TiXmlElement* p_pVariant)
{
    std::string strConditions;
    for (const TiXmlAttribute* pAttr = p_pVariant->FirstAttribute(); pAttr != nullptr; pAttr = pAttr->Next())
        strConditions += std::string(" ") + pAttr->Name() + "=\"" + pAttr->Value() + "\"";
    return "variant " + std::to_string(p_nIndex) + " <" + p_pVariant->ValueStr() + strConditions + "> (" +
           lineOf(p_pVariant) + ")";
}

// The operation's own faults, whether or not its variant applies.
void checkOperationShape(Check& p_objCheck, const std::string& p_strWhere, const TiXmlElement* p_pOp)
{
    const std::string strOp = p_pOp->ValueStr();
    if (!knownOperation(strOp)) {
        p_objCheck.warn(p_strWhere, "unknown operation <" + strOp + ">: the merge ignores it (Modify, AddAfter, Delete)");
        return;
    }
    if (p_pOp->Attribute("tab_key") == nullptr)
        p_objCheck.fail(p_strWhere, "no tab_key: the operation edits nothing");
    if (strOp != "Delete" && p_pOp->FirstChildElement() == nullptr)
        p_objCheck.fail(p_strWhere, "no replacement tab inside: the operation edits nothing");
    else if (strOp != "Delete" && p_pOp->FirstChildElement()->Attribute("key") == nullptr)
        p_objCheck.warn(p_strWhere, "the replacement tab has no key: later operations cannot edit it");
}

// Applies one operation of an applying variant through the library's tab edit.
void replayOperation(Check& p_objCheck, const std::string& p_strWhere, TiXmlDocument& p_objMerged,
                     const TiXmlElement* p_pOp)
{
    const char* szTabKey = p_pOp->Attribute("tab_key");
    if (szTabKey == nullptr || !knownOperation(p_pOp->ValueStr())) return;
    if (findTab(p_objMerged, szTabKey) == nullptr) {
        p_objCheck.fail(p_strWhere, std::string("no tab with key '") + szTabKey +
                                        "' exists at this point of the merge (tabs: " + tabKeys(p_objMerged) + ")");
        return;
    }
    const std::string strBefore = printed(p_objMerged);
    updateStyleTab(&p_objMerged, p_pOp->Value(), szTabKey, p_pOp->FirstChildElement());
    if (printed(p_objMerged) == strBefore && p_pOp->FirstChildElement() != nullptr)
        p_objCheck.warn(p_strWhere, "the edit changes nothing: the replacement equals the tab");
}

// Every tab key a merge could ever meet: the style's tabs and the replacement tabs.
std::set<std::string> everyTabKey(const TiXmlDocument& p_objStyle, const TiXmlDocument& p_objDiversity)
{
    std::set<std::string> setKeys;
    for (const TiXmlElement* pTab = p_objStyle.RootElement()->FirstChildElement(); pTab != nullptr;
         pTab = pTab->NextSiblingElement())
        if (pTab->Attribute("key") != nullptr) setKeys.insert(pTab->Attribute("key"));
    for (const TiXmlElement* pVariant = p_objDiversity.RootElement(); pVariant != nullptr;
         pVariant = pVariant->NextSiblingElement())
        for (const TiXmlElement* pOp = pVariant->FirstChildElement(); pOp != nullptr; pOp = pOp->NextSiblingElement()) {
            const TiXmlElement* pTab = pOp->FirstChildElement();
            if (pTab != nullptr && pTab->Attribute("key") != nullptr) setKeys.insert(pTab->Attribute("key"));
        }
    return setKeys;
}

// An operation of a variant that does not apply to this module still has to
// name a tab some model's merge can meet.
void checkOtherModelsTab(Check& p_objCheck, const std::string& p_strWhere, const std::set<std::string>& p_setKeys,
                         const TiXmlElement* p_pOp)
{
    const char* szTabKey = p_pOp->Attribute("tab_key");
    if (szTabKey != nullptr && knownOperation(p_pOp->ValueStr()) && p_setKeys.count(szTabKey) == 0)
        p_objCheck.fail(p_strWhere, std::string("no tab with key '") + szTabKey +
                                        "' in the style or in any replacement tab: the operation can never edit anything");
}

}  // namespace

void checkStyleDocument(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    const char* szStyle = nullptr;
    const char* szDiversity = nullptr;
    styleDocuments(p_stCtx.m_nCameraID, p_stCtx.m_objMachine.getDeviceType(), &szStyle, &szDiversity);
    p_stCtx.m_strStyleFile = szStyle;
    p_stCtx.m_strDiversityFile = szDiversity;
    Check objCheck(p_objReport, "style-document", szStyle);
    p_stCtx.m_stStyle = loadXmlFile(szStyle);
    const XmlFile& stStyle = p_stCtx.m_stStyle;
    if (!stStyle.m_bPresent) {
        objCheck.fail("", "missing: init loads an empty style, and the channel gets no parameters");
        return;
    }
    if (!stStyle.m_bParsed) {
        objCheck.fail("", "does not parse: " + stStyle.m_strError);
        return;
    }
    const TiXmlElement* pRoot = stStyle.m_pDoc->RootElement();
    int nTabs = 0;
    std::set<std::string> setKeys;
    for (const TiXmlElement* pTab = pRoot->FirstChildElement(); pTab != nullptr; pTab = pTab->NextSiblingElement()) {
        ++nTabs;
        const char* szKey = pTab->Attribute("key");
        if (szKey == nullptr)
            objCheck.warn(elementText(pTab) + " (" + lineOf(pTab) + ")", "tab without key: the diversity document cannot edit it");
        else if (!setKeys.insert(szKey).second)
            objCheck.warn(elementText(pTab) + " (" + lineOf(pTab) + ")",
                          std::string("second tab with key '") + szKey + "': the merge edits only the first");
    }
    if (nTabs == 0) objCheck.fail(elementText(pRoot), "the root element has no tabs");
    objCheck.done("parses, " + std::to_string(nTabs) + " tabs");
}

void checkDiversityDocuments(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    const std::filesystem::path objChosen(p_stCtx.m_strDiversityFile);
    p_stCtx.m_stDiversity = loadXmlFile(objChosen.string());
    if (!p_stCtx.m_stDiversity.m_bPresent)
        Check(p_objReport, "diversity-document", objChosen.string())
            .fail("", "missing: init reports it, and no model edits are applied");
    // Every diversity document of the folder: another channel or device type may load it.
    std::set<std::string> setNames;
    std::error_code ec;
    const std::string strDir = platformsim::resolvePath(objChosen.parent_path().string());
    for (std::filesystem::directory_iterator it(strDir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".xml") setNames.insert(it->path().filename().string());
    for (const std::string& strName : setNames) {
        const std::string strFile = (objChosen.parent_path() / strName).string();
        Check objCheck(p_objReport, "diversity-document", strFile);
        const XmlFile stFile = loadXmlFile(strFile);
        if (!stFile.m_bParsed) {
            objCheck.fail("", "does not parse: " + stFile.m_strError);
            continue;
        }
        int nVariants = 0;
        for (const TiXmlElement* p = stFile.m_pDoc->RootElement(); p != nullptr; p = p->NextSiblingElement()) ++nVariants;
        objCheck.done("parses, " + std::to_string(nVariants) + " variants" +
                      (strFile == objChosen.string() ? " (the one init loads)" : ""));
    }
}

void checkVariantConditions(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "variant-conditions", p_stCtx.m_strDiversityFile);
    const std::string& strDetail = p_stCtx.m_objModule.getDetail();
    int nIndex = 0;
    int nApplying = 0;
    for (const TiXmlElement* pVariant = p_stCtx.m_stDiversity.m_pDoc->RootElement(); pVariant != nullptr;
         pVariant = pVariant->NextSiblingElement()) {
        const std::string strWhere = variantWhere(++nIndex, pVariant);
        if (pVariant->FirstAttribute() == nullptr)
            objCheck.warn(strWhere, "no condition: the variant never applies");
        for (const TiXmlAttribute* pAttr = pVariant->FirstAttribute(); pAttr != nullptr; pAttr = pAttr->Next()) {
            char szValue[16] = {0};
            if (getDetailFieldToStr(strDetail.c_str(), pAttr->Name(), szValue) != 0)
                objCheck.warn(strWhere, std::string("condition ") + pAttr->Name() +
                                            " names no detail field of the module (" + strDetail +
                                            "): it never applies here");
        }
        if (styleVariantCondition(pVariant, strDetail.c_str()) != nullptr) ++nApplying;
    }
    objCheck.done(std::to_string(nIndex) + " variants, " + std::to_string(nApplying) + " apply to this module");
}

void checkMergeOperations(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "merge-operations", p_stCtx.m_strDiversityFile);
    TiXmlDocument objMerged(*p_stCtx.m_stStyle.m_pDoc);
    const std::set<std::string> setTabKeys = everyTabKey(objMerged, *p_stCtx.m_stDiversity.m_pDoc);
    const std::string& strDetail = p_stCtx.m_objModule.getDetail();
    int nIndex = 0;
    int nApplied = 0;
    for (const TiXmlElement* pVariant = p_stCtx.m_stDiversity.m_pDoc->RootElement(); pVariant != nullptr;
         pVariant = pVariant->NextSiblingElement()) {
        const std::string strVariant = variantWhere(++nIndex, pVariant);
        const bool bApplies = styleVariantCondition(pVariant, strDetail.c_str()) != nullptr;
        if (bApplies && pVariant->FirstChildElement() == nullptr) objCheck.warn(strVariant, "applies but holds no operation");
        for (const TiXmlElement* pOp = pVariant->FirstChildElement(); pOp != nullptr; pOp = pOp->NextSiblingElement()) {
            const std::string strWhere = strVariant + ", " + elementText(pOp) + " (" + lineOf(pOp) + ")";
            checkOperationShape(objCheck, strWhere, pOp);
            if (!bApplies) {
                checkOtherModelsTab(objCheck, strWhere, setTabKeys, pOp);
                continue;
            }
            replayOperation(objCheck, strWhere, objMerged, pOp);
            ++nApplied;
        }
    }
    objCheck.done(std::to_string(nApplied) + " edits of the applying variants on existing tabs; the other variants "
                  "name tabs of the style or of replacement tabs");
}
