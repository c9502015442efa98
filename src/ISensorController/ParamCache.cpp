// The parameter cache: one row of KeyVal per scheme (the last row holds the
// factory values); lookups give the first entry of a key.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdint.h>

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/ControllerMemo.h"
#include "SensorDebug.h"

int ISensorController::setKeyValToCache(u32 p_nScheme, u32 p_nKey, u32 p_nVal, bool p_bAnyRow)
{
    if (!p_bAnyRow && !detail(*this).isUserScheme(p_nScheme)) return -2;
    // Callers with p_bAnyRow promise a row index up to the factory row; one
    // beyond it, or a cache not built yet, is refused rather than written.
    if (m_ppUserKeyVal == nullptr || !detail(*this).hasSchemeRow(p_nScheme)) return -2;
    KeyVal* pRow = detail(*this).schemeRow(p_nScheme);
    const int nIndex = m_pMemo->objRows.find(pRow, p_nScheme, m_nKeyValSum, p_nKey);
    if (nIndex >= 0) pRow[nIndex].value = p_nVal;
    return nIndex;
}

int ISensorController::getKeyValFromCache(u32 p_nScheme, u32 p_nKey, u32& p_nVal)
{
    if (!detail(*this).hasSchemeRow(p_nScheme)) {
        snsPrint(SNS_HERE, SNS_COLOUR_NONE, "can not find val, invalid sheme(%d) \n",
                 static_cast<int>(p_nScheme));
        return -1;
    }
    if (m_ppUserKeyVal == nullptr) return -1;  // no cache before init
    const KeyVal* pRow = detail(*this).schemeRow(p_nScheme);
    const int nIndex = m_pMemo->objRows.find(pRow, p_nScheme, m_nKeyValSum, p_nKey);
    if (nIndex >= 0) p_nVal = pRow[nIndex].value;
    return nIndex;
}

bool SensorControllerDetail::isUserScheme(u32 p_nScheme) const
{
    return p_nScheme < c.m_stSysConf.nSchemeSum;
}

bool SensorControllerDetail::hasSchemeRow(u32 p_nScheme) const
{
    return p_nScheme <= c.m_stSysConf.nSchemeSum;
}

KeyVal* SensorControllerDetail::schemeRow(u32 p_nScheme) const
{
    return c.m_ppUserKeyVal[p_nScheme];
}

KeyVal* SensorControllerDetail::factoryRow() const
{
    return c.m_ppUserKeyVal[c.m_stSysConf.nSchemeSum];
}

bool ISensorController::isKeyValSame(const KeyVal& p_stKeyVal)
{
    return detail(*this).isKeyValSameAt(p_stKeyVal, UINT32_MAX);
}

namespace {

// During a scheme switch the values are compared with the scheme left.
u32 comparedScheme(SensorControllerDetail& p_objDetail, int p_nCurScheme)
{
    return static_cast<u32>(atomicAny(p_objDetail.statusFlag(), SNS_STATUS_SWITCHING) ? p_objDetail.lastScheme()
                                                                                       : p_nCurScheme);
}

}  // namespace

// p_nHint: where the key sits in a scheme row, when the record is one.
bool SensorControllerDetail::isKeyValSameAt(const KeyVal& p_stKeyVal, u32 p_nHint)
{
    const u32 nScheme = comparedScheme(*this, c.m_nCurScheme);
    if (hasSchemeRow(nScheme) && c.m_ppUserKeyVal != nullptr) {
        const KeyVal* pRow = schemeRow(nScheme);
        const int nIndex = memo().objRows.findAt(pRow, nScheme, c.m_nKeyValSum, p_stKeyVal.key, p_nHint);
        return nIndex >= 0 && pRow[nIndex].value == p_stKeyVal.value;
    }
    // No such row: the cache reports it.
    u32 nCached = static_cast<u32>(-1);
    if (c.getKeyValFromCache(nScheme, p_stKeyVal.key, nCached) < 0) return false;
    return p_stKeyVal.value == nCached;
}

u32 SensorControllerDetail::skipCachedRun(const KeyVal* p_pKeyval, u32 p_nFrom, u32 p_nCount)
{
    const u32 nScheme = comparedScheme(*this, c.m_nCurScheme);
    if (!hasSchemeRow(nScheme) || c.m_ppUserKeyVal == nullptr ||
        !memo().objRows.isUniqueRow(nScheme, c.m_nKeyValSum))
        return p_nFrom;
    // Where the records line up with the row, an equal record is a cached value.
    const KeyVal* pRow = schemeRow(nScheme);
    const u32 nEnd = p_nCount < c.m_nKeyValSum ? p_nCount : c.m_nKeyValSum;
    u32 i = p_nFrom;
    while (i < nEnd && pRow[i].key == p_pKeyval[i].key && pRow[i].value == p_pKeyval[i].value) ++i;
    return i;
}
