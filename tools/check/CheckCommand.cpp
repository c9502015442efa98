#include "CheckCommand.h"

#include <signal.h>

#include <filesystem>
#include <set>

#include "CheckContext.h"
#include "Checks.h"
#include "ConsoleCapture.h"
#include "HostFlash.h"
#include "IaSim.h"
#include "KeyArgs.h"
#include "PlatformSim.h"
#include "ToolCommon.h"

namespace {

const int kMaxChannel = 64;
// The library's sleeps while checking (scheme switches wait for the sensor).
const double kCheckSleepScale = 0.05;

// Parses the check's arguments into p_stOut; "" or the problem.
std::string parseCheckArgs(const std::vector<std::string>& p_vecArgs, CheckOptions& p_stOut)
{
    for (size_t i = 0; i < p_vecArgs.size(); ++i) {
        const std::string& strArg = p_vecArgs[i];
        if (strArg == "--json") {
            p_stOut.m_bJson = true;
        } else if (strArg == "--live") {
            p_stOut.m_bLive = true;
        } else if (strArg == "--flash" || strArg == "--channel") {
            if (i + 1 >= p_vecArgs.size()) return strArg + " needs a value";
            const std::string& strValue = p_vecArgs[++i];
            long long nChannel = 0;
            if (strArg == "--flash") {
                p_stOut.m_strFlashDir = strValue;
            } else if (sensorhost::parseNumber(strValue, 1, kMaxChannel, nChannel)) {
                p_stOut.m_nChannel = static_cast<int>(nChannel);
            } else {
                return "--channel needs a channel number from 1 to 64, got '" + strValue + "'";
            }
        } else {
            return "unknown argument '" + strArg + "' (check takes --flash DIR, --channel N, --json, --live)";
        }
    }
    return "";
}

// The temporary copy the library works on; removed with this object.
class ScratchCopy {
public:
    ~ScratchCopy()
    {
        platformsim::setFlashRoot("");
        std::error_code ec;
        if (!m_strDir.empty()) std::filesystem::remove_all(m_strDir, ec);
    }
    std::string make(const std::string& p_strTree)
    {
        m_strDir = sensorhost::makeScratchDir("sensorctl-check");
        if (m_strDir.empty()) return "cannot create a temporary folder for the copy of the tree";
        m_strRoot = m_strDir + "/flash";
        return sensorhost::copyTree(p_strTree, m_strRoot);
    }
    const std::string& root() const { return m_strRoot; }

private:
    std::string m_strDir;
    std::string m_strRoot;
};

// The library's failed assertions since p_nMark, one FAIL line for each
// different one (several checks make the library read the same files).
void reportLibraryAsserts(CheckReport& p_objReport, size_t p_nMark)
{
    sensorhost::ConsoleCapture& objConsole = sensorhost::ConsoleCapture::instance();
    objConsole.sync();
    Check objCheck(p_objReport, "library-reports", "");
    std::set<std::string> setSeen;
    for (const sensorhost::AssertReport& stReport : objConsole.reportsSince(p_nMark))
        if (setSeen.insert(stReport.m_strWhere + stReport.m_strCheck).second)
            objCheck.failIn(stReport.m_strWhere, "", "failed assertion: " + stReport.m_strCheck);
    objCheck.done("no failed assertion while the library read the tree");
}

void runStaticChecks(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    const size_t nMark = sensorhost::ConsoleCapture::instance().reportCount();
    checkMachineInfo(p_stCtx, p_objReport);
    checkModuleMatch(p_stCtx, p_objReport);
    if (!p_stCtx.m_bModule) return;
    checkDetailFields(p_stCtx, p_objReport);
    checkStyleDocument(p_stCtx, p_objReport);
    checkDiversityDocuments(p_stCtx, p_objReport);
    if (!p_stCtx.m_stStyle.m_bParsed) return;
    if (p_stCtx.m_stDiversity.m_bParsed) {
        checkVariantConditions(p_stCtx, p_objReport);
        checkMergeOperations(p_stCtx, p_objReport);
    }
    if (buildStyleFacts(p_stCtx, p_objReport)) {
        checkStyleItems(p_stCtx, p_objReport);
        checkFactoryRecords(p_stCtx, p_objReport);
        checkSchemeFiles(p_stCtx, p_objReport);
        checkVersionFile(p_stCtx, p_objReport);
    }
    reportLibraryAsserts(p_objReport, nMark);
}

}  // namespace

std::string checkCheckArgs(const std::vector<std::string>& p_vecArgs)
{
    CheckOptions stIgnored;
    return parseCheckArgs(p_vecArgs, stIgnored);
}

int runCheck(const ToolOptions& p_stTool)
{
    CheckContext stCtx;
    stCtx.m_stOptions.m_strFlashDir = p_stTool.m_strFlashDir;
    stCtx.m_stOptions.m_nChannel = p_stTool.m_nChannel;
    const std::string strUsage = parseCheckArgs(p_stTool.m_vecArgs, stCtx.m_stOptions);
    if (!strUsage.empty()) {
        toolError("%s", strUsage.c_str());
        return EXIT_USAGE;
    }
    // The checker never creates a tree: a missing one is an error.
    sensorhost::FlashTree stTree;
    std::string strError = sensorhost::openFlashTree(stCtx.m_stOptions.m_strFlashDir, false, stTree);
    ScratchCopy objCopy;
    if (strError.empty()) strError = objCopy.make(stTree.m_strRoot);
    if (!strError.empty()) {
        toolError("%s", strError.c_str());
        return EXIT_FAILED;
    }
    // A reader that stops early (| head) must not keep the copy from being removed.
    signal(SIGPIPE, SIG_IGN);
    stCtx.m_strWorkDir = objCopy.root();
    platformsim::setFlashRoot(stCtx.m_strWorkDir);
    platformsim::setSleepScale(kCheckSleepScale);
    iasim::reset();

    CheckReport objReport(toolOut(), stCtx.m_stOptions.m_bJson);
    runStaticChecks(stCtx, objReport);
    if (stCtx.m_stOptions.m_bLive && stCtx.m_bSysConf) runLiveChecks(stCtx, objReport);
    objReport.finish(stTree.m_strRoot, stCtx.m_stOptions.m_nChannel, stCtx.m_stOptions.m_bLive);
    return objReport.exitStatus();
}
