// The memo of the dynamic style and the journal of its reports.
#define SNS_SOURCE_FILE "SensorFile"

#include "SensorFile/StyleMemo.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "AtomicWord.h"
#include "SensorDebug.h"
#include "SensorFile/DnaStyleDoc.h"
#include "SensorFile/XmlDoc.h"
#include "SensorStyle.h"

namespace {

thread_local DnaJournal* t_pJournal = nullptr;

std::string formatted(const char* p_szFmt, va_list p_args)
{
    va_list args;
    va_copy(args, p_args);
    char szBuf[256];
    const int nLen = vsnprintf(szBuf, sizeof(szBuf), p_szFmt, args);
    va_end(args);
    if (nLen < 0) return std::string();
    if (static_cast<size_t>(nLen) < sizeof(szBuf)) return std::string(szBuf, static_cast<size_t>(nLen));
    std::string strText(static_cast<size_t>(nLen) + 1, '\0');
    vsnprintf(&strText[0], strText.size(), p_szFmt, p_args);
    strText.resize(static_cast<size_t>(nLen));
    return strText;
}

void emit(const DnaEvent& p_stEvent)
{
    switch (p_stEvent.eKind) {
    case DnaEvent::TRACE:
        snsDbg(p_stEvent.stSite, "%s", p_stEvent.strText.c_str());
        break;
    case DnaEvent::ASSERT:
        snsAssertFailed(p_stEvent.stSite, p_stEvent.szExpr, "%s", p_stEvent.strText.c_str());
        break;
    case DnaEvent::PRINT:
        fputs(p_stEvent.strText.c_str(), stdout);
        break;
    }
}

// Records the event when a journal is set, then makes it.
void note(DnaEvent p_stEvent)
{
    if (t_pJournal != nullptr) t_pJournal->pEvents->push_back(p_stEvent);
    emit(p_stEvent);
}

}  // namespace

void setDnaJournal(DnaJournal* p_pJournal) { t_pJournal = p_pJournal; }

void dnaTrace(const SnsSite& p_stSite, const char* p_szFmt, ...)
{
    if (t_pJournal != nullptr && t_pJournal->bSilent) return;
    // Unrecorded, the text is made only when it is printed.
    if (t_pJournal == nullptr && !snsLevelPasses(SNS_LEVEL_TRACE)) return;
    va_list args;
    va_start(args, p_szFmt);
    DnaEvent stEvent = {DnaEvent::TRACE, p_stSite, nullptr, formatted(p_szFmt, args)};
    va_end(args);
    if (t_pJournal == nullptr) {
        snsTracePassed(p_stSite, SNS_COLOUR_NONE, SNS_TAG_DBG, "%s", stEvent.strText.c_str());
        return;
    }
    note(stEvent);
}

void dnaPrint(const char* p_szFmt, ...)
{
    if (t_pJournal != nullptr && t_pJournal->bSilent) return;
    va_list args;
    va_start(args, p_szFmt);
    note({DnaEvent::PRINT, SnsSite{}, nullptr, formatted(p_szFmt, args)});
    va_end(args);
}

void dnaAssertFailed(const SnsSite& p_stSite, const char* p_szExpr, const char* p_szFmt, ...)
{
    if (t_pJournal != nullptr && t_pJournal->bSilent) return;
    va_list args;
    va_start(args, p_szFmt);
    note({DnaEvent::ASSERT, p_stSite, p_szExpr, formatted(p_szFmt, args)});
    va_end(args);
}

void replayDnaEvents(const std::vector<DnaEvent>& p_vecEvents)
{
    for (const DnaEvent& stEvent : p_vecEvents) emit(stEvent);
}

void DnaStyleMemo::setBase(std::unique_ptr<TiXmlDocument> p_pDoc, const std::string& p_strText)
{
    // The same text as before: what was built from it stays good.
    if (m_bHasBase && m_strBase == p_strText) return;
    clear();
    m_bBaseOk = p_pDoc->RootElement() != nullptr;
    m_pBase = std::move(p_pDoc);
    m_strBase = p_strText;
    m_bHasBase = true;
}

bool DnaStyleMemo::isMergeOf(const char* p_szStyle, const char* p_szDiversity, const std::string& p_strDetail) const
{
    if (!m_bMergeValid || p_szStyle == nullptr || (p_szDiversity == nullptr) != m_bMergeDiversityNull) return false;
    return m_strMergeDetail == p_strDetail && m_strMergeStyle == p_szStyle &&
           (p_szDiversity == nullptr || m_strMergeDiversity == p_szDiversity);
}

void DnaStyleMemo::setMerge(const char* p_szStyle, const char* p_szDiversity, const std::string& p_strDetail,
                            std::vector<DnaEvent>& p_vecEvents, std::unique_ptr<TiXmlDocument> p_pDoc,
                            const std::string& p_strText)
{
    setBase(std::move(p_pDoc), p_strText);
    if (p_szStyle == nullptr) return;
    m_strMergeStyle = p_szStyle;
    m_bMergeDiversityNull = p_szDiversity == nullptr;
    m_strMergeDiversity = p_szDiversity != nullptr ? p_szDiversity : "";
    m_strMergeDetail = p_strDetail;
    m_vecMergeEvents.swap(p_vecEvents);
    m_bMergeValid = true;
}

