// The simulator's single state and the record helpers shared by its parts.
#include "SimState.h"

#include <string.h>

namespace iasim {

namespace {

// Commands whose SET/GET data is a record of several u32 instead of one.
struct RecordCmd {
    int m_nFirst;
    int m_nLast;
    size_t m_nWords;
};

const RecordCmd RECORD_CMDS[] = {
    {145, 146, sizeof(dn_thr_st) / sizeof(u32)},
    {154, 154, sizeof(dn_thr_st) / sizeof(u32)},
    {149, 152, sizeof(dn_time_st) / sizeof(u32)},
    {2816, 2816, 4},  // sensor check: three inputs and the result
};

}  // namespace

// A process starts on the default profile, as a camera's library answers
// from its first call.
static SimState* newDefaultState()
{
    SimState* pState = new SimState();
    loadDefaultProfile(*pState);
    return pState;
}

SimState& simState()
{
    static SimState* s_pState = newDefaultState();
    return *s_pState;
}

size_t recordWords(int p_nCmd)
{
    for (const RecordCmd& stCmd : RECORD_CMDS)
        if (p_nCmd >= stCmd.m_nFirst && p_nCmd <= stCmd.m_nLast) return stCmd.m_nWords;
    return 1;
}

ia_dynamic_params_attr_st makeListAttr(int p_nDefault, const std::vector<int>& p_vecItems)
{
    ia_dynamic_params_attr_st stAttr;
    memset(&stAttr, 0, sizeof(stAttr));
    stAttr.attr_type = 0;
    stAttr.default_value = p_nDefault;
    size_t nCount = p_vecItems.size();
    if (nCount > IA_DYNAMIC_ITEMS_MAX) nCount = IA_DYNAMIC_ITEMS_MAX;  // the record holds 64
    for (size_t i = 0; i < nCount; ++i) stAttr.item[i] = p_vecItems[i];
    stAttr.items_cnt = static_cast<int32_t>(nCount);
    if (nCount > 0) {
        stAttr.min_value = stAttr.item[0];
        stAttr.max_value = stAttr.item[nCount - 1];
    }
    return stAttr;
}

ia_dynamic_params_attr_st makeRangeAttr(int p_nDefault, int p_nMin, int p_nMax)
{
    ia_dynamic_params_attr_st stAttr;
    memset(&stAttr, 0, sizeof(stAttr));
    stAttr.attr_type = 1;
    stAttr.default_value = p_nDefault;
    stAttr.min_value = p_nMin;
    stAttr.max_value = p_nMax;
    return stAttr;
}

}  // namespace iasim
