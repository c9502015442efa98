// Inner state of the simulated image-algorithm library, shared by the entry
// (IaSim.cpp), the control API (SimControl.cpp) and the default profile
// (SimProfile.cpp). Every access holds SimState::m_objMutex.
#ifndef SIM_STATE_H
#define SIM_STATE_H

#include <stdint.h>

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "IaSim.h"

namespace iasim {

const int SIM_CHANNEL_COUNT = 8;
const size_t SIM_CALL_LOG_MAX = 10000;
const size_t SIM_VERSION_TEXT_MAX = 49;  // the caller's buffer is 50 bytes, zero-terminated

// One scripted failure: remaining count (negative: always) and status.
struct SimFailure {
    int m_nTimes;
    int m_nStatus;
};

struct SimState {
    std::mutex m_objMutex;
    // Per channel: command -> stored words (one for ordinary commands, the
    // whole record for the record commands).
    std::map<int, std::vector<uint32_t>> m_mapValues[SIM_CHANNEL_COUNT];
    // GET answers of commands neither stored nor dynamic (the profile's).
    std::map<int, uint32_t> m_mapDefaults;
    std::vector<int> m_vecDynamicCmds;
    std::map<int, ia_dynamic_params_attr_st> m_mapAttrs;
    std::map<int, int> m_mapExecStatus;
    std::string m_strVersion;
    int m_nSensorCheckResult = 0;
    // (command, option) -> failure; option -1 matches every option.
    std::map<std::pair<int, int>, SimFailure> m_mapFailures;
    std::deque<IaCall> m_deqCalls;
};

// The one instance; never destroyed, so controller threads still running at
// process exit do not meet a dead mutex.
SimState& simState();

// Loads the default profile into a cleared state (caller holds the mutex).
void loadDefaultProfile(SimState& p_stState);

// A list attribute from a default and items (at most 64 kept).
ia_dynamic_params_attr_st makeListAttr(int p_nDefault, const std::vector<int>& p_vecItems);
ia_dynamic_params_attr_st makeRangeAttr(int p_nDefault, int p_nMin, int p_nMax);

// Number of u32 words of a command's SET/GET data: 1 for ordinary commands.
size_t recordWords(int p_nCmd);

}  // namespace iasim

#endif
