// Factory reset of one channel: apply the factory scheme, delete the
// channel's parameter files and rebuild the controller from factory files.
#define SNS_SOURCE_FILE "ISensorController"

#include <string.h>

#include <list>

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/SchemeFiles.h"
#include "PKMutexManager.h"
#include "SensorDebug.h"
#include "SySystem.h"

namespace {

// From this debug level on the reset reads the module configuration anew.
const int kModuleReloadLevel = 6;

}  // namespace

bool ISensorController::resetParameters()
{
    SNS_LOCK_GUARD(m_objMutex);
    atomicOr(m_nStatusFlag, SNS_STATUS_RESETTING);
    // Without an earlier init there is no factory row to apply.
    if (m_ppUserKeyVal != nullptr) {
        SNS_ASSERT(SNS_HERE, SNS_SUCCESS == switch_to((int)m_stSysConf.nSchemeSum, false),
                   "SNS_SUCCESS == switch_to(m_stSysConf.nSchemeSum)", "m_stSysConf.nSchemeSum(%d)\n",
                   m_stSysConf.nSchemeSum);
    }
    char szCmd[256];
    memset(szCmd, 0, sizeof(szCmd));
    schemeRemoveCommand(szCmd, sizeof(szCmd), m_nCameraID, m_bIsThermal);
    sy_system(szCmd, 30);
    uinit();

    ModuleConfigure objModuleConfigure;
    detail(*this).resetModuleConfigure(objModuleConfigure);
    SNS_ASSERT(SNS_HERE, init(objModuleConfigure), "init(objModuleConfigure)", "");
    m_nCurScheme = 0;
    atomicAndNot(m_nStatusFlag, SNS_STATUS_RESETTING);
    return true;
}

void SensorControllerDetail::resetModuleConfigure(ModuleConfigure& p_objModuleConfigure)
{
    // The copy held since the last init is also the fallback when the
    // module configuration document yields nothing.
    const ModuleConfig& stHeld = c.m_stSysConf.moduleConfig;
    p_objModuleConfigure.setDetail(stHeld.szDetail);
    p_objModuleConfigure.setModuleId(stHeld.nModuleId);
    p_objModuleConfigure.setParameters(stHeld.szParameters);
    if (atomicGet(g_nDebugLevel) < kModuleReloadLevel) return;

    MachineInfo objMachineInfo;
    SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, objMachineInfo);
    std::list<ModuleConfigure> lstModules;
    ModuleConfigureParser::parse(SNS_PATH_MODULE_CONFIG, objMachineInfo.getHardwareModel(),
                                 objMachineInfo.getHardwareCode(), lstModules);
    if (lstModules.empty()) return;
    const ModuleConfigure& objFirst = lstModules.front();
    p_objModuleConfigure.setModuleId(objFirst.getModuleId());
    p_objModuleConfigure.setDetail(objFirst.getDetail());
    p_objModuleConfigure.setParameters(objFirst.getParameters());
}
