// The parameter set/get pipeline: every change of an image parameter is
// routed here to the cache, the video module or the handler of its key.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>

#include "AtomicWord.h"
#include "HostOps.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "IaInterface.h"
#include "KeySets.h"
#include "LampPairs.h"
#include "PKMutexManager.h"
#include "SensorDebug.h"
#include "VideoLink.h"

// The steps of setParameters are split into helpers; their tagged reports
// name the operation that was entered, as the host sees one operation.
namespace {

SnsSite pipelineSite(int p_nLine)
{
    return SnsSite{SNS_SOURCE_FILE, "setParameters", p_nLine,
                   "int ISensorController::setParameters(KeyVal*, u32, bool)"};
}

u32 normalisedSchemeMode(u32 p_nVal)
{
    return (p_nVal == SCHEME_MODE_TIME || p_nVal == SCHEME_MODE_DAY_NIGHT) ? p_nVal : static_cast<u32>(SCHEME_MODE_NONE);
}

// On this device type the video module knows the controller as channel 1.
const int kDeviceTypeVideoChannelOne = 13;

// Handler results that the failure trace reports; others stop silently.
bool isTracedFailure(int p_nRet)
{
    return p_nRet == -1 || p_nRet == -4 || p_nRet == -5;
}

// A key without a row goes to the image-algorithm library as its own command.
void makeUnknownRow(u32 p_nKey, keycmd& p_stRow)
{
    p_stRow.key = p_nKey;
    p_stRow.iaCmd = p_nKey;
    p_stRow.handler = &ISensorController::doIaCmd;
    snprintf(p_stRow.szKeyName, sizeof(p_stRow.szKeyName), "%s", "unknow key");
    snprintf(p_stRow.szHandlerName, sizeof(p_stRow.szHandlerName), "%s", "ISensorController::doIaCmd");
}

}  // namespace

int ISensorController::setParameters(KeyVal* p_pKeyval, u32 p_nCount, bool p_bSave)
{
    for (u32 i = 0; i < p_nCount; ++i) {
        if (p_bSave) {
            // A scheme switch compares whole rows: runs of cached values go by at once.
            if (p_nCount == m_nKeyValSum) i = detail(*this).skipCachedRun(p_pKeyval, i, p_nCount);
            if (i >= p_nCount) break;
            if (detail(*this).isKeyValSameAt(p_pKeyval[i], i)) continue;
        }
        int nStop = SNS_SUCCESS;
        const SensorControllerDetail::PipeStep eStep = detail(*this).routeEntry(p_pKeyval, i, nStop);
        if (eStep == SensorControllerDetail::PIPE_STOP) return nStop;
        if (eStep == SensorControllerDetail::PIPE_SKIP || !p_bSave) continue;
        const KeyVal& stEntry = p_pKeyval[i];
        if (setKeyValToCache(m_nCurScheme, stEntry.key, stEntry.value, false) == -1)
            snsDbg(SNS_AT(1020),
                   "SET_KEY_VAL FAILED, m_nCurScheme(%d), p_pKeyval[%d].key(%d), "
                   "p_pKeyval[%d].value(%d),  maybe jixin\n",
                   m_nCurScheme, static_cast<int>(i), static_cast<int>(stEntry.key), static_cast<int>(i),
                   static_cast<int>(stEntry.value));
    }
    printf("\n");
    return SNS_SUCCESS;
}

SensorControllerDetail::PipeStep SensorControllerDetail::routeEntry(KeyVal* p_pKeyval, u32 p_nIndex,
                                                                    int& p_nStop)
{
    KeyVal& stEntry = p_pKeyval[p_nIndex];
    if (stEntry.key == KEY_SCHEME_MODE) {
        applySchemeMode(stEntry.value);
        return PIPE_CACHE;
    }
    if (isCacheOnlyKey(stEntry.key)) return PIPE_CACHE;
    if (c.m_bIsThermal && isThermalRoutedKey(stEntry.key) && routeThermalKey(stEntry)) return PIPE_CACHE;
    return applyGeneral(p_pKeyval, p_nIndex, p_nStop);
}

// Automatic switching by the value of KEY_SCHEME_MODE; returns the mode in
// force (0 for any value but 1 and 2).
u32 SensorControllerDetail::setSwitchModes(u32 p_nMode)
{
    const u32 nMode = normalisedSchemeMode(p_nMode);
    atomicSet(c.m_bTimeSwitch, nMode == SCHEME_MODE_TIME);
    atomicSet(c.m_bDNSwitch, nMode == SCHEME_MODE_DAY_NIGHT);
    return nMode;
}

// The switching mode is a property of scheme 0; the other user schemes carry
// a copy of it.
void SensorControllerDetail::applySchemeMode(u32 p_nVal)
{
    if (c.m_nCurScheme != 0) return;
    const u32 nMode = setSwitchModes(p_nVal);
    for (u32 nScheme = 1; isUserScheme(nScheme); ++nScheme)
        c.setKeyValToCache(nScheme, KEY_SCHEME_MODE, nMode, true);
}

