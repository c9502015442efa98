// A process that never calls iasim::reset() answers from the default profile
// (CTest runs each test in a process of its own).
#include <gtest/gtest.h>

#include "IaInterface.h"
#include "SensorTypes.h"

TEST(IaSimStart, FirstCallSeesTheDefaultProfile)
{
    ia_dynamic_params_cmds_st stList = {};
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &stList));
    EXPECT_GT(stList.cmd_cnt, 0);
}
