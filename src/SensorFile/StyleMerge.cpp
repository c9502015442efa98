// Style merge: applies the edits of the style diversity document whose
// conditions match the module's detail fields to the channel's UI style.
#define SNS_SOURCE_FILE "SensorFile"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "SensorDebug.h"
#include "SensorStyle.h"
#include "StringHandler.h"
#include "SensorFile/DnaStyleDoc.h"
#include "SensorFile/FileStore.h"
#include "SensorFile/StyleMemo.h"
#include "XmlDoc.h"

namespace {

// The merge is split into helpers; their reports name the merge itself.
SnsSite mergeSite(int p_nLine)
{
    return SnsSite{SNS_SOURCE_FILE, "mergeStyle", p_nLine, "int mergeStyle(int, ModuleConfig*, char**, char*)"};
}

// Condition values agree when their first five characters do.
const size_t kConditionCompareLen = 5;
const size_t kDetailValueBuf = 10;
const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Assertion reports of the merge, recorded with its other reports.
#define MERGE_ASSERT(site, cond, exprText) \
    do { \
        if (!static_cast<bool>(cond)) dnaAssertFailed(site, exprText, "%s", ""); \
    } while (0)

// What each operation of the diversity document does with the found tab.
struct TabEdit {
    const char* szName;
    bool bInsertCopy;   // a copy of the replacement tab goes right after the found tab
    bool bRemoveFound;  // the found tab is removed
};

const TabEdit kTabEdits[] = {
    {"Modify", true, true},
    {"AddAfter", true, false},
    {"Delete", false, true},
};

const TabEdit* findTabEdit(const char* p_szOperation)
{
    for (const TabEdit& stEdit : kTabEdits)
        if (strcmp(stEdit.szName, p_szOperation) == 0) return &stEdit;
    return nullptr;
}

// The first tab (child of the root) whose "key" equals the tab key; tabs
// without "key" never match.
TiXmlElement* findTab(TiXmlElement* p_pFirstTab, const char* p_szTabKey)
{
    for (TiXmlElement* pTab = p_pFirstTab; pTab != nullptr; pTab = pTab->NextSiblingElement()) {
        const char* szKey = pTab->Attribute("key");
        if (szKey != nullptr && strcmp(szKey, p_szTabKey) == 0) return pTab;
    }
    return nullptr;
}

bool conditionValueMatches(const char* p_szAccepted, const char* p_szDetailValue)
{
    std::vector<std::string> vecPieces;
    StringHandler::split(p_szAccepted, vecPieces, ",");
    for (const std::string& strPiece : vecPieces)
        if (strncmp(strPiece.c_str(), p_szDetailValue, kConditionCompareLen) == 0) return true;
    return strncmp(p_szAccepted, p_szDetailValue, kConditionCompareLen) == 0;
}

}  // namespace

const TiXmlAttribute* styleVariantCondition(const TiXmlElement* p_pVariant, const char* p_szDetail)
{
    for (const TiXmlAttribute* modi_attr = p_pVariant->FirstAttribute(); modi_attr != nullptr;
         modi_attr = modi_attr->Next()) {
        dnaTrace(mergeSite(148), "modi_attr->Name()(%s), modi_attr->Value()(%s)\n", modi_attr->Name(),
                 modi_attr->Value());
        char nVal[kDetailValueBuf] = {0};
        if (0 == getDetailFieldToStr(p_szDetail, modi_attr->Name(), nVal) &&
            conditionValueMatches(modi_attr->Value(), nVal))
            return modi_attr;
        dnaTrace(mergeSite(173), "modi_attr->Name()(%s), modi_attr->Value()(%s) nVal(%s)\n", modi_attr->Name(),
                 modi_attr->Value(), nVal);
    }
    return nullptr;
}

