#include "HostSession.h"

#include "ConsoleCapture.h"
#include "IaObserver.h"
#include "ParamFile.h"
#include "PlatformSim.h"
#include "SensorKeys.h"
#include "SensorLib.h"

namespace sensorhost {

namespace {

// Codes of the library's time-window check, refused by flush.
struct WindowProblem {
    int m_nCode;
    const char* m_szText;
};

const WindowProblem kWindowProblems[] = {
    {505, "its time window starts after 24:00"},
    {506, "its time window ends after 24:00"},
    {507, "its time window does not start before it ends"},
};

// A licence-plate camera (device type 8) writes its scheme 1 with night settings.
const int kLprDeviceType = 8;
const int kLprNightScheme = 1;

std::string recordText(const KeyVal& p_stRecord)
{
    return "key " + std::to_string(p_stRecord.key) + " = " + std::to_string(static_cast<int32_t>(p_stRecord.value));
}

std::string reportsFailure(size_t p_nMark)
{
    const std::vector<AssertReport> vecReports = ConsoleCapture::instance().reportsSince(p_nMark);
    if (vecReports.empty()) return "";
    return "the library reported a failed check: " + summariseReports(vecReports);
}

}  // namespace

std::string flushRefusalText(int p_nCode)
{
    for (const WindowProblem& stProblem : kWindowProblems)
        if (stProblem.m_nCode == p_nCode) return stProblem.m_szText;
    return "the library answered " + std::to_string(p_nCode);
}

HostSession::HostSession() = default;

HostSession::~HostSession()
{
    close();
}

std::string HostSession::open(const SessionOptions& p_stOptions)
{
    m_stOptions = p_stOptions;
    std::string strError = openFlashTree(p_stOptions.m_strFlashDir, p_stOptions.m_bMayCreate, m_stTree);
    if (!strError.empty()) return strError;
    // The simulated sensor starts from its default profile (dynamic ranges, version text).
    if (p_stOptions.m_bResetSimulator) iaObserver().restart();
    m_stReport = preflight(m_stTree, p_stOptions.m_nChannel, m_stSetup);
    const std::vector<Finding> vecBlocking = m_stReport.blocking(p_stOptions.m_bLossAccepted);
    if (!vecBlocking.empty()) return vecBlocking[0].m_strText;

    if (p_stOptions.m_bResetSimulator) iaObserver().restart();
    m_nReportMark = ConsoleCapture::instance().reportCount();
    m_pController = std::make_unique<ISensorController>();
    m_pController->setChannelID(p_stOptions.m_nChannel);
    m_pController->setVideoStreamModule(p_stOptions.m_pVideo);
    m_pController->init(m_stSetup.m_objModule);
    m_bOpen = true;
    if (!m_stReport.m_vecFindings.empty()) m_nReportMark = ConsoleCapture::instance().reportCount();
    if (!m_pController->getSensorStatus()) return "the controller did not come up (init failed)";
    return "";
}

void HostSession::close()
{
    if (!m_bOpen) return;
    m_bOpen = false;
    m_pController->uinit();
}

int HostSession::currentScheme()
{
    int nScheme = -1;
    m_pController->getParamScheme(nScheme);
    return nScheme;
}

std::vector<KeyVal> HostSession::currentValues()
{
    std::vector<KeyVal> vecOut;
    for (const KeyVal& stFactory : m_stSetup.m_vecFactory) {
        int nValue = 0;
        m_pController->getParameter(static_cast<int>(stFactory.key), nValue);
        vecOut.push_back(KeyVal{stFactory.key, static_cast<u32>(nValue)});
    }
    return vecOut;
}

std::string HostSession::compareFile(const std::string& p_strCameraPath, const std::vector<KeyVal>& p_vecExpected,
                                     bool p_bLprNight)
{
    const std::string strPath = onDisk(m_stTree, p_strCameraPath);
    std::string strBytes;
    const std::string strError = readLimited(strPath, strBytes);
    if (!strError.empty()) return strPath + " cannot be read back: " + strError;
    size_t nLeftOver = 0;
    const std::vector<KeyVal> vecFile = decodeRecords(strBytes, nLeftOver);
    if (nLeftOver != 0 || vecFile.size() != p_vecExpected.size())
        return strPath + " holds " + std::to_string(strBytes.size()) + " bytes where " +
               std::to_string(p_vecExpected.size() * sizeof(KeyVal)) + " were written";
    for (size_t i = 0; i < vecFile.size(); ++i) {
        if (vecFile[i].key == p_vecExpected[i].key && vecFile[i].value == p_vecExpected[i].value) continue;
        if (p_bLprNight && vecFile[i].key == p_vecExpected[i].key) continue;
        return strPath + " holds " + recordText(vecFile[i]) + " at record " + std::to_string(i) + " where " +
               recordText(p_vecExpected[i]) + " was written";
    }
    return "";
}

SaveResult HostSession::saveCurrentScheme()
{
    SaveResult stOut;
    stOut.m_nScheme = currentScheme();
    const std::vector<KeyVal> vecExpected = currentValues();
    const size_t nMark = ConsoleCapture::instance().reportCount();
    stOut.m_nLibraryCode = m_pController->flush();
    if (stOut.m_nLibraryCode != 0) {
        stOut.m_strFailure = flushRefusalText(stOut.m_nLibraryCode);
        return stOut;
    }
    // The factory scheme has no file: nothing to save, nothing to check.
    if (stOut.m_nScheme < 0 || stOut.m_nScheme >= schemeCount()) return stOut;
    stOut.m_strFailure = reportsFailure(nMark);
    if (stOut.m_strFailure.empty())
        stOut.m_strFailure = compareFile(m_stSetup.schemeFile(stOut.m_nScheme), vecExpected, false);
    stOut.m_bWritten = stOut.m_strFailure.empty();
    return stOut;
}

SaveResult HostSession::factoryReset()
{
    SaveResult stOut;
    const size_t nMark = ConsoleCapture::instance().reportCount();
    m_pController->resetParameters();
    stOut.m_nScheme = currentScheme();
    stOut.m_strFailure = reportsFailure(nMark);
    std::vector<KeyVal> vecFactory = m_stSetup.m_vecFactory;
    // Every file after a reset carries "no automatic switching".
    for (KeyVal& stRecord : vecFactory)
        if (stRecord.key == KEY_SCHEME_MODE) stRecord.value = 0;
    const bool bLpr = m_stSetup.m_objMachine.getDeviceType() == kLprDeviceType;
    for (int s = 0; s < schemeCount() && stOut.m_strFailure.empty(); ++s)
        stOut.m_strFailure = compareFile(m_stSetup.schemeFile(s), vecFactory, bLpr && s == kLprNightScheme);
    u32 nVersion = 0;
    if (stOut.m_strFailure.empty() && (getVersion(&nVersion) != 0 || nVersion != paramFileLayoutVersion()))
        stOut.m_strFailure = onDisk(m_stTree, SNS_PATH_VERSION_FILE) + " does not hold the layout version " +
                             std::to_string(paramFileLayoutVersion());
    stOut.m_bWritten = stOut.m_strFailure.empty();
    return stOut;
}

const ValueRules& HostSession::valueRules()
{
    if (!m_bRulesRead) {
        m_strRulesProblem = m_objRules.load(m_pController->getUIStyleFile());
        m_bRulesRead = true;
    }
    return m_objRules;
}

}  // namespace sensorhost
