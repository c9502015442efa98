// System configuration of a channel: module configuration copy, scheme
// count, device type, and the UI style merged with its diversity document.
#define SNS_SOURCE_FILE "sensor"

#include <stdlib.h>
#include <string.h>

#include <string>

#include "DeviceType.h"
#include "MachineInfo.h"
#include "ModuleConfigure.h"
#include "SensorDebug.h"
#include "SensorFile/StyleMemo.h"
#include "SensorStyle.h"

namespace {

const int kThermalChannel = 2;
const size_t kReservedFill = 3;
// Reports of the helpers name the operation they serve.
const char kInitSysConfSignature[] = "int initSysConf(int, const ModuleConfigure&, SysConfig*)";

// The accepted device types, in the order the check names them, and the
// document family each one takes.
struct DeviceKind {
    int nType;
    const char* szName;
    bool bPlain;    // the plain documents; every other accepted type: dome
    bool bThermal;  // the thermal documents on channel 2
};

const DeviceKind kDeviceKinds[] = {
    {DeviceType::IPCAMERA, "IPCAMERA", true, false},
    {DeviceType::FACE_DETECT, "FACE_DETECT", false, false},
    {DeviceType::VEHICLE_DETECT, "VEHICLE_DETECT", true, false},
    {DeviceType::AIMULTI_OBJECT_DETECT, "AIMULTI_OBJECT_DETECT", true, false},
    {DeviceType::IPDOME, "IPDOME", true, false},
    {DeviceType::LPR, "LPR", true, true},
    {DeviceType::IPP, "IPP", true, true},
    {DeviceType::HUMAN_TEMPERATURE, "HUMAN_TEMPERATURE", true, false},
    {DeviceType::THERMAL_DEVICE, "THERMAL_DEVICE", true, false},
    {DeviceType::THERMAL_DOUBLE_SENSOR_DEVICE, "THERMAL_DOUBLE_SENSOR_DEVICE", true, true},
    {DeviceType::FISHEYE, "FISHEYE", true, false},
    {DeviceType::DOMECORE, "DOMECORE", false, true},
    {DeviceType::THERMAL_DOUBLE_SENSOR_DOME_DEVICE, "THERMAL_DOUBLE_SENSOR_DOME_DEVICE", false, false},
    {DeviceType::BINOCULAR_DEVICE, "BINOCULAR_DEVICE", true, false},
    {DeviceType::THERMAL_IPDOME, "THERMAL_IPDOME", false, true},
    {DeviceType::DOMECORE_THERMAL_DEVICE, "DOMECORE_THERMAL_DEVICE", false, false},
};

struct StyleFiles {
    const char* szStyle;
    const char* szDiversity;
};

#define STYLE_FILES(family)                                \
    {                                                      \
        SNS_STYLE_FILE(family), SNS_DIVERSITY_FILE(family) \
    }
const StyleFiles kPlainFiles = STYLE_FILES(SNS_STYLE_FAMILY_PLAIN);
const StyleFiles kDomeFiles = STYLE_FILES(SNS_STYLE_FAMILY_DOME);
const StyleFiles kThermalFiles = STYLE_FILES(SNS_STYLE_FAMILY_THERMAL);
#undef STYLE_FILES

const DeviceKind* findDeviceKind(int p_nType)
{
    for (const DeviceKind& stKind : kDeviceKinds)
        if (stKind.nType == p_nType) return &stKind;
    return nullptr;
}

// The condition text of the device type check: one comparison per kind.
std::string deviceCheckText()
{
    std::string strText;
    for (const DeviceKind& stKind : kDeviceKinds) {
        if (!strText.empty()) strText += " || ";
        strText += std::string("DeviceType::") + stKind.szName + " == p_stSysConf->nDeviceType";
    }
    return strText;
}

const StyleFiles& chooseStyleFiles(int p_nChannelID, int p_nDeviceType)
{
    const DeviceKind* pKind = findDeviceKind(p_nDeviceType);
    if (pKind != nullptr && pKind->bThermal && p_nChannelID == kThermalChannel) return kThermalFiles;
    return (pKind != nullptr && pKind->bPlain) ? kPlainFiles : kDomeFiles;
}

// Copies a text into a fixed field; longer texts are cut to fit and reported.
void copyField(char* p_szField, size_t p_nSize, const std::string& p_strText, const char* p_szName)
{
    const size_t nCopy = p_strText.size() < p_nSize ? p_strText.size() : p_nSize - 1;
    memcpy(p_szField, p_strText.data(), nCopy);
    p_szField[nCopy] = '\0';
    SNS_ASSERT(SnsSite({SNS_SOURCE_FILE, "initSysConf", __LINE__, kInitSysConfSignature}), nCopy == p_strText.size(),
               "p_strText.size() < p_nSize", "%s cut to %u characters\n", p_szName, static_cast<unsigned>(nCopy));
}

void copyModuleConfig(const ModuleConfigure& p_objModule, ModuleConfig& p_stConfig)
{
    p_stConfig.nModuleId = p_objModule.getModuleId();
    copyField(p_stConfig.szDetail, sizeof(p_stConfig.szDetail), p_objModule.getDetail(), "detail");
    copyField(p_stConfig.szParameters, sizeof(p_stConfig.szParameters), p_objModule.getParameters(),
              "parameters");
}

// A zeroed heap block of the file's length + 1 (a text even when the load
// fails). The length is asked once, so the load never exceeds the block.
char* allocFileText(const char* p_szFile, INT64& p_nLen)
{
    p_nLen = getFileLen(p_szFile);
    if (p_nLen < 0) p_nLen = 0;
    return static_cast<char*>(calloc(static_cast<size_t>(p_nLen) + 1, 1));
}

// The reports of initSysConf name it as the host knows it.
#define SYSCONF_AT(line) SNS_AT(line).as("int initSysConf(int, const ModuleConfigure&, SysConfig*)")

}  // namespace

