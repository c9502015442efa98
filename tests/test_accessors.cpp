// Feature accessors: the illuminator interlock, light type bounds, the
// always-true day/night mode getter and the mirror's flush.
#include <gtest/gtest.h>

#include <tuple>

#include "HandBuiltController.h"

class AccessorsTest : public HandBuiltControllerTest {
protected:
    void SetUp() override
    {
        HandBuiltControllerTest::SetUp();
        prepare({{KEY_IR_SWITCH, 0}, {KEY_WHITE_SWITCH, 1}, {KEY_LIGHT_TYPE, 0}, {KEY_MIRROR, 0}});
    }
};

TEST_F(AccessorsTest, EachIlluminatorSwitchesTheOtherOffFirst)
{
    iasim::setValue(0, IA_CMD_WHITE_SWITCH, 1);
    EXPECT_TRUE(ctrl().setIRSwitch(1));
    EXPECT_EQ((SetList{{IA_CMD_WHITE_SWITCH, 0}, {IA_CMD_IR_SWITCH, 1}}), sets());
    EXPECT_EQ(0, cached(KEY_WHITE_SWITCH));
    EXPECT_EQ(1, cached(KEY_IR_SWITCH));
    iasim::clearCalls();
    EXPECT_TRUE(ctrl().setWhiteSwitch(1));
    EXPECT_EQ((SetList{{IA_CMD_IR_SWITCH, 0}, {IA_CMD_WHITE_SWITCH, 1}}), sets());
}

TEST_F(AccessorsTest, InterlockFailuresAndValuesOtherThanOn)
{
    iasim::failCommand(IA_CMD_WHITE_SWITCH, 1, -1, IA_CMD_OPT_GET);
    EXPECT_FALSE(ctrl().setIRSwitch(1));
    EXPECT_TRUE(sets().empty());
    iasim::setValue(0, IA_CMD_WHITE_SWITCH, 1);
    iasim::failCommand(IA_CMD_WHITE_SWITCH, 1, -1, IA_CMD_OPT_SET);
    EXPECT_FALSE(ctrl().setIRSwitch(1));
    EXPECT_EQ(0, cached(KEY_IR_SWITCH));

    iasim::clearCalls();
    EXPECT_TRUE(ctrl().setIRSwitch(2) && ctrl().setIRSwitch(0));
    EXPECT_EQ((SetList{{IA_CMD_IR_SWITCH, 2}, {IA_CMD_IR_SWITCH, 0}}), sets());
    EXPECT_EQ(2u, iasim::calls().size());  // the white light was not consulted
}

TEST_F(AccessorsTest, LightTypeBoundsAndDayNightMode)
{
    EXPECT_FALSE(ctrl().setLightType(4) || ctrl().setLightType(-1));
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_TRUE(ctrl().setLightType(3));
    EXPECT_EQ(3, cached(KEY_LIGHT_TYPE));
    // Key 144 is neither cached nor readable.
    iasim::failCommand(KEY_DN_MODE, -1);
    int nMode = 0;
    EXPECT_TRUE(ctrl().getDNMode(nMode));
}

TEST_F(AccessorsTest, MirrorIsFlushedOnlyAfterSuccess)
{
    const char* const szFile = "/mnt/mtd/code/config_file/sensor1_0.cfg";
    iasim::failCommand(IA_CMD_UI_MIRROR, 1, -1, IA_CMD_OPT_SET);
    EXPECT_FALSE(ctrl().setMirrorMode(1));
    EXPECT_FALSE(testsupport::flashFileExists(szFile));
    EXPECT_TRUE(ctrl().setMirrorMode(2));
    const std::string strRow(reinterpret_cast<const char*>(m_vecRows[0]), access().keyValSum() * sizeof(KeyVal));
    EXPECT_EQ(strRow, testsupport::readFlashFile(szFile));
    EXPECT_EQ(2, cached(KEY_MIRROR));
}

TEST_F(AccessorsTest, CachedPairsUseTheirKeysDirectOnesTheLibrary)
{
    typedef bool (ISensorController::*Get)(int&);
    typedef bool (ISensorController::*Set)(int&);
    using C = ISensorController;
    const std::vector<std::tuple<Get, Set, u32>> vecPairs = {
        {&C::getWDRSwitch, &C::setWDRSwitch, 2368}, {&C::getHLCSwitch, &C::setHLCSwitch, 112},
        {&C::getBLCSwitch, &C::setBLCSwitch, 128}, {&C::getDefogSwitch, &C::setDefogSwitch, 2400},
        {&C::getWDRStrength, &C::setWDRStrength, 2369}, {&C::getHLCStrength, &C::setHLCStrength, 113},
        {&C::getBLCStrength, &C::setBLCStrength, 130}, {&C::getDefogStrength, &C::setDefogStrength, 2401},
        {&C::get2DSwitch, &C::set2DSwitch, 2304}, {&C::get3DSwitch, &C::set3DSwitch, 2308},
        {&C::get2DMode, &C::set2DMode, 2305}, {&C::get3DMode, &C::set3DMode, 2309},
        {&C::get2DAutoMaxStrength, &C::set2DAutoMaxStrength, 2306},
        {&C::get3DAutoMaxStrength, &C::set3DAutoMaxStrength, 2312},
        {&C::get2DManualMaxStrength, &C::set2DManualMaxStrength, 2307},
        {&C::get3DManualMaxStrength, &C::set3DManualMaxStrength, 2313}};
    std::vector<KeyVal> vecRow;
    for (const auto& t : vecPairs) vecRow.push_back({std::get<2>(t), 0});
    prepare(vecRow);
    int nValue = 1;
    for (const auto& t : vecPairs) {
        int nSet = nValue++, nGot = -1;
        EXPECT_TRUE((ctrl().*std::get<1>(t))(nSet) && (ctrl().*std::get<0>(t))(nGot));
        EXPECT_EQ(nSet, cached(std::get<2>(t)));
        EXPECT_EQ(nSet, nGot);
    }
    int nBeaway = 1, nLive = -1;
    EXPECT_FALSE(ctrl().setBeaway(nBeaway));  // never reports its outcome
    EXPECT_EQ((std::pair<int, uint32_t>{2385, 1}), sets().back());
    iasim::setValue(0, IA_CMD_WDR_MODE, 7);  // the library's live value, not the cached 1
    EXPECT_TRUE(ctrl().getWDR(nLive));
    EXPECT_EQ(7, nLive);
    iasim::setValue(0, IA_CMD_HEATER_STATE, 1);
    bool bHeat = false;
    unsigned int nAf = 1;
    EXPECT_TRUE(ctrl().getHeatStatus(bHeat) && bHeat && ctrl().getAFStatistic(nAf) && nAf == 0);
    EXPECT_TRUE(ctrl().getTempValue(nLive) && nLive == 35);
    EXPECT_TRUE(ctrl().setDNState(1) && ctrl().getDNState(nLive) && nLive == 1);
    EXPECT_TRUE(ctrl().setExposureStrategy(nValue) && ctrl().getLightType(nLive) && ctrl().getWhiteMode(nLive));
}
