// The entry of the simulated image-algorithm library: ia_ioctrl_v2 with its
// value store, attribute queries, correction and scripted failures.
#include <string.h>

#include <algorithm>

#include "IaInterface.h"
#include "SimState.h"

namespace iasim {

namespace {

// Commands that only answer a GET; their data is no u32 to store.
const int READ_ONLY_CMDS[] = {IA_CMD_CAMERA_VERSION, IA_CMD_DYNAMIC_PARAMS_CMDS_GET};

// Sensor check record: three inputs, then the result.
const size_t SENSOR_CHECK_RESULT_WORD = 3;

bool isReadOnly(int p_nCmd)
{
    for (int nCmd : READ_ONLY_CMDS)
        if (nCmd == p_nCmd) return true;
    return false;
}

uint32_t readWord(const void* p_pData, size_t p_nIndex)
{
    uint32_t nWord = 0;
    memcpy(&nWord, static_cast<const char*>(p_pData) + p_nIndex * sizeof(uint32_t), sizeof(nWord));
    return nWord;
}

void writeWord(void* p_pData, size_t p_nIndex, uint32_t p_nWord)
{
    memcpy(static_cast<char*>(p_pData) + p_nIndex * sizeof(uint32_t), &p_nWord, sizeof(p_nWord));
}

// The call log's value: the first word of the data after the call, except
// for the list, range and version queries, whose data is no value.
uint32_t loggedValue(int p_nCmd, int p_nOpt, const void* p_pData)
{
    if (p_nOpt == IA_CMD_OPT_SET || p_nOpt == IA_CMD_OPT_GET)
        return isReadOnly(p_nCmd) ? 0 : readWord(p_pData, 0);
    if (p_nOpt == IA_CMD_OPT_CORRECT_PARAM || p_nOpt == IA_CMD_OPT_EXEC_STATUS) return readWord(p_pData, 0);
    return 0;
}

void logCall(SimState& p_stState, const IaCall& p_stCall)
{
    p_stState.m_deqCalls.push_back(p_stCall);
    if (p_stState.m_deqCalls.size() > SIM_CALL_LOG_MAX) p_stState.m_deqCalls.pop_front();
}

// A scripted failure for this call: consumes one of its times and gives
// its status. A script for the very option wins over one for every option.
bool takeFailure(SimState& p_stState, int p_nCmd, int p_nOpt, int32_t& p_nStatus)
{
    auto it = p_stState.m_mapFailures.find(std::make_pair(p_nCmd, p_nOpt));
    if (it == p_stState.m_mapFailures.end()) it = p_stState.m_mapFailures.find(std::make_pair(p_nCmd, -1));
    if (it == p_stState.m_mapFailures.end()) return false;
    p_nStatus = it->second.m_nStatus;
    if (it->second.m_nTimes > 0 && --it->second.m_nTimes == 0) p_stState.m_mapFailures.erase(it);
    return true;
}

int32_t setCmd(SimState& p_stState, int p_nChannel, int p_nCmd, const void* p_pData)
{
    if (isReadOnly(p_nCmd)) return -1;
    std::vector<uint32_t> vecWords(recordWords(p_nCmd));
    for (size_t i = 0; i < vecWords.size(); ++i) vecWords[i] = readWord(p_pData, i);
    p_stState.m_mapValues[p_nChannel][p_nCmd] = vecWords;
    return 0;
}

uint32_t defaultValue(const SimState& p_stState, int p_nCmd)
{
    const auto itAttr = p_stState.m_mapAttrs.find(p_nCmd);
    if (itAttr != p_stState.m_mapAttrs.end()) return static_cast<uint32_t>(itAttr->second.default_value);
    const auto itDefault = p_stState.m_mapDefaults.find(p_nCmd);
    return itDefault == p_stState.m_mapDefaults.end() ? 0 : itDefault->second;
}

void getDynamicList(const SimState& p_stState, void* p_pData)
{
    ia_dynamic_params_cmds_st stList;
    memset(&stList, 0, sizeof(stList));
    for (int nCmd : p_stState.m_vecDynamicCmds) {
        if (stList.cmd_cnt == IA_DYNAMIC_CMDS_MAX) break;  // the record holds 16
        stList.cmd_list[stList.cmd_cnt++] = nCmd;
    }
    memcpy(p_pData, &stList, sizeof(stList));
}

void getVersion(const SimState& p_stState, void* p_pData)
{
    memset(p_pData, 0, IA_CAMERA_VERSION_LEN);
    memcpy(p_pData, p_stState.m_strVersion.data(),
           std::min(p_stState.m_strVersion.size(), SIM_VERSION_TEXT_MAX));
}

int32_t getCmd(const SimState& p_stState, int p_nChannel, int p_nCmd, void* p_pData)
{
    if (p_nCmd == IA_CMD_DYNAMIC_PARAMS_CMDS_GET) {
        getDynamicList(p_stState, p_pData);
    } else if (p_nCmd == IA_CMD_CAMERA_VERSION) {
        getVersion(p_stState, p_pData);
    } else if (p_nCmd == IA_CMD_SENSOR_CHECK) {
        writeWord(p_pData, SENSOR_CHECK_RESULT_WORD, static_cast<uint32_t>(p_stState.m_nSensorCheckResult));
    } else {
        const auto& mapValues = p_stState.m_mapValues[p_nChannel];
        const auto it = mapValues.find(p_nCmd);
        const size_t nWords = recordWords(p_nCmd);
        // A record never set reads as zeros; an ordinary command as its default.
        for (size_t i = 0; i < nWords; ++i) {
            uint32_t nWord = (i == 0 && nWords == 1) ? defaultValue(p_stState, p_nCmd) : 0;
            if (it != mapValues.end() && i < it->second.size()) nWord = it->second[i];
            writeWord(p_pData, i, nWord);
        }
    }
    return 0;
}

int32_t getRange(const SimState& p_stState, int p_nCmd, void* p_pData)
{
    const auto it = p_stState.m_mapAttrs.find(p_nCmd);
    if (it == p_stState.m_mapAttrs.end()) return -1;
    memcpy(p_pData, &it->second, sizeof(it->second));
    return 0;
}

// List: the nearest item (the lower one on a tie); no items: unchanged.
// Any other type: clamped to [min, max].
uint32_t correctedValue(const ia_dynamic_params_attr_st& p_stAttr, uint32_t p_nValue)
{
    const int64_t nValue = p_nValue;
    if (p_stAttr.attr_type != 0) {
        if (nValue < p_stAttr.min_value) return static_cast<uint32_t>(p_stAttr.min_value);
        if (nValue > p_stAttr.max_value) return static_cast<uint32_t>(p_stAttr.max_value);
        return p_nValue;
    }
    const int nCount = std::min(std::max(p_stAttr.items_cnt, 0), IA_DYNAMIC_ITEMS_MAX);
    if (nCount == 0) return p_nValue;
    int64_t nBest = p_stAttr.item[0];
    for (int i = 1; i < nCount; ++i) {
        const int64_t nItem = p_stAttr.item[i];
        const int64_t nDist = nItem > nValue ? nItem - nValue : nValue - nItem;
        const int64_t nBestDist = nBest > nValue ? nBest - nValue : nValue - nBest;
        if (nDist < nBestDist || (nDist == nBestDist && nItem < nBest)) nBest = nItem;
    }
    return static_cast<uint32_t>(static_cast<int32_t>(nBest));
}

int32_t correctCmd(const SimState& p_stState, int p_nCmd, void* p_pData)
{
    const auto it = p_stState.m_mapAttrs.find(p_nCmd);
    if (it != p_stState.m_mapAttrs.end()) writeWord(p_pData, 0, correctedValue(it->second, readWord(p_pData, 0)));
    return 0;
}

int32_t execStatus(const SimState& p_stState, int p_nCmd, void* p_pData)
{
    const auto it = p_stState.m_mapExecStatus.find(p_nCmd);
    const int32_t nStatus = it == p_stState.m_mapExecStatus.end() ? 0 : it->second;
    memcpy(p_pData, &nStatus, sizeof(nStatus));
    return 0;
}

int32_t dispatch(SimState& p_stState, int p_nChannel, int p_nCmd, int p_nOpt, void* p_pData)
{
    switch (p_nOpt) {
    case IA_CMD_OPT_SET: return setCmd(p_stState, p_nChannel, p_nCmd, p_pData);
    case IA_CMD_OPT_GET: return getCmd(p_stState, p_nChannel, p_nCmd, p_pData);
    case IA_CMD_OPT_GET_PARAM_RNAGE: return getRange(p_stState, p_nCmd, p_pData);
    case IA_CMD_OPT_CORRECT_PARAM: return correctCmd(p_stState, p_nCmd, p_pData);
    case IA_CMD_OPT_EXEC_STATUS: return execStatus(p_stState, p_nCmd, p_pData);
    default: return -1;
    }
}

}  // namespace

}  // namespace iasim

// A bad channel, null data or unknown option gives -1; such calls are logged
// too (value 0), so tests can see what the library really sent.
extern "C" IA_SIM_API int32_t ia_ioctrl_v2(int32_t channel, int32_t cmd, int32_t opt, void* data)
{
    using namespace iasim;
    SimState& stState = simState();
    std::lock_guard<std::mutex> objLock(stState.m_objMutex);
    if (channel < 0 || channel >= SIM_CHANNEL_COUNT || data == nullptr) {
        logCall(stState, IaCall{channel, cmd, opt, 0});
        return -1;
    }
    int32_t nStatus = -1;
    if (!takeFailure(stState, cmd, opt, nStatus)) nStatus = dispatch(stState, channel, cmd, opt, data);
    logCall(stState, IaCall{channel, cmd, opt, loggedValue(cmd, opt, data)});
    return nStatus;
}
