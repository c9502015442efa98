// Dynamic style: rewrites the merged style with the image-algorithm
// library's current defaults and items, and the tree operations by id.
#define SNS_SOURCE_FILE "SensorFile"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "AtomicWord.h"
#include "DnaStyleDoc.h"
#include "IaInterface.h"
#include "SensorDebug.h"
#include "SensorKeys.h"
#include "SensorStyle.h"
#include "XmlDoc.h"

namespace {

// Style values of 49, 50 and 1537 with a meaning of their own.
const int kKeepLibraryDefault = 100;
const int kCustomListBase = 200;

// The reported signature names std::string by its full name.
const char kDnaStyleSignature[] = "int getDnaStyle(int, const char*, std::__cxx11::string&, bool)";

// The reports of the steps getDnaStyle is split into name getDnaStyle.
#define DNA_SITE(line) (SnsSite{SNS_SOURCE_FILE, "getDnaStyle", (line), kDnaStyleSignature})

typedef std::vector<TiXmlElement*> ElementList;

bool hasCmdId(const TiXmlElement* p_pNode, int p_nCmd)
{
    const char* szId = p_pNode->Attribute("id");
    return szId != nullptr && atoi(szId) == p_nCmd;
}

// Pre-order search: every element whose "id" is the command, in document
// order; the descendants of a matching element are not searched.
void collectCmdElements(TiXmlElement* p_pNode, int p_nCmd, ElementList& p_vecOut)
{
    if (p_pNode == nullptr) return;
    if (hasCmdId(p_pNode, p_nCmd)) {
        p_vecOut.push_back(p_pNode);
        return;
    }
    for (TiXmlElement* pChild = p_pNode->FirstChildElement(); pChild != nullptr;
         pChild = pChild->NextSiblingElement())
        collectCmdElements(pChild, p_nCmd, p_vecOut);
}

ElementList cmdElements(TiXmlElement* p_pNode, int p_nCmd)
{
    ElementList vecOut;
    collectCmdElements(p_pNode, p_nCmd, vecOut);
    return vecOut;
}

// The library's counts are bounded to the records' arrays.
int boundedCount(int p_nCount, int p_nMax)
{
    return p_nCount < 0 ? 0 : (p_nCount > p_nMax ? p_nMax : p_nCount);
}

bool isItemOffered(const ia_dynamic_params_attr_st& p_stAttr, int p_nItem)
{
    const int nCount = boundedCount(p_stAttr.items_cnt, IA_DYNAMIC_ITEMS_MAX);
    for (int i = 0; i < nCount; ++i)
        if (p_stAttr.item[i] == p_nItem) return true;
    return false;
}

void deleteNodeById(TiXmlElement* p_pRoot, int p_nCmd)
{
    TiXmlElement* pNode = nullptr;
    getNodebyCmdId(p_pRoot, p_nCmd, pNode);
    DeleteNode(p_pRoot, pNode);
}

}  // namespace

bool dnaStyleDefaultCmd(int p_nCmd)
{
    return p_nCmd == KEY_MAX_SHUTTER || p_nCmd == KEY_FIX_SHUTTER || p_nCmd == KEY_AUTO_FOCUS_NEAR_LIMIT;
}

// Commands 49, 50 and 1537 take their default from the style's value: an
// item of the library, or for 49 a list of the style's own (200 + n).
void applyStyleDefault(TiXmlElement* p_pRoot, int p_nIndex, int p_nCmd, ia_dynamic_params_attr_st& p_stAttr)
{
    int nVal = 0;
    getDnaValbyCmdId(p_pRoot, p_nCmd, nVal);
    if (nVal == kKeepLibraryDefault) return;
    dnaPrint("dnaCmdList.cmd_list[%d] = dnaParamList.items_cnt(%d)\n", p_nIndex, p_stAttr.items_cnt);
    const int nCount = boundedCount(p_stAttr.items_cnt, IA_DYNAMIC_ITEMS_MAX);
    for (int i = 0; i < nCount; ++i) {
        dnaPrint(" dnaParamList.item[%d] = %d nVal = %d \n", i, p_stAttr.item[i], nVal);
        if (p_stAttr.item[i] == nVal) {
            p_stAttr.default_value = nVal;
            break;
        }
    }
    if (nVal >= kCustomListBase && p_nCmd == KEY_MAX_SHUTTER) {
        doCustomizeStyle(p_pRoot, p_nCmd, &p_stAttr);
        p_stAttr.default_value = nVal - kCustomListBase;
    }
}

