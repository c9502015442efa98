// The infrared power budget pairs of the parameter pipeline.
#include "KeySets.h"

namespace {

const IrBudgetPair kIrBudgetPairs[] = {
    {KEY_IR_MANUAL_STRG_NEAR, KEY_IR_MANUAL_STRG_FAR, 807},
    {KEY_IR_MANUAL_STRG_FAR, KEY_IR_MANUAL_STRG_NEAR, 878},
};

}  // namespace

const IrBudgetPair* findIrBudgetPair(u32 p_nKey)
{
    for (const IrBudgetPair& stPair : kIrBudgetPairs)
        if (stPair.nKey == p_nKey) return &stPair;
    return nullptr;
}
