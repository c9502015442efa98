// The one entry of the chip's image-algorithm library, with the command and
// option numbers this library uses. On a camera the chip's library defines
// ia_ioctrl_v2; on a PC the simulator (libia_sim) does.
#ifndef IA_INTERFACE_H
#define IA_INTERFACE_H

#include <stdint.h>

enum ia_cmd_opt_e {
    IA_CMD_OPT_SET = 0,
    IA_CMD_OPT_GET = 1,
    IA_CMD_OPT_GET_PARAM_RNAGE = 2,
    IA_CMD_OPT_CORRECT_PARAM = 3,
    IA_CMD_OPT_EXEC_STATUS = 4,
};

// Commands used by number; an ordinary parameter's command is the IA command
// column of its key/command row.
enum ia_cmd_e {
    IA_CMD_EXPOSE_MODE = 16,
    IA_CMD_MAX_SHUTTER = 49,
    IA_CMD_IRIS_POSITION = 82,
    IA_CMD_IRIS_UP = 83,
    IA_CMD_IRIS_DOWN = 84,
    IA_CMD_DN_STATE = 153,
    IA_CMD_IR_SWITCH = 160,
    IA_CMD_WHITE_SWITCH = 168,
    IA_CMD_WHITE_MODE = 169,
    IA_CMD_LIGHT_TYPE = 224,
    IA_CMD_EXPOSURE_STRATEGY = 225,
    IA_CMD_FOCUS_MODE = 1536,
    IA_CMD_MF_POSITION = 1552,
    IA_CMD_FOCUS_NEAR = 1553,
    IA_CMD_FOCUS_FAR = 1554,
    IA_CMD_MZ_POSITION = 1568,
    IA_CMD_ZOOM_IN = 1569,
    IA_CMD_ZOOM_OUT = 1570,
    IA_CMD_LENS_FIRST = 1536,
    IA_CMD_LENS_LAST = 1616,
    IA_CMD_HEATER_STATE = 1606,
    IA_CMD_HEATER_TEMPERATURE = 1607,
    IA_CMD_PTZ_RUN_STATE = 1632,
    IA_CMD_AF_STATISTIC = 1648,
    IA_CMD_WDR_MODE = 2368,
    IA_CMD_UI_MIRROR = 2384,
    IA_CMD_CAMERA_VERSION = 2496,
    IA_CMD_SENSOR_CHECK = 2816,
    IA_CMD_DYNAMIC_PARAMS_CMDS_GET = 4112,
};

#define IA_CAMERA_VERSION_LEN 50

// The image-algorithm channel (0-based) of a 1-based camera channel. A
// channel number the host got wrong (INT_MIN) wraps instead of overflowing.
inline int32_t iaChannelOf(int p_nCameraID)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p_nCameraID) - 1u);
}

extern "C" int32_t ia_ioctrl_v2(int32_t channel, int32_t cmd, int32_t opt, void* data);

#endif
