// The parameter cache: one row of KeyVal per scheme (the last row holds the
// factory values), searched linearly for the first entry of a key.
#define SNS_SOURCE_FILE "ISensorController"

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "SensorDebug.h"
#include "SensorKeyVal/KeyValSearch.h"

int ISensorController::setKeyValToCache(u32 p_nScheme, u32 p_nKey, u32 p_nVal, bool p_bAnyRow)
{
    if (!p_bAnyRow && !detail(*this).isUserScheme(p_nScheme)) return -2;
    // Callers with p_bAnyRow promise a row index up to the factory row; one
    // beyond it, or a cache not built yet, is refused rather than written.
    if (m_ppUserKeyVal == nullptr || !detail(*this).hasSchemeRow(p_nScheme)) return -2;
    KeyVal* pRow = detail(*this).schemeRow(p_nScheme);
    const int nIndex = findKeyVal(pRow, m_nKeyValSum, p_nKey);
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
    const int nIndex = findKeyVal(pRow, m_nKeyValSum, p_nKey);
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
    // During a scheme switch the values are compared with the scheme left.
    const int nScheme = atomicAny(m_nStatusFlag, SNS_STATUS_SWITCHING) ? m_nLastScheme : m_nCurScheme;
    u32 nCached = static_cast<u32>(-1);
    if (getKeyValFromCache(static_cast<u32>(nScheme), p_stKeyVal.key, nCached) < 0) return false;
    return p_stKeyVal.value == nCached;
}
