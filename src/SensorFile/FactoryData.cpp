// Factory defaults: the id/value pairs of the dynamic style, in document order.
#define SNS_SOURCE_FILE "SensorFile"

#include <stdlib.h>

#include "DnaStyleDoc.h"
#include "SensorFile/StyleMemo.h"
#include "SensorDebug.h"
#include "SensorKeys.h"
#include "SensorStyle.h"

namespace {

// Size of the controller's factory table, assumed by the overloads
// without a capacity.
const u32 kFactoryCapacity = SNS_KEY_TABLE_CAPACITY;

// Reports of both overloads name the one without a capacity.
const char kFctDataSignature[] = "int getFctData(int, char*, KeyVal*, u32*, bool)";

}  // namespace

int style2KeyVal(TiXmlElement* p_pNode, KeyVal* p_pKeyVal, u32* p_pnKeyValNum, u32 p_nCapacity)
{
    if (p_pNode == nullptr) return 0;
    if (p_pKeyVal == nullptr || p_pnKeyValNum == nullptr) return -1;
    const char* szId = p_pNode->Attribute("id");
    const char* szValue = p_pNode->Attribute("value");
    if (szId != nullptr && szValue != nullptr) {
        // A full array stops the walk; the caller reports it.
        if (*p_pnKeyValNum >= p_nCapacity) return -1;
        p_pKeyVal[*p_pnKeyValNum].key = static_cast<u32>(atoi(szId));
        p_pKeyVal[*p_pnKeyValNum].value = static_cast<u32>(atoi(szValue));
        ++*p_pnKeyValNum;
    }
    for (TiXmlElement* pChild = p_pNode->FirstChildElement(); pChild != nullptr;
         pChild = pChild->NextSiblingElement())
        if (style2KeyVal(pChild, p_pKeyVal, p_pnKeyValNum, p_nCapacity) != 0) return -1;
    return 0;
}

int style2KeyVal(TiXmlElement* p_pNode, KeyVal* p_pKeyVal, u32* p_pnKeyValNum)
{
    return style2KeyVal(p_pNode, p_pKeyVal, p_pnKeyValNum, kFactoryCapacity);
}

int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum, bool p_bShowWDRFalg,
               u32 p_nCapacity, DnaStyleMemo* p_pMemo)
{
    TiXmlDocument objDnaStyleDoc;
    const TiXmlDocument* pDoc = &objDnaStyleDoc;
    if (p_pMemo != nullptr)
        p_pMemo->build(p_channelID, p_szStyle != nullptr ? p_szStyle : "", p_bShowWDRFalg, nullptr, &pDoc);
    else
        getDnaStyle(p_channelID, p_szStyle, objDnaStyleDoc, p_bShowWDRFalg);
    // The document is read as built: its printed text would parse back into
    // the same tree, and fails to parse exactly when it has no root element.
    SNS_ASSERT(SNS_AT(558).as(kFctDataSignature), pDoc->RootElement() != nullptr,
               "objDnaStyleDoc.LoadMem(strDnaStyle.c_str(), TIXML_ENCODING_UTF8)", "");
    SNS_ASSERT(SNS_HERE.as(kFctDataSignature), NULL != p_pnKeyValNum, "NULL != p_pnKeyValNum", "");
    if (p_pnKeyValNum == nullptr) return 0;
    *p_pnKeyValNum = 0;
    // Only read: style2KeyVal takes the element without const.
    TiXmlElement* pRootNode = const_cast<TiXmlElement*>(pDoc->RootElement());
    SNS_ASSERT(SNS_AT(562).as(kFctDataSignature),
               SNS_SUCCESS == style2KeyVal(pRootNode, p_pKeyVal, p_pnKeyValNum, p_nCapacity),
               "SNS_SUCCESS == style2KeyVal(pRootNode, p_pKeyVal, p_pnKeyValNum)", "p_pnKeyValNum(%u)\n",
               *p_pnKeyValNum);
    return 0;
}

int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum, bool p_bShowWDRFalg,
               u32 p_nCapacity)
{
    return getFctData(p_channelID, p_szStyle, p_pKeyVal, p_pnKeyValNum, p_bShowWDRFalg, p_nCapacity, nullptr);
}

int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum, bool p_bShowWDRFalg)
{
    return getFctData(p_channelID, p_szStyle, p_pKeyVal, p_pnKeyValNum, p_bShowWDRFalg, kFactoryCapacity);
}
