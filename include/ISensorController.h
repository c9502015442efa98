// The sensor controller of one camera channel: owns the channel's image
// parameters, its parameter schemes on flash and the background thread that
// switches them, and drives the image-algorithm library.
//
// Threads: the host's threads call the public operations (those that touch
// the parameter state lock m_objMutex); one sensor thread per controller runs
// sensorThread() about once per second.
#ifndef I_SENSOR_CONTROLLER_H
#define I_SENSOR_CONTROLLER_H

#include <string>
#include <vector>

#include "AVStreamParam.h"
#include "GThread.h"
#include "MachineInfo.h"
#include "ModuleConfigure.h"
#include "PKMutex.h"
#include "PelkorTime.h"
#include "SensorKeys.h"
#include "SensorLib.h"
#include "SensorTypes.h"
#include "VideoStreamModule.h"

// Bits of m_nStatusFlag.
enum SensorStatusBit {
    SNS_STATUS_INITIALISING = 1,
    SNS_STATUS_SHUTTING_DOWN = 2,
    SNS_STATUS_INITIALISED = 4,
    SNS_STATUS_RESETTING = 8,
    SNS_STATUS_RESTORING = 16,
    SNS_STATUS_SWITCHING = 32,
    SNS_STATUS_BUSY_MASK = 56,        // resetting | restoring | switching
    SNS_STATUS_USER_REFUSE_MASK = 57  // initialising | busy
};

class SensorControllerDetail;
struct ControllerMemo;

class SNS_API ISensorController {
public:
    ISensorController();
    ~ISensorController();
    ISensorController(const ISensorController&) = delete;
    ISensorController& operator=(const ISensorController&) = delete;

    // ---- Lifecycle (host thread) ----
    void setChannelID(int p_nChannelID);
    void setVideoStreamModule(const VideoStreamModule* p_pModule);
    bool init(const ModuleConfigure& p_objModuleConfigure);
    void uinit();

    // ---- Status (any thread, no lock) ----
    u32 getSensorType();
    bool getSensorStatus();
    int paramCheck();
    void printDebugMsg();

    // ---- Parameter pipeline (callers hold m_objMutex unless stated) ----
    int setParameters(KeyVal* p_pKeyval, u32 p_nCount, bool p_bSave);
    int setParameter(int p_nKey, int p_nVal, bool p_bSave);  // locks
    bool getParameter(int p_nKey, int& p_nVal);              // locks
    int setKeyValToCache(u32 p_nScheme, u32 p_nKey, u32 p_nVal, bool p_bAnyRow);
    int getKeyValFromCache(u32 p_nScheme, u32 p_nKey, u32& p_nVal);
    bool isKeyValSame(const KeyVal& p_stKeyVal);
    int findFromKeyCmdMap(const keycmd* p_pMap, u32 p_nKey, keycmd& p_stOut);
    bool getCmdExecStatus(int p_nCmd, int& p_nStatus);
    int notifyToVideo(int p_nKey, int p_nVal);

