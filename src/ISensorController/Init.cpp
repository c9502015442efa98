// Bringing a channel up (configuration, factory values, scheme files,
// capabilities, key table, starting scheme, thread, show options) and
// taking it down again.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "AtomicWord.h"
#include "DeviceType.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/ControllerMemo.h"
#include "ISensorController/SchemeFiles.h"
#include "PKFile.h"
#include "SensorDebug.h"
#include "SensorKeyVal/KeyValSearch.h"
#include "SensorStyle.h"
#include "SySystem.h"
#include "VideoLink.h"

namespace {

// Capability fields of the module's detail text.
const char kLimitedIrPowerField[] = "(isInfrared=17)";
const char kLensIdField[] = "lensId";
// An LPR camera (device type 8) is one whose detail names no infrared kind.
const int kLprDeviceType = 8;
const char* const kInfraredKindFields[] = {"(isInfrared=0)", "(isInfrared=1)"};

// In LPR mode a new scheme-1 file starts from the factory values with these
// night settings.
const int kLprNightScheme = 1;
const KeyVal kLprNightImage[] = {
    {KEY_DN_MODE, 0},   {KEY_MAX_SHUTTER, 18}, {KEY_METER_AREA, 1},
    {KEY_IR_MODE, 2},   {KEY_IR_MANUAL_STRG_NEAR, 40},
};

// Models whose low-resolution encoder streams cannot carry the beaway option.
const char* const kBeawayLimitedModels[] = {"Hi3516AV200", "Hi3516AV200Thermal"};
const int kBeawayLimitedEncoder = 1;
const int kBeawayMaxHiddenHeight = 255;

// The lens stays only when "lensId" is followed by "=", a later ")" and a
// non-zero number right after the "=".
bool detailKeepsLens(const char* p_szDetail)
{
    const char* pField = strstr(p_szDetail, kLensIdField);
    if (pField == nullptr) return false;
    const char* pEqual = strchr(pField, '=');
    if (pEqual == nullptr || strchr(pEqual, ')') == nullptr) return false;
    return atoi(pEqual + 1) != 0;
}

bool isBeawayLimitedModel(const std::string& p_strModel)
{
    for (const char* szModel : kBeawayLimitedModels)
        if (p_strModel == szModel) return true;
    return false;
}

}  // namespace

bool ISensorController::init(const ModuleConfigure& p_objModuleConfigure)
{
    char szPath[256];
    memset(szPath, 0, sizeof(szPath));
    atomicOr(m_nStatusFlag, SNS_STATUS_INITIALISING);
    atomicAndNot(m_nStatusFlag, SNS_STATUS_INITIALISED);
    m_objWakeup.rearm();

    SNS_ASSERT(SNS_AT(84),
               SNS_SUCCESS == initSysConf(m_nCameraID, p_objModuleConfigure, &m_stSysConf, &m_pMemo->objDnaStyle),
               "SNS_SUCCESS == initSysConf(m_nCameraID,p_objModuleConfigure, &m_stSysConf)", "");
    // Both arrays hold m_nKeyCmdSum records; the factory count is bounded by it.
    m_pFctKeyVal = static_cast<KeyVal*>(calloc(m_nKeyCmdSum, sizeof(KeyVal)));
    m_pstKeyValBuf = static_cast<KeyVal*>(calloc(m_nKeyCmdSum, sizeof(KeyVal)));
    SNS_ASSERT(SNS_AT(89),
               SNS_SUCCESS == getFctData(m_nCameraID, m_stSysConf.szUIStyle, m_pFctKeyVal, &m_nKeyValSum,
                                         atomicGet(m_bShowWDRFalg), m_nKeyCmdSum, &m_pMemo->objDnaStyle),
               "SNS_SUCCESS == getFctData(m_nCameraID,m_stSysConf.szUIStyle, m_pFctKeyVal, "
               "&m_nKeyValSum,m_bShowWDRFalg)",
               "m_nKeyValSum(%d)\n", m_nKeyValSum);
    const u32 nAskedSchemes = m_stSysConf.nSchemeSum;
    const bool bRows = detail(*this).buildSchemeCache();
    SNS_ASSERT(
        SNS_HERE, bRows, "NULL != m_ppUserKeyVal",
        "nSchemeSum(%u) m_nKeyValSum(%u): no room for the scheme rows, only the factory scheme is kept\n",
        nAskedSchemes, m_nKeyValSum);
    if (!bRows) {
        m_stSysConf.nSchemeSum = 0;
        detail(*this).buildSchemeCache();
    }

    u32 nLocalVersion = 0;
    if (SNS_SUCCESS != getVersion(&nLocalVersion) || nLocalVersion != m_nVersion) {
        snsWarn(SNS_AT(107),
                "check the sensor version,   local(%u) --> libsensordll.so(%u), source the "
                "cmd: " SNS_CMD_REMOVE_ALL_SCHEMES "\n",
                nLocalVersion, m_nVersion);
        schemeRemoveCommand(szPath, sizeof(szPath), m_nCameraID, m_bIsThermal);
        sy_system(szPath, 30);
    }

    MachineInfo objMachineInfo;
    SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, objMachineInfo);
    detail(*this).readCapabilities(objMachineInfo.getDeviceType());
    detail(*this).loadSchemeFiles(szPath, sizeof(szPath));
    m_pMemo->objRows.build(m_ppUserKeyVal, m_stSysConf.nSchemeSum + 1, m_nKeyValSum);

    SNS_ASSERT(SNS_AT(228), SNS_SUCCESS == setVersion(m_nVersion), "SNS_SUCCESS == setVersion(m_nVersion)",
               "m_nVersion(%d)\n", m_nVersion);
    detail(*this).buildKeyCmdMap();
    m_pstKeyValTmp = static_cast<KeyVal*>(calloc(m_nKeyValSum, sizeof(KeyVal)));

    if (!atomicGet(m_bDNSwitch) && !atomicGet(m_bTimeSwitch)) switch_to(0, false);
    // An automatic switching mode picks its scheme before init returns.
    sensorThread();
    SNS_ASSERT(SNS_AT(242), m_pSensorThread->start(), "m_pSensorThread->start()", "");

    detail(*this).settleShowOptions(objMachineInfo.getHardwareModel());
    atomicOr(m_nStatusFlag, SNS_STATUS_INITIALISED);
    atomicAndNot(m_nStatusFlag, SNS_STATUS_INITIALISING);
    snsDbg(SNS_AT(277), "ISensorController::initSensor  success\n");
    return true;
}

