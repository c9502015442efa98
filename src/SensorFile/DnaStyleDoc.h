// The dynamic style as a document, for the factory defaults, which read it
// without printing and parsing it again; and the reports of the dynamic
// style, which a memo records for their replay.
#ifndef DNA_STYLE_DOC_H
#define DNA_STYLE_DOC_H

#include <tinyxml.h>

#include <vector>

#include "SensorFile/StyleMemo.h"

// getDnaStyle without the final printing: p_objDoc receives the dynamic
// style (empty when the style text does not parse). Same reports, result 0.
int getDnaStyle(int p_channelID, const char* szStyle, TiXmlDocument& p_objDoc, bool p_bShowWDRFalg);

// The reports of one command's processing go through these. While a journal
// is set on the thread they are recorded in it as well, or, when it is
// silent, not made at all (a memo re-applying a command it has seen).
struct DnaJournal {
    bool bSilent;
    std::vector<DnaEvent>* pEvents;
};
void setDnaJournal(DnaJournal* p_pJournal);

void dnaTrace(const SnsSite& p_stSite, const char* p_szFmt, ...) __attribute__((format(printf, 2, 3)));
void dnaPrint(const char* p_szFmt, ...) __attribute__((format(printf, 1, 2)));
void dnaAssertFailed(const SnsSite& p_stSite, const char* p_szExpr, const char* p_szFmt, ...)
    __attribute__((format(printf, 3, 4)));
void replayDnaEvents(const std::vector<DnaEvent>& p_vecEvents);

// The queries and steps getDnaStyle shares with the memo.
bool dnaStyleDefaultCmd(int p_nCmd);
void applyStyleDefault(TiXmlElement* p_pRoot, int p_nIndex, int p_nCmd, ia_dynamic_params_attr_st& p_stAttr);
int queryDnaCmdList(int p_channelID, ia_dynamic_params_cmds_st& p_stList);
int queryDnaAttr(int p_channelID, int p_nCmd, ia_dynamic_params_attr_st& p_stAttr);
void reportDnaLoad(bool p_bLoaded, int p_nCmdCount);
void traceDnaCmd(int p_nIndex, int p_nCmd);
void processDnaCmd(TiXmlElement* p_pRoot, int p_nIndex, int p_nCmd, ia_dynamic_params_attr_st& p_stAttr);
void removeOptionalEntries(TiXmlElement* p_pRoot, bool p_bShowWDRFalg, bool p_bShowBeaway);

#endif
