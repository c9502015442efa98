// Every check in order on a temporary copy of the tree: the static ones,
// then, when asked and the tree allows a controller, the live ones.
#include "CheckRun.h"

#include <filesystem>
#include <set>

#include "Checks.h"
#include "ConsoleCapture.h"
#include "HostFlash.h"
#include "PlatformSim.h"

namespace {

// The library's sleeps while checking (scheme switches wait for the sensor).
const double kCheckSleepScale = 0.05;

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

void reportLibraryAsserts(CheckReport& p_objReport, size_t p_nMark)
{
    Check objCheck(p_objReport, "library-reports", "");
    failLibraryReports(objCheck, p_nMark, "");
    objCheck.done("no failed assertion while the library read the tree");
}

void runStaticChecks(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    const size_t nMark = libraryReportMark();
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

size_t libraryReportMark()
{
    return sensorhost::ConsoleCapture::instance().reportCount();
}

void failLibraryReports(Check& p_objCheck, size_t p_nMark, const std::string& p_strWhere)
{
    sensorhost::ConsoleCapture& objConsole = sensorhost::ConsoleCapture::instance();
    objConsole.sync();
    // The library may read the same files, and fail the same way, several times.
    std::set<std::string> setSeen;
    for (const sensorhost::AssertReport& stReport : objConsole.reportsSince(p_nMark))
        if (setSeen.insert(stReport.m_strWhere + stReport.m_strCheck).second)
            p_objCheck.fail(p_strWhere.empty() ? stReport.m_strWhere : p_strWhere,
                        "failed assertion: " + stReport.m_strCheck +
                            (p_strWhere.empty() ? "" : " (" + stReport.m_strWhere + ")"));
}

int runChecks(const CheckOptions& p_stOptions, sensorhost::IaObserver& p_objIa, FILE* p_pOut,
              std::string& p_strError)
{
    CheckContext stCtx;
    stCtx.m_stOptions = p_stOptions;
    stCtx.m_pIa = &p_objIa;
    // The checker never creates a tree: a missing one is an error.
    sensorhost::FlashTree stTree;
    p_strError = sensorhost::openFlashTree(p_stOptions.m_strFlashDir, false, stTree);
    ScratchCopy objCopy;
    if (p_strError.empty()) p_strError = objCopy.make(stTree.m_strRoot);
    if (!p_strError.empty()) return 1;
    stCtx.m_strWorkDir = objCopy.root();
    platformsim::setFlashRoot(stCtx.m_strWorkDir);
    platformsim::setSleepScale(kCheckSleepScale);
    p_objIa.restart();

    CheckReport objReport(p_pOut, p_stOptions.m_bJson);
    runStaticChecks(stCtx, objReport);
    if (p_stOptions.m_bLive && stCtx.m_bSysConf) runLiveChecks(stCtx, objReport);
    objReport.finish(stTree.m_strRoot, p_stOptions.m_nChannel, p_stOptions.m_bLive);
    return objReport.exitStatus();
}
