// The scheme files and the version file on flash, as init will read them.
#include <algorithm>

#include "FlashLayout.h"
#include "Checks.h"
#include "KeyArgs.h"
#include "ParamFile.h"
#include "PlatformSim.h"
#include "Preflight.h"
#include "SensorKeys.h"
#include "SensorLib.h"
#include "ValueRules.h"

namespace {

// The keys of the factory records the library keeps, in factory order.
std::vector<u32> factoryKeys(const CheckContext& p_stCtx)
{
    std::vector<u32> vecKeys;
    for (const KeyVal& stRecord : p_stCtx.m_vecFactory) {
        if (vecKeys.size() >= SNS_KEY_TABLE_CAPACITY) break;
        vecKeys.push_back(stRecord.key);
    }
    return vecKeys;
}

void checkValues(Check& p_objCheck, const std::vector<KeyVal>& p_vecRecords, const sensorhost::ValueRules& p_objRules)
{
    for (size_t i = 0; i < p_vecRecords.size(); ++i) {
        const KeyVal& stRecord = p_vecRecords[i];
        const sensorhost::ValueCheck stCheck = p_objRules.check(stRecord.key, static_cast<int32_t>(stRecord.value));
        if (stCheck.m_eVerdict != sensorhost::Verdict::kRefused) continue;
        p_objCheck.fail("record " + std::to_string(i) + ", " + sensorhost::keyLabel(stRecord.key),
                        "value " + std::to_string(static_cast<int32_t>(stRecord.value)) + " is not allowed (" +
                            stCheck.m_strReason + ")");
    }
}

}  // namespace

void checkSchemeFiles(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    sensorhost::ValueRules objRules;
    objRules.load(p_stCtx.m_strDynamicStyle);
    const std::vector<u32> vecKeys = factoryKeys(p_stCtx);
    for (u32 s = 0; s < p_stCtx.m_nSchemeCount; ++s) {
        const std::string strFile = schemeFilePath(p_stCtx.m_nCameraID, static_cast<int>(s), p_stCtx.m_bThermal);
        Check objCheck(p_objReport, "scheme-file", strFile);
        if (!cameraFileExists(strFile)) {
            objCheck.done("absent: init creates it from the factory values");
            continue;
        }
        std::string strBytes;
        const std::string strError = sensorhost::readLimited(platformsim::resolvePath(strFile), strBytes);
        if (!strError.empty()) {
            objCheck.fail("", strError);
            continue;
        }
        for (const std::string& strProblem : sensorhost::fileProblems(strBytes, vecKeys))
            objCheck.fail("", strProblem + "; expected the " + std::to_string(vecKeys.size()) +
                                  " factory keys in factory order");
        size_t nLeftOver = 0;
        const std::vector<KeyVal> vecRecords = sensorhost::decodeRecords(strBytes, nLeftOver);
        checkValues(objCheck, vecRecords, objRules);
        objCheck.done(std::to_string(vecRecords.size()) + " records in factory order, values within range or menu");
    }
}

void checkVersionFile(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "version-file", SNS_PATH_VERSION_FILE);
    const u32 nLayout = paramFileLayoutVersion();
    u32 nVersion = 0;
    const bool bRead = getVersion(&nVersion) == SNS_SUCCESS;
    sensorhost::FlashTree stCopy;
    stCopy.m_strRoot = p_stCtx.m_strWorkDir;
    sensorhost::ChannelSetup stSetup;
    for (const sensorhost::Finding& stFinding : sensorhost::preflight(stCopy, p_stCtx.m_nCameraID, stSetup).m_vecFindings)
        if (stFinding.m_eKind == sensorhost::FindingKind::kResetsSchemes) objCheck.warn("", stFinding.m_strText);
    const std::string strStored = bRead ? "holds layout version " + std::to_string(nVersion) : "missing";
    objCheck.done(bRead && nVersion == nLayout
                      ? "layout version " + std::to_string(nVersion) + ", the library's"
                      : strStored + ": init resets the schemes and writes layout version " + std::to_string(nLayout) +
                            "; no saved scheme file exists, so nothing is lost");
}
