// Feature accessors: the cached pairs and their keys, the direct ones, the
// illuminator interlock, light type bounds, the always-true day/night mode
// getter and the mirror's flush.
#include "ControllerFixtures.h"

using C = ISensorController;
#define PAIR(name, key) {&C::get##name, &C::set##name, key}
const struct {
    bool (C::*get)(int&), (C::*set)(int&);
    u32 key;
} kCachedPairs[] = {PAIR(WDRSwitch, 2368),     PAIR(HLCSwitch, 112),      PAIR(BLCSwitch, 128),
                    PAIR(DefogSwitch, 2400),   PAIR(WDRStrength, 2369),   PAIR(HLCStrength, 113),
                    PAIR(BLCStrength, 130),    PAIR(DefogStrength, 2401), PAIR(2DSwitch, 2304),
                    PAIR(3DSwitch, 2308),      PAIR(2DMode, 2305),        PAIR(3DMode, 2309),
                    PAIR(2DAutoMaxStrength, 2306),   PAIR(3DAutoMaxStrength, 2312),
                    PAIR(2DManualMaxStrength, 2307), PAIR(3DManualMaxStrength, 2313)};
#undef PAIR

class AccessorsTest : public StillControllerTest {
protected:
    AccessorsTest()
        : StillControllerTest({{KEY_IR_SWITCH, 0}, {KEY_WHITE_SWITCH, 1}, {KEY_LIGHT_TYPE, 0}, {KEY_MIRROR, 0}})
    {
        for (const auto& stPair : kCachedPairs) m_vecStyle.push_back({stPair.key, 0});
    }
};

TEST_F(AccessorsTest, CachedPairsUseTheirKeysDirectOnesTheLibrary)
{
    int nValue = 1;
    for (const auto& stPair : kCachedPairs) {
        int nSet = nValue++, nGot = -1;
        EXPECT_TRUE((ctrl().*stPair.set)(nSet) && (ctrl().*stPair.get)(nGot));
        EXPECT_TRUE(cached(stPair.key) == nSet && nGot == nSet) << stPair.key;
    }
    int nBeaway = 1, nLive = -1;
    EXPECT_FALSE(ctrl().setBeaway(nBeaway));  // never reports its outcome
    EXPECT_EQ("ia 2385=1", timeline().back());

    iasim::setValue(0, IA_CMD_HEATER_STATE, 1);
    iasim::setValue(0, IA_CMD_WDR_MODE, 7);  // the library's live value, not the cached 1
    bool bHeat = false;
    unsigned int nAf = 1;
    EXPECT_TRUE(ctrl().getWDR(nLive) && ctrl().getHeatStatus(bHeat) && ctrl().getAFStatistic(nAf) &&
                ctrl().getTempValue(nLive) && ctrl().setDNState(1) && ctrl().getDNState(nLive) &&
                ctrl().setExposureStrategy(nValue) && ctrl().getLightType(nLive) && ctrl().getWhiteMode(nLive) &&
                bHeat);
    EXPECT_EQ((V{"ia1 2368=7", "ia1 1606=1", "ia1 1648=0", "ia1 1607=35", "ia 153=1", "ia1 153=1", "ia 225=17",
                 "ia1 224=0", "ia1 169=0"}),
              timeline());
}

TEST_F(AccessorsTest, IlluminatorInterlockLightTypeDayNightModeAndMirrorFlush)
{
    // Each illuminator switches the other one off first; the white light is on since init.
    EXPECT_TRUE(ctrl().setIRSwitch(1) && ctrl().setWhiteSwitch(1));
    EXPECT_TRUE(ctrl().setIRSwitch(2) && ctrl().setIRSwitch(0));  // only "on" consults the other light
    iasim::setValue(0, IA_CMD_WHITE_SWITCH, 0);                  // off behind the cache's back: left alone
    EXPECT_TRUE(ctrl().setIRSwitch(1));
    EXPECT_EQ((V{"ia1 168=1", "ia 168=0", "ia 160=1", "ia1 160=1", "ia 160=0", "ia 168=1", "ia 160=2", "ia 160=0",
                 "ia1 168=0", "ia 160=1"}),
              timeline());
    iasim::failCommand(IA_CMD_IR_SWITCH, 1, -1, IA_CMD_OPT_GET);
    EXPECT_FALSE(ctrl().setWhiteSwitch(1));
    iasim::failCommand(IA_CMD_IR_SWITCH, 1, -1, IA_CMD_OPT_SET);
    EXPECT_FALSE(ctrl().setWhiteSwitch(1));
    EXPECT_EQ((V{"ia1 160=0", "ia1 160=1", "ia 160=0"}), timeline());

    EXPECT_FALSE(ctrl().setLightType(4) || ctrl().setLightType(-1));
    EXPECT_TRUE(ctrl().setLightType(3));
    EXPECT_EQ(V{"ia 224=3"}, timeline());
    EXPECT_EQ(3, cached(KEY_LIGHT_TYPE));
    iasim::failCommand(KEY_DN_MODE, -1);  // 144 is neither cached nor readable
    int nMode = 0;
    EXPECT_TRUE(ctrl().getDNMode(nMode));

    cache(KEY_WDR_STRG, 9);  // unsaved: shows whether the row was written
    iasim::failCommand(IA_CMD_UI_MIRROR, 1, -1, IA_CMD_OPT_SET);
    EXPECT_FALSE(ctrl().setMirrorMode(1));
    EXPECT_EQ(0, valueOf(records(schemeFile(1, 0)), KEY_WDR_STRG));
    EXPECT_TRUE(ctrl().setMirrorMode(2));
    EXPECT_EQ("9 2", std::to_string(valueOf(records(schemeFile(1, 0)), KEY_WDR_STRG)) + " " +
                         std::to_string(valueOf(records(schemeFile(1, 0)), KEY_MIRROR)));
}
