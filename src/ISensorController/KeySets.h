// Roles of keys in the parameter pipeline, from the key list (SensorKeys.h).
#ifndef KEY_SETS_H
#define KEY_SETS_H

#include "SensorKeys.h"
#include "SensorTypes.h"

// The SensorKeyRole bits of a key; 0 for a key without a row.
u32 keyRoles(u32 p_nKey);

// Scheme time window keys and placeholders: stored in the cache, never applied.
inline bool isCacheOnlyKey(u32 p_nKey)
{
    return (keyRoles(p_nKey) & SNS_ROLE_CACHE_ONLY) != 0;
}
// Day/night keys: under day/night scheme switching only scheme 0 applies
// them, and scheme 1 mirrors them.
inline bool isDayNightKey(u32 p_nKey)
{
    return (keyRoles(p_nKey) & SNS_ROLE_DAY_NIGHT) != 0;
}
// Infrared keys that getParameter answers with -1 when they are not cached,
// instead of asking the image-algorithm library.
inline bool isUncachedIrKey(u32 p_nKey)
{
    return (keyRoles(p_nKey) & SNS_ROLE_IR_UNSET) != 0;
}
// Keys that the thermal channel routes past the key/command table.
inline bool isThermalRoutedKey(u32 p_nKey)
{
    return (keyRoles(p_nKey) & SNS_ROLE_THERMAL) != 0;
}

// The two manual infrared strengths share a power budget on cameras with
// limited infrared power.
struct IrBudgetPair {
    u32 nKey;
    u32 nPartnerKey;
    int nReportLine;  // line of the report of a failed partner read
};
const IrBudgetPair* findIrBudgetPair(u32 p_nKey);

// The most the two manual infrared strengths may add up to.
const u32 kIrPowerBudget = 100;

#endif
