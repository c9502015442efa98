// Search of a KeyVal array: within one array a key occurs at most once, and
// lookups take the first match.
#ifndef KEY_VAL_SEARCH_H
#define KEY_VAL_SEARCH_H

#include "SensorTypes.h"

// Index of the first record with the key, or -1.
inline int findKeyVal(const KeyVal* p_pKeyVal, u32 p_nCount, u32 p_nKey)
{
    for (u32 i = 0; i < p_nCount; ++i)
        if (p_pKeyVal[i].key == p_nKey) return static_cast<int>(i);
    return -1;
}

#endif
