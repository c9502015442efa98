// Simulated image-algorithm library: store, dynamic attributes, correction,
// special commands, scripted failures and the call log.
#include <string.h>

#include <thread>

#include "IaInterface.h"
#include "IaSim.h"
#include "SensorKeys.h"
#include "TestSupport.h"

namespace {

class SimTest : public testsupport::FlashTest {};

uint32_t iaGet(int p_nChannel, int p_nCmd, int32_t* p_pStatus = nullptr)
{
    uint32_t nValue = 0xDEADBEEF;
    const int32_t nStatus = ia_ioctrl_v2(p_nChannel, p_nCmd, IA_CMD_OPT_GET, &nValue);
    if (p_pStatus) *p_pStatus = nStatus;
    return nValue;
}

int32_t iaSet(int p_nChannel, int p_nCmd, uint32_t p_nValue)
{
    return ia_ioctrl_v2(p_nChannel, p_nCmd, IA_CMD_OPT_SET, &p_nValue);
}

uint32_t corrected(int p_nCmd, uint32_t p_nValue)
{
    EXPECT_EQ(0, ia_ioctrl_v2(0, p_nCmd, IA_CMD_OPT_CORRECT_PARAM, &p_nValue));
    return p_nValue;
}

}  // namespace

TEST_F(SimTest, GetAnswersStoredValueElseAttributeElseProfileElseZero)
{
    EXPECT_EQ(25u, iaGet(0, KEY_MAX_SHUTTER));
    EXPECT_EQ(16384u, iaGet(0, IA_CMD_MZ_POSITION));
    EXPECT_EQ(0u, iaGet(0, IA_CMD_DN_STATE));
    EXPECT_EQ(0u, iaGet(0, KEY_BRIGHTNESS));
    uint32_t nValue = 0;
    EXPECT_FALSE(iasim::getValue(0, KEY_BRIGHTNESS, nValue));

    EXPECT_EQ(0, iaSet(1, KEY_BRIGHTNESS, 70));
    EXPECT_EQ(0, iaSet(1, IA_CMD_MZ_POSITION, 24576));
    EXPECT_EQ(70u, iaGet(1, KEY_BRIGHTNESS));
    EXPECT_EQ(24576u, iaGet(1, IA_CMD_MZ_POSITION));
    EXPECT_EQ(0u, iaGet(0, KEY_BRIGHTNESS));  // channels are separate
    ASSERT_TRUE(iasim::getValue(1, KEY_BRIGHTNESS, nValue));
    EXPECT_EQ(70u, nValue);

    iasim::setValue(2, KEY_MAX_SHUTTER, 1000);
    EXPECT_EQ(1000u, iaGet(2, KEY_MAX_SHUTTER));
    iasim::clearValues();
    EXPECT_EQ(16384u, iaGet(1, IA_CMD_MZ_POSITION));
    EXPECT_EQ(25u, iaGet(2, KEY_MAX_SHUTTER));
}

TEST_F(SimTest, RecordCommandsKeepAllWordsAndLogTheFirst)
{
    dn_thr_st stThr = {10, 20, 30};
    EXPECT_EQ(0, ia_ioctrl_v2(0, 146, IA_CMD_OPT_SET, &stThr));
    dn_time_st stTime = {18, 30, 6, 45};
    EXPECT_EQ(0, ia_ioctrl_v2(0, 152, IA_CMD_OPT_SET, &stTime));

    std::vector<uint32_t> vecWords;
    ASSERT_TRUE(iasim::getRecord(0, 146, vecWords));
    EXPECT_EQ((std::vector<uint32_t>{10, 20, 30}), vecWords);
    ASSERT_TRUE(iasim::getRecord(0, 152, vecWords));
    EXPECT_EQ((std::vector<uint32_t>{18, 30, 6, 45}), vecWords);
    EXPECT_EQ((std::vector<uint32_t>{10}), iasim::setValuesOf(146));

    dn_time_st stRead = {1, 1, 1, 1};
    EXPECT_EQ(0, ia_ioctrl_v2(0, 152, IA_CMD_OPT_GET, &stRead));
    EXPECT_EQ(0, memcmp(&stTime, &stRead, sizeof(stRead)));
    EXPECT_EQ(0, ia_ioctrl_v2(1, 152, IA_CMD_OPT_GET, &stRead));
    EXPECT_EQ(0u, stRead.n2d_min);  // never set on channel 1: zeros
}

