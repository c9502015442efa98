// Factory machine information ("key=value" lines).
#ifndef MACHINE_INFO_H
#define MACHINE_INFO_H

#include <string>

#include "PkBase.h"

class PK_API MachineInfo {
public:
    MachineInfo();
    int getDeviceType() const { return m_nDeviceType; }
    const std::string& getHardwareModel() const { return m_strHardwareModel; }
    const std::string& getHardwareCode() const { return m_strHardwareCode; }
    void setDeviceType(int p_nType) { m_nDeviceType = p_nType; }
    void setHardwareModel(const std::string& p_str) { m_strHardwareModel = p_str; }
    void setHardwareCode(const std::string& p_str) { m_strHardwareCode = p_str; }

private:
    int m_nDeviceType;  // 1 until parsed
    std::string m_strHardwareModel;
    std::string m_strHardwareCode;
};

class PK_API SystemInfoParser {
public:
    // Keys device_type (decimal), hardware_model, hardware_code; blanks around
    // "=" allowed; "#"/";" comment lines and [section] lines ignored. False when
    // the file is missing or has no device_type.
    static bool parseMachineInfo(const std::string& p_strPath, MachineInfo& p_objInfo);
};

#endif
