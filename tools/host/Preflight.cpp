#include "Preflight.h"

#include <ctype.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <system_error>

#include "ParamFile.h"
#include "PlatformSim.h"
#include "SensorLib.h"

namespace fs = std::filesystem;

namespace sensorhost {

namespace {

// The library removes the files of schemes 0 to 3 after a version mismatch.
const int kRemovedSchemes = 4;

// A folder the library writes to: it must be a writable folder, or be
// creatable in a writable parent.
std::string folderProblem(const FlashTree& p_stTree, const std::string& p_strCameraDir)
{
    const std::string strDir = onDisk(p_stTree, p_strCameraDir);
    std::error_code ec;
    if (fs::exists(strDir, ec)) {
        if (!fs::is_directory(strDir, ec)) return strDir + " is not a folder";
        if (access(strDir.c_str(), W_OK | X_OK) != 0) return strDir + " cannot be written";
        return "";
    }
    const std::string strParent = fs::path(strDir).parent_path().string();
    if (fs::exists(strParent, ec) && access(strParent.c_str(), W_OK | X_OK) != 0)
        return strDir + " is missing and " + strParent + " cannot be written";
    return "";
}

std::string versionProblem(const FlashTree& p_stTree)
{
    std::string strBytes;
    const std::string strReadError = readLimited(onDisk(p_stTree, SNS_PATH_VERSION_FILE), strBytes);
    const u32 nWanted = paramFileLayoutVersion();
    if (strReadError == "no such file") return "the version file " + fileNameOf(SNS_PATH_VERSION_FILE) + " is missing";
    if (!strReadError.empty()) return "the version file " + fileNameOf(SNS_PATH_VERSION_FILE) + ": " + strReadError;
    u32 nVersion = 0;
    if (!decodeVersion(strBytes, nVersion))
        return "the version file " + fileNameOf(SNS_PATH_VERSION_FILE) + " holds " + std::to_string(strBytes.size()) +
               " bytes, not a version";
    if (nVersion != nWanted)
        return "the version file holds layout " + std::to_string(nVersion) + ", this library writes layout " +
               std::to_string(nWanted);
    return "";
}

void addFinding(PreflightReport& p_stReport, FindingKind p_eKind, const std::string& p_strText)
{
    p_stReport.m_vecFindings.push_back(Finding{p_eKind, p_strText});
}

void checkSchemeFiles(const FlashTree& p_stTree, const ChannelSetup& p_stSetup, PreflightReport& p_stReport)
{
    const std::vector<u32> vecKeys = p_stSetup.factoryKeys();
    for (const std::string& strPath : existingSchemeFiles(p_stTree, p_stSetup, p_stSetup.m_nSchemeCount)) {
        std::string strBytes;
        const std::string strError = readLimited(strPath, strBytes);
        std::vector<std::string> vecProblems;
        if (!strError.empty())
            vecProblems.push_back(strError);
        else
            vecProblems = fileProblems(strBytes, vecKeys);
        if (vecProblems.empty()) continue;
        std::string strText = "damaged parameter file " + strPath + ": " + vecProblems[0];
        for (size_t i = 1; i < vecProblems.size(); ++i) strText += "; " + vecProblems[i];
        addFinding(p_stReport, FindingKind::kDamagedScheme,
                   strText + " (the library would read it partly and a save would write the gaps back)");
    }
}

}  // namespace

bool PreflightReport::allows(bool p_bLossAccepted) const
{
    return blocking(p_bLossAccepted).empty();
}

std::vector<Finding> PreflightReport::blocking(bool p_bLossAccepted) const
{
    std::vector<Finding> vecOut;
    for (const Finding& stFinding : m_vecFindings)
        if (!stFinding.losesData() || !p_bLossAccepted) vecOut.push_back(stFinding);
    return vecOut;
}

std::vector<std::string> existingSchemeFiles(const FlashTree& p_stTree, const ChannelSetup& p_stSetup, int p_nSchemes)
{
    // The folder's entries, not every scheme number: a module may declare millions.
    std::map<long, std::string> mapFound;
    std::error_code ec;
    for (fs::directory_iterator it(onDisk(p_stTree, SNS_PATH_CONFIG_DIR), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string strName = it->path().filename().string();
        const size_t nDot = strName.rfind('.');
        size_t nDigits = nDot == std::string::npos ? 0 : nDot;
        while (nDigits > 0 && isdigit(static_cast<unsigned char>(strName[nDigits - 1]))) --nDigits;
        if (nDot == std::string::npos || nDigits == nDot || nDot - nDigits > 9) continue;
        const long nScheme = atol(strName.substr(nDigits, nDot - nDigits).c_str());
        const std::string strPath = p_stSetup.schemeFile(static_cast<int>(nScheme));
        if (nScheme < p_nSchemes && fileNameOf(strPath.c_str()) == strName)
            mapFound[nScheme] = onDisk(p_stTree, strPath);
    }
    std::vector<std::string> vecOut;
    for (const auto& stFound : mapFound) vecOut.push_back(stFound.second);
    return vecOut;
}

PreflightReport preflight(const FlashTree& p_stTree, int p_nChannel, ChannelSetup& p_stSetup)
{
    PreflightReport stReport;
    platformsim::setFlashRoot(p_stTree.m_strRoot);
    // The library keeps its merged style in the scratch folder and the schemes in the parameter folder.
    for (const std::string& strDir : {cameraDirOf(SNS_PATH_MERGED_STYLE), std::string(SNS_PATH_CONFIG_DIR)}) {
        const std::string strProblem = folderProblem(p_stTree, strDir);
        if (!strProblem.empty())
            addFinding(stReport, FindingKind::kNotWritable, "the flash tree cannot be written: " + strProblem);
    }
    const std::string strModuleError = readChannelSetup(p_nChannel, p_stSetup);
    if (!strModuleError.empty()) addFinding(stReport, FindingKind::kNoModule, strModuleError);
    if (!stReport.m_vecFindings.empty()) return stReport;

    loadFactorySet(p_stSetup);
    if (!p_stSetup.m_strStyleProblem.empty()) {
        addFinding(stReport, FindingKind::kBadStyle,
                   p_stSetup.m_strStyleProblem + "; init would write empty parameter files");
        return stReport;
    }
    const std::string strVersion = versionProblem(p_stTree);
    if (!strVersion.empty() && !existingSchemeFiles(p_stTree, p_stSetup, kRemovedSchemes).empty())
        addFinding(stReport, FindingKind::kResetsSchemes,
                   "init would reset the saved schemes of channel " + std::to_string(p_nChannel) +
                       " to factory values: " + strVersion);
    checkSchemeFiles(p_stTree, p_stSetup, stReport);
    return stReport;
}

}  // namespace sensorhost
