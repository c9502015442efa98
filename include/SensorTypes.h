// Shared records of the sensor controller library: parameter records, the
// key/command row, the channel's system configuration and the dynamic
// parameter records exchanged with the image-algorithm library.
#ifndef SENSOR_TYPES_H
#define SENSOR_TYPES_H

#include <stdint.h>

#if defined(__GNUC__)
#define SNS_API __attribute__((visibility("default")))
#else
#define SNS_API
#endif

typedef uint32_t u32;
typedef int32_t s32;
typedef int64_t INT64;

#define SNS_SUCCESS 0

// One image parameter. The memory image (8 bytes, key first) is also the
// on-flash record of a parameter file.
struct KeyVal {
    u32 key;
    u32 value;
};

class ISensorController;

// Handler of a key/command row: (IA command, option, pointer to the value).
typedef int (ISensorController::*KeyCmdHandler)(u32, u32, void*);

// One row of the key/command table.
struct keycmd {
    u32 key;
    u32 iaCmd;
    KeyCmdHandler handler;
    char szKeyName[32];
    char szHandlerName[64];
};

// Copy of the host's module configuration, in fixed-size text fields.
struct ModuleConfig {
    int32_t nModuleId;
    char szReserved[32];
    char szReserved2[10];
    char szParameters[256];
    char szDetail[512];
};

// One entry of the UI text table.
struct UIFile {
    int32_t nId;
    char szName[32];
    char* szLanguage;
    char* szCommon;
};

// The channel's system configuration.
struct SysConfig {
    ModuleConfig moduleConfig;
    u32 nSchemeSum;
    u32 nUIFileSum;
    UIFile* pstUIFile;
    char* szUIStyle;
    int32_t nDeviceType;
};

#define IA_DYNAMIC_CMDS_MAX 16
#define IA_DYNAMIC_ITEMS_MAX 64

// Commands whose parameters have ranges known only at run time (68 bytes).
struct ia_dynamic_params_cmds_st {
    int32_t cmd_cnt;
    int32_t cmd_list[IA_DYNAMIC_CMDS_MAX];
};

// Range or items of one dynamic command (276 bytes).
struct ia_dynamic_params_attr_st {
    int32_t attr_type;
    int32_t default_value;
    int32_t min_value;
    int32_t max_value;
    int32_t items_cnt;
    int32_t item[IA_DYNAMIC_ITEMS_MAX];
};

// Day/night threshold record (commands 145, 146, 154).
struct dn_thr_st {
    u32 d2n_thr;
    u32 n2d_thr;
    u32 dn_sensitivity;
};

// Day/night time record (commands 149 to 152).
struct dn_time_st {
    u32 d2n_hour;
    u32 d2n_min;
    u32 n2d_hour;
    u32 n2d_min;
};

static_assert(sizeof(KeyVal) == 8, "KeyVal is the 8-byte file record");
static_assert(sizeof(ia_dynamic_params_cmds_st) == 68, "IA record layout");
static_assert(sizeof(ia_dynamic_params_attr_st) == 276, "IA record layout");

#endif
