// Handlers of the day/night switching thresholds and times: the library takes
// each group as one record, assembled from the key being set and the current
// scheme's cached values of its sister keys.
#define SNS_SOURCE_FILE "ISensorController"

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "SensorDebug.h"

namespace {

// Fields without a value of their own take the cached value of their key;
// 0 when the key is not cached.
u32 cachedOrZero(ISensorController& p_objCtrl, int p_nScheme, u32 p_nKey)
{
    u32 nVal = 0;
    p_objCtrl.getKeyValFromCache(static_cast<u32>(p_nScheme), p_nKey, nVal);
    return nVal;
}

}  // namespace

int ISensorController::doDNThr(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    const u32 nVal = *static_cast<const u32*>(p_pVal);
    dn_thr_st stThr;
    stThr.d2n_thr = p_nKey == KEY_DTN_THR ? nVal : cachedOrZero(*this, m_nCurScheme, KEY_DTN_THR);
    stThr.n2d_thr = p_nKey == KEY_NTD_THR ? nVal : cachedOrZero(*this, m_nCurScheme, KEY_NTD_THR);
    stThr.dn_sensitivity = p_nKey == KEY_DN_SENSITIVITY
                               ? nVal
                               : cachedOrZero(*this, m_nCurScheme, KEY_DN_SENSITIVITY);
    snsPrint(SNS_HERE, SNS_COLOUR_NONE,
             "m_nCurScheme(%u) dn_thr_st.d2n_thr(%u) dn_thr_st.n2d_thr(%u)  "
             "dn_thr_st.dn_sensitivity(%u)\n",
             static_cast<u32>(m_nCurScheme), stThr.d2n_thr, stThr.n2d_thr, stThr.dn_sensitivity);
    const int nRet = doIaCmd(p_nKey, p_nDir, &stThr);
    // A restore of the last saved values goes on past a refused threshold.
    if (atomicAny(m_nStatusFlag, SNS_STATUS_RESTORING)) return SNS_SUCCESS;
    return nRet;
}

int ISensorController::doDNTime(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    const u32 nVal = *static_cast<const u32*>(p_pVal);
    // Key 152 and any other key served here set the last field.
    const bool bLastField = p_nKey != KEY_DTN_H && p_nKey != KEY_DTN_M && p_nKey != KEY_NTD_H;
    dn_time_st stTime;
    stTime.d2n_hour = p_nKey == KEY_DTN_H ? nVal : cachedOrZero(*this, m_nCurScheme, KEY_DTN_H);
    stTime.d2n_min = p_nKey == KEY_DTN_M ? nVal : cachedOrZero(*this, m_nCurScheme, KEY_DTN_M);
    stTime.n2d_hour = p_nKey == KEY_NTD_H ? nVal : cachedOrZero(*this, m_nCurScheme, KEY_NTD_H);
    stTime.n2d_min = bLastField ? nVal : cachedOrZero(*this, m_nCurScheme, KEY_NTD_M);
    snsPrint(SNS_HERE, SNS_COLOUR_NONE,
             "m_nCurScheme(%u) dn_time_st.d2n_hour(%u) dn_time_st.d2n_min(%u) "
             "dn_time_st.n2d_hour(%u) dn_time_st.n2d_min(%u) \n",
             static_cast<u32>(m_nCurScheme), stTime.d2n_hour, stTime.d2n_min, stTime.n2d_hour,
             stTime.n2d_min);
    return doIaCmd(p_nKey, p_nDir, &stTime);
}
