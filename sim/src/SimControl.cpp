// Control API of the simulated image-algorithm library: configuration,
// value store access, scripted failures and the call log.
#include "SimState.h"

#include "IaInterface.h"

namespace iasim {

namespace {

typedef std::lock_guard<std::mutex> SimLock;

bool validChannel(int p_nChannel)
{
    return p_nChannel >= 0 && p_nChannel < SIM_CHANNEL_COUNT;
}

void clearValueStores(SimState& p_stState)
{
    for (auto& mapChannel : p_stState.m_mapValues) mapChannel.clear();
}

}  // namespace

void reset()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    clearValueStores(stState);
    stState.m_mapDefaults.clear();
    stState.m_vecDynamicCmds.clear();
    stState.m_mapAttrs.clear();
    stState.m_mapExecStatus.clear();
    stState.m_nSensorCheckResult = 0;
    stState.m_mapFailures.clear();
    stState.m_deqCalls.clear();
    loadDefaultProfile(stState);
}

void setValue(int p_nChannel, int p_nCmd, uint32_t p_nValue)
{
    if (!validChannel(p_nChannel)) return;
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_mapValues[p_nChannel][p_nCmd] = std::vector<uint32_t>(1, p_nValue);
}

bool getValue(int p_nChannel, int p_nCmd, uint32_t& p_nValue)
{
    if (!validChannel(p_nChannel)) return false;
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    const auto it = stState.m_mapValues[p_nChannel].find(p_nCmd);
    if (it == stState.m_mapValues[p_nChannel].end() || it->second.empty()) return false;
    p_nValue = it->second[0];
    return true;
}

bool getRecord(int p_nChannel, int p_nCmd, std::vector<uint32_t>& p_vecWords)
{
    if (!validChannel(p_nChannel)) return false;
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    const auto it = stState.m_mapValues[p_nChannel].find(p_nCmd);
    if (it == stState.m_mapValues[p_nChannel].end()) return false;
    p_vecWords = it->second;
    return true;
}

void clearValues()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    clearValueStores(stState);
}

void setDynamicCommands(const std::vector<int>& p_vecCmds)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_vecDynamicCmds = p_vecCmds;
}

std::vector<int> dynamicCommands()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    return stState.m_vecDynamicCmds;
}

void setAttr(int p_nCmd, const ia_dynamic_params_attr_st& p_stAttr)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_mapAttrs[p_nCmd] = p_stAttr;
}

void setListAttr(int p_nCmd, int p_nDefault, const std::vector<int>& p_vecItems)
{
    setAttr(p_nCmd, makeListAttr(p_nDefault, p_vecItems));
}

void setRangeAttr(int p_nCmd, int p_nDefault, int p_nMin, int p_nMax)
{
    setAttr(p_nCmd, makeRangeAttr(p_nDefault, p_nMin, p_nMax));
}

bool getAttr(int p_nCmd, ia_dynamic_params_attr_st& p_stAttr)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    const auto it = stState.m_mapAttrs.find(p_nCmd);
    if (it == stState.m_mapAttrs.end()) return false;
    p_stAttr = it->second;
    return true;
}

void setExecStatus(int p_nCmd, int p_nStatus)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_mapExecStatus[p_nCmd] = p_nStatus;
}

void setVersionText(const std::string& p_strText)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_strVersion = p_strText.substr(0, SIM_VERSION_TEXT_MAX);
}

void setSensorCheckResult(int p_nResult)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_nSensorCheckResult = p_nResult;
}

void failCommand(int p_nCmd, int p_nTimes, int p_nStatus, int p_nOpt)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    const std::pair<int, int> objKey(p_nCmd, p_nOpt < 0 ? -1 : p_nOpt);
    // Zero times withdraws the script; any negative count means always.
    if (p_nTimes == 0)
        stState.m_mapFailures.erase(objKey);
    else
        stState.m_mapFailures[objKey] = SimFailure{p_nTimes < 0 ? -1 : p_nTimes, p_nStatus};
}

void clearFailures()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_mapFailures.clear();
}

std::vector<IaCall> calls()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    return std::vector<IaCall>(stState.m_deqCalls.begin(), stState.m_deqCalls.end());
}

std::vector<IaCall> takeCalls()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    std::vector<IaCall> vecOut(stState.m_deqCalls.begin(), stState.m_deqCalls.end());
    stState.m_deqCalls.clear();
    return vecOut;
}

void clearCalls()
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    stState.m_deqCalls.clear();
}

std::vector<uint32_t> setValuesOf(int p_nCmd)
{
    SimState& stState = simState();
    SimLock objLock(stState.m_objMutex);
    std::vector<uint32_t> vecValues;
    for (const IaCall& stCall : stState.m_deqCalls)
        if (stCall.cmd == p_nCmd && stCall.opt == IA_CMD_OPT_SET) vecValues.push_back(stCall.value);
    return vecValues;
}

}  // namespace iasim
