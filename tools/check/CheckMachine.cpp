// Machine information, the module that matches it, and its detail fields.
#include <ctype.h>

#include <map>

#include "ChannelSetup.h"
#include "FlashLayout.h"
#include "Checks.h"
#include "SensorLib.h"

namespace {

const char kMaxSchemeField[] = "max_scheme";
// The scheme counts a camera model may declare. The library keeps any count
// it can allocate, but every scheme costs a file on flash and a row in memory.
const u32 kMaxSchemeCount = 32;
const size_t kDetailValueMax = 9;   // the library copies values into a 10-byte buffer

struct DetailField {
    std::string m_strName;
    std::string m_strValue;
};

bool isNameChar(char p_c)
{
    return isalnum(static_cast<unsigned char>(p_c)) || p_c == '_';
}

// Splits "(name=value)(name=value)" into fields; "" or the first syntax fault.
std::string splitDetail(const std::string& p_strDetail, std::vector<DetailField>& p_vecOut)
{
    size_t nPos = 0;
    while (nPos < p_strDetail.size()) {
        if (isspace(static_cast<unsigned char>(p_strDetail[nPos]))) {
            ++nPos;
            continue;
        }
        const std::string strAt = "at character " + std::to_string(nPos + 1);
        if (p_strDetail[nPos] != '(') return strAt + ": expected '(' to open a field";
        const size_t nClose = p_strDetail.find(')', nPos);
        if (nClose == std::string::npos) return strAt + ": field without closing ')'";
        const std::string strField = p_strDetail.substr(nPos + 1, nClose - nPos - 1);
        const size_t nEqual = strField.find('=');
        if (nEqual == std::string::npos) return strAt + ": field '(" + strField + ")' has no '='";
        DetailField stField{strField.substr(0, nEqual), strField.substr(nEqual + 1)};
        if (stField.m_strName.empty()) return strAt + ": field '(" + strField + ")' has no name";
        for (char c : stField.m_strName)
            if (!isNameChar(c)) return strAt + ": field name '" + stField.m_strName + "' is not a plain name";
        if (stField.m_strValue.find('(') != std::string::npos)
            return strAt + ": field '(" + strField + ")' holds a '('";
        p_vecOut.push_back(stField);
        nPos = nClose + 1;
    }
    return "";
}

}  // namespace

void checkMachineInfo(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "machine-info", SNS_PATH_MACHINE_INFO);
    p_stCtx.m_nCameraID = p_stCtx.m_stOptions.m_nChannel;
    if (!cameraFileExists(SNS_PATH_MACHINE_INFO)) {
        objCheck.fail("", "missing: the library then takes device type 1, and only modules without "
                          "hardware_model and hardware_code match");
        return;
    }
    p_stCtx.m_bMachine = SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, p_stCtx.m_objMachine);
    // Without machine information the library goes on with the parser's defaults; so do the checks.
    channelIdentity(p_stCtx.m_stOptions.m_nChannel, p_stCtx.m_objMachine.getDeviceType(), &p_stCtx.m_nCameraID,
                    &p_stCtx.m_bThermal);
    if (!p_stCtx.m_bMachine) {
        objCheck.fail("", "no device_type=N line: expected device_type=, hardware_model= and hardware_code= lines");
        return;
    }
    const MachineInfo& objInfo = p_stCtx.m_objMachine;
    if (!styleDocuments(p_stCtx.m_stOptions.m_nChannel, objInfo.getDeviceType(), nullptr, nullptr))
        objCheck.fail("device_type", "device type " + std::to_string(objInfo.getDeviceType()) +
                                         " is not one the library accepts; init reports it and loads the dome "
                                         "style documents");
    if (objInfo.getHardwareModel().empty())
        objCheck.warn("hardware_model", "missing: only modules without hardware_model match");
    objCheck.done("device type " + std::to_string(objInfo.getDeviceType()) + ", hardware model '" +
                  objInfo.getHardwareModel() + "', code '" + objInfo.getHardwareCode() + "'" +
                  (p_stCtx.m_bThermal ? "; channel " + std::to_string(p_stCtx.m_nCameraID) + " is thermal" : ""));
}

void checkModuleMatch(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "module-match", SNS_PATH_MODULE_CONFIG);
    sensorhost::ChannelSetup stSetup;
    const std::string strProblem = sensorhost::readChannelSetup(p_stCtx.m_stOptions.m_nChannel, stSetup);
    if (!strProblem.empty()) {
        const XmlFile stFile = loadXmlFile(SNS_PATH_MODULE_CONFIG);
        objCheck.fail("", !stFile.m_bPresent  ? "missing"
                          : !stFile.m_bParsed ? "does not parse: " + stFile.m_strError
                                              : strProblem + "; expected a <Module> with these attributes, or without them");
        return;
    }
    p_stCtx.m_objModule = stSetup.m_objModule;
    p_stCtx.m_bModule = true;
    objCheck.done("module id " + std::to_string(p_stCtx.m_objModule.getModuleId()) + " matches, detail " +
                  p_stCtx.m_objModule.getDetail());
}

void checkDetailFields(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "detail-fields", SNS_PATH_MODULE_CONFIG);
    const std::string& strDetail = p_stCtx.m_objModule.getDetail();
    const std::string strWhere = "<Detail> of module " + std::to_string(p_stCtx.m_objModule.getModuleId());
    if (strDetail.size() >= sizeof(ModuleConfig::szDetail))
        objCheck.fail(strWhere, std::to_string(strDetail.size()) + " characters: the library keeps the first " +
                                    std::to_string(sizeof(ModuleConfig::szDetail) - 1));
    std::vector<DetailField> vecFields;
    const std::string strSyntax = splitDetail(strDetail, vecFields);
    if (!strSyntax.empty()) objCheck.fail(strWhere, strSyntax + "; expected (name=value) fields");
    std::map<std::string, int> mapSeen;
    for (const DetailField& stField : vecFields) {
        const std::string strField = "field " + stField.m_strName;
        if (++mapSeen[stField.m_strName] == 2) objCheck.fail(strWhere, strField + " appears twice; the library reads the first");
        if (stField.m_strValue.size() > kDetailValueMax)
            objCheck.fail(strWhere, strField + ": value '" + stField.m_strValue + "' is longer than " +
                                        std::to_string(kDetailValueMax) + " characters");
        // The library finds a field by a plain text search: a name inside an
        // earlier field's name or value is found there first.
        char szValue[kDetailValueMax + 1] = {0};
        if (getDetailFieldToStr(strDetail.c_str(), stField.m_strName.c_str(), szValue) == 0 &&
            stField.m_strValue.compare(0, kDetailValueMax, szValue) != 0)
            objCheck.fail(strWhere, strField + ": the library reads '" + szValue + "' (it finds '" +
                                        stField.m_strName + "' inside an earlier field), not '" +
                                        stField.m_strValue + "'");
    }
    const u32 nSchemes = declaredSchemeSum(strDetail.c_str());
    u32 nIgnored = 0;
    const bool bGiven = getDetailFieldTou32(strDetail.c_str(), kMaxSchemeField, &nIgnored) == 0;
    if (nSchemes < 1 || nSchemes > kMaxSchemeCount)
        objCheck.fail(strWhere, std::string(kMaxSchemeField) + " reads as " + std::to_string(nSchemes) +
                                    "; expected 1 to " + std::to_string(kMaxSchemeCount));
    objCheck.done(std::to_string(vecFields.size()) + " fields, " + std::to_string(nSchemes) + " schemes" +
                  (bGiven ? "" : " (no max_scheme field)"));
}