TEST_F(SimTest, DynamicListAndAttributesAreConfigurable)
{
    ia_dynamic_params_cmds_st stList;
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &stList));
    EXPECT_EQ(6, stList.cmd_cnt);
    EXPECT_EQ(KEY_MAX_SHUTTER, stList.cmd_list[0]);
    EXPECT_EQ(KEY_WB_MODE, stList.cmd_list[5]);

    std::vector<int> vecMany;
    for (int i = 0; i < 20; ++i) vecMany.push_back(1000 + i);
    iasim::setDynamicCommands(vecMany);
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &stList));
    EXPECT_EQ(IA_DYNAMIC_CMDS_MAX, stList.cmd_cnt);
    EXPECT_EQ(1015, stList.cmd_list[15]);

    ia_dynamic_params_attr_st stAttr;
    ASSERT_EQ(0, ia_ioctrl_v2(3, KEY_IRIS_POSITION, IA_CMD_OPT_GET_PARAM_RNAGE, &stAttr));
    EXPECT_EQ(1, stAttr.attr_type);
    EXPECT_EQ(256, stAttr.min_value);
    EXPECT_EQ(25600, stAttr.max_value);

    iasim::setListAttr(KEY_MAX_SHUTTER, 8, {1, 2, 4, 8});
    ASSERT_EQ(0, ia_ioctrl_v2(0, KEY_MAX_SHUTTER, IA_CMD_OPT_GET_PARAM_RNAGE, &stAttr));
    EXPECT_EQ(0, stAttr.attr_type);
    EXPECT_EQ(8, stAttr.default_value);
    EXPECT_EQ(4, stAttr.items_cnt);
    EXPECT_EQ(1, stAttr.min_value);
    EXPECT_EQ(8, stAttr.max_value);
    EXPECT_EQ(8u, iaGet(0, KEY_MAX_SHUTTER));

    EXPECT_EQ(-1, ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_GET_PARAM_RNAGE, &stAttr));
    EXPECT_EQ(0u, iasim::calls().back().value);
}

TEST_F(SimTest, CorrectionPicksNearestItemOrClampsToRange)
{
    iasim::setListAttr(300, 0, {10, 20, 40});
    EXPECT_EQ(20u, corrected(300, 20));
    EXPECT_EQ(10u, corrected(300, 15));  // tie goes to the lower item
    EXPECT_EQ(20u, corrected(300, 16));
    EXPECT_EQ(20u, corrected(300, 30));
    EXPECT_EQ(40u, corrected(300, 31));
    EXPECT_EQ(40u, corrected(300, 0xFFFFFFFF));
    EXPECT_EQ(10u, corrected(300, 0));

    EXPECT_EQ(256u, corrected(KEY_IRIS_POSITION, 255));
    EXPECT_EQ(256u, corrected(KEY_IRIS_POSITION, 256));
    EXPECT_EQ(25600u, corrected(KEY_IRIS_POSITION, 25601));
    EXPECT_EQ(1000u, corrected(KEY_IRIS_POSITION, 1000));

    EXPECT_EQ(12345u, corrected(KEY_BRIGHTNESS, 12345));
    iasim::setListAttr(301, 5, {});
    EXPECT_EQ(77u, corrected(301, 77));
}

TEST_F(SimTest, ExecStatusVersionAndSensorCheck)
{
    int32_t nStatus = -9;
    EXPECT_EQ(0, ia_ioctrl_v2(0, IA_CMD_MF_POSITION, IA_CMD_OPT_EXEC_STATUS, &nStatus));
    EXPECT_EQ(0, nStatus);
    iasim::setExecStatus(IA_CMD_MF_POSITION, 2);
    EXPECT_EQ(0, ia_ioctrl_v2(0, IA_CMD_MF_POSITION, IA_CMD_OPT_EXEC_STATUS, &nStatus));
    EXPECT_EQ(2, nStatus);

    char szVersion[IA_CAMERA_VERSION_LEN];
    memset(szVersion, 'x', sizeof(szVersion));
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_CAMERA_VERSION, IA_CMD_OPT_GET, szVersion));
    EXPECT_STREQ("IA-SIM V1.0.0 build 2026", szVersion);
    EXPECT_EQ('\0', szVersion[IA_CAMERA_VERSION_LEN - 1]);
    iasim::setVersionText(std::string(60, 'v'));
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_CAMERA_VERSION, IA_CMD_OPT_GET, szVersion));
    EXPECT_EQ(std::string(49, 'v'), std::string(szVersion));
    EXPECT_EQ(-1, ia_ioctrl_v2(0, IA_CMD_CAMERA_VERSION, IA_CMD_OPT_SET, szVersion));

    int32_t arrCheck[4] = {5, 1, 7, 0};
    EXPECT_EQ(0, ia_ioctrl_v2(0, IA_CMD_SENSOR_CHECK, IA_CMD_OPT_SET, arrCheck));
    std::vector<uint32_t> vecWords;
    ASSERT_TRUE(iasim::getRecord(0, IA_CMD_SENSOR_CHECK, vecWords));
    EXPECT_EQ((std::vector<uint32_t>{5, 1, 7, 0}), vecWords);
    iasim::setSensorCheckResult(42);
    int32_t arrGet[4] = {5, 2, 7, 0};
    EXPECT_EQ(0, ia_ioctrl_v2(0, IA_CMD_SENSOR_CHECK, IA_CMD_OPT_GET, arrGet));
    EXPECT_EQ(42, arrGet[3]);
    EXPECT_EQ(7, arrGet[2]);
    EXPECT_EQ(5u, iasim::calls().back().value);
}

