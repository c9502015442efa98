// Simulated image-algorithm library: what the library and the tests rely on.
#include "IaInterface.h"
#include "IaSim.h"
#include "SensorKeys.h"
#include "TestSupport.h"

namespace {

class SimTest : public testsupport::FlashTest {};

uint32_t iaGet(int p_nChannel, int p_nCmd)
{
    uint32_t nValue = 0xDEADBEEF;
    return ia_ioctrl_v2(p_nChannel, p_nCmd, IA_CMD_OPT_GET, &nValue) == 0 ? nValue : 0xDEADBEEF;
}

int32_t iaSet(int p_nChannel, int p_nCmd, uint32_t p_nValue)
{
    return ia_ioctrl_v2(p_nChannel, p_nCmd, IA_CMD_OPT_SET, &p_nValue);
}

TEST_F(SimTest, StoreProfileRecordsAndCallLog)
{
    EXPECT_EQ(0, iaSet(1, KEY_BRIGHTNESS, 70));
    EXPECT_EQ(70u, iaGet(1, KEY_BRIGHTNESS));
    EXPECT_EQ(0u, iaGet(0, KEY_BRIGHTNESS));    // channels are separate
    EXPECT_EQ(25u, iaGet(2, KEY_MAX_SHUTTER));  // the profile's default
    iasim::setValue(2, KEY_MAX_SHUTTER, 1000);
    EXPECT_EQ(1000u, iaGet(2, KEY_MAX_SHUTTER));
    EXPECT_EQ(-1, iaSet(8, KEY_BRIGHTNESS, 5));
    EXPECT_EQ(-1, ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_GET, nullptr));
    const std::vector<iasim::IaCall> vecCalls = iasim::calls();
    ASSERT_EQ(7u, vecCalls.size());
    EXPECT_TRUE(vecCalls[0].cmd == KEY_BRIGHTNESS && vecCalls[0].opt == IA_CMD_OPT_SET && vecCalls[0].channel == 1);
    EXPECT_TRUE(vecCalls[3].channel == 2 && vecCalls[3].opt == IA_CMD_OPT_GET && vecCalls[3].value == 25);
    EXPECT_TRUE(vecCalls[5].channel == 8 && vecCalls[5].value == 0);  // refused calls are logged with 0

    dn_time_st stTime = {18, 30, 6, 45};
    EXPECT_EQ(0, ia_ioctrl_v2(0, 152, IA_CMD_OPT_SET, &stTime));
    std::vector<uint32_t> vecWords;
    ASSERT_TRUE(iasim::getRecord(0, 152, vecWords));
    EXPECT_EQ((std::vector<uint32_t>{18, 30, 6, 45}), vecWords);
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
    } arrCases[] = {{300, 15, 10}, {300, 16, 20}, {300, 0xFFFFFFFF, 40}, {301, 255, 256}, {301, 25601, 25600},
                    {KEY_BRIGHTNESS, 12345, 12345}, {302, 77, 77}};
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
    EXPECT_EQ(0u, iaGet(1, KEY_BRIGHTNESS));  // a failed set stores nothing
    EXPECT_EQ((std::vector<uint32_t>{60, 61, 62}), iasim::setValuesOf(KEY_BRIGHTNESS));

    iasim::failCommand(IA_CMD_MF_POSITION, -1, -3, IA_CMD_OPT_GET);
    iasim::failCommand(IA_CMD_MF_POSITION, -1, -7);  // the option's own script wins
    uint32_t nValue = 0;
    EXPECT_EQ(-3, ia_ioctrl_v2(0, IA_CMD_MF_POSITION, IA_CMD_OPT_GET, &nValue));
    EXPECT_EQ(-7, iaSet(0, IA_CMD_MF_POSITION, 1300));
    iasim::failCommand(IA_CMD_MF_POSITION, 0, -7);  // zero times withdraws
    EXPECT_EQ(0, iaSet(0, IA_CMD_MF_POSITION, 1300));
}

}  // namespace