// Thermal channel: these keys bypass the table and their results are ignored.
bool SensorControllerDetail::routeThermalKey(KeyVal& p_stEntry)
{
    switch (p_stEntry.key) {
    case KEY_NONE_COLOR_MODE:
    case KEY_TEMPERATURE_STRIP_SWITCH:
        c.notifyToVideo(p_stEntry.key, p_stEntry.value);
        return true;
    case KEY_MIRROR:
        c.doMirror(KEY_MIRROR, IA_CMD_OPT_SET, &p_stEntry.value);
        return true;
    case KEY_ANTI_SHAKE_SWITCH:
        c.doDIS(KEY_ANTI_SHAKE_SWITCH, IA_CMD_OPT_SET, &p_stEntry.value);
        return true;
    default:
        return false;
    }
}

SensorControllerDetail::PipeStep SensorControllerDetail::applyGeneral(KeyVal* p_pKeyval, u32 p_nIndex,
                                                                      int& p_nStop)
{
    const u32 nKey = p_pKeyval[p_nIndex].key;
    const u32 nVal = p_pKeyval[p_nIndex].value;
    bool bApply = true;
    if (atomicGet(c.m_bDNSwitch) && isDayNightKey(nKey)) {
        // Under day/night switching scheme 0 owns these keys; scheme 1 follows.
        if (c.m_nCurScheme == 0)
            c.setKeyValToCache(1, nKey, nVal, true);
        else
            bApply = false;
    }
    // Without a current scheme the cache reports the light type missing for
    // every entry; otherwise it is read where a lamp key needs it.
    if (!hasSchemeRow(static_cast<u32>(c.m_nCurScheme))) {
        u32 nNoLightType = 0;
        c.getKeyValFromCache(c.m_nCurScheme, KEY_LIGHT_TYPE, nNoLightType);
    }
    if (irBudgetRefuses(nKey, nVal)) {
        p_nStop = -static_cast<int>(nKey);
        return PIPE_STOP;
    }
    u32 nTarget = nKey;
    if (!resolveLampTarget(nKey, nVal, nTarget)) return PIPE_SKIP;
    if (!bApply) return PIPE_CACHE;
    if (callKeyHandler(p_pKeyval, p_nIndex, nTarget) == SNS_SUCCESS) return PIPE_CACHE;
    p_nStop = -static_cast<int>(nTarget);
    return PIPE_STOP;
}

// True when the new strength and the partner's would exceed the budget. A
// partner not cached is read from the image-algorithm library.
bool SensorControllerDetail::irBudgetRefuses(u32 p_nKey, u32 p_nVal)
{
    if (!c.m_bisLimitedIrPower) return false;
    const IrBudgetPair* pPair = findIrBudgetPair(p_nKey);
    if (pPair == nullptr) return false;
    const u32 nUnknown = static_cast<u32>(-1);
    u32 nPartnerVal = nUnknown;
    if (c.getKeyValFromCache(c.m_nCurScheme, pPair->nPartnerKey, nPartnerVal) < 0) {
        const int nRet = c.doIaCmd(pPair->nPartnerKey, IA_CMD_OPT_GET, &nPartnerVal);
        if (nRet == SNS_SUCCESS) {
            printf("### %s doIaCmd sucess\n", findKeyName(pPair->nPartnerKey));
        } else {
            SNS_ASSERT(pipelineSite(pPair->nReportLine), SNS_SUCCESS == nRet,
                       "SNS_SUCCESS == doIaCmd(nPartnerKey, IA_CMD_OPT_GET, &nPartnerVal)",
                       "get key(%d) val from 2a err", static_cast<int>(pPair->nPartnerKey));
            printf("### %s doIaCmd error\n", findKeyName(pPair->nPartnerKey));
        }
    }
    return nPartnerVal != nUnknown && nPartnerVal + p_nVal > kIrPowerBudget;
}

// Picks the key of a lamp pair that takes effect under the light type and
// keeps its sister in step. False when the entry is to be skipped.
bool SensorControllerDetail::resolveLampTarget(u32 p_nKey, u32 p_nVal, u32& p_nTarget)
{
    p_nTarget = p_nKey;
    if (!mayBeLampKey(p_nKey)) return true;
    u32 nLightType = 0;
    if (hasSchemeRow(static_cast<u32>(c.m_nCurScheme)))
        c.getKeyValFromCache(c.m_nCurScheme, KEY_LIGHT_TYPE, nLightType);
    const bool bIntellType = nLightType == kIntelligentLightType;
    if (const LampPair* pPair = findLampPairByNormal(p_nKey)) {
        if (bIntellType) return false;
        c.setKeyValToCache(c.m_nCurScheme, pPair->nIntellKey, p_nVal, true);
        return true;
    }
    if (const LampPair* pPair = findLampPairByIntell(p_nKey)) {
        if (!bIntellType) return false;
        c.setKeyValToCache(c.m_nCurScheme, pPair->nNormalKey, p_nVal, true);
        p_nTarget = pPair->nNormalKey;
    }
    return true;
}

