#include "RowIndex.h"

#include <string.h>

#include "SensorKeyVal/KeyValSearch.h"

namespace {

u32 slotOf(u32 p_nKey, u32 p_nMask) { return (p_nKey * 2654435761u >> 7) & p_nMask; }

bool sameKeys(const KeyVal* p_pRow, const KeyVal* p_pFactory, u32 p_nCount)
{
    for (u32 i = 0; i < p_nCount; ++i)
        if (p_pRow[i].key != p_pFactory[i].key) return false;
    return true;
}

}  // namespace

void RowIndex::build(KeyVal* const* p_ppRows, u32 p_nRows, u32 p_nCount)
{
    clear();
    if (p_ppRows == nullptr || p_nRows == 0) return;
    u32 nSlots = 16;
    while (nSlots < 2 * p_nCount) nSlots *= 2;
    m_vecKeys.assign(nSlots, 0);
    m_vecPositions.assign(nSlots, -1);
    m_nMask = nSlots - 1;
    m_nCount = p_nCount;
    const KeyVal* pFactory = p_ppRows[p_nRows - 1];
    bool bUnique = true;
    for (u32 i = 0; i < p_nCount; ++i) {
        u32 nSlot = slotOf(pFactory[i].key, m_nMask);
        while (m_vecPositions[nSlot] >= 0 && m_vecKeys[nSlot] != pFactory[i].key) nSlot = (nSlot + 1) & m_nMask;
        // A key that occurs twice keeps its first position.
        if (m_vecPositions[nSlot] >= 0) {
            bUnique = false;
            continue;
        }
        m_vecKeys[nSlot] = pFactory[i].key;
        m_vecPositions[nSlot] = static_cast<int>(i);
    }
    m_vecAligned.assign(p_nRows, 0);
    for (u32 r = 0; r < p_nRows; ++r) {
        m_vecAligned[r] = sameKeys(p_ppRows[r], pFactory, p_nCount) ? 1 : 0;
        if (bUnique && m_vecAligned[r] != 0 && r < 64) m_nUniqueRows |= 1ULL << r;
    }
}

void RowIndex::clear()
{
    m_vecKeys.clear();
    m_vecPositions.clear();
    m_vecAligned.clear();
    m_nMask = 0;
    m_nCount = 0;
    m_nUniqueRows = 0;
}

int RowIndex::hashed(u32 p_nKey) const
{
    for (u32 nSlot = slotOf(p_nKey, m_nMask);; nSlot = (nSlot + 1) & m_nMask) {
        const int nPos = m_vecPositions[nSlot];
        if (nPos < 0 || m_vecKeys[nSlot] == p_nKey) return nPos;
    }
}

int RowIndex::find(const KeyVal* p_pRow, u32 p_nRow, u32 p_nCount, u32 p_nKey) const
{
    if (p_nRow < m_vecAligned.size() && m_vecAligned[p_nRow] && p_nCount == m_nCount) return hashed(p_nKey);
    return findKeyVal(p_pRow, p_nCount, p_nKey);
}