void DnaStyleMemo::clear()
{
    m_bMergeValid = false;
    m_strMergeStyle.clear();
    m_strMergeDiversity.clear();
    m_strMergeDetail.clear();
    m_vecMergeEvents.clear();
    m_pBase.reset();
    m_strBase.clear();
    m_bHasBase = false;
    m_bBaseOk = false;
    m_bLastValid = false;
    m_vecSteps.clear();
    m_pOut.reset();
    m_bOutPrinted = false;
    m_strOut.clear();
}

bool DnaStyleMemo::baseIs(const char* p_szStyle) const
{
    return m_bHasBase && strlen(p_szStyle) == m_strBase.size() &&
           memcmp(p_szStyle, m_strBase.data(), m_strBase.size()) == 0;
}

// A copy of the style with the first p_nSteps commands of the last call
// applied again, silently: they had the same answers this time.
std::unique_ptr<TiXmlDocument> DnaStyleMemo::materialise(size_t p_nSteps) const
{
    std::unique_ptr<TiXmlDocument> pDoc(new TiXmlDocument(*m_pBase));
    DnaJournal stSilent = {true, nullptr};
    setDnaJournal(&stSilent);
    for (size_t i = 0; i < p_nSteps; ++i) {
        DnaStep stStep = m_vecSteps[i];
        if (stStep.nRet == SNS_SUCCESS) doDnaStyle(pDoc->RootElement(), stStep.nCmd, &stStep.stAfter);
    }
    setDnaJournal(nullptr);
    return pDoc;
}

void DnaStyleMemo::build(int p_channelID, const char* szStyle, bool p_bShowWDRFalg, std::string* p_pText,
                         const TiXmlDocument** p_ppDoc)
{
    ia_dynamic_params_cmds_st dnaCmdList;
    const int nCmdCount = queryDnaCmdList(p_channelID, dnaCmdList);
    if (!baseIs(szStyle)) {
        std::unique_ptr<TiXmlDocument> pDoc(new TiXmlDocument);
        xmldoc::loadMem(*pDoc, szStyle);
        clear();
        setBase(std::move(pDoc), szStyle);
    }
    reportDnaLoad(m_bBaseOk, dnaCmdList.cmd_cnt);

    bool bReplay = m_bLastValid;
    std::unique_ptr<TiXmlDocument> pDoc;
    std::vector<DnaStep> vecSteps;
    ia_dynamic_params_attr_st dnaParamList;
    memset(&dnaParamList, 0, sizeof(dnaParamList));
    for (int i = 0; i < nCmdCount; ++i) {
        const int nCmd = dnaCmdList.cmd_list[i];
        traceDnaCmd(i, nCmd);
        const int nRet = queryDnaAttr(p_channelID, nCmd, dnaParamList);
        const size_t nAt = static_cast<size_t>(i);
        if (bReplay && nAt < m_vecSteps.size() && m_vecSteps[nAt].nCmd == nCmd && m_vecSteps[nAt].nRet == nRet &&
            memcmp(&m_vecSteps[nAt].stAnswer, &dnaParamList, sizeof(dnaParamList)) == 0) {
            replayDnaEvents(m_vecSteps[nAt].vecEvents);
            dnaParamList = m_vecSteps[nAt].stAfter;
            vecSteps.push_back(m_vecSteps[nAt]);
            continue;
        }
        if (bReplay) {
            pDoc = materialise(nAt);
            bReplay = false;
        } else if (pDoc == nullptr) {
            pDoc.reset(new TiXmlDocument(*m_pBase));
        }
        DnaStep stStep = {nCmd, nRet, dnaParamList, dnaParamList, {}};
        if (nRet == SNS_SUCCESS) {
            DnaJournal stRecord = {false, &stStep.vecEvents};
            setDnaJournal(&stRecord);
            processDnaCmd(pDoc->RootElement(), i, nCmd, dnaParamList);
            setDnaJournal(nullptr);
            stStep.stAfter = dnaParamList;
        }
        vecSteps.push_back(stStep);
    }
    const bool bBeaway = atomicGet(g_bShoWBeawayFalg);
    const bool bSame = bReplay && vecSteps.size() == m_vecSteps.size() && m_bWdr == p_bShowWDRFalg &&
                       m_bBeaway == bBeaway && m_pOut != nullptr;
    if (!bSame) {
        if (bReplay) pDoc = materialise(vecSteps.size());
        if (pDoc == nullptr) pDoc.reset(new TiXmlDocument(*m_pBase));
        removeOptionalEntries(pDoc->RootElement(), p_bShowWDRFalg, bBeaway);
        m_pOut = std::move(pDoc);
        m_bOutPrinted = false;
        m_vecSteps.swap(vecSteps);
        m_bWdr = p_bShowWDRFalg;
        m_bBeaway = bBeaway;
        m_bLastValid = true;
    }
    if (p_pText != nullptr) {
        if (!m_bOutPrinted) m_strOut = xmldoc::toString(*m_pOut);
        m_bOutPrinted = true;
        *p_pText = m_strOut;
    }
    if (p_ppDoc != nullptr) *p_ppDoc = m_pOut.get();
}