// The rows of every scheme and the factory row in one block. False, with
// nothing allocated, when the scheme count + 1 wraps or the memory is not
// there; the factory values stay in m_pFctKeyVal then.
bool SensorControllerDetail::buildSchemeCache()
{
    const u32 nRows = c.m_stSysConf.nSchemeSum + 1;
    size_t nRecords = 0;
    if (nRows == 0 ||
        __builtin_mul_overflow(static_cast<size_t>(nRows), static_cast<size_t>(c.m_nKeyValSum), &nRecords))
        return false;
    // At least one record each, so that an empty factory set still gets its rows.
    KeyVal* pBlock = static_cast<KeyVal*>(calloc(nRecords > 0 ? nRecords : 1, sizeof(KeyVal)));
    KeyVal** ppRows = static_cast<KeyVal**>(calloc(nRows, sizeof(KeyVal*)));
    if (pBlock == nullptr || ppRows == nullptr) {
        free(pBlock);
        free(ppRows);
        return false;
    }
    c.m_ppUserKeyVal = ppRows;
    for (u32 s = 0; s < nRows; ++s) c.m_ppUserKeyVal[s] = pBlock + (size_t)s * c.m_nKeyValSum;
    KeyVal* pFactoryRow = factoryRow();
    memcpy(pFactoryRow, c.m_pFctKeyVal, c.m_nKeyValSum * sizeof(KeyVal));
    free(c.m_pFctKeyVal);
    c.m_pFctKeyVal = pFactoryRow;
    return true;
}

void SensorControllerDetail::readCapabilities(int p_nDeviceType)
{
    DeviceType objDeviceType;
    objDeviceType.setDeviceTypeId(p_nDeviceType);
    const char* szDetail = c.m_stSysConf.moduleConfig.szDetail;
    if (strstr(szDetail, kLimitedIrPowerField) != nullptr) {
        c.m_bisLimitedIrPower = true;
        printf("#### m_bisLimitedIrPower is true!\n");
    }
    if (!detailKeepsLens(szDetail)) c.m_bHasLens = false;
    if (objDeviceType.getDeviceTypeId() == kLprDeviceType &&
        strstr(szDetail, kInfraredKindFields[0]) == nullptr &&
        strstr(szDetail, kInfraredKindFields[1]) == nullptr)
        c.m_bLPRMode = true;
}