int initSysConf(int p_nChannelID, const ModuleConfigure& p_objModuleConfigure, SysConfig* p_stSysConf)
{
    return initSysConf(p_nChannelID, p_objModuleConfigure, p_stSysConf, nullptr);
}

int initSysConf(int p_nChannelID, const ModuleConfigure& p_objModuleConfigure, SysConfig* p_stSysConf,
                DnaStyleMemo* p_pMemo)
{
    SNS_ASSERT(SYSCONF_AT(__LINE__), NULL != p_stSysConf, "NULL != p_stSysConf", "");
    if (p_stSysConf == nullptr) return SNS_SUCCESS;
    memset(p_stSysConf, 0, sizeof(*p_stSysConf));
    // The reserved fields hold three 'x' (the record is zeroed above).
    memset(p_stSysConf->moduleConfig.szReserved, 'x', kReservedFill);
    memset(p_stSysConf->moduleConfig.szReserved2, 'x', kReservedFill);
    copyModuleConfig(p_objModuleConfigure, p_stSysConf->moduleConfig);

    p_stSysConf->nSchemeSum = declaredSchemeSum(p_stSysConf->moduleConfig.szDetail);

    MachineInfo machineInfo;
    SNS_ASSERT(SYSCONF_AT(39), SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, machineInfo),
               "SystemInfoParser::parseMachineInfo(\"" SNS_PATH_MACHINE_INFO
               "\", "
               "machineInfo)",
               "");
    p_stSysConf->nDeviceType = machineInfo.getDeviceType();
    SNS_ASSERT(SYSCONF_AT(57), nullptr != findDeviceKind(p_stSysConf->nDeviceType), deviceCheckText().c_str(),
               "p_stSysConf->nDeviceType(%d)\n", p_stSysConf->nDeviceType);

    const StyleFiles& stFiles = chooseStyleFiles(p_nChannelID, p_stSysConf->nDeviceType);
    INT64 nStyleLen = 0;
    p_stSysConf->szUIStyle = allocFileText(stFiles.szStyle, nStyleLen);
    SNS_ASSERT(SYSCONF_AT(87), loadFromFile(stFiles.szStyle, p_stSysConf->szUIStyle, nStyleLen) > 0,
               "loadFromFile(strStyleFileName.c_str(), p_stSysConf->szUIStyle, "
               "getFileLen(strStyleFileName.c_str())) > 0",
               "");

    INT64 nDivLen = 0;
    char* ui_styleDiversity = allocFileText(stFiles.szDiversity, nDivLen);
    SNS_ASSERT(SYSCONF_AT(116), loadFromFile(stFiles.szDiversity, ui_styleDiversity, nDivLen) > 0,
               "loadFromFile(strStyleDivFileName.c_str(), ui_styleDiversity, "
               "getFileLen(strStyleDivFileName.c_str())) > 0",
               "");

    SNS_ASSERT(SYSCONF_AT(119),
               SNS_SUCCESS == mergeStyle(p_nChannelID, &p_stSysConf->moduleConfig, &p_stSysConf->szUIStyle,
                                         ui_styleDiversity, p_pMemo),
               "SNS_SUCCESS == mergeStyle(p_nChannelID,&p_stSysConf->moduleConfig, "
               "&p_stSysConf->szUIStyle, ui_styleDiversity)",
               "");
    free(ui_styleDiversity);
    return SNS_SUCCESS;
}

u32 declaredSchemeSum(const char* p_szDetail)
{
    u32 nSum = SNS_DEFAULT_SCHEME_SUM;
    getDetailFieldTou32(p_szDetail, "max_scheme", &nSum);
    return nSum;
}

void uinitSysConf(SysConfig* p_stSysConf)
{
    if (p_stSysConf == nullptr) return;
    if (p_stSysConf->pstUIFile != nullptr) {
        for (u32 i = 0; i < p_stSysConf->nUIFileSum; ++i) {
            free(p_stSysConf->pstUIFile[i].szCommon);
            free(p_stSysConf->pstUIFile[i].szLanguage);
        }
    }
    free(p_stSysConf->szUIStyle);
    // Nulled so that a repeated release cannot free the text twice.
    p_stSysConf->szUIStyle = nullptr;
}

bool styleDocuments(int p_nChannelID, int p_nDeviceType, const char** p_pszStyle, const char** p_pszDiversity)
{
    const StyleFiles& stFiles = chooseStyleFiles(p_nChannelID, p_nDeviceType);
    if (p_pszStyle != nullptr) *p_pszStyle = stFiles.szStyle;
    if (p_pszDiversity != nullptr) *p_pszDiversity = stFiles.szDiversity;
    return findDeviceKind(p_nDeviceType) != nullptr;
}