TEST_F(SimTest, ScriptedFailuresCountOptionsAndStoreNothing)
{
    iasim::failCommand(KEY_BRIGHTNESS, 2, -5);
    EXPECT_EQ(-5, iaSet(0, KEY_BRIGHTNESS, 60));
    EXPECT_EQ(-5, iaSet(1, KEY_BRIGHTNESS, 61));
    uint32_t nValue = 0;
    EXPECT_FALSE(iasim::getValue(0, KEY_BRIGHTNESS, nValue));
    EXPECT_EQ(0, iaSet(0, KEY_BRIGHTNESS, 62));
    EXPECT_EQ((std::vector<uint32_t>{60, 61, 62}), iasim::setValuesOf(KEY_BRIGHTNESS));

    iasim::failCommand(IA_CMD_MF_POSITION, -1, -3, IA_CMD_OPT_GET);
    int32_t nStatus = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0xDEADBEEFu, iaGet(0, IA_CMD_MF_POSITION, &nStatus));
        EXPECT_EQ(-3, nStatus);
    }
    EXPECT_EQ(0, iaSet(0, IA_CMD_MF_POSITION, 1200));

    iasim::failCommand(IA_CMD_MF_POSITION, -1, -7);  // the option's own script wins
    iaGet(0, IA_CMD_MF_POSITION, &nStatus);
    EXPECT_EQ(-3, nStatus);
    EXPECT_EQ(-7, iaSet(0, IA_CMD_MF_POSITION, 1300));
    iasim::failCommand(IA_CMD_MF_POSITION, 0, -7);  // zero times withdraws
    EXPECT_EQ(0, iaSet(0, IA_CMD_MF_POSITION, 1300));
    iasim::clearFailures();
    EXPECT_EQ(1300u, iaGet(0, IA_CMD_MF_POSITION, &nStatus));
    EXPECT_EQ(0, nStatus);
}

TEST_F(SimTest, CallLogKeepsOrderAndTheLastTenThousand)
{
    iaSet(0, KEY_BRIGHTNESS, 1);
    iaGet(3, IA_CMD_MZ_POSITION);
    std::vector<iasim::IaCall> vecCalls = iasim::calls();
    ASSERT_EQ(2u, vecCalls.size());
    EXPECT_EQ(KEY_BRIGHTNESS, vecCalls[0].cmd);
    EXPECT_EQ(IA_CMD_OPT_SET, vecCalls[0].opt);
    EXPECT_EQ(3, vecCalls[1].channel);
    EXPECT_EQ(16384u, vecCalls[1].value);

    for (uint32_t i = 0; i < 10005; ++i) iaSet(0, KEY_BRIGHTNESS, i);
    vecCalls = iasim::calls();
    ASSERT_EQ(10000u, vecCalls.size());
    EXPECT_EQ(5u, vecCalls.front().value);
    EXPECT_EQ(10004u, vecCalls.back().value);
    iasim::clearCalls();
    EXPECT_TRUE(iasim::calls().empty());
}

TEST_F(SimTest, BadChannelOrNullDataFailsAndIsLoggedWithZero)
{
    EXPECT_EQ(-1, iaSet(-1, KEY_BRIGHTNESS, 5));
    EXPECT_EQ(-1, iaSet(8, KEY_BRIGHTNESS, 5));
    EXPECT_EQ(-1, ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_GET, nullptr));
    EXPECT_EQ(0, iaSet(7, KEY_BRIGHTNESS, 5));
    uint32_t nValue = 0;
    EXPECT_FALSE(iasim::getValue(0, KEY_BRIGHTNESS, nValue));
    const std::vector<iasim::IaCall> vecCalls = iasim::calls();
    ASSERT_EQ(4u, vecCalls.size());
    EXPECT_EQ(8, vecCalls[1].channel);
    EXPECT_EQ(0u, vecCalls[1].value);
    EXPECT_EQ(5u, vecCalls[3].value);
}

TEST_F(SimTest, ConcurrentCallersLoseNothing)
{
    std::vector<std::thread> vecThreads;
    for (int nChannel = 0; nChannel < 4; ++nChannel)
        vecThreads.emplace_back([nChannel] {
            for (uint32_t i = 1; i <= 500; ++i) iaSet(nChannel, KEY_BRIGHTNESS, i);
        });
    for (std::thread& objThread : vecThreads) objThread.join();
    EXPECT_EQ(2000u, iasim::calls().size());
    for (int nChannel = 0; nChannel < 4; ++nChannel) EXPECT_EQ(500u, iaGet(nChannel, KEY_BRIGHTNESS));
}