void SensorControllerDetail::loadSchemeFiles(char* p_szPath, size_t p_nSize)
{
    for (u32 s = 0; isUserScheme(s); ++s) {
        schemeFilePath(p_szPath, p_nSize, c.m_nCameraID, (int)s, c.m_bIsThermal);
        // Saves cut short by a dying process leave their temporary files.
        PKFile::removeStaleReplacements(p_szPath);
        if (!PKFile::isExist(p_szPath)) keyValToFile(p_szPath, newSchemeFileImage((int)s), c.m_nKeyValSum);
        // A short file leaves the factory records in the rest of the row,
        // so the row keeps the factory key set.
        memcpy(schemeRow(s), c.m_pFctKeyVal, c.m_nKeyValSum * sizeof(KeyVal));
        keyValFromFile(p_szPath, schemeRow(s), c.m_nKeyValSum);
        if (s == 0) switchModesFromScheme0();
    }
}

KeyVal* SensorControllerDetail::newSchemeFileImage(int p_nScheme)
{
    if (c.m_bLPRMode) {
        if (p_nScheme != kLprNightScheme) return c.m_pFctKeyVal;
        memcpy(c.m_pstKeyValBuf, c.m_pFctKeyVal, c.m_nKeyValSum * sizeof(KeyVal));
        for (const KeyVal& stNight : kLprNightImage) {
            const int nIndex = findKeyVal(c.m_pstKeyValBuf, c.m_nKeyValSum, stNight.key);
            if (nIndex >= 0) c.m_pstKeyValBuf[nIndex].value = stNight.value;
        }
        return c.m_pstKeyValBuf;
    }
    // Every file created after scheme 0 carries "no automatic switching" too.
    if (p_nScheme == 0) c.setKeyValToCache(c.m_stSysConf.nSchemeSum, KEY_SCHEME_MODE, 0, true);
    return c.m_pFctKeyVal;
}

void SensorControllerDetail::switchModesFromScheme0()
{
    u32 nMode = 0;
    if (c.getKeyValFromCache(0, KEY_SCHEME_MODE, nMode) == -1) return;
    setSwitchModes(nMode);
}

void SensorControllerDetail::settleShowOptions(const std::string& p_strHardwareModel)
{
    atomicSet(c.m_bShowWDRFalg, true);
    setshowBeawayFalg(true);
    std::vector<AVStreamParam> vecStreams;
    videolink::streams(c.m_pVideoStreamModule, vecStreams);
    for (const AVStreamParam& objStream : vecStreams) {
        if (isBeawayLimitedModel(p_strHardwareModel) &&
            objStream.getVideoEncoderType() == kBeawayLimitedEncoder &&
            objStream.getVideoHeight() <= kBeawayMaxHiddenHeight)
            setshowBeawayFalg(false);
    }
    LimitedFramesWDRModeParam objWdr;
    videolink::limitedFramesWdr(c.m_pVideoStreamModule, c.m_nCameraID, objWdr);
    if (objWdr.getLimitFramesModeId() == 0 && objWdr.getLimitWdr() == 1) atomicSet(c.m_bShowWDRFalg, false);
}

void ISensorController::uinit()
{
    // Nothing is held after an earlier uinit; releasing twice would free the
    // configuration texts again.
    if (!atomicAny(m_nStatusFlag, SNS_STATUS_INITIALISED) || m_ppUserKeyVal == nullptr) return;
    atomicSet(m_bShutterUnlock, true);
    atomicOr(m_nStatusFlag, SNS_STATUS_SHUTTING_DOWN);
    m_objWakeup.wake();
    SNS_ASSERT(SNS_AT(289), m_pSensorThread->stop(), "m_pSensorThread->stop()", "");

    free(m_pstKeyValTmp);
    m_pstKeyValTmp = nullptr;
    free(m_pKeyCmdMap);
    m_pKeyCmdMap = nullptr;
    // Row 0 starts the block that holds every row.
    free(m_ppUserKeyVal[0]);
    free(m_ppUserKeyVal);
    free(m_pstKeyValBuf);
    m_pstKeyValBuf = nullptr;
    m_pMemo->objRows.clear();
    uinitSysConf(&m_stSysConf);

    atomicSet(m_nParamMode, 1);
    m_nLastScheme = -1;
    m_nCurScheme = -1;
    m_nKeyValSum = 0;
    m_ppUserKeyVal = nullptr;
    m_pFctKeyVal = nullptr;
    atomicAndNot(m_nStatusFlag, SNS_STATUS_SHUTTING_DOWN);
}
