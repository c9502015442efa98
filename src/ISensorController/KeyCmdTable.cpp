// The key/command table: one row per known key, naming the image-algorithm
// command that carries it and the handler that applies it. Rows are built in
// this order by every init and searched linearly.
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

int ISensorController::findFromKeyCmdMap(const keycmd* p_pMap, u32 p_nKey, keycmd& p_stOut)
{
    for (u32 i = 0; i < m_nKeyCmdSum; ++i) {
        if (p_pMap[i].key != p_nKey) continue;
        p_stOut.key = p_nKey;
        p_stOut.iaCmd = p_pMap[i].iaCmd;
        p_stOut.handler = p_pMap[i].handler;
        copyName(p_stOut.szKeyName, sizeof(p_stOut.szKeyName), p_pMap[i].szKeyName);
        copyName(p_stOut.szHandlerName, sizeof(p_stOut.szHandlerName), p_pMap[i].szHandlerName);
        return static_cast<int>(i);
    }
    snsPrint(SNS_HERE, SNS_COLOUR_NONE, "cand not find key-cmd while key=%d\n", p_nKey);
    return -1;
}

const char* findKeyName(u32 p_nKey)
{
    for (const KeyCmdRow& stRow : kKeyCmdRows)
        if (stRow.key == p_nKey) return stRow.szKeyName;
    return nullptr;
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
