// Lamp key pairs: each lamp setting exists once for the normal light types
// and once for the intelligent light type (light type 2). Only one key of a
// pair takes effect, chosen by the cached light type.
#ifndef LAMP_PAIRS_H
#define LAMP_PAIRS_H

#include "SensorTypes.h"

// The light type value under which the intelligent-type keys take effect.
const u32 kIntelligentLightType = 2;

struct LampPair {
    u32 nNormalKey;
    u32 nIntellKey;
};

// False for a key outside the range of all lamp keys (161 ... 205).
constexpr bool mayBeLampKey(u32 p_nKey) { return p_nKey >= 161 && p_nKey <= 205; }

// The pair whose normal key is p_nKey, or null.
const LampPair* findLampPairByNormal(u32 p_nKey);
// The pair whose intelligent-type key is p_nKey, or null.
const LampPair* findLampPairByIntell(u32 p_nKey);

#endif
