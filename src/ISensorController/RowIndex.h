// Where each key sits in the scheme rows. The rows are read from the scheme
// files at init and keep their keys from then on (only values change); a
// row whose keys are those of the factory row, in the same order, is found
// through one hash of the factory row, other rows by the linear search.
#ifndef ROW_INDEX_H
#define ROW_INDEX_H

#include <vector>

#include "SensorTypes.h"

class RowIndex {
public:
    // p_ppRows: p_nRows rows of p_nCount records; the last one is the factory row.
    void build(KeyVal* const* p_ppRows, u32 p_nRows, u32 p_nCount);
    void clear();
    // Index of the first record with the key in row p_nRow (p_pRow), or -1.
    int find(const KeyVal* p_pRow, u32 p_nRow, u32 p_nCount, u32 p_nKey) const;
    // True when row p_nRow of p_nCount records has the factory's keys, all different.
    bool isUniqueRow(u32 p_nRow, u32 p_nCount) const
    {
        return p_nCount == m_nCount && p_nRow < 64 && ((m_nUniqueRows >> p_nRow) & 1) != 0;
    }
    // The same, looking at position p_nHint first: in a row with the
    // factory's keys, all different, a key found there is found nowhere else.
    int findAt(const KeyVal* p_pRow, u32 p_nRow, u32 p_nCount, u32 p_nKey, u32 p_nHint) const
    {
        if (p_nHint < p_nCount && isUniqueRow(p_nRow, p_nCount) && p_pRow[p_nHint].key == p_nKey)
            return static_cast<int>(p_nHint);
        return find(p_pRow, p_nRow, p_nCount, p_nKey);
    }

private:
    int hashed(u32 p_nKey) const;

    std::vector<u32> m_vecKeys;
    std::vector<int> m_vecPositions;  // -1: empty slot
    std::vector<unsigned char> m_vecAligned;  // per row: the factory's keys in its order
    // Bit r: row r is aligned and no key occurs twice in it.
    unsigned long long m_nUniqueRows = 0;
    u32 m_nMask = 0;
    u32 m_nCount = 0;
};

#endif
