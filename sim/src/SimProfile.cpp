// Default profile of the simulated image-algorithm library (iasim::reset()):
// a 2-megapixel sensor behind a motorised zoom/focus lens with a P-iris.
//
// Dynamic commands (the same on every channel), in this order:
//   49   KEY_MAX_SHUTTER            list, shutter denominators 1 2 4 8 15 25 30
//                                   50 60 100 120 250 500 1000 2000 4000 10000,
//                                   default 25
//   50   KEY_FIX_SHUTTER            list, the same items, default 50
//   82   KEY_IRIS_POSITION          range (type 1) 256..25600, default 1024
//   1537 KEY_AUTO_FOCUS_NEAR_LIMIT  list in cm 10 30 50 100 150 300 600,
//                                   default 100
//   2368 KEY_WDR_MODE               list 0 1 2, default 0
//   768  KEY_WB_MODE                list 0 1 2 3 4 5, default 0
// GET of a command never set answers its attribute default if it has one,
// else the profile values below, else 0 (e.g. 153 day/night state: day):
//   1568 zoom position 16384 (wide end, 1x), 1552 focus position 1000,
//   1607 heater temperature 35.
// Camera version (2496): "IA-SIM V1.0.0 build 2026". Sensor check (2816)
// result 0, every execution status 0, no scripted failures, empty value
// stores and call log.
#include "SimState.h"

#include "SensorKeys.h"
#include "IaInterface.h"

namespace iasim {

namespace {

const char* const DEFAULT_VERSION_TEXT = "IA-SIM V1.0.0 build 2026";

const std::vector<int> SHUTTER_ITEMS = {1,   2,   4,   8,   15,   25,   30,   50,   60,
                                        100, 120, 250, 500, 1000, 2000, 4000, 10000};

struct ProfileValue {
    int m_nCmd;
    uint32_t m_nValue;
};

const ProfileValue PROFILE_VALUES[] = {
    {IA_CMD_MZ_POSITION, 16384},
    {IA_CMD_MF_POSITION, 1000},
    {IA_CMD_HEATER_TEMPERATURE, 35},
};

}  // namespace

void loadDefaultProfile(SimState& p_stState)
{
    p_stState.m_mapAttrs[KEY_MAX_SHUTTER] = makeListAttr(25, SHUTTER_ITEMS);
    p_stState.m_mapAttrs[KEY_FIX_SHUTTER] = makeListAttr(50, SHUTTER_ITEMS);
    p_stState.m_mapAttrs[KEY_IRIS_POSITION] = makeRangeAttr(1024, 256, 25600);
    p_stState.m_mapAttrs[KEY_AUTO_FOCUS_NEAR_LIMIT] =
        makeListAttr(100, {10, 30, 50, 100, 150, 300, 600});
    p_stState.m_mapAttrs[KEY_WDR_MODE] = makeListAttr(0, {0, 1, 2});
    p_stState.m_mapAttrs[KEY_WB_MODE] = makeListAttr(0, {0, 1, 2, 3, 4, 5});
    p_stState.m_vecDynamicCmds = {KEY_MAX_SHUTTER,           KEY_FIX_SHUTTER, KEY_IRIS_POSITION,
                                  KEY_AUTO_FOCUS_NEAR_LIMIT, KEY_WDR_MODE,    KEY_WB_MODE};
    for (const ProfileValue& stValue : PROFILE_VALUES)
        p_stState.m_mapDefaults[stValue.m_nCmd] = stValue.m_nValue;
    p_stState.m_strVersion = DEFAULT_VERSION_TEXT;
}

}  // namespace iasim
