// Small sets of keys with a fixed role in the parameter pipeline.
#ifndef KEY_SETS_H
#define KEY_SETS_H

#include "SensorTypes.h"

// Scheme time window keys and placeholders: stored in the cache, never applied.
bool isCacheOnlyKey(u32 p_nKey);
// Day/night keys: under day/night scheme switching only scheme 0 applies
// them, and scheme 1 mirrors them.
bool isDayNightKey(u32 p_nKey);
// Infrared keys that getParameter answers with -1 when they are not cached,
// instead of asking the image-algorithm library.
bool isUncachedIrKey(u32 p_nKey);

// The two manual infrared strengths share a power budget on cameras with
// limited infrared power.
struct IrBudgetPair {
    u32 nKey;
    u32 nPartnerKey;
    const char* szPartnerName;  // as the partner read reports it
    int nReportLine;            // line of the report of a failed partner read
};
const IrBudgetPair* findIrBudgetPair(u32 p_nKey);

// The most the two manual infrared strengths may add up to.
const u32 kIrPowerBudget = 100;

#endif
