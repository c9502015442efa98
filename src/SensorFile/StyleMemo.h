// The parsed merged style of a channel and the last dynamic style built from
// it. A dynamic style depends on the style text, the image-algorithm
// library's answers and two flags; when all of them equal the last call's,
// the last result is given again and its traces are printed again, in the
// same order, while the library is still asked every question.
#ifndef STYLE_MEMO_H
#define STYLE_MEMO_H

#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "SensorDebug.h"
#include "SensorTypes.h"

// One report or console line of the dynamic style, kept for its replay.
struct DnaEvent {
    enum Kind { TRACE, ASSERT, PRINT } eKind;
    SnsSite stSite;
    const char* szExpr;  // ASSERT: the condition's text
    std::string strText;
};

// One dynamic command of the last call: the library's answer and what it led to.
struct DnaStep {
    int nCmd;
    int nRet;
    ia_dynamic_params_attr_st stAnswer;  // as the query left it
    ia_dynamic_params_attr_st stAfter;   // as the command's processing left it
    std::vector<DnaEvent> vecEvents;
};

class DnaStyleMemo {
public:
    // The merge's own document for the text it printed: the text parses back
    // into the same tree, so it need not be parsed again.
    void setBase(std::unique_ptr<TiXmlDocument> p_pDoc, const std::string& p_strText);
    void clear();

    // The merge: the same style, diversity and detail texts give the same
    // reports and the same merged document as last time.
    bool isMergeOf(const char* p_szStyle, const char* p_szDiversity, const std::string& p_strDetail) const;
    void setMerge(const char* p_szStyle, const char* p_szDiversity, const std::string& p_strDetail,
                  std::vector<DnaEvent>& p_vecEvents, std::unique_ptr<TiXmlDocument> p_pDoc,
                  const std::string& p_strText);
    const std::vector<DnaEvent>& mergeEvents() const { return m_vecMergeEvents; }
    const std::string& mergedText() const { return m_strBase; }
    const TiXmlDocument& mergedDoc() const { return *m_pBase; }

    // getDnaStyle with the memo: either output may be null.
    void build(int p_channelID, const char* szStyle, bool p_bShowWDRFalg, std::string* p_pText,
               const TiXmlDocument** p_ppDoc);

private:
    bool baseIs(const char* p_szStyle) const;
    std::unique_ptr<TiXmlDocument> materialise(size_t p_nSteps) const;

    std::unique_ptr<TiXmlDocument> m_pBase;
    std::string m_strBase;
    bool m_bHasBase = false;
    bool m_bBaseOk = false;

    bool m_bMergeValid = false;
    std::string m_strMergeStyle;
    std::string m_strMergeDiversity;
    bool m_bMergeDiversityNull = false;
    std::string m_strMergeDetail;
    std::vector<DnaEvent> m_vecMergeEvents;

    bool m_bLastValid = false;
    std::vector<DnaStep> m_vecSteps;
    bool m_bWdr = false;
    bool m_bBeaway = false;
    std::unique_ptr<TiXmlDocument> m_pOut;
    bool m_bOutPrinted = false;
    std::string m_strOut;
};

class ModuleConfigure;

// The steps of init that build the style, with the channel's memo (null: none).
int initSysConf(int p_nChannelID, const ModuleConfigure& p_objModuleConfigure, SysConfig* p_stSysConf,
                DnaStyleMemo* p_pMemo);
int mergeStyle(int p_nChannelID, ModuleConfig* p_pModuleConfig, char** ui_style, char* ui_styleDiversity,
               DnaStyleMemo* p_pMemo);
int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum, bool p_bShowWDRFalg,
               u32 p_nCapacity, DnaStyleMemo* p_pMemo);

#endif
