// The controller's internal steps: start-up helpers, the steps of the
// parameter pipeline, the scheme rows and the sensor thread's helpers. They
// work on the controller's members and are no part of its contract.
#ifndef CONTROLLER_DETAIL_H
#define CONTROLLER_DETAIL_H

#include <stddef.h>

#include <string>

#include "ISensorController.h"

class SensorControllerDetail {
public:
    explicit SensorControllerDetail(ISensorController& p_objCtrl) : c(p_objCtrl) {}

    // Rows of the parameter cache: user schemes 0 .. nSchemeSum - 1 (each
    // with a parameter file), then the factory row nSchemeSum.
    bool isUserScheme(u32 p_nScheme) const;
    bool hasSchemeRow(u32 p_nScheme) const;
    KeyVal* schemeRow(u32 p_nScheme) const;
    KeyVal* factoryRow() const;

    // Init (Init.cpp, KeyCmdTable.cpp) and the factory reset (FactoryReset.cpp).
    void buildKeyCmdMap();
    // Row index of the key in the table (findFromKeyCmdMap without the copy).
    int keyCmdRow(const keycmd* p_pMap, u32 p_nKey);
    bool buildSchemeCache();
    void readCapabilities(int p_nDeviceType);
    void loadSchemeFiles(char* p_szPath, size_t p_nSize);
    KeyVal* newSchemeFileImage(int p_nScheme);
    void switchModesFromScheme0();
    void settleShowOptions(const std::string& p_strHardwareModel);
    void resetModuleConfigure(ModuleConfigure& p_objModuleConfigure);

    // Scheme requests (Schemes.cpp) and the sensor thread (SensorThread.cpp).
    void waitWhileBusy();
    int dayNightScheme();
    void serveFovRequest();

    // Steps of setParameters (Pipeline.cpp).
    enum PipeStep { PIPE_CACHE, PIPE_SKIP, PIPE_STOP };
    PipeStep routeEntry(KeyVal* p_pKeyval, u32 p_nIndex, int& p_nStop);
    void applySchemeMode(u32 p_nVal);
    u32 setSwitchModes(u32 p_nMode);
    bool routeThermalKey(KeyVal& p_stEntry);
    PipeStep applyGeneral(KeyVal* p_pKeyval, u32 p_nIndex, int& p_nStop);
    bool irBudgetRefuses(u32 p_nKey, u32 p_nVal);
    bool resolveLampTarget(u32 p_nKey, u32 p_nVal, u32& p_nTarget);
    int callKeyHandler(KeyVal* p_pKeyval, u32 p_nIndex, u32 p_nTarget);
    // isKeyValSame with p_nHint, where the key sits in a scheme row when the record is one.
    bool isKeyValSameAt(const KeyVal& p_stKeyVal, u32 p_nHint);
    // First index from p_nFrom whose record is not the cached value (isKeyValSame).
    u32 skipCachedRun(const KeyVal* p_pKeyval, u32 p_nFrom, u32 p_nCount);

    // getAllParameters (UiQueries.cpp).
    bool readStyleShutter(const char* p_szFile, int& p_nShutter);

    // State that no operation of the contract exposes: the status bits, the
    // capability and switching flags, the configuration and the thread.
    u32& statusFlag() { return c.m_nStatusFlag; }
    bool& timeSwitch() { return c.m_bTimeSwitch; }
    bool& dnSwitch() { return c.m_bDNSwitch; }
    bool& lprMode() { return c.m_bLPRMode; }
    bool& showWdr() { return c.m_bShowWDRFalg; }
    bool& limitedIrPower() { return c.m_bisLimitedIrPower; }
    bool& hasLens() { return c.m_bHasLens; }
    bool& shutterUnlock() { return c.m_bShutterUnlock; }
    bool& isThermal() { return c.m_bIsThermal; }
    int cameraId() const { return c.m_nCameraID; }
    int lastScheme() const { return c.m_nLastScheme; }
    SysConfig& sysConf() { return c.m_stSysConf; }
    PKMutex& mutex() { return c.m_objMutex; }
    GThread* sensorThread() { return c.m_pSensorThread; }
    MachineInfo& machineInfo() { return c.m_objMachineInfo; }
    u32 keyValSum() const { return c.m_nKeyValSum; }
    const KeyVal* fctKeyVal() const { return c.m_pFctKeyVal; }
    keycmd* keyCmdMap() { return c.m_pKeyCmdMap; }
    u32 keyCmdSum() const { return c.m_nKeyCmdSum; }
    // What the controller keeps so as not to repeat work (ControllerMemo.h).
    ControllerMemo& memo() { return *c.m_pMemo; }

private:
    ISensorController& c;
};

inline SensorControllerDetail detail(ISensorController& p_objCtrl)
{
    return SensorControllerDetail(p_objCtrl);
}

#endif
