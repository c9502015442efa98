// The key/command table: one row per known key, naming the image-algorithm
// command that carries it and the handler that applies it. Rows are built in
// this order by every init; a key finds its row through an index.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "IaInterface.h"
#include "KeySets.h"
#include "SensorDebug.h"

namespace {

struct KeyCmdRow {
    u32 key;
    u32 iaCmd;
    KeyCmdHandler handler;
    const char* szKeyName;
    const char* szHandlerName;
};

#define KEYCMD(name, key, cmd, handler, roles) \
    {name, cmd, &ISensorController::handler, #name, "&ISensorController::" #handler},
#define KEYCMD_NONE(name, key, roles) {name, 0, nullptr, #name, "NULL"},
const KeyCmdRow kKeyCmdRows[] = {SNS_KEYS(KEYCMD, KEYCMD_NONE)};
#undef KEYCMD
#undef KEYCMD_NONE

const u32 kKeyCmdRowCount = sizeof(kKeyCmdRows) / sizeof(kKeyCmdRows[0]);
static_assert(kKeyCmdRowCount == SNS_KEY_TABLE_ROWS && kKeyCmdRowCount == 156, "the table has 156 rows");

// Names longer than the field keep their first 31 characters.
void copyName(char* p_szDst, size_t p_nSize, const char* p_szSrc)
{
    const size_t nLen = strnlen(p_szSrc, p_nSize - 1);
    memcpy(p_szDst, p_szSrc, nLen);
    p_szDst[nLen] = '\0';
}

// Row of each key: the table is searched by key on every parameter change,
// and its keys never change. Keys from kKeyLimit on are searched row by row.
const u32 kKeyLimit = 10000;

class KeyRowLookup {
public:
    KeyRowLookup() : m_arrRows()
    {
        // Of two rows with one key the first would be found.
        for (u32 i = kKeyCmdRowCount; i-- > 0;)
            if (kKeyCmdRows[i].key < kKeyLimit) m_arrRows[kKeyCmdRows[i].key] = static_cast<unsigned char>(i + 1);
    }
    // The first row of the key in the built table, or -1.
    int rowOf(u32 p_nKey) const
    {
        if (p_nKey < kKeyLimit) return static_cast<int>(m_arrRows[p_nKey]) - 1;
        for (u32 i = 0; i < kKeyCmdRowCount; ++i)
            if (kKeyCmdRows[i].key == p_nKey) return static_cast<int>(i);
        return -1;
    }

private:
    unsigned char m_arrRows[kKeyLimit];
};

static_assert(kKeyCmdRowCount < 255, "a row index fits a byte");
const KeyRowLookup kKeyRows;

}  // namespace

void SensorControllerDetail::buildKeyCmdMap()
{
    const u32 nCapacity = c.m_nKeyCmdSum < kKeyCmdRowCount ? kKeyCmdRowCount : c.m_nKeyCmdSum;
    c.m_pKeyCmdMap = static_cast<keycmd*>(calloc(nCapacity, sizeof(keycmd)));
    for (u32 i = 0; i < kKeyCmdRowCount; ++i) {
        keycmd& stRow = c.m_pKeyCmdMap[i];
        stRow.key = kKeyCmdRows[i].key;
        stRow.iaCmd = kKeyCmdRows[i].iaCmd;
        stRow.handler = kKeyCmdRows[i].handler;
        copyName(stRow.szKeyName, sizeof(stRow.szKeyName), kKeyCmdRows[i].szKeyName);
        copyName(stRow.szHandlerName, sizeof(stRow.szHandlerName), kKeyCmdRows[i].szHandlerName);
    }
    c.m_nKeyCmdSum = kKeyCmdRowCount;
}

int SensorControllerDetail::keyCmdRow(const keycmd* p_pMap, u32 p_nKey)
{
    // The built table holds the rows of kKeyCmdRows in their order.
    if (p_pMap != nullptr && p_pMap == c.m_pKeyCmdMap && c.m_nKeyCmdSum == kKeyCmdRowCount) {
        const int nRow = kKeyRows.rowOf(p_nKey);
        if (nRow >= 0) return nRow;
    } else if (p_pMap != nullptr) {
        for (u32 i = 0; i < c.m_nKeyCmdSum; ++i)
            if (p_pMap[i].key == p_nKey) return static_cast<int>(i);
    }
    snsPrint(SNS_HERE, SNS_COLOUR_NONE, "cand not find key-cmd while key=%d\n", p_nKey);
    return -1;
}

int ISensorController::findFromKeyCmdMap(const keycmd* p_pMap, u32 p_nKey, keycmd& p_stOut)
{
    const int nRow = detail(*this).keyCmdRow(p_pMap, p_nKey);
    if (nRow < 0) return -1;
    const keycmd& stRow = p_pMap[nRow];
    p_stOut.key = p_nKey;
    p_stOut.iaCmd = stRow.iaCmd;
    p_stOut.handler = stRow.handler;
    copyName(p_stOut.szKeyName, sizeof(p_stOut.szKeyName), stRow.szKeyName);
    copyName(p_stOut.szHandlerName, sizeof(p_stOut.szHandlerName), stRow.szHandlerName);
    return nRow;
}

const char* findKeyName(u32 p_nKey)
{
    const int nRow = kKeyRows.rowOf(p_nKey);
    return nRow >= 0 ? kKeyCmdRows[nRow].szKeyName : nullptr;
}

bool findKeyByName(const char* p_szName, u32* p_pnKey)
{
    if (p_szName == nullptr) return false;
    for (const KeyCmdRow& stRow : kKeyCmdRows) {
        const char* szShort = stRow.szKeyName + (strncmp(stRow.szKeyName, "KEY_", 4) == 0 ? 4 : 0);
        if (strcasecmp(p_szName, stRow.szKeyName) == 0 || strcasecmp(p_szName, szShort) == 0) {
            *p_pnKey = stRow.key;
            return true;
        }
    }
    return false;
}

u32 keyTableSize()
{
    return kKeyCmdRowCount;
}

u32 keyTableKeyAt(u32 p_nRow)
{
    return p_nRow < kKeyCmdRowCount ? kKeyCmdRows[p_nRow].key : 0;
}

bool keyTableCommand(u32 p_nKey, u32* p_pnIaCmd, bool* p_pbHandler)
{
    for (const KeyCmdRow& stRow : kKeyCmdRows) {
        if (stRow.key != p_nKey) continue;
        if (p_pnIaCmd != nullptr) *p_pnIaCmd = stRow.iaCmd;
        if (p_pbHandler != nullptr) *p_pbHandler = stRow.handler != nullptr;
        return true;
    }
    return false;
}

u32 keyRoles(u32 p_nKey)
{
    switch (p_nKey) {
#define KEY_ROLES(name, key, cmd, handler, roles) \
    case key:                                     \
        return roles;
#define KEY_ROLES_NONE(name, key, roles) \
    case key:                            \
        return roles;
        SNS_KEYS(KEY_ROLES, KEY_ROLES_NONE)
#undef KEY_ROLES
#undef KEY_ROLES_NONE
        default:
            return 0;
    }
}
