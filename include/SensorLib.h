// Exported free functions and globals of the sensor controller library.
#ifndef SENSOR_LIB_H
#define SENSOR_LIB_H

#include <string>

#include "SensorTypes.h"

class ModuleConfigure;

// Diagnostics: current debug level (initial 1) and the abort switch.
extern SNS_API int g_nDebugLevel;
extern SNS_API bool g_bEnAssert;
// Re-reads both from the operator's control file "/tmp/Debug.sign".
SNS_API void updateDebugLevel();

// Library-wide show flag of the beaway option (initial true).
extern SNS_API bool g_bShoWBeawayFalg;
SNS_API void setshowBeawayFalg(bool p_bShow);
SNS_API bool getshowBeawayFalg();

// Parameter file store: whole-file transfers on flash.
SNS_API INT64 getFileLen(const char* file_name);
SNS_API int loadFromFile(const char* file_name, char* data, INT64 file_len);
SNS_API int saveToFile(char* file_name, char* data, INT64 file_len);
SNS_API int keyValFromFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValNum);
SNS_API int keyValToFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValSum);
SNS_API int getVersion(u32* p_pnVersion);
SNS_API int setVersion(u32 p_nVersion);
// Layout version of the parameter files this library reads and writes; init
// removes a channel's parameter files when the version file holds another.
SNS_API u32 paramFileLayoutVersion();

// Module detail fields "(name=value)".
SNS_API int getDetailFieldTou32(const char* p_szDetail, const char* p_szName, u32* p_pnValue);
SNS_API int getDetailFieldToStr(const char* p_szDetail, const char* p_szName, char* p_szValue);

// Scheme count of a module: the detail field "max_scheme", 4 when absent.
// A controller keeps that many user schemes as they are, none when the count
// + 1 (with the factory row) would wrap; schemeSumOf is the count it keeps
// (init reports the wrap, and rows it cannot allocate).
const u32 SNS_DEFAULT_SCHEME_SUM = 4;
SNS_API u32 declaredSchemeSum(const char* p_szDetail);
inline u32 keptSchemeSum(u32 p_nDeclared)
{
    return p_nDeclared + 1 == 0 ? 0 : p_nDeclared;
}
inline u32 schemeSumOf(const char* p_szDetail)
{
    return keptSchemeSum(declaredSchemeSum(p_szDetail));
}

// System configuration of a channel.
SNS_API int initSysConf(int p_nChannelID, const ModuleConfigure& p_objModuleConfigure,
                        SysConfig* p_stSysConf);
SNS_API void uinitSysConf(SysConfig* p_stSysConf);

// Parameter text form "(key,value)...".
SNS_API void keyval_str2st(const std::string& p_strText, KeyVal* p_pKeyVal, u32* p_pnCount);
// The same, writing at most p_nCapacity records.
SNS_API void keyval_str2st(const std::string& p_strText, KeyVal* p_pKeyVal, u32* p_pnCount,
                           u32 p_nCapacity);
SNS_API void keyval_st2str(std::string& p_strText, const KeyVal* p_pKeyVal, u32 p_nCount);

// Lets the image-algorithm library correct the dynamic parameters in place.
SNS_API int keyval_correct(int p_nChannel_id, KeyVal* p_pKeyval, u32 p_nKeyValNum);

// Names of the key/command table, for tools: the full name (e.g.
// "KEY_BRIGHTNESS") of a key or null; a key by name, case-insensitive, with or
// without the "KEY_" prefix; the table's keys in row order.
SNS_API const char* findKeyName(u32 p_nKey);
SNS_API bool findKeyByName(const char* p_szName, u32* p_pnKey);
SNS_API u32 keyTableSize();
SNS_API u32 keyTableKeyAt(u32 p_nRow);
// The row of a key: its image-algorithm command and whether a handler
// applies it; false when the table has no row for the key.
SNS_API bool keyTableCommand(u32 p_nKey, u32* p_pnIaCmd, bool* p_pbHandler);
// A lamp key's partner in its pair (normal key and key of the intelligent
// light type); false for keys outside the pairs. The pipeline routes some of
// them without a table row.
SNS_API bool lampPairPartner(u32 p_nKey, u32* p_pnPartner);

// The channel number a controller takes for a channel on a machine of the
// device type, and whether it is the thermal channel.
SNS_API void channelIdentity(int p_nChannelID, int p_nDeviceType, int* p_pnCameraID, bool* p_pbThermal);
// The style and diversity documents initSysConf loads for the channel and
// device type; false when it does not accept the device type.
SNS_API bool styleDocuments(int p_nChannelID, int p_nDeviceType, const char** p_pszStyle,
                            const char** p_pszDiversity);

#endif
