// Helpers shared by the host-facing operations.
#define SNS_SOURCE_FILE "ISensorController"

#include "HostOps.h"

#include <stdio.h>

#include "IaInterface.h"

namespace hostops {

bool iaSet(ISensorController& p_objCtrl, u32 p_nCmd, u32 p_nValue)
{
    return p_objCtrl.doIaCmd(p_nCmd, IA_CMD_OPT_SET, &p_nValue) == SNS_SUCCESS;
}

bool iaGet(ISensorController& p_objCtrl, u32 p_nCmd, void* p_pData)
{
    return p_objCtrl.doIaCmd(p_nCmd, IA_CMD_OPT_GET, p_pData) == SNS_SUCCESS;
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