namespace {

void applyVariant(TiXmlDocument& doc_style, const TiXmlElement* node_first, const TiXmlAttribute* modi_attr)
{
    dnaTrace(mergeSite(181), "modi_attr->Name()(%s), modi_attr->Value()(%s)\n", modi_attr->Name(),
             modi_attr->Value());
    const TiXmlElement* node_second = node_first->FirstChildElement();
    MERGE_ASSERT(mergeSite(182), NULL != node_second,
                 "NULL != (node_second = node_first->FirstChildElement())");
    for (; node_second != nullptr; node_second = node_second->NextSiblingElement()) {
        dnaTrace(mergeSite(185), "modi_attr->Name()(%s), modi_attr->Value()(%s)\n", modi_attr->Name(),
                 modi_attr->Value());
        updateStyleTab(&doc_style, node_second->Value(), node_second->Attribute("tab_key"),
                       node_second->FirstChildElement());
        dnaTrace(mergeSite(190), "modi_attr->Name()(%s), modi_attr->Value()(%s)\n", modi_attr->Name(),
                 modi_attr->Value());
    }
}

void applyDiversity(TiXmlDocument& doc_style, TiXmlDocument& doc_style_div, const char* p_szDetail)
{
    TiXmlElement* node_first = doc_style_div.RootElement();
    MERGE_ASSERT(mergeSite(142), NULL != node_first, "NULL != (node_first = doc_style_div.RootElement())");
    for (; node_first != nullptr; node_first = node_first->NextSiblingElement()) {
        const TiXmlAttribute* modi_attr = styleVariantCondition(node_first, p_szDetail);
        if (modi_attr != nullptr) applyVariant(doc_style, node_first, modi_attr);
    }
}

// Replaces the style text by the merged file's text. On a failed
// reallocation the old text stays.
void reloadMergedStyle(const char* filename, char** ui_style)
{
    INT64 file_len = getFileLen(filename);
    if (file_len < 0) file_len = 0;
    char* szNew = static_cast<char*>(realloc(*ui_style, static_cast<size_t>(file_len) + 1));
    SNS_ASSERT(mergeSite(__LINE__), NULL != szNew, "NULL != realloc(*ui_style, file_len + 1)", "file_len(%d)\n",
               static_cast<int>(file_len));
    if (szNew == nullptr) return;
    *ui_style = szNew;
    memset(*ui_style, 0, static_cast<size_t>(file_len) + 1);
    SNS_ASSERT(mergeSite(209), loadFromFile(filename, *ui_style, file_len) > 0,
               "loadFromFile(filename, *ui_style, file_len) > 0", "");
}

// Loads both documents and applies the diversity edits to the style.
void mergeDocuments(TiXmlDocument& doc_style, const char* p_szStyle, const char* ui_styleDiversity,
                    const std::string& p_strDetail)
{
    if (!xmldoc::loadMem(doc_style, p_szStyle))
        dnaAssertFailed(mergeSite(139), "doc_style.LoadMem(*ui_style, TIXML_ENCODING_UTF8)", "%s", "");
    TiXmlDocument doc_style_div;
    if (!xmldoc::loadMem(doc_style_div, ui_styleDiversity))
        dnaAssertFailed(mergeSite(140), "doc_style_div.LoadMem(ui_styleDiversity, TIXML_ENCODING_UTF8)", "%s",
                        "");
    applyDiversity(doc_style, doc_style_div, p_strDetail.c_str());
}

// The text the merged file was just written with, as if read back from it.
void replaceStyleText(const std::string& p_strText, char** ui_style)
{
    char* szNew = static_cast<char*>(realloc(*ui_style, p_strText.size() + 1));
    SNS_ASSERT(mergeSite(__LINE__), NULL != szNew, "NULL != realloc(*ui_style, file_len + 1)", "file_len(%d)\n",
               static_cast<int>(p_strText.size()));
    if (szNew == nullptr) return;
    *ui_style = szNew;
    memcpy(*ui_style, p_strText.data(), p_strText.size());
    (*ui_style)[p_strText.size()] = '\0';
}

}  // namespace