int SensorControllerDetail::callKeyHandler(KeyVal* p_pKeyval, u32 p_nIndex, u32 p_nTarget)
{
    const int nRow = c.m_pKeyCmdMap != nullptr ? keyCmdRow(c.m_pKeyCmdMap, p_nTarget) : -1;
    SNS_ASSERT(pipelineSite(991), -1 != nRow, "-1 != findFromKeyCmdMap(m_pKeyCmdMap, nKey, stKeyCmdTmp)",
               "p_pKeyval[%u].key(%u)", p_nIndex, p_nTarget);
    keycmd stUnknown;
    if (nRow == -1) {
        snsPrint(SNS_HERE, SNS_COLOUR_GREEN, "not find (%d) \n", static_cast<int>(p_nTarget));
        makeUnknownRow(p_nTarget, stUnknown);
    }
    // The table's row itself: its names fit their fields, so a copy would read the same.
    const keycmd& stRow = nRow == -1 ? stUnknown : c.m_pKeyCmdMap[nRow];
    const int nVal = static_cast<int>(p_pKeyval[p_nIndex].value);
    snsPrint(SNS_HERE, SNS_COLOUR_RED,
             "====================== set %s (%d,%d) func:%s ia_cmd:%d =====================\n",
             stRow.szKeyName, static_cast<int>(stRow.key), nVal, stRow.szHandlerName,
             static_cast<int>(stRow.iaCmd));
    // Rows without handler are routed before this point; should one slip
    // through, the value is only cached.
    if (stRow.handler == nullptr) return SNS_SUCCESS;
    // The host's own number goes out as a command: it may carry a record.
    const int nRet = nRow == -1
                         ? hostops::iaOneValue(c, stRow.iaCmd, IA_CMD_OPT_SET, p_pKeyval[p_nIndex].value)
                         : (c.*stRow.handler)(stRow.iaCmd, IA_CMD_OPT_SET, &p_pKeyval[p_nIndex].value);
    if (isTracedFailure(nRet))
        snsErr(pipelineSite(1008), "set %s (%d,%d) func:%s ia_cmd:%d ~~~failed ia_ret=%d\n", stRow.szKeyName,
               static_cast<int>(stRow.key), nVal, stRow.szHandlerName, static_cast<int>(stRow.iaCmd), nRet);
    return nRet;
}

int ISensorController::setParameter(int p_nKey, int p_nVal, bool p_bSave)
{
    SNS_LOCK_GUARD(m_objMutex);
    snsDbg(SNS_HERE, "p_Parameters22222222222(%d, %d)\n", p_nKey, p_nVal);
    KeyVal stEntry = {static_cast<u32>(p_nKey), static_cast<u32>(p_nVal)};
    return setParameters(&stEntry, 1, p_bSave);
}

bool ISensorController::getParameter(int p_nKey, int& p_nVal)
{
    SNS_LOCK_GUARD(m_objMutex);
    snsDbg(SNS_HERE, "p_nKey(%d)\n", p_nKey);
    u32 nCached = static_cast<u32>(-1);
    if (getKeyValFromCache(m_nCurScheme, p_nKey, nCached) >= 0) {
        p_nVal = static_cast<int>(nCached);
        return true;
    }
    if (isUncachedIrKey(p_nKey)) {
        p_nVal = -1;
        return true;
    }
    // The key itself is the command here, not its row's command.
    u32 nRead = static_cast<u32>(p_nVal);
    const int nRet = hostops::iaOneValue(*this, static_cast<u32>(p_nKey), IA_CMD_OPT_GET, nRead);
    p_nVal = static_cast<int>(nRead);
    SNS_ASSERT(SNS_AT(1886), SNS_SUCCESS == nRet, "SNS_SUCCESS == doIaCmd(p_nKey, IA_CMD_OPT_GET, &p_nVal)",
               "get key(%d) val from 2a err", p_nKey);
    return nRet == SNS_SUCCESS;
}

bool ISensorController::getCmdExecStatus(int p_nCmd, int& p_nStatus)
{
    return doIaCmd(p_nCmd, IA_CMD_OPT_EXEC_STATUS, &p_nStatus) == SNS_SUCCESS;
}

void ISensorController::setVideoStreamModule(const VideoStreamModule* p_pModule)
{
    m_pVideoStreamModule = p_pModule;
}

int ISensorController::notifyToVideo(int p_nKey, int p_nVal)
{
    const int nChannel =
        m_objMachineInfo.getDeviceType() == kDeviceTypeVideoChannelOne ? 1 : m_nCameraID;
    return videolink::notify(m_pVideoStreamModule, nChannel, p_nKey, p_nVal);
}
