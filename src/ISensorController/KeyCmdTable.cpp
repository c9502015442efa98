// The key/command table: one row per known key, naming the image-algorithm
// command that carries it and the handler that applies it. Rows are built in
// this order by every init and searched linearly.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "ISensorController.h"
#include "SensorDebug.h"

namespace {

struct KeyCmdRow {
    u32 key;
    u32 iaCmd;
    KeyCmdHandler handler;
    const char* szKeyName;
    const char* szHandlerName;
};

#define KEYCMD(name, cmd, handler) \
    {name, cmd, &ISensorController::handler, #name, "&ISensorController::" #handler}
#define KEYCMD_NONE(name) {name, 0, nullptr, #name, "NULL"}

const KeyCmdRow kKeyCmdRows[] = {
    KEYCMD(KEY__DDE_MANUAL_STRG, 8240, doIaCmd),
    KEYCMD(KEY_BRIGHTNESS, 34, doIaCmd),
    KEYCMD(KEY_SATURATION, 2337, doIaCmd),
    KEYCMD(KEY_CONTRAST, 2353, doIaCmd),
    KEYCMD(KEY_SHARPNESS, 2321, doIaCmd),
    KEYCMD(KEY_METER_AREA, 96, doIaCmd),
    KEYCMD(KEY_EXPOSE_MODE, 16, doIaCmd),
    KEYCMD(KEY_MAX_SHUTTER, 49, doIaCmd),
    KEYCMD(KEY_FIX_SHUTTER, 50, doIaCmd),
    KEYCMD(KEY_MAX_GAIN, 65, doIaCmd),
    KEYCMD(KEY_FIX_GAIN, 66, doIaCmd),
    KEYCMD(KEY_IRIS_SWITCH, 80, doIaCmd),
    KEYCMD(KEY_IRIS_SPEED, 81, doIaCmd),
    KEYCMD(KEY_IRIS_POSITION, 82, doIaCmd),
    KEYCMD(KEY_IRIS_SIZE, 85, doIaCmd),
    KEYCMD(KEY_IRIS_UP, 83, doIaCmd_User),
    KEYCMD(KEY_IRIS_DOWN, 84, doIaCmd_User),
    KEYCMD(KEY_WB_MODE, 768, doIaCmd),
    KEYCMD(KEY_R_GAIN, 770, doIaCmd),
    KEYCMD(KEY_B_GAIN, 771, doIaCmd),
    KEYCMD(KEY_DN_MODE, 144, doIaCmd),
    KEYCMD(KEY_DELAY, 147, doIaCmd),
    KEYCMD(KEY_IR_SWITCH, 160, doIaCmd),
    KEYCMD(KEY_IR_MODE, 161, doIaCmd),
    KEYCMD(KEY_IR_AUTO_STRG_NEAR, 162, doIaCmd),
    KEYCMD(KEY_IR_MANUAL_STRG_NEAR, 163, doIaCmd),
    KEYCMD(KEY_IR_AUTO_STRG_MEDIUM, 164, doIaCmd),
    KEYCMD(KEY_IR_MANUAL_STRG_MEDIUM, 165, doIaCmd),
    KEYCMD(KEY_IR_AUTO_STRG_FAR, 166, doIaCmd),
    KEYCMD(KEY_IR_MANUAL_STRG_FAR, 167, doIaCmd),
    KEYCMD(KEY_IR_ANTI_OVEREXP, 155, doIaCmd),
    KEYCMD(KEY_WHITE_SWITCH, 168, doIaCmd),
    KEYCMD(KEY_WHITE_MODE, 169, doIaCmd),
    KEYCMD(KEY_WHITE_MANUAL_STRG, 170, doIaCmd),
    KEYCMD(KEY_WHITE_MANUAL_STRG_MEDIUM, 171, doIaCmd),
    KEYCMD(KEY_WHITE_MANUAL_STRG_FAR, 172, doIaCmd),
    KEYCMD(KEY_2D_NR_SWITCH, 2304, doIaCmd),
    KEYCMD(KEY_2D_NR_MODE, 2305, doIaCmd),
    KEYCMD(KEY_2D_NR_STRG_A, 2306, doIaCmd),
    KEYCMD(KEY_2D_NR_STRG_M, 2307, doIaCmd),
    KEYCMD(KEY_3D_NR_SWITCH, 2308, doIaCmd),
    KEYCMD(KEY_3D_NR_MODE, 2309, doIaCmd),
    KEYCMD(KEY_3D_NR_STRG_A, 2312, doIaCmd),
    KEYCMD(KEY_3D_NR_STRG_M, 2313, doIaCmd),
    KEYCMD(KEY_WDR_MODE, 2368, doHwdr),
    KEYCMD(KEY_WDR_STRG, 2369, doIaCmd),
    KEYCMD(KEY_HLC_SWITCH, 112, doIaCmd),
    KEYCMD(KEY_HLC_STRG, 113, doIaCmd),
    KEYCMD(KEY_BLC_SWITCH, 128, doIaCmd),
    KEYCMD(KEY_BLC_MODE, 129, doIaCmd),
    KEYCMD(KEY_BLC_STRG, 130, doIaCmd),
    KEYCMD(KEY_ANTI_SHAKE_SWITCH, 2416, doDIS),
    KEYCMD(KEY_ANTI_SHAKE_STRG, 2417, doIaCmd),
    KEYCMD(KEY_DEFLG_SWITCH, 2400, doIaCmd),
    KEYCMD(KEY_DEFLG_STRG, 2401, doIaCmd),
    KEYCMD(KEY_IN_OUT_SIDE, 176, doIaCmd),
    KEYCMD(KEY_TEST_PARAM1, 190, test_debugParam),
    KEYCMD(KEY_TEST_PARAM2, 191, test_debugParam),
    KEYCMD(KEY_TEST_PARAM3, 192, test_debugParam),
    KEYCMD(KEY_TEST_PARAM4, 193, test_debugParam),
    KEYCMD(KEY_MIRROR, 2384, doMirror),
    KEYCMD(KEY_BEAWAY, 2385, doBeaway),
    KEYCMD(KEY_DTN_THR, 145, doDNThr),
    KEYCMD(KEY_NTD_THR, 146, doDNThr),
    KEYCMD(KEY_DN_SENSITIVITY, 154, doDNThr),
    KEYCMD(KEY_DTN_H, 149, doDNTime),
    KEYCMD(KEY_DTN_M, 150, doDNTime),
    KEYCMD(KEY_NTD_H, 151, doDNTime),
    KEYCMD(KEY_NTD_M, 152, doDNTime),
    KEYCMD(KEY_AUTO_FOCUS_MODE, 1536, doIaCmd),
    KEYCMD(KEY_AUTO_FOCUS_NEAR_LIMIT, 1537, doIaCmd),
    KEYCMD(KEY_AUTO_FOCUS_SENSITIVITY, 1538, doIaCmd),
    KEYCMD(KEY_AUTO_FOCUS_ONCE, 1539, doIaCmd_User),
    KEYCMD(KEY_LENS_RESET, 1616, doIaCmd_User),
    KEYCMD(KEY_ZOOM_OUT, 1570, doIaCmd_User),
    KEYCMD(KEY_ZOOM_IN, 1569, doIaCmd_User),
    KEYCMD(KEY_FOCUS_NEAR, 1553, doIaCmd_User),
    KEYCMD(KEY_FOCUS_FAR, 1554, doIaCmd_User),
    KEYCMD(KEY_DIGITAL_ZOOM, 1584, doIaCmd),
    KEYCMD(KEY_MZOOM_SPEED, 1571, doIaCmd),
    KEYCMD(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, 8104, doIoCrtl),
    KEYCMD(KEY_MIXSTREAM_DISTANCE, 8100, doIaCmd_PanoTuning),
    KEYCMD(KEY_MIXSTREAM_DISTANCE_Y_OFFSET, 8101, doIaCmd_PanoTuning),
    KEYCMD(KEY_MIXSTREAM_DISTANCE_WIDTH_OFFSET, 8102, doIaCmd_PanoTuning),
    KEYCMD(KEY_MIXSTREAM_DISTANCE_HEIGHT_OFFSET, 8103, doIaCmd_PanoTuning),
    KEYCMD_NONE(KEY_SCHEME_MODE),
    KEYCMD_NONE(KEY_SCHEME_START_HOUR),
    KEYCMD_NONE(KEY_SCHEME_START_MIN),
    KEYCMD_NONE(KEY_SCHEME_END_HOUR),
    KEYCMD_NONE(KEY_SCHEME_END_MIN),
    KEYCMD_NONE(KEY_EMPTY1),
    KEYCMD_NONE(KEY_EMPTY2),
    KEYCMD(KEY_MF_POSITION, 1552, doIaCmd),
    KEYCMD(KEY_MZ_POSITION, 1568, doIaCmd),
    KEYCMD(KEY_CAP_OFF_ADJ_DIRECTION, 2432, doImageAdjust),
    KEYCMD(KEY_CAP_OFF_ADJ_STEP, 2433, doIaCmd),
    KEYCMD(KEY_CAP_OFF_ADJ_H_MIN, 2434, doIaCmd),
    KEYCMD(KEY_CAP_OFF_ADJ_H_MAX, 2435, doIaCmd),
    KEYCMD(KEY_CAP_OFF_ADJ_H_CUR, 2436, doImageAdjust),
    KEYCMD(KEY_CAP_OFF_ADJ_V_MIN, 2437, doIaCmd),
    KEYCMD(KEY_CAP_OFF_ADJ_V_MAX, 2438, doIaCmd),
    KEYCMD(KEY_CAP_OFF_ADJ_V_CUR, 2439, doImageAdjust),
    KEYCMD(KEY_SENSOR_FPS, 2464, doIaCmd_User),
    KEYCMD(KEY_FREEZE, 2512, doIaCmd),
    KEYCMD(KEY_GAMMA, 2528, doIaCmd),
    KEYCMD(KEY_DN_AF_MODE, 2560, doIaCmd),
    KEYCMD(KEY_NONE_COLOR_MODE, 8201, doIaCmd),
    KEYCMD(KEY_DVE_MODE, 8202, doIaCmd),
    KEYCMD(KEY_AUTO_TIME, 8203, doIaCmd),
    KEYCMD(KEY_AUTO_TEMPR, 8209, doIaCmd),
    KEYCMD(KEY_CONTROL_FFC_MODE, 8204, doIaCmd),
    KEYCMD(KEY_IMAGES_ADJUST, 8205, doIaCmd),
    KEYCMD(KEY_IMAGES_REGULATE, 8206, doIaCmd),
    KEYCMD(KEY_FOCUS_SPEED_LEVEL, 8207, doIaCmd),
    KEYCMD(KEY_DVE_TYPE, 8208, doIaCmd),
    KEYCMD(KEY_SHUTTER_ADJUST, 8211, doIaCmdShutter),
    KEYCMD(KEY_BACKGROUND_ADJUST, 8212, doIaCmd_User),
    KEYCMD(KEY_TEMPERATURE_STRIP_SWITCH, 8217, doIaCmd),
    KEYCMD(IA_CMD_UI_SHUTTER_RESET, 8231, doIaCmd_User),
    KEYCMD(KEY_PANO_STITCH_DIST, 9000, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_SAVE, 9001, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_RESET, 9002, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_PREVIEW, 9003, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ADJUST_EN, 9004, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ID, 9005, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ADJUST_EN_1, 9101, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_YAW_1, 9102, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_PITCH_1, 9103, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ROLL_1, 9104, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETX_1, 9105, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETY_1, 9106, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ADJUST_EN_2, 9201, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_YAW_2, 9202, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_PITCH_2, 9203, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ROLL_2, 9204, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETX_2, 9205, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETY_2, 9206, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ADJUST_EN_3, 9301, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_YAW_3, 9302, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_PITCH_3, 9303, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ROLL_3, 9304, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETX_3, 9305, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETY_3, 9306, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ADJUST_EN_4, 9401, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_YAW_4, 9402, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_PITCH_4, 9403, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_ROLL_4, 9404, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETX_4, 9405, doIaCmd_PanoTuning),
    KEYCMD(KEY_PANO_OFFSETY_4, 9406, doIaCmd_PanoTuning),
    KEYCMD_NONE(KEY_IR_MODE_INTELL),
    KEYCMD_NONE(KEY_WHITE_MODE_INTELL),
    KEYCMD_NONE(KEY_IR_MANUAL_STRG_NEAR_INTELL),
    KEYCMD_NONE(KEY_WHITE_MANUAL_STRG_INTELL),
    KEYCMD(KEY_LIGHT_TYPE, 224, doIaCmd),
    KEYCMD(KEY_LDC_SWITCH, 2048, doIaCmd),
    KEYCMD(KEY_LDC_STRG, 2064, doIaCmd),
};

#undef KEYCMD
#undef KEYCMD_NONE

const u32 kKeyCmdRowCount = sizeof(kKeyCmdRows) / sizeof(kKeyCmdRows[0]);
static_assert(sizeof(kKeyCmdRows) / sizeof(kKeyCmdRows[0]) == 156, "the table has 156 rows");

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

void ISensorController::buildKeyCmdMap()
{
    const u32 nCapacity = m_nKeyCmdSum < kKeyCmdRowCount ? kKeyCmdRowCount : m_nKeyCmdSum;
    m_pKeyCmdMap = static_cast<keycmd*>(calloc(nCapacity, sizeof(keycmd)));
    for (u32 i = 0; i < kKeyCmdRowCount; ++i) {
        keycmd& stRow = m_pKeyCmdMap[i];
        stRow.key = kKeyCmdRows[i].key;
        stRow.iaCmd = kKeyCmdRows[i].iaCmd;
        stRow.handler = kKeyCmdRows[i].handler;
        copyName(stRow.szKeyName, sizeof(stRow.szKeyName), kKeyCmdRows[i].szKeyName);
        copyName(stRow.szHandlerName, sizeof(stRow.szHandlerName), kKeyCmdRows[i].szHandlerName);
    }
    m_nKeyCmdSum = kKeyCmdRowCount;
}

int ISensorController::keyCmdRow(const keycmd* p_pMap, u32 p_nKey)
{
    // The built table holds the rows of kKeyCmdRows in their order.
    if (p_pMap != nullptr && p_pMap == m_pKeyCmdMap && m_nKeyCmdSum == kKeyCmdRowCount) {
        const int nRow = kKeyRows.rowOf(p_nKey);
        if (nRow >= 0) return nRow;
    } else if (p_pMap != nullptr) {
        for (u32 i = 0; i < m_nKeyCmdSum; ++i)
            if (p_pMap[i].key == p_nKey) return static_cast<int>(i);
    }
    SNS_PRINT(SNS_COLOUR_NONE, "cand not find key-cmd while key=%d\n", p_nKey);
    return -1;
}

int ISensorController::findFromKeyCmdMap(const keycmd* p_pMap, u32 p_nKey, keycmd& p_stOut)
{
    const int nRow = keyCmdRow(p_pMap, p_nKey);
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
