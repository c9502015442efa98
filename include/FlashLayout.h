// Where the camera keeps the files of the sensor controller: every flash
// path and path pattern, and the names built from them. The library, the
// tool, the benchmarks and the tests take their paths from here.
//
// The paths are string literals so that reports can quote them in their texts.
#ifndef FLASH_LAYOUT_H
#define FLASH_LAYOUT_H

#include <stddef.h>
#include <stdio.h>

#include <string>

// Module configuration and factory machine information.
#define SNS_PATH_MODULE_CONFIG "/hd1/moduleConfig/moduleConfig.xml"
#define SNS_PATH_MACHINE_INFO "/mnt/mtd/code/factory_setting/machineinfo.ini"

// UI style documents and their diversity documents, one pair per family.
#define SNS_PATH_STYLE_DIR "/hd1/moduleConfig/sensorConfig/style/"
#define SNS_PATH_DIVERSITY_DIR "/hd1/moduleConfig/sensorConfig/styleDiversity/"
#define SNS_STYLE_FILE(family) SNS_PATH_STYLE_DIR "Style" family ".xml"
#define SNS_DIVERSITY_FILE(family) SNS_PATH_DIVERSITY_DIR "StyleDiversity" family ".xml"
#define SNS_STYLE_FAMILY_PLAIN ""
#define SNS_STYLE_FAMILY_DOME "_dome"
#define SNS_STYLE_FAMILY_THERMAL "_Thermal"

// Parameter files: one per user scheme and channel; the thermal channel has
// its own names. The version file sits beside them.
#define SNS_PATH_CONFIG_DIR "/mnt/mtd/code/config_file"
#define SNS_PATH_SCHEME_FILE SNS_PATH_CONFIG_DIR "/sensor%d_%d.cfg"
#define SNS_PATH_THERMAL_SCHEME_FILE SNS_PATH_CONFIG_DIR "/sensor-thermal%d.cfg"
#define SNS_PATH_VERSION_FILE SNS_PATH_CONFIG_DIR "/snsversion.cfg"
// Every parameter folder, as the removal commands name it.
#define SNS_PATH_CONFIG_GLOB "/mnt/mtd/code/config*"
#define SNS_CMD_REMOVE_SCHEMES "rm -rf " SNS_PATH_CONFIG_GLOB "/sensor%d_[0-3].cfg"
#define SNS_CMD_REMOVE_THERMAL_SCHEMES "rm -rf " SNS_PATH_CONFIG_GLOB "/sensor-thermal*.cfg"
#define SNS_CMD_REMOVE_ALL_SCHEMES "rm -rf " SNS_PATH_CONFIG_GLOB "/sensor*"

// The merged style of a channel, written by every init.
#define SNS_PATH_MERGED_STYLE "/tmp/merge_style_ch%d.xml"

// Field-of-view synchronisation of a dual-sensor camera.
#define SNS_PATH_SYNC_FOV "/mnt/mtd/hd1/program/config/sync_fov.ini"

// The operator's debug control file and the error log.
#define SNS_PATH_DEBUG_SIGN "/tmp/Debug.sign"
#define SNS_PATH_ERROR_LOG "/mnt/mtd/log/SensorError.log"

const char kDebugSignFile[] = SNS_PATH_DEBUG_SIGN;
const char kErrorLogFile[] = SNS_PATH_ERROR_LOG;

// Parameter file of a user scheme into a caller's buffer.
inline void schemeFilePath(char* p_szPath, size_t p_nSize, int p_nChannel, int p_nScheme,
                           bool p_bThermal = false)
{
    if (p_bThermal)
        snprintf(p_szPath, p_nSize, SNS_PATH_THERMAL_SCHEME_FILE, p_nScheme);
    else
        snprintf(p_szPath, p_nSize, SNS_PATH_SCHEME_FILE, p_nChannel, p_nScheme);
}

inline std::string schemeFilePath(int p_nChannel, int p_nScheme, bool p_bThermal = false)
{
    char szPath[100] = {0};
    schemeFilePath(szPath, sizeof(szPath), p_nChannel, p_nScheme, p_bThermal);
    return szPath;
}

// Merged style of a channel into a caller's buffer.
inline void mergedStylePath(char* p_szPath, size_t p_nSize, int p_nChannel)
{
    snprintf(p_szPath, p_nSize, SNS_PATH_MERGED_STYLE, p_nChannel);
}

inline std::string mergedStylePath(int p_nChannel)
{
    char szPath[100] = {0};
    mergedStylePath(szPath, sizeof(szPath), p_nChannel);
    return szPath;
}

// Shell command removing a channel's parameter files (schemes 0 to 3 on a
// normal channel, every thermal file on the thermal channel).
inline void schemeRemoveCommand(char* p_szCmd, size_t p_nSize, int p_nChannel, bool p_bThermal)
{
    if (p_bThermal)
        snprintf(p_szCmd, p_nSize, "%s", SNS_CMD_REMOVE_THERMAL_SCHEMES);
    else
        snprintf(p_szCmd, p_nSize, SNS_CMD_REMOVE_SCHEMES, p_nChannel);
}

#endif