int doDnaStyle(TiXmlElement* p_pNode, int p_nCmd, const ia_dynamic_params_attr_st* p_pAttr)
{
    if (p_pAttr == nullptr) return 0;
    for (TiXmlElement* pMatch : cmdElements(p_pNode, p_nCmd)) {
        dnaTrace(SNS_AT(358), "_________________cmd(%d) default(%d)__________________\n", p_nCmd,
                 p_pAttr->default_value);
        pMatch->SetAttribute("value", p_pAttr->default_value);
        TiXmlElement* pNext = nullptr;
        for (TiXmlElement* pItem = pMatch->FirstChildElement(); pItem != nullptr; pItem = pNext) {
            pNext = pItem->NextSiblingElement();
            const char* szIndex = pItem->Attribute("index");
            if (szIndex == nullptr) return -1;
            if (isItemOffered(*p_pAttr, atoi(szIndex))) continue;
            dnaTrace(SNS_AT(375), "_________________delete comboitem(%s)__________________\n", szIndex);
            pMatch->RemoveChild(pItem);
        }
    }
    return 0;
}

int doCustomizeStyle(TiXmlElement* p_pNode, int p_nCmd, ia_dynamic_params_attr_st* p_pAttr)
{
    if (p_pAttr == nullptr) return 0;
    for (TiXmlElement* pMatch : cmdElements(p_pNode, p_nCmd)) {
        int nCount = 0;
        for (const TiXmlElement* pItem = pMatch->FirstChildElement(); pItem != nullptr;
             pItem = pItem->NextSiblingElement()) {
            const char* szIndex = pItem->Attribute("index");
            if (szIndex == nullptr) continue;
            // The record holds 64 items; further ones are dropped with a report.
            if (nCount >= IA_DYNAMIC_ITEMS_MAX) {
                dnaAssertFailed(SNS_HERE, "nCount < IA_DYNAMIC_ITEMS_MAX",
                                "cmd(%d) keeps its first %d items\n", p_nCmd, IA_DYNAMIC_ITEMS_MAX);
                break;
            }
            p_pAttr->item[nCount++] = atoi(szIndex);
        }
        p_pAttr->items_cnt = nCount;
        if (nCount > 0) p_pAttr->max_value = p_pAttr->item[nCount - 1];
        p_pAttr->min_value = p_pAttr->item[0];
    }
    return 0;
}

int getDnaValbyCmdId(TiXmlElement* p_pNode, int p_nCmd, int& p_nVal)
{
    for (const TiXmlElement* pMatch : cmdElements(p_pNode, p_nCmd)) {
        const char* szValue = pMatch->Attribute("value");
        if (szValue != nullptr) p_nVal = atoi(szValue);
    }
    return 0;
}

int getNodebyCmdId(TiXmlElement* p_pNode, int p_nCmd, TiXmlElement*& p_pFound)
{
    for (TiXmlElement* pMatch : cmdElements(p_pNode, p_nCmd)) p_pFound = pMatch;
    return 0;
}

int DeleteNode(TiXmlElement* p_pRoot, TiXmlElement* p_pNode)
{
    if (p_pRoot == nullptr || p_pNode == nullptr) return -1;
    TiXmlNode* pParent = p_pNode->Parent();
    if (pParent != nullptr && pParent->ToElement() != nullptr) pParent->RemoveChild(p_pNode);
    return 0;
}

int ModifyNodebyCmdId(TiXmlElement* p_pNode, int p_nCmd)
{
    for (TiXmlElement* pMatch : cmdElements(p_pNode, p_nCmd)) {
        // HLC and BLC exclude each other in the UI.
        if (p_nCmd == KEY_HLC_SWITCH) pMatch->SetAttribute("enable_list", "128");
        if (p_nCmd == KEY_BLC_SWITCH) pMatch->SetAttribute("enable_list", "112");
    }
    return 0;
}

int queryDnaCmdList(int p_channelID, ia_dynamic_params_cmds_st& p_stList)
{
    memset(&p_stList, 0, sizeof(p_stList));
    const int nListRet =
        ia_ioctrl_v2(iaChannelOf(p_channelID), IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &p_stList);
    SNS_ASSERT(DNA_SITE(441), SNS_SUCCESS == nListRet,
               "SNS_SUCCESS == ia_ioctrl_v2(p_channelID-1, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "
               "IA_CMD_OPT_GET, (void*)(&dnaCmdList))",
               "");
    if (nListRet != SNS_SUCCESS) p_stList.cmd_cnt = 0;
    return boundedCount(p_stList.cmd_cnt, IA_DYNAMIC_CMDS_MAX);
}

