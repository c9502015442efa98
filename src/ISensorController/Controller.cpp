// The controller object: construction, destruction, channel number and the
// small status queries.
#define SNS_SOURCE_FILE "ISensorController"

#include <string.h>

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/ControllerMemo.h"
#include "ISensorController/SchemeFiles.h"
#include "SensorDebug.h"

namespace {

const int kDeviceTypeSingleThermal = 13;
const int kThermalChannel = 2;
// Dual-sensor device types: channel 2 is the thermal channel.
const int kDualSensorTypes[] = {14, 13, 23, 17, 19};

bool isDualSensorType(int p_nType)
{
    for (int nType : kDualSensorTypes)
        if (nType == p_nType) return true;
    return false;
}

}  // namespace

int ISensorController::m_nChanneldDosomething = -1;
int ISensorController::m_nPassKeycmd = -1;

ISensorController::ISensorController()
    : m_nCameraID(1),
      m_objMutex(),
      m_pSensorThread(nullptr),
      m_nLastScheme(-1),
      m_nCurScheme(-1),
      m_nParamMode(1),
      m_ppUserKeyVal(nullptr),
      m_pstKeyValTmp(nullptr),
      m_pFctKeyVal(nullptr),
      m_nKeyValSum(0),
      m_pstKeyValBuf(nullptr),
      m_pKeyCmdMap(nullptr),
      m_nVersion(paramFileLayoutVersion()),
      m_pVideoStreamModule(nullptr),
      m_objMachineInfo(),
      m_nStatusFlag(0),
      m_nKeyCmdSum(SNS_KEY_TABLE_CAPACITY),
      m_nLastTimeMatch(255),
      m_bLPRMode(false),
      m_bShowWDRFalg(true),
      m_bTimeSwitch(false),
      m_bDNSwitch(false),
      m_bisLimitedIrPower(false),
      m_bHasLens(true),
      m_bShutterUnlock(false),
      m_bIsThermal(false),
      m_objZoomFocusParam(),
      m_objWakeup(),
      m_pMemo(new ControllerMemo)
{
    // Nothing reads the configuration before init fills it; zero it so the
    // record never holds stray pointers.
    memset(&m_stSysConf, 0, sizeof(m_stSysConf));
    // The thread's temporaries are released here; GThread keeps its copies.
    {
        function<int> objWork(bind_funcobj(&ISensorController::sensorThread, this));
        function<int> objBegin(&GThread::emptyFun);
        function<int> objEnd(&GThread::emptyFun);
        m_pSensorThread = new GThread(objWork, "SensorThread", objBegin, objEnd);
    }
    m_nStatusFlag = 0;
    SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, m_objMachineInfo);
}

ISensorController::~ISensorController()
{
    if (m_pSensorThread != nullptr) {
        m_objWakeup.wake();
        m_pSensorThread->stop();
        delete m_pSensorThread;
        m_pSensorThread = nullptr;
    }
    delete m_pMemo;
}

void ISensorController::setChannelID(int p_nChannelID)
{
    bool bThermal = false;
    channelIdentity(p_nChannelID, m_objMachineInfo.getDeviceType(), &m_nCameraID, &bThermal);
    if (bThermal) m_bIsThermal = true;
}

void channelIdentity(int p_nChannelID, int p_nDeviceType, int* p_pnCameraID, bool* p_pbThermal)
{
    // A single thermal camera is always channel 2.
    const int nCameraID = p_nDeviceType == kDeviceTypeSingleThermal ? kThermalChannel : p_nChannelID;
    if (p_pnCameraID != nullptr) *p_pnCameraID = nCameraID;
    if (p_pbThermal != nullptr) *p_pbThermal = nCameraID == kThermalChannel && isDualSensorType(p_nDeviceType);
}

u32 ISensorController::getSensorType()
{
    return static_cast<u32>(m_stSysConf.moduleConfig.nModuleId);
}

bool ISensorController::getSensorStatus()
{
    return atomicAny(m_nStatusFlag, SNS_STATUS_INITIALISED);
}

void ISensorController::printDebugMsg() {}

int ISensorController::paramCheck()
{
    // A row too short to hold a window has no valid one.
    if (m_nKeyValSum < kSchemeWindowRecords) return 507;
    u32 nStart = 0;
    u32 nEnd = 0;
    schemeWindow(detail(*this).schemeRow(m_nCurScheme), nStart, nEnd);
    if (nStart > 2400) return 505;
    if (nEnd > 2400) return 506;
    return nStart < nEnd ? 0 : 507;
}
