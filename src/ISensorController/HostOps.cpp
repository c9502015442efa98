// Helpers shared by the host-facing operations.
#define SNS_SOURCE_FILE "ISensorController"

#include "HostOps.h"

#include <stdio.h>
#include <string.h>

#include "IaInterface.h"

namespace {

// Every record a command of the image-algorithm library carries.
union IaRecordRoom {
    u32 nValue;
    ia_dynamic_params_cmds_st stList;
    ia_dynamic_params_attr_st stAttr;
    dn_thr_st stThreshold;
    dn_time_st stTime;
    char szVersion[IA_CAMERA_VERSION_LEN];
    int32_t anSensorCheck[4];
};

}  // namespace

namespace hostops {

bool iaSet(ISensorController& p_objCtrl, u32 p_nCmd, u32 p_nValue)
{
    return p_objCtrl.doIaCmd(p_nCmd, IA_CMD_OPT_SET, &p_nValue) == SNS_SUCCESS;
}

bool iaGet(ISensorController& p_objCtrl, u32 p_nCmd, void* p_pData)
{
    return p_objCtrl.doIaCmd(p_nCmd, IA_CMD_OPT_GET, p_pData) == SNS_SUCCESS;
}

int iaOneValue(ISensorController& p_objCtrl, u32 p_nCmd, u32 p_nOpt, u32& p_nValue)
{
    IaRecordRoom unRoom;
    memset(&unRoom, 0, sizeof(unRoom));
    unRoom.nValue = p_nValue;
    const int nRet = p_objCtrl.doIaCmd(p_nCmd, p_nOpt, &unRoom);
    p_nValue = unRoom.nValue;
    return nRet;
}

bool setCached(ISensorController& p_objCtrl, int p_nKey, int p_nValue)
{
    return p_objCtrl.setParameter(p_nKey, p_nValue, true) == SNS_SUCCESS;
}

void printIdListFailure(int p_nLine, const std::string& p_strIds)
{
    printf("%s%d getParameters fail p_strIds = %s \n", SNS_SOURCE_FILE, p_nLine, p_strIds.c_str());
}

}  // namespace hostops