void reportDnaLoad(bool p_bLoaded, int p_nCmdCount)
{
    SNS_ASSERT(DNA_SITE(445), p_bLoaded, "objStyleXmlDoc.LoadMem(szStyle, TIXML_ENCODING_UTF8)", "");
    snsDbg(DNA_SITE(448), "dnaCmdList.cmd_cnt(%d)\n", p_nCmdCount);
}

int queryDnaAttr(int p_channelID, int p_nCmd, ia_dynamic_params_attr_st& p_stAttr)
{
    const int nAttrRet = ia_ioctrl_v2(iaChannelOf(p_channelID), p_nCmd, IA_CMD_OPT_GET_PARAM_RNAGE, &p_stAttr);
    SNS_ASSERT(DNA_SITE(453), SNS_SUCCESS == nAttrRet,
               "SNS_SUCCESS == ia_ioctrl_v2(p_channelID-1, (ia_cmd_e)dnaCmdList.cmd_list[i], "
               "IA_CMD_OPT_GET_PARAM_RNAGE, (void*)(&dnaParamList))",
               "");
    return nAttrRet;
}

void traceDnaCmd(int p_nIndex, int p_nCmd)
{
    snsDbg(DNA_SITE(451), "dnaCmdList.cmd_list[%d] = cmd(%d)\n", p_nIndex, p_nCmd);
}

void processDnaCmd(TiXmlElement* p_pRoot, int p_nIndex, int p_nCmd, ia_dynamic_params_attr_st& p_stAttr)
{
    if (dnaStyleDefaultCmd(p_nCmd)) applyStyleDefault(p_pRoot, p_nIndex, p_nCmd, p_stAttr);
    if (SNS_SUCCESS != doDnaStyle(p_pRoot, p_nCmd, &p_stAttr))
        dnaAssertFailed(DNA_SITE(496),
                        "SNS_SUCCESS == doDnaStyle(objStyleXmlDoc.RootElement(), dnaCmdList.cmd_list[i], "
                        "&dnaParamList)",
                        "%s", "");
}

void removeOptionalEntries(TiXmlElement* p_pRoot, bool p_bShowWDRFalg, bool p_bShowBeaway)
{
    if (p_bShowWDRFalg) deleteNodeById(p_pRoot, KEY_EMPTY1);
    if (p_bShowBeaway) deleteNodeById(p_pRoot, KEY_EMPTY2);
}

int getDnaStyle(int p_channelID, const char* szStyle, TiXmlDocument& p_objDoc, bool p_bShowWDRFalg)
{
    ia_dynamic_params_cmds_st dnaCmdList;
    const int nCmdCount = queryDnaCmdList(p_channelID, dnaCmdList);
    const bool bLoaded = xmldoc::loadMem(p_objDoc, szStyle);
    reportDnaLoad(bLoaded, dnaCmdList.cmd_cnt);
    TiXmlElement* pRoot = p_objDoc.RootElement();

    // Kept across commands, as the library fills it one command at a time.
    ia_dynamic_params_attr_st dnaParamList;
    memset(&dnaParamList, 0, sizeof(dnaParamList));
    for (int i = 0; i < nCmdCount; ++i) {
        const int nCmd = dnaCmdList.cmd_list[i];
        traceDnaCmd(i, nCmd);
        // Without its attributes the command keeps the style's value and items.
        if (queryDnaAttr(p_channelID, nCmd, dnaParamList) != SNS_SUCCESS) continue;
        processDnaCmd(pRoot, i, nCmd, dnaParamList);
    }
    removeOptionalEntries(pRoot, p_bShowWDRFalg, atomicGet(g_bShoWBeawayFalg));
    return 0;
}

int getDnaStyle(int p_channelID, const char* szStyle, std::string& p_strDnaStyle, bool p_bShowWDRFalg)
{
    TiXmlDocument objStyleXmlDoc;
    getDnaStyle(p_channelID, szStyle, objStyleXmlDoc, p_bShowWDRFalg);
    p_strDnaStyle = xmldoc::toString(objStyleXmlDoc);
    return 0;
}
