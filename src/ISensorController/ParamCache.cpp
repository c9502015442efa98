// The parameter cache: one row of KeyVal per scheme (the last row holds the
// factory values); lookups give the first entry of a key.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdint.h>

#include "ISensorController.h"
#include "SensorDebug.h"
#include "ISensorController/ControllerMemo.h"

int ISensorController::setKeyValToCache(u32 p_nScheme, u32 p_nKey, u32 p_nVal, bool p_bAnyRow)
{
    if (!p_bAnyRow && !isUserScheme(p_nScheme)) return -2;
    // Callers with p_bAnyRow promise a row index up to the factory row; one
    // beyond it, or a cache not built yet, is refused rather than written.
    if (m_ppUserKeyVal == nullptr || !hasSchemeRow(p_nScheme)) return -2;
    KeyVal* pRow = schemeRow(p_nScheme);
    const int nIndex = m_pMemo->objRows.find(pRow, p_nScheme, m_nKeyValSum, p_nKey);
    if (nIndex >= 0) pRow[nIndex].value = p_nVal;
    return nIndex;
}

int ISensorController::getKeyValFromCache(u32 p_nScheme, u32 p_nKey, u32& p_nVal)
{
    if (!hasSchemeRow(p_nScheme)) {
        snsPrint(SNS_HERE, SNS_COLOUR_NONE, "can not find val, invalid sheme(%d) \n",
                 static_cast<int>(p_nScheme));
        return -1;
    }
    if (m_ppUserKeyVal == nullptr) return -1;  // no cache before init
    const KeyVal* pRow = schemeRow(p_nScheme);
    const int nIndex = m_pMemo->objRows.find(pRow, p_nScheme, m_nKeyValSum, p_nKey);
    if (nIndex >= 0) p_nVal = pRow[nIndex].value;
    return nIndex;
}

bool ISensorController::isUserScheme(u32 p_nScheme) const
{
    return p_nScheme < m_stSysConf.nSchemeSum;
}

bool ISensorController::hasSchemeRow(u32 p_nScheme) const
{
    return p_nScheme <= m_stSysConf.nSchemeSum;
}

KeyVal* ISensorController::schemeRow(u32 p_nScheme) const
{
    return m_ppUserKeyVal[p_nScheme];
}

KeyVal* ISensorController::factoryRow() const
{
    return m_ppUserKeyVal[m_stSysConf.nSchemeSum];
}

bool ISensorController::isKeyValSame(const KeyVal& p_stKeyVal)
{
    return isKeyValSameAt(p_stKeyVal, UINT32_MAX);
}

// p_nHint: where the key sits in a scheme row, when the record is one.
bool ISensorController::isKeyValSameAt(const KeyVal& p_stKeyVal, u32 p_nHint)
{
    // During a scheme switch the values are compared with the scheme left.
    const u32 nScheme = static_cast<u32>(testStatus(SNS_STATUS_SWITCHING) ? m_nLastScheme : m_nCurScheme);
    if (hasSchemeRow(nScheme) && m_ppUserKeyVal != nullptr) {
        const KeyVal* pRow = schemeRow(nScheme);
        const int nIndex = m_pMemo->objRows.findAt(pRow, nScheme, m_nKeyValSum, p_stKeyVal.key, p_nHint);
        return nIndex >= 0 && pRow[nIndex].value == p_stKeyVal.value;
    }
    // No such row: the cache reports it.
    u32 nCached = static_cast<u32>(-1);
    if (getKeyValFromCache(nScheme, p_stKeyVal.key, nCached) < 0) return false;
    return p_stKeyVal.value == nCached;
}

u32 ISensorController::skipCachedRun(const KeyVal* p_pKeyval, u32 p_nFrom, u32 p_nCount)
{
    const u32 nScheme = static_cast<u32>(testStatus(SNS_STATUS_SWITCHING) ? m_nLastScheme : m_nCurScheme);
    if (!hasSchemeRow(nScheme) || m_ppUserKeyVal == nullptr || !m_pMemo->objRows.isUniqueRow(nScheme, m_nKeyValSum))
        return p_nFrom;
    // Where the records line up with the row, an equal record is a cached value.
    const KeyVal* pRow = schemeRow(nScheme);
    const u32 nEnd = p_nCount < m_nKeyValSum ? p_nCount : m_nKeyValSum;
    u32 i = p_nFrom;
    while (i < nEnd && pRow[i].key == p_pKeyval[i].key && pRow[i].value == p_pKeyval[i].value) ++i;
    return i;
}