int updateStyleTab(TiXmlDocument* doc_style, const char* p_szOperation, const char* p_szTabKey,
                   const TiXmlElement* p_pNewTab)
{
    TiXmlElement* pRoot = doc_style != nullptr ? doc_style->RootElement() : nullptr;
    TiXmlElement* tab_node = pRoot != nullptr ? pRoot->FirstChildElement() : nullptr;
    MERGE_ASSERT(SNS_AT(105), NULL != tab_node,
                 "NULL != (tab_node = doc_style->RootElement()->FirstChildElement())");
    // An operation without name or "tab_key" edits nothing.
    if (tab_node == nullptr || p_szOperation == nullptr || p_szTabKey == nullptr) return 0;
    TiXmlElement* pFound = findTab(tab_node, p_szTabKey);
    const TabEdit* pEdit = findTabEdit(p_szOperation);
    if (pFound == nullptr || pEdit == nullptr) return 0;
    // "Modify" and "AddAfter" without a replacement tab are skipped whole.
    if (pEdit->bInsertCopy && p_pNewTab == nullptr) return 0;
    if (pEdit->bInsertCopy) pRoot->InsertAfterChild(pFound, *p_pNewTab);
    if (pEdit->bRemoveFound) pRoot->RemoveChild(pFound);
    return 0;
}

int mergeStyle(int p_nChannelID, ModuleConfig* p_pModuleConfig, char** ui_style, char* ui_styleDiversity,
               DnaStyleMemo* p_pMemo)
{
    SNS_ASSERT(mergeSite(__LINE__), NULL != ui_style && NULL != p_pModuleConfig,
               "NULL != ui_style && NULL != p_pModuleConfig", "");
    if (ui_style == nullptr || p_pModuleConfig == nullptr) return 0;
    // The detail field is a fixed buffer; it is searched only up to its end.
    const std::string strDetail(p_pModuleConfig->szDetail,
                                strnlen(p_pModuleConfig->szDetail, sizeof(p_pModuleConfig->szDetail)));
    std::unique_ptr<TiXmlDocument> pStyle;
    std::string strMerged;
    const TiXmlDocument* pMerged = nullptr;
    if (p_pMemo != nullptr && p_pMemo->isMergeOf(*ui_style, ui_styleDiversity, strDetail)) {
        // The same documents and details as last time: the same reports and result.
        replayDnaEvents(p_pMemo->mergeEvents());
        strMerged = p_pMemo->mergedText();
        pMerged = &p_pMemo->mergedDoc();
    } else {
        std::vector<DnaEvent> vecEvents;
        DnaJournal stRecord = {false, &vecEvents};
        if (p_pMemo != nullptr) setDnaJournal(&stRecord);
        pStyle.reset(new TiXmlDocument);
        mergeDocuments(*pStyle, *ui_style, ui_styleDiversity, strDetail);
        setDnaJournal(nullptr);
        // Printed once: the file's text, the dump, and the style text are the same.
        const bool bByteOrderMark = *ui_style != nullptr && strncmp(*ui_style, kUtf8ByteOrderMark, 3) == 0;
        strMerged = xmldoc::toFileText(*pStyle, bByteOrderMark);
        if (p_pMemo != nullptr) {
            p_pMemo->setMerge(*ui_style, ui_styleDiversity, strDetail, vecEvents, std::move(pStyle), strMerged);
            pMerged = &p_pMemo->mergedDoc();
        } else {
            pMerged = pStyle.get();
        }
    }

    char filename[100] = {0};
    mergedStylePath(filename, sizeof(filename), p_nChannelID);
    const bool bWritten = xmldoc::writeFile(filename, strMerged);
    snsInfo(mergeSite(203), [&] { return xmldoc::toString(*pMerged) + "\n"; });
    if (!bWritten || strMerged.empty()) {
        // The file holds something else, or nothing (which reading it back
        // reports): the style is what it holds.
        reloadMergedStyle(filename, ui_style);
        return 0;
    }
    // What reading the file back would report.
    traceFileLoad(filename);
    replaceStyleText(strMerged, ui_style);
    return 0;
}

int mergeStyle(int p_nChannelID, ModuleConfig* p_pModuleConfig, char** ui_style, char* ui_styleDiversity)
{
    return mergeStyle(p_nChannelID, p_pModuleConfig, ui_style, ui_styleDiversity, nullptr);
}
