// Parameter schemes: switching the current scheme, the parameter mode,
// re-sending stored values, reverting to the saved file and saving it.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/SchemeFiles.h"
#include "PKMutexManager.h"
#include "PelkorTime.h"
#include "SensorDebug.h"

namespace {

// Positions of the window keys in every row.
enum { kStartHourPos = 1, kStartMinPos = 2, kEndHourPos = 3, kEndMinPos = 4 };

}  // namespace

void schemeWindow(const KeyVal* p_pRow, u32& p_nStart, u32& p_nEnd)
{
    p_nStart = p_pRow[kStartMinPos].value + 100 * p_pRow[kStartHourPos].value;
    p_nEnd = p_pRow[kEndMinPos].value + 100 * p_pRow[kEndHourPos].value;
}

int ISensorController::switch_to(int p_nScheme, bool p_bFull)
{
    atomicOr(m_nStatusFlag, SNS_STATUS_SWITCHING);
    m_nLastScheme = m_nCurScheme;
    m_nCurScheme = p_nScheme;
    if (p_bFull) {
        setParameters(detail(*this).schemeRow(p_nScheme), m_nKeyValSum, false);
    } else {
        SNS_ASSERT(SNS_HERE, SNS_SUCCESS == setParameters(m_ppUserKeyVal[m_nCurScheme], m_nKeyValSum, true),
                   "SNS_SUCCESS == setParameters(m_ppUserKeyVal[m_nCurScheme], m_nKeyValSum, true)",
                   "m_nCurScheme(%d) m_nKeyValSum(%d)\n", m_nCurScheme, m_nKeyValSum);
    }
    atomicAndNot(m_nStatusFlag, SNS_STATUS_SWITCHING);
    return 0;
}

int ISensorController::LPR_switch_to(int p_nScheme)
{
    atomicOr(m_nStatusFlag, SNS_STATUS_SWITCHING);
    m_nLastScheme = m_nCurScheme;
    m_nCurScheme = p_nScheme;
    const KeyVal* pRow = detail(*this).schemeRow(p_nScheme);
    bool bDayNightCleared = false;
    for (u32 i = 0; i < m_nKeyValSum; ++i) {
        m_pstKeyValBuf[i] = pRow[i];
        if (!bDayNightCleared && m_pstKeyValBuf[i].key == KEY_DN_MODE) {
            m_pstKeyValBuf[i].value = 0;
            bDayNightCleared = true;
        }
    }
    setParameters(m_pstKeyValBuf, m_nKeyValSum, false);
    atomicAndNot(m_nStatusFlag, SNS_STATUS_SWITCHING);
    return 0;
}

void SensorControllerDetail::waitWhileBusy()
{
    // The mutex stays held: only the holder sets bits 8 and 16, and the
    // sensor thread's switches end on their own.
    while (atomicAny(c.m_nStatusFlag, SNS_STATUS_BUSY_MASK)) PelkorTime(0, 500000).wait();
}

bool ISensorController::setParamScheme(int p_nScheme)
{
    SNS_LOCK_GUARD(m_objMutex);
    const bool bInRange = detail(*this).hasSchemeRow(p_nScheme);
    SNS_ASSERT(SNS_HERE, bInRange, "p_nScheme >= 0 && (u32)p_nScheme <= m_stSysConf.nSchemeSum",
               "p_nScheme(%d)\n", p_nScheme);
    // A row outside the table must never be switched to.
    if (!bInRange) return false;
    detail(*this).waitWhileBusy();
    return switch_to(p_nScheme, false) == 0;
}

bool ISensorController::getParamScheme(int& p_nScheme)
{
    SNS_LOCK_GUARD(m_objMutex);
    p_nScheme = m_nCurScheme;
    return true;
}

bool ISensorController::setParamMode(int p_nMode)
{
    SNS_LOCK_GUARD(m_objMutex);
    SNS_ASSERT(SNS_HERE, (u32)p_nMode <= 1, "0 == p_nMode || 1 == p_nMode", "p_nMode(%d)\n", p_nMode);
    detail(*this).waitWhileBusy();
    atomicSet(m_nParamMode, p_nMode);
    return true;
}

bool ISensorController::getParamMode(int& p_nMode)
{
    SNS_LOCK_GUARD(m_objMutex);
    p_nMode = atomicGet(m_nParamMode);
    return true;
}

int ISensorController::restore(int p_nKey)
{
    SNS_LOCK_GUARD(m_objMutex);
    u32 nValue = 0;
    const int nPos = getKeyValFromCache((u32)m_nCurScheme, (u32)p_nKey, nValue);
    SNS_ASSERT(SNS_HERE, -1 != nPos, "-1 != nPos", "restore key(%d) failed! make sure it is sensor ui key \n",
               p_nKey);
    if (nPos == -1) return -1;
    return setParameters(&detail(*this).schemeRow(m_nCurScheme)[nPos], 1, false);
}

bool ISensorController::restoreAeMode()
{
    if (m_bHasLens && restore(KEY_AUTO_FOCUS_MODE) != 0) return false;
    if (m_bIsThermal) return true;
    return restore(KEY_EXPOSE_MODE) == 0;
}

bool ISensorController::resetToLastParameters()
{
    // Locked before the scheme test so that the sensor thread cannot switch
    // between the test and the revert.
    SNS_LOCK_GUARD(m_objMutex);
    if (!detail(*this).isUserScheme(m_nCurScheme)) return true;
    char szTmp[256] = {0};
    schemeFilePath(szTmp, sizeof(szTmp), m_nCameraID, m_nCurScheme, m_bIsThermal);
    atomicOr(m_nStatusFlag, SNS_STATUS_RESTORING);
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum),
               "SNS_SUCCESS == keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum)",
               "szTmp(%s), m_nKeyValSum(%d)\n", szTmp, m_nKeyValSum);
    const int nRet = setParameters(m_pstKeyValTmp, m_nKeyValSum, true);
    atomicAndNot(m_nStatusFlag, SNS_STATUS_RESTORING);
    return nRet == 0;
}

int ISensorController::flush()
{
    SNS_LOCK_GUARD(m_objMutex);
    if (!detail(*this).isUserScheme(m_nCurScheme)) return 0;
    const int nCheck = paramCheck();
    if (nCheck != 0) return nCheck;
    char szPath[256] = {0};
    schemeFilePath(szPath, sizeof(szPath), m_nCameraID, m_nCurScheme, m_bIsThermal);
    return keyValToFile(szPath, detail(*this).schemeRow(m_nCurScheme), m_nKeyValSum);
}
