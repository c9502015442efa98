// Flash paths the checker reads, until the library's layout header lands.
#ifndef SENSORCTL_CHECK_PATHS_H
#define SENSORCTL_CHECK_PATHS_H
#define SNS_PATH_MODULE_CONFIG "/hd1/moduleConfig/moduleConfig.xml"
#define SNS_PATH_MACHINE_INFO "/mnt/mtd/code/factory_setting/machineinfo.ini"
#define SNS_PATH_CONFIG_DIR "/mnt/mtd/code/config_file"
#define SNS_PATH_VERSION_FILE SNS_PATH_CONFIG_DIR "/snsversion.cfg"
#define SNS_PATH_SCHEME_FILE SNS_PATH_CONFIG_DIR "/sensor%d_%d.cfg"
#define SNS_PATH_THERMAL_SCHEME_FILE SNS_PATH_CONFIG_DIR "/sensor-thermal%d.cfg"
#include <stdio.h>
#include <string>
inline std::string schemeFilePath(int p_nChannel, int p_nScheme, bool p_bThermal = false)
{
    char szPath[100] = {0};
    if (p_bThermal)
        snprintf(szPath, sizeof(szPath), SNS_PATH_THERMAL_SCHEME_FILE, p_nScheme);
    else
        snprintf(szPath, sizeof(szPath), SNS_PATH_SCHEME_FILE, p_nChannel, p_nScheme);
    return szPath;
}
#endif
