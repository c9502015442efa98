// The key sets of the parameter pipeline.
#define SNS_SOURCE_FILE "ISensorController"

#include "KeySets.h"

#include <stddef.h>

#include "SensorKeys.h"

namespace {

const u32 kCacheOnlyKeys[] = {KEY_SCHEME_START_HOUR, KEY_SCHEME_START_MIN, KEY_SCHEME_END_HOUR,
                              KEY_SCHEME_END_MIN,    KEY_EMPTY1,           KEY_EMPTY2};

const u32 kDayNightKeys[] = {KEY_DN_MODE, KEY_DTN_THR, KEY_NTD_THR, KEY_DTN_H,
                             KEY_DTN_M,   KEY_NTD_H,   KEY_NTD_M};

const u32 kUncachedIrKeys[] = {KEY_IR_SWITCH, KEY_IR_MODE, KEY_IR_MANUAL_STRG_NEAR,
                               KEY_IR_MANUAL_STRG_MEDIUM, KEY_IR_MANUAL_STRG_FAR};

const IrBudgetPair kIrBudgetPairs[] = {
    {KEY_IR_MANUAL_STRG_NEAR, KEY_IR_MANUAL_STRG_FAR, "KEY_IR_MANUAL_STRG_FAR", 807},
    {KEY_IR_MANUAL_STRG_FAR, KEY_IR_MANUAL_STRG_NEAR, "KEY_IR_MANUAL_STRG_NEAR", 878},
};

template <size_t N>
bool contains(const u32 (&p_arrKeys)[N], u32 p_nKey)
{
    for (u32 nKey : p_arrKeys)
        if (nKey == p_nKey) return true;
    return false;
}

}  // namespace

bool isCacheOnlyKey(u32 p_nKey)
{
    return contains(kCacheOnlyKeys, p_nKey);
}

bool isDayNightKey(u32 p_nKey)
{
    return contains(kDayNightKeys, p_nKey);
}

bool isUncachedIrKey(u32 p_nKey)
{
    return contains(kUncachedIrKeys, p_nKey);
}

const IrBudgetPair* findIrBudgetPair(u32 p_nKey)
{
    for (const IrBudgetPair& stPair : kIrBudgetPairs)
        if (stPair.nKey == p_nKey) return &stPair;
    return nullptr;
}
