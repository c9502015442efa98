// Value correction: the image-algorithm library corrects the stored values
// of its dynamic parameters in place.
#define SNS_SOURCE_FILE "SensorKeyVal"

#include <string.h>

#include "IaInterface.h"
#include "SensorDebug.h"
#include "SensorKeyVal/KeyValSearch.h"

int keyval_correct(int p_nChannel_id, KeyVal* p_pKeyval, u32 p_nKeyValNum)
{
    SNS_ASSERT(SNS_AT(50), NULL != p_pKeyval, "NULL != p_pKeyval", "");
    if (p_pKeyval == nullptr) return -1;

    ia_dynamic_params_cmds_st dnaCmdList;
    memset(&dnaCmdList, 0, sizeof(dnaCmdList));
    const int nListRet =
        ia_ioctrl_v2(p_nChannel_id, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, (void*)(&dnaCmdList));
    SNS_ASSERT(SNS_AT(63), SNS_SUCCESS == nListRet,
               "SNS_SUCCESS == ia_ioctrl_v2(p_nChannel_id, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "
               "IA_CMD_OPT_GET, (void*)(&dnaCmdList))",
               "");
    // A failed query counts as an empty list; the count is bounded to the record.
    int nCmdCount = nListRet == SNS_SUCCESS ? dnaCmdList.cmd_cnt : 0;
    if (nCmdCount < 0) nCmdCount = 0;
    if (nCmdCount > IA_DYNAMIC_CMDS_MAX) nCmdCount = IA_DYNAMIC_CMDS_MAX;

    for (int i = 0; i < nCmdCount; ++i) {
        const int index = findKeyVal(p_pKeyval, p_nKeyValNum, static_cast<u32>(dnaCmdList.cmd_list[i]));
        if (index < 0) {
            snsAssertNote(SNS_AT(80), "cmd_list[%d]=%d\n", i, dnaCmdList.cmd_list[i]);
            continue;
        }
        snsDbg(SNS_AT(73), "before correct: (%d,%d)\n", p_pKeyval[index].key, p_pKeyval[index].value);
        SNS_ASSERT(SNS_AT(74),
                   SNS_SUCCESS == ia_ioctrl_v2(p_nChannel_id, static_cast<int32_t>(p_pKeyval[index].key),
                                               IA_CMD_OPT_CORRECT_PARAM, &p_pKeyval[index].value),
                   "SNS_SUCCESS == ia_ioctrl_v2(p_nChannel_id, (ia_cmd_e)p_pKeyval[index].key, "
                   "IA_CMD_OPT_CORRECT_PARAM, &p_pKeyval[index].value)",
                   "");
        snsDbg(SNS_AT(75), "after correct: (%d,%d)\n", p_pKeyval[index].key, p_pKeyval[index].value);
    }
    return 0;
}
