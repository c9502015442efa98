// The lamp key pair table and its lookups.
#define SNS_SOURCE_FILE "ISensorController"

#include "LampPairs.h"

#include "SensorKeys.h"
#include "SensorLib.h"

namespace {

// Keys 201, 202, 204 and 205 have no row in the key/command table: they are
// only ever reached through this table.
constexpr LampPair kLampPairs[] = {
    {KEY_IR_MODE, KEY_IR_MODE_INTELL},
    {KEY_WHITE_MODE, KEY_WHITE_MODE_INTELL},
    {KEY_IR_MANUAL_STRG_NEAR, KEY_IR_MANUAL_STRG_NEAR_INTELL},
    {KEY_IR_MANUAL_STRG_MEDIUM, 201},
    {KEY_IR_MANUAL_STRG_FAR, 202},
    {KEY_WHITE_MANUAL_STRG, KEY_WHITE_MANUAL_STRG_INTELL},
    {KEY_WHITE_MANUAL_STRG_MEDIUM, 204},
    {KEY_WHITE_MANUAL_STRG_FAR, 205},
};

constexpr bool allInLampRange()
{
    for (const LampPair& stPair : kLampPairs)
        if (!mayBeLampKey(stPair.nNormalKey) || !mayBeLampKey(stPair.nIntellKey)) return false;
    return true;
}
static_assert(allInLampRange(), "mayBeLampKey covers every lamp key");

}  // namespace

const LampPair* findLampPairByNormal(u32 p_nKey)
{
    for (const LampPair& stPair : kLampPairs)
        if (stPair.nNormalKey == p_nKey) return &stPair;
    return nullptr;
}

const LampPair* findLampPairByIntell(u32 p_nKey)
{
    for (const LampPair& stPair : kLampPairs)
        if (stPair.nIntellKey == p_nKey) return &stPair;
    return nullptr;
}

bool lampPairPartner(u32 p_nKey, u32* p_pnPartner)
{
    const LampPair* pNormal = findLampPairByNormal(p_nKey);
    const LampPair* pIntell = findLampPairByIntell(p_nKey);
    if (pNormal == nullptr && pIntell == nullptr) return false;
    if (p_pnPartner != nullptr) *p_pnPartner = pNormal != nullptr ? pNormal->nIntellKey : pIntell->nNormalKey;
    return true;
}
