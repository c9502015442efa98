// Simulated image-algorithm library: defines ia_ioctrl_v2 for PC builds and
// offers this control API to tests, demos and the host tool. All functions
// are thread-safe.
#ifndef IA_SIM_H
#define IA_SIM_H

#include <stdint.h>

#include <string>
#include <vector>

#include "SensorTypes.h"

#define IA_SIM_API __attribute__((visibility("default")))

namespace iasim {

// One call of ia_ioctrl_v2. `value` is the u32 the data pointer held after
// the call for SET/GET/CORRECT/EXEC_STATUS of an ordinary command, the first
// int32 of the record for 2816, and 0 for the list and range queries.
struct IaCall {
    int channel;
    int cmd;
    int opt;
    uint32_t value;
};

// Back to the default profile: empty value stores, the default dynamic
// command list and attributes, no scripted failures, empty call log.
IA_SIM_API void reset();

// Value store, per channel (0-based). GET answers the stored value, else the
// command's default (its attribute default for commands with an attribute,
// else the profile's value, else 0).
IA_SIM_API void setValue(int p_nChannel, int p_nCmd, uint32_t p_nValue);
IA_SIM_API bool getValue(int p_nChannel, int p_nCmd, uint32_t& p_nValue);  // false: never set
// All words last SET for a record command (145, 146, 154: three; 149 to 152
// and the sensor check 2816: four); getValue gives the first. False: never set.
IA_SIM_API bool getRecord(int p_nChannel, int p_nCmd, std::vector<uint32_t>& p_vecWords);
IA_SIM_API void clearValues();

// Dynamic commands (all channels alike): the list and per-command attributes.
IA_SIM_API void setDynamicCommands(const std::vector<int>& p_vecCmds);
IA_SIM_API std::vector<int> dynamicCommands();
IA_SIM_API void setAttr(int p_nCmd, const ia_dynamic_params_attr_st& p_stAttr);
// Convenience: a list attribute (type 0) with the given default and items;
// min/max are the first/last item.
IA_SIM_API void setListAttr(int p_nCmd, int p_nDefault, const std::vector<int>& p_vecItems);
// A range attribute (type 1) with default, min and max, no items.
IA_SIM_API void setRangeAttr(int p_nCmd, int p_nDefault, int p_nMin, int p_nMax);
IA_SIM_API bool getAttr(int p_nCmd, ia_dynamic_params_attr_st& p_stAttr);

// Execution status answered by IA_CMD_OPT_EXEC_STATUS (default 0).
IA_SIM_API void setExecStatus(int p_nCmd, int p_nStatus);
// Camera version text (command 2496), at most 49 characters.
IA_SIM_API void setVersionText(const std::string& p_strText);
// Result field written by the sensor check (command 2816) on GET.
IA_SIM_API void setSensorCheckResult(int p_nResult);

// Scripted failures: command (any channel, any option unless p_nOpt >= 0)
// fails p_nTimes times (-1: always) with p_nStatus; nothing is stored then.
IA_SIM_API void failCommand(int p_nCmd, int p_nTimes, int p_nStatus = -1, int p_nOpt = -1);
IA_SIM_API void clearFailures();

// Call log, oldest first (bounded to the last 10000 calls).
IA_SIM_API std::vector<IaCall> calls();
// The log and its emptying in one step, so that a reader that keeps its own
// journal loses no call made in between.
IA_SIM_API std::vector<IaCall> takeCalls();
IA_SIM_API void clearCalls();
// The SET calls of one command, in order.
IA_SIM_API std::vector<uint32_t> setValuesOf(int p_nCmd);

}  // namespace iasim

#endif
