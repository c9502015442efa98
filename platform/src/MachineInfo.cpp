// Factory machine information: "key=value" lines, with "#"/";" comment
// lines and "[section]" lines ignored.
#include "MachineInfo.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>

#include "DeviceType.h"
#include "PKFile.h"

namespace {

const char BLANKS[] = " \t\r\n";
const char UTF8_BOM[] = "\xEF\xBB\xBF";

std::string trimmed(const std::string& p_strText)
{
    const size_t nFirst = p_strText.find_first_not_of(BLANKS);
    if (nFirst == std::string::npos) return std::string();
    return p_strText.substr(nFirst, p_strText.find_last_not_of(BLANKS) - nFirst + 1);
}

// A whole decimal number; "12abc" or an out-of-range value is no number.
bool decimalValue(const std::string& p_strText, int& p_nValue)
{
    if (p_strText.empty()) return false;
    char* pEnd = nullptr;
    errno = 0;
    const long nValue = strtol(p_strText.c_str(), &pEnd, 10);
    if (*pEnd != '\0' || errno != 0 || nValue < INT_MIN || nValue > INT_MAX) return false;
    p_nValue = static_cast<int>(nValue);
    return true;
}

bool isIgnoredLine(const std::string& p_strLine)
{
    return p_strLine.empty() || p_strLine[0] == '#' || p_strLine[0] == ';' || p_strLine[0] == '[';
}

// Takes one "key=value" line into p_objInfo; true when it gave the device type.
bool takeLine(const std::string& p_strLine, MachineInfo& p_objInfo)
{
    const size_t nEquals = p_strLine.find('=');
    if (nEquals == std::string::npos) return false;
    const std::string strKey = trimmed(p_strLine.substr(0, nEquals));
    const std::string strValue = trimmed(p_strLine.substr(nEquals + 1));
    if (strKey == "hardware_model") p_objInfo.setHardwareModel(strValue);
    if (strKey == "hardware_code") p_objInfo.setHardwareCode(strValue);
    int nType = 0;
    if (strKey != "device_type" || !decimalValue(strValue, nType)) return false;
    p_objInfo.setDeviceType(nType);
    return true;
}

}  // namespace

MachineInfo::MachineInfo() : m_nDeviceType(DeviceType::IPCAMERA) {}

bool SystemInfoParser::parseMachineInfo(const std::string& p_strPath, MachineInfo& p_objInfo)
{
    PKFile objFile;
    if (!objFile.open(p_strPath.c_str(), PKFile::modeRead)) return false;
    // All or nothing: a file without a device type leaves the record as it was.
    MachineInfo objParsed(p_objInfo);
    bool bHasType = false;
    bool bFirst = true;
    for (std::string strLine : objFile.ReadLines()) {
        const size_t nBom = sizeof(UTF8_BOM) - 1;
        if (bFirst && strLine.compare(0, nBom, UTF8_BOM) == 0) strLine.erase(0, nBom);
        bFirst = false;
        strLine = trimmed(strLine);
        if (!isIgnoredLine(strLine) && takeLine(strLine, objParsed)) bHasType = true;
    }
    if (bHasType) p_objInfo = objParsed;
    return bHasType;
}
