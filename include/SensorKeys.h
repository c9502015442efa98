// Parameter keys: the numbers the host, the parameter files and the text
// form use for image parameters, and the one list that gives each known key
// its image-algorithm command, its handler and its roles in the pipeline.
#ifndef SENSOR_KEYS_H
#define SENSOR_KEYS_H

// Roles of a key in the parameter pipeline.
enum SensorKeyRole {
    SNS_ROLE_CACHE_ONLY = 1,  // scheme window and placeholders: stored in the cache, never applied
    SNS_ROLE_DAY_NIGHT = 2,   // under day/night switching only scheme 0 applies them; scheme 1 follows
    SNS_ROLE_IR_UNSET = 4,    // infrared keys read as -1 when not cached
    SNS_ROLE_THERMAL = 8,     // on the thermal channel: to the video module or the handler, past the table
};

// The key/command table in row order:
//   X(name, key, IA command, handler, roles) for a row with a handler,
//   N(name, key, roles) for a row without one (IA command 0).
// IA commands with a name in IaInterface.h are written by that name.
#define SNS_KEYS(X, N)                                                         \
    X(KEY__DDE_MANUAL_STRG, 8240, 8240, doIaCmd, 0)                            \
    X(KEY_BRIGHTNESS, 34, 34, doIaCmd, 0)                                      \
    X(KEY_SATURATION, 2337, 2337, doIaCmd, 0)                                  \
    X(KEY_CONTRAST, 2353, 2353, doIaCmd, 0)                                    \
    X(KEY_SHARPNESS, 2321, 2321, doIaCmd, 0)                                   \
    X(KEY_METER_AREA, 96, 96, doIaCmd, 0)                                      \
    X(KEY_EXPOSE_MODE, 16, IA_CMD_EXPOSE_MODE, doIaCmd, 0)                     \
    X(KEY_MAX_SHUTTER, 49, IA_CMD_MAX_SHUTTER, doIaCmd, 0)                     \
    X(KEY_FIX_SHUTTER, 50, 50, doIaCmd, 0)                                     \
    X(KEY_MAX_GAIN, 65, 65, doIaCmd, 0)                                        \
    X(KEY_FIX_GAIN, 66, 66, doIaCmd, 0)                                        \
    X(KEY_IRIS_SWITCH, 80, 80, doIaCmd, 0)                                     \
    X(KEY_IRIS_SPEED, 81, 81, doIaCmd, 0)                                      \
    X(KEY_IRIS_POSITION, 82, IA_CMD_IRIS_POSITION, doIaCmd, 0)                 \
    X(KEY_IRIS_SIZE, 83, 85, doIaCmd, 0)                                       \
    X(KEY_IRIS_UP, 17, IA_CMD_IRIS_UP, doIaCmd_User, 0)                        \
    X(KEY_IRIS_DOWN, 18, IA_CMD_IRIS_DOWN, doIaCmd_User, 0)                    \
    X(KEY_WB_MODE, 768, 768, doIaCmd, 0)                                       \
    X(KEY_R_GAIN, 770, 770, doIaCmd, 0)                                        \
    X(KEY_B_GAIN, 771, 771, doIaCmd, 0)                                        \
    X(KEY_DN_MODE, 144, 144, doIaCmd, SNS_ROLE_DAY_NIGHT)                      \
    X(KEY_DELAY, 147, 147, doIaCmd, 0)                                         \
    X(KEY_IR_SWITCH, 160, IA_CMD_IR_SWITCH, doIaCmd, SNS_ROLE_IR_UNSET)        \
    X(KEY_IR_MODE, 161, 161, doIaCmd, SNS_ROLE_IR_UNSET)                       \
    X(KEY_IR_AUTO_STRG_NEAR, 162, 162, doIaCmd, 0)                             \
    X(KEY_IR_MANUAL_STRG_NEAR, 163, 163, doIaCmd, SNS_ROLE_IR_UNSET)           \
    X(KEY_IR_AUTO_STRG_MEDIUM, 164, 164, doIaCmd, 0)                           \
    X(KEY_IR_MANUAL_STRG_MEDIUM, 165, 165, doIaCmd, SNS_ROLE_IR_UNSET)         \
    X(KEY_IR_AUTO_STRG_FAR, 166, 166, doIaCmd, 0)                              \
    X(KEY_IR_MANUAL_STRG_FAR, 167, 167, doIaCmd, SNS_ROLE_IR_UNSET)            \
    X(KEY_IR_ANTI_OVEREXP, 155, 155, doIaCmd, 0)                               \
    X(KEY_WHITE_SWITCH, 170, IA_CMD_WHITE_SWITCH, doIaCmd, 0)                  \
    X(KEY_WHITE_MODE, 171, IA_CMD_WHITE_MODE, doIaCmd, 0)                      \
    X(KEY_WHITE_MANUAL_STRG, 172, 170, doIaCmd, 0)                             \
    X(KEY_WHITE_MANUAL_STRG_MEDIUM, 173, 171, doIaCmd, 0)                      \
    X(KEY_WHITE_MANUAL_STRG_FAR, 174, 172, doIaCmd, 0)                         \
    X(KEY_2D_NR_SWITCH, 2304, 2304, doIaCmd, 0)                                \
    X(KEY_2D_NR_MODE, 2305, 2305, doIaCmd, 0)                                  \
    X(KEY_2D_NR_STRG_A, 2306, 2306, doIaCmd, 0)                                \
    X(KEY_2D_NR_STRG_M, 2307, 2307, doIaCmd, 0)                                \
    X(KEY_3D_NR_SWITCH, 2308, 2308, doIaCmd, 0)                                \
    X(KEY_3D_NR_MODE, 2309, 2309, doIaCmd, 0)                                  \
    X(KEY_3D_NR_STRG_A, 2312, 2312, doIaCmd, 0)                                \
    X(KEY_3D_NR_STRG_M, 2313, 2313, doIaCmd, 0)                                \
    X(KEY_WDR_MODE, 2368, IA_CMD_WDR_MODE, doHwdr, 0)                          \
    X(KEY_WDR_STRG, 2369, 2369, doIaCmd, 0)                                    \
    X(KEY_HLC_SWITCH, 112, 112, doIaCmd, 0)                                    \
    X(KEY_HLC_STRG, 113, 113, doIaCmd, 0)                                      \
    X(KEY_BLC_SWITCH, 128, 128, doIaCmd, 0)                                    \
    X(KEY_BLC_MODE, 129, 129, doIaCmd, 0)                                      \
    X(KEY_BLC_STRG, 130, 130, doIaCmd, 0)                                      \
    X(KEY_ANTI_SHAKE_SWITCH, 2416, 2416, doDIS, SNS_ROLE_THERMAL)              \
    X(KEY_ANTI_SHAKE_STRG, 2417, 2417, doIaCmd, 0)                             \
    X(KEY_DEFLG_SWITCH, 2400, 2400, doIaCmd, 0)                                \
    X(KEY_DEFLG_STRG, 2401, 2401, doIaCmd, 0)                                  \
    X(KEY_IN_OUT_SIDE, 176, 176, doIaCmd, 0)                                   \
    X(KEY_TEST_PARAM1, 190, 190, test_debugParam, 0)                           \
    X(KEY_TEST_PARAM2, 191, 191, test_debugParam, 0)                           \
    X(KEY_TEST_PARAM3, 192, 192, test_debugParam, 0)                           \
    X(KEY_TEST_PARAM4, 193, 193, test_debugParam, 0)                           \
    X(KEY_MIRROR, 2384, IA_CMD_UI_MIRROR, doMirror, SNS_ROLE_THERMAL)          \
    X(KEY_BEAWAY, 2385, 2385, doBeaway, 0)                                     \
    X(KEY_DTN_THR, 145, 145, doDNThr, SNS_ROLE_DAY_NIGHT)                      \
    X(KEY_NTD_THR, 146, 146, doDNThr, SNS_ROLE_DAY_NIGHT)                      \
    X(KEY_DN_SENSITIVITY, 154, 154, doDNThr, 0)                                \
    X(KEY_DTN_H, 149, 149, doDNTime, SNS_ROLE_DAY_NIGHT)                       \
    X(KEY_DTN_M, 150, 150, doDNTime, SNS_ROLE_DAY_NIGHT)                       \
    X(KEY_NTD_H, 151, 151, doDNTime, SNS_ROLE_DAY_NIGHT)                       \
    X(KEY_NTD_M, 152, 152, doDNTime, SNS_ROLE_DAY_NIGHT)                       \
    X(KEY_AUTO_FOCUS_MODE, 1536, IA_CMD_FOCUS_MODE, doIaCmd, 0)                \
    X(KEY_AUTO_FOCUS_NEAR_LIMIT, 1537, 1537, doIaCmd, 0)                       \
    X(KEY_AUTO_FOCUS_SENSITIVITY, 1538, 1538, doIaCmd, 0)                      \
    X(KEY_AUTO_FOCUS_ONCE, 1539, 1539, doIaCmd_User, 0)                        \
    X(KEY_LENS_RESET, 1616, 1616, doIaCmd_User, 0)                             \
    X(KEY_ZOOM_OUT, 1570, IA_CMD_ZOOM_OUT, doIaCmd_User, 0)                    \
    X(KEY_ZOOM_IN, 1569, IA_CMD_ZOOM_IN, doIaCmd_User, 0)                      \
    X(KEY_FOCUS_NEAR, 1553, IA_CMD_FOCUS_NEAR, doIaCmd_User, 0)                \
    X(KEY_FOCUS_FAR, 1554, IA_CMD_FOCUS_FAR, doIaCmd_User, 0)                  \
    X(KEY_DIGITAL_ZOOM, 1584, 1584, doIaCmd, 0)                                \
    X(KEY_MZOOM_SPEED, 1571, 1571, doIaCmd, 0)                                 \
    X(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, 8104, 8104, doIoCrtl, 0)       \
    X(KEY_MIXSTREAM_DISTANCE, 8100, 8100, doIaCmd_PanoTuning, 0)               \
    X(KEY_MIXSTREAM_DISTANCE_Y_OFFSET, 8101, 8101, doIaCmd_PanoTuning, 0)      \
    X(KEY_MIXSTREAM_DISTANCE_WIDTH_OFFSET, 8102, 8102, doIaCmd_PanoTuning, 0)  \
    X(KEY_MIXSTREAM_DISTANCE_HEIGHT_OFFSET, 8103, 8103, doIaCmd_PanoTuning, 0) \
    N(KEY_SCHEME_MODE, 8000, 0)                                                \
    N(KEY_SCHEME_START_HOUR, 8001, SNS_ROLE_CACHE_ONLY)                        \
    N(KEY_SCHEME_START_MIN, 8002, SNS_ROLE_CACHE_ONLY)                         \
    N(KEY_SCHEME_END_HOUR, 8003, SNS_ROLE_CACHE_ONLY)                          \
    N(KEY_SCHEME_END_MIN, 8004, SNS_ROLE_CACHE_ONLY)                           \
    N(KEY_EMPTY1, 10, SNS_ROLE_CACHE_ONLY)                                     \
    N(KEY_EMPTY2, 11, SNS_ROLE_CACHE_ONLY)                                     \
    X(KEY_MF_POSITION, 1552, IA_CMD_MF_POSITION, doIaCmd, 0)                   \
    X(KEY_MZ_POSITION, 1568, IA_CMD_MZ_POSITION, doIaCmd, 0)                   \
    X(KEY_CAP_OFF_ADJ_DIRECTION, 2432, 2432, doImageAdjust, 0)                 \
    X(KEY_CAP_OFF_ADJ_STEP, 2433, 2433, doIaCmd, 0)                            \
    X(KEY_CAP_OFF_ADJ_H_MIN, 2434, 2434, doIaCmd, 0)                           \
    X(KEY_CAP_OFF_ADJ_H_MAX, 2435, 2435, doIaCmd, 0)                           \
    X(KEY_CAP_OFF_ADJ_H_CUR, 2436, 2436, doImageAdjust, 0)                     \
    X(KEY_CAP_OFF_ADJ_V_MIN, 2437, 2437, doIaCmd, 0)                           \
    X(KEY_CAP_OFF_ADJ_V_MAX, 2438, 2438, doIaCmd, 0)                           \
    X(KEY_CAP_OFF_ADJ_V_CUR, 2439, 2439, doImageAdjust, 0)                     \
    X(KEY_SENSOR_FPS, 2497, 2464, doIaCmd_User, 0)                             \
    X(KEY_FREEZE, 2512, 2512, doIaCmd, 0)                                      \
    X(KEY_GAMMA, 2528, 2528, doIaCmd, 0)                                       \
    X(KEY_DN_AF_MODE, 2560, 2560, doIaCmd, 0)                                  \
    X(KEY_NONE_COLOR_MODE, 8201, 8201, doIaCmd, SNS_ROLE_THERMAL)              \
    X(KEY_DVE_MODE, 8202, 8202, doIaCmd, 0)                                    \
    X(KEY_AUTO_TIME, 8203, 8203, doIaCmd, 0)                                   \
    X(KEY_AUTO_TEMPR, 8209, 8209, doIaCmd, 0)                                  \
    X(KEY_CONTROL_FFC_MODE, 8204, 8204, doIaCmd, 0)                            \
    X(KEY_IMAGES_ADJUST, 8205, 8205, doIaCmd, 0)                               \
    X(KEY_IMAGES_REGULATE, 8206, 8206, doIaCmd, 0)                             \
    X(KEY_FOCUS_SPEED_LEVEL, 8207, 8207, doIaCmd, 0)                           \
    X(KEY_DVE_TYPE, 8208, 8208, doIaCmd, 0)                                    \
    X(KEY_SHUTTER_ADJUST, 8211, 8211, doIaCmdShutter, 0)                       \
    X(KEY_BACKGROUND_ADJUST, 8212, 8212, doIaCmd_User, 0)                      \
    X(KEY_TEMPERATURE_STRIP_SWITCH, 8217, 8217, doIaCmd, SNS_ROLE_THERMAL)     \
    X(IA_CMD_UI_SHUTTER_RESET, 8231, 8231, doIaCmd_User, 0)                    \
    X(KEY_PANO_STITCH_DIST, 9000, 9000, doIaCmd_PanoTuning, 0)                 \
    X(KEY_PANO_SAVE, 9001, 9001, doIaCmd_PanoTuning, 0)                        \
    X(KEY_PANO_RESET, 9002, 9002, doIaCmd_PanoTuning, 0)                       \
    X(KEY_PANO_PREVIEW, 9003, 9003, doIaCmd_PanoTuning, 0)                     \
    X(KEY_PANO_ADJUST_EN, 9004, 9004, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_ID, 9005, 9005, doIaCmd_PanoTuning, 0)                          \
    X(KEY_PANO_ADJUST_EN_1, 9101, 9101, doIaCmd_PanoTuning, 0)                 \
    X(KEY_PANO_YAW_1, 9102, 9102, doIaCmd_PanoTuning, 0)                       \
    X(KEY_PANO_PITCH_1, 9103, 9103, doIaCmd_PanoTuning, 0)                     \
    X(KEY_PANO_ROLL_1, 9104, 9104, doIaCmd_PanoTuning, 0)                      \
    X(KEY_PANO_OFFSETX_1, 9105, 9105, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_OFFSETY_1, 9106, 9106, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_ADJUST_EN_2, 9201, 9201, doIaCmd_PanoTuning, 0)                 \
    X(KEY_PANO_YAW_2, 9202, 9202, doIaCmd_PanoTuning, 0)                       \
    X(KEY_PANO_PITCH_2, 9203, 9203, doIaCmd_PanoTuning, 0)                     \
    X(KEY_PANO_ROLL_2, 9204, 9204, doIaCmd_PanoTuning, 0)                      \
    X(KEY_PANO_OFFSETX_2, 9205, 9205, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_OFFSETY_2, 9206, 9206, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_ADJUST_EN_3, 9301, 9301, doIaCmd_PanoTuning, 0)                 \
    X(KEY_PANO_YAW_3, 9302, 9302, doIaCmd_PanoTuning, 0)                       \
    X(KEY_PANO_PITCH_3, 9303, 9303, doIaCmd_PanoTuning, 0)                     \
    X(KEY_PANO_ROLL_3, 9304, 9304, doIaCmd_PanoTuning, 0)                      \
    X(KEY_PANO_OFFSETX_3, 9305, 9305, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_OFFSETY_3, 9306, 9306, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_ADJUST_EN_4, 9401, 9401, doIaCmd_PanoTuning, 0)                 \
    X(KEY_PANO_YAW_4, 9402, 9402, doIaCmd_PanoTuning, 0)                       \
    X(KEY_PANO_PITCH_4, 9403, 9403, doIaCmd_PanoTuning, 0)                     \
    X(KEY_PANO_ROLL_4, 9404, 9404, doIaCmd_PanoTuning, 0)                      \
    X(KEY_PANO_OFFSETX_4, 9405, 9405, doIaCmd_PanoTuning, 0)                   \
    X(KEY_PANO_OFFSETY_4, 9406, 9406, doIaCmd_PanoTuning, 0)                   \
    N(KEY_IR_MODE_INTELL, 168, 0)                                              \
    N(KEY_WHITE_MODE_INTELL, 175, 0)                                           \
    N(KEY_IR_MANUAL_STRG_NEAR_INTELL, 200, 0)                                  \
    N(KEY_WHITE_MANUAL_STRG_INTELL, 203, 0)                                    \
    X(KEY_LIGHT_TYPE, 224, IA_CMD_LIGHT_TYPE, doIaCmd, 0)                      \
    X(KEY_LDC_SWITCH, 2570, 2048, doIaCmd, 0)                                  \
    X(KEY_LDC_STRG, 2571, 2064, doIaCmd, 0)

enum SensorKey {
#define SNS_KEY_ENUM_X(name, key, ...) name = key,
    SNS_KEYS(SNS_KEY_ENUM_X, SNS_KEY_ENUM_X)
#undef SNS_KEY_ENUM_X
};

// Values of KEY_SCHEME_MODE in scheme 0: how the sensor thread switches
// schemes by itself. Any other value means no automatic switching.
enum SchemeMode { SCHEME_MODE_NONE = 0, SCHEME_MODE_TIME = 1, SCHEME_MODE_DAY_NIGHT = 2 };

// Rows of the key/command table, and the capacity the controller allocates
// for the table and for its factory and scratch KeyVal arrays.
#define SNS_KEY_ROW_ONE(...) +1
const unsigned int SNS_KEY_TABLE_ROWS = 0 SNS_KEYS(SNS_KEY_ROW_ONE, SNS_KEY_ROW_ONE);
#undef SNS_KEY_ROW_ONE
const unsigned int SNS_KEY_TABLE_CAPACITY = 160;
static_assert(SNS_KEY_TABLE_ROWS <= SNS_KEY_TABLE_CAPACITY, "the table fits its capacity");

#endif