    // ---- Handlers of the key/command table: (IA command, option, value) ----
    int doIaCmd(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIaCmdShutter(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIaCmd_User(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIoCrtl(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doHwdr(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doDIS(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doImageAdjust(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIaCmd_PanoTuning(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int test_debugParam(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doDNThr(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doDNTime(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doMirror(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doBeaway(u32 p_nKey, u32 p_nDir, void* p_pVal);

    // ---- Show flags ----
    void setShowWDRFalg(bool p_bShow);
    bool getShowWDRFalg(bool& p_bShow);
    void setShowBeawayFalg(bool p_bShow);
    bool getShowBeawayFalg(bool& p_bShow);

    // ---- Parameter text ----
    bool parseSensorParameter(const std::string& p_strIds, std::vector<std::string>& p_vecOut);
    int setParameters(const std::string& p_strParams, bool p_bSave);  // locks
    bool getParameters(const std::string& p_strIds, std::string& p_strOut);
    bool getAllParameters(std::string& p_strOut);  // locks

    // ---- Schemes (host thread; switch_to/LPR_switch_to also the sensor thread) ----
    int switch_to(int p_nScheme, bool p_bFull);
    int LPR_switch_to(int p_nScheme);
    bool setParamScheme(int p_nScheme);
    bool getParamScheme(int& p_nScheme);
    bool setParamMode(int p_nMode);
    bool getParamMode(int& p_nMode);
    int restore(int p_nKey);
    bool restoreAeMode();
    bool resetToLastParameters();
    int flush();
    bool resetParameters();

    // ---- Sensor thread ----
    int sensorThread();
    int judgeCurScheme(int& nScheme, int& nSchedule);
    bool sync_fov();

    // ---- UI queries ----
    std::string getUIStyleFile();
    std::string getUICommonFile(int p_nId);
    std::string getUILanguageFile(int p_nId);
    bool getSensorParamRange(int p_nCmd, int& p_nDefault, std::string& p_strRange);

    // ---- Lens, iris and shutter (host thread, no lock) ----
    bool focusFar();
    bool focusNear();
    bool irisUp();
    bool irisDown();
    bool zoomIn();
    bool zoomOut();
    bool setZoomValue(int p_nValue);
    bool getZoomValue(int& p_nPosition, int& p_nRatio);
    bool setPTZRunState(int p_nState);
    bool setFocusValue(int p_nValue);
    bool getFocusValue(int& p_nValue);
    bool setFocusMode(int p_nMode);
    bool getFocusMode(int& p_nMode);
    bool getIrisValue(int& p_nValue);
    bool setIrisValue(int p_nValue);
    bool getCameraVerInf(std::string& p_strVersion);
    bool getShutterValue(int& p_nIndex);
    bool setShutterValue(int p_nIndex);
    bool shutterUp();
    bool shutterDown();
    int getSensorZoomFocusParam(SensorZoomFocusParam& p_objParam);
    int setSensorZoomFocusParam(SensorZoomFocusParam& p_objParam);
    int SensorCheck(std::string& p_strText);

    // ---- Feature accessors ----
    bool getDNMode(int& p_nVal);
    bool setDNMode(int p_nVal);
    bool getWDRSwitch(int& p_nVal);
    bool setWDRSwitch(int& p_nVal);
    bool getHLCSwitch(int& p_nVal);
    bool setHLCSwitch(int& p_nVal);
    bool getBLCSwitch(int& p_nVal);
    bool setBLCSwitch(int& p_nVal);
    bool getDefogSwitch(int& p_nVal);
    bool setDefogSwitch(int& p_nVal);
    bool getWDRStrength(int& p_nVal);
    bool setWDRStrength(int& p_nVal);
    bool getHLCStrength(int& p_nVal);
    bool setHLCStrength(int& p_nVal);
    bool getBLCStrength(int& p_nVal);
    bool setBLCStrength(int& p_nVal);
    bool getDefogStrength(int& p_nVal);
    bool setDefogStrength(int& p_nVal);
    bool get2DSwitch(int& p_nVal);
    bool set2DSwitch(int& p_nVal);
    bool get3DSwitch(int& p_nVal);
    bool set3DSwitch(int& p_nVal);
    bool get2DMode(int& p_nVal);
    bool set2DMode(int& p_nVal);
    bool get3DMode(int& p_nVal);
    bool set3DMode(int& p_nVal);
    bool get2DAutoMaxStrength(int& p_nVal);
    bool set2DAutoMaxStrength(int& p_nVal);
    bool get3DAutoMaxStrength(int& p_nVal);
    bool set3DAutoMaxStrength(int& p_nVal);
    bool get2DManualMaxStrength(int& p_nVal);
    bool set2DManualMaxStrength(int& p_nVal);
    bool get3DManualMaxStrength(int& p_nVal);
    bool set3DManualMaxStrength(int& p_nVal);
    bool getBeaway(int& p_nVal);
    bool setBeaway(int& p_nVal);  // returns false whatever the outcome
    bool getMirrorValue(int& p_nVal);
    bool setMirrorMode(int p_nVal);
    bool setWhiteMode(int p_nVal);
    bool setLightType(int p_nVal);
    bool setIRSwitch(int p_nOn);
    bool setWhiteSwitch(int p_nOn);
    bool getIRSwitch(int& p_nVal);
    bool getWhiteSwitch(int& p_nVal);
    bool getWhiteMode(int& p_nVal);
    bool getLightType(int& p_nVal);
    bool getWDR(int& p_nVal);
    bool setDNState(int p_nVal);
    bool getDNState(int& p_nVal);
    bool getAFStatistic(unsigned int& p_nVal);
    bool getHeatStatus(bool& p_bVal);
    bool getTempValue(int& p_nVal);
    bool setExposureStrategy(int& p_nVal);

    // Class-wide field-of-view request for channel 1's sensor thread
    // (accessed atomically).
    static int m_nChanneldDosomething;
    static int m_nPassKeycmd;

private:
    // The controller's internal steps (start-up, pipeline, scheme rows),
    // defined with the library's sources.
    friend class SensorControllerDetail;

    SysConfig m_stSysConf;
    int m_nCameraID;
    PKMutex m_objMutex;
    GThread* m_pSensorThread;
    int m_nLastScheme;
    int m_nCurScheme;
    int m_nParamMode;
    KeyVal** m_ppUserKeyVal;
    KeyVal* m_pstKeyValTmp;
    KeyVal* m_pFctKeyVal;
    u32 m_nKeyValSum;
    KeyVal* m_pstKeyValBuf;
    keycmd* m_pKeyCmdMap;
    u32 m_nVersion;
    const VideoStreamModule* m_pVideoStreamModule;
    MachineInfo m_objMachineInfo;
    u32 m_nStatusFlag;  // accessed atomically
    u32 m_nKeyCmdSum;
    u32 m_nLastTimeMatch;
    bool m_bLPRMode;
    bool m_bShowWDRFalg;
    bool m_bTimeSwitch;  // accessed atomically
    bool m_bDNSwitch;    // accessed atomically
    bool m_bisLimitedIrPower;
    bool m_bHasLens;
    bool m_bShutterUnlock;  // accessed atomically
    bool m_bIsThermal;
    SensorZoomFocusParam m_objZoomFocusParam;  // accessed atomically
    // Ends the sensor thread's pause when the thread is stopped.
    PelkorWakeup m_objWakeup;
    // What the controller keeps to avoid repeating work (key positions,
    // parsed documents); owned.
    ControllerMemo* m_pMemo;
};

#endif
