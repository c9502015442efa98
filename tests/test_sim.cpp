// Simulated image-algorithm library: store, dynamic attributes, correction,
// scripted failures and the call log.
#include <string.h>

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

TEST_F(SimTest, GetAnswersStoredValueElseAttributeElseProfileElseZero)
{
    EXPECT_EQ(0, iaSet(1, KEY_BRIGHTNESS, 70));
    iasim::setValue(2, KEY_MAX_SHUTTER, 1000);
    EXPECT_EQ(70u, iaGet(1, KEY_BRIGHTNESS));
    EXPECT_EQ(0u, iaGet(0, KEY_BRIGHTNESS));  // channels are separate
    EXPECT_EQ(1000u, iaGet(2, KEY_MAX_SHUTTER));
    uint32_t nValue = 0;
    EXPECT_FALSE(iasim::getValue(0, KEY_BRIGHTNESS, nValue));
    EXPECT_TRUE(iasim::getValue(1, KEY_BRIGHTNESS, nValue) && nValue == 70);
    iasim::clearValues();
    EXPECT_EQ(25u, iaGet(2, KEY_MAX_SHUTTER));
    EXPECT_EQ(16384u, iaGet(1, IA_CMD_MZ_POSITION));

    // Record commands keep every word; a record never set reads as zeros.
    dn_time_st stTime = {18, 30, 6, 45};
    EXPECT_EQ(0, ia_ioctrl_v2(0, 152, IA_CMD_OPT_SET, &stTime));
    std::vector<uint32_t> vecWords;
    ASSERT_TRUE(iasim::getRecord(0, 152, vecWords));
    EXPECT_EQ((std::vector<uint32_t>{18, 30, 6, 45}), vecWords);
    dn_time_st stRead = {1, 1, 1, 1};
    EXPECT_EQ(0, ia_ioctrl_v2(1, 152, IA_CMD_OPT_GET, &stRead));
    EXPECT_EQ(0u, stRead.d2n_hour + stRead.d2n_min + stRead.n2d_hour + stRead.n2d_min);
}

TEST_F(SimTest, DynamicListAttributesAndCorrection)
{
    std::vector<int> vecMany(20, 1000);
    vecMany[15] = 1015;
    iasim::setDynamicCommands(vecMany);
    ia_dynamic_params_cmds_st stList;
    ASSERT_EQ(0, ia_ioctrl_v2(0, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &stList));
    EXPECT_EQ(IA_DYNAMIC_CMDS_MAX, stList.cmd_cnt);  // the record holds 16
    EXPECT_EQ(1015, stList.cmd_list[15]);

    iasim::setListAttr(300, 20, {10, 20, 40});
    iasim::setRangeAttr(301, 5, 256, 25600);
    iasim::setListAttr(302, 5, {});
    ia_dynamic_params_attr_st stAttr;
    ASSERT_EQ(0, ia_ioctrl_v2(0, 300, IA_CMD_OPT_GET_PARAM_RNAGE, &stAttr));
    EXPECT_EQ((std::vector<int>{0, 20, 10, 40, 3}),
              (std::vector<int>{stAttr.attr_type, stAttr.default_value, stAttr.min_value, stAttr.max_value,
                                stAttr.items_cnt}));
    EXPECT_EQ(-1, ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_GET_PARAM_RNAGE, &stAttr));

    // Lists: the nearest item, the lower one on a tie; ranges: clamped;
    // no attribute or no items: unchanged.
    const struct {
        int nCmd;
        uint32_t nIn, nOut;
    } arrCases[] = {{300, 15, 10},   {300, 16, 20},       {300, 31, 40},     {300, 0xFFFFFFFF, 40},
                    {301, 255, 256}, {301, 25601, 25600}, {301, 1000, 1000}, {KEY_BRIGHTNESS, 12345, 12345},
                    {302, 77, 77}};
    for (const auto& stCase : arrCases) {
        uint32_t nValue = stCase.nIn;
        EXPECT_EQ(0, ia_ioctrl_v2(0, stCase.nCmd, IA_CMD_OPT_CORRECT_PARAM, &nValue));
        EXPECT_EQ(stCase.nOut, nValue) << stCase.nCmd << " " << stCase.nIn;
    }
}

TEST_F(SimTest, ScriptedFailuresCountOptionsAndStoreNothing)
{
    iasim::failCommand(KEY_BRIGHTNESS, 2, -5);
    EXPECT_EQ(-5, iaSet(0, KEY_BRIGHTNESS, 60));
    EXPECT_EQ(-5, iaSet(1, KEY_BRIGHTNESS, 61));
    EXPECT_EQ(0, iaSet(0, KEY_BRIGHTNESS, 62));
    EXPECT_EQ(62u, iaGet(0, KEY_BRIGHTNESS));
    EXPECT_EQ(0u, iaGet(1, KEY_BRIGHTNESS));
    EXPECT_EQ((std::vector<uint32_t>{60, 61, 62}), iasim::setValuesOf(KEY_BRIGHTNESS));

    iasim::failCommand(IA_CMD_MF_POSITION, -1, -3, IA_CMD_OPT_GET);
    iasim::failCommand(IA_CMD_MF_POSITION, -1, -7);  // the option's own script wins
    int32_t nStatus = 0;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0xDEADBEEFu, iaGet(0, IA_CMD_MF_POSITION, &nStatus));
        EXPECT_EQ(-3, nStatus);
    }
    EXPECT_EQ(-7, iaSet(0, IA_CMD_MF_POSITION, 1300));
    iasim::failCommand(IA_CMD_MF_POSITION, 0, -7);  // zero times withdraws
    EXPECT_EQ(0, iaSet(0, IA_CMD_MF_POSITION, 1300));
    iasim::clearFailures();
    EXPECT_EQ(1300u, iaGet(0, IA_CMD_MF_POSITION, &nStatus));
    EXPECT_EQ(0, nStatus);
}

TEST_F(SimTest, CallLogKeepsOrderBadCallsAndTheLastTenThousand)
{
    iaSet(0, KEY_BRIGHTNESS, 1);
    iaGet(3, IA_CMD_MZ_POSITION);
    EXPECT_EQ(-1, iaSet(8, KEY_BRIGHTNESS, 5));
    EXPECT_EQ(-1, iaSet(-1, KEY_BRIGHTNESS, 5));
    EXPECT_EQ(-1, ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_GET, nullptr));
    std::vector<iasim::IaCall> vecCalls = iasim::calls();
    ASSERT_EQ(5u, vecCalls.size());
    EXPECT_TRUE(vecCalls[0].cmd == KEY_BRIGHTNESS && vecCalls[0].opt == IA_CMD_OPT_SET);
    EXPECT_TRUE(vecCalls[1].channel == 3 && vecCalls[1].value == 16384);
    EXPECT_TRUE(vecCalls[2].channel == 8 && vecCalls[2].value == 0);  // refused calls are logged with 0

    for (uint32_t i = 0; i < 10005; ++i) iaSet(0, KEY_BRIGHTNESS, i);
    vecCalls = iasim::calls();
    ASSERT_EQ(10000u, vecCalls.size());
    EXPECT_EQ(5u, vecCalls.front().value);  // the oldest ten went
    iasim::clearCalls();
    EXPECT_TRUE(iasim::calls().empty());
}

}  // namespace
