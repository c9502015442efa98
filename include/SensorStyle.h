// Style documents: merge with the diversity document, dynamic style and
// factory defaults. Elements are TinyXML's.
#ifndef SENSOR_STYLE_H
#define SENSOR_STYLE_H

#include <tinyxml.h>

#include <string>

#include "SensorTypes.h"

SNS_API int mergeStyle(int p_nChannelID, ModuleConfig* p_pModuleConfig, char** ui_style,
                       char* ui_styleDiversity);
SNS_API int updateStyleTab(TiXmlDocument* doc_style, const char* p_szOperation,
                           const char* p_szTabKey, const TiXmlElement* p_pNewTab);

// The first condition attribute of a diversity variant that the module's
// detail text satisfies, or null when the variant does not apply.
SNS_API const TiXmlAttribute* styleVariantCondition(const TiXmlElement* p_pVariant,
                                                    const char* p_szDetail);

SNS_API int getDnaStyle(int p_channelID, const char* szStyle, std::string& p_strDnaStyle,
                        bool p_bShowWDRFalg);
SNS_API int doDnaStyle(TiXmlElement* p_pNode, int p_nCmd, const ia_dynamic_params_attr_st* p_pAttr);
SNS_API int doCustomizeStyle(TiXmlElement* p_pNode, int p_nCmd, ia_dynamic_params_attr_st* p_pAttr);
SNS_API int getDnaValbyCmdId(TiXmlElement* p_pNode, int p_nCmd, int& p_nVal);
SNS_API int getNodebyCmdId(TiXmlElement* p_pNode, int p_nCmd, TiXmlElement*& p_pFound);
SNS_API int DeleteNode(TiXmlElement* p_pRoot, TiXmlElement* p_pNode);
SNS_API int ModifyNodebyCmdId(TiXmlElement* p_pNode, int p_nCmd);

SNS_API int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
                       bool p_bShowWDRFalg);
// Same, writing at most p_nCapacity records.
SNS_API int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
                       bool p_bShowWDRFalg, u32 p_nCapacity);
SNS_API int style2KeyVal(TiXmlElement* p_pNode, KeyVal* p_pKeyVal, u32* p_pnKeyValNum);
SNS_API int style2KeyVal(TiXmlElement* p_pNode, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
                         u32 p_nCapacity);

#endif
