// demo: a guided tour of the library on the sample camera. Each step says
// what the host does and shows what it caused: the image-algorithm calls and
// the notifications of the video module.
#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "CommandHandlers.h"
#include "IaInterface.h"
#include "IaLog.h"
#include "IaSim.h"
#include "KeyArgs.h"
#include "PlatformSim.h"
#include "SchemeInfo.h"
#include "Session.h"
#include "ToolCommon.h"

using namespace sensorhost;

namespace {

// The tour's time windows need scheme 0 and two more.
const int kSchemesNeeded = 3;
// A switch is waited for this long plus some passes of the sensor thread.
const double kWaitSeconds = 2.0;
const double kWaitPasses = 10;
const std::chrono::milliseconds kPollStep(10);
const int kValueStep = 20;
const int kLevelMax = 100;

// A level moved by p_nShift, or the other way when that would leave 0..100.
int shiftedLevel(int p_nLevel, int p_nShift)
{
    const int nMoved = p_nLevel + p_nShift;
    return nMoved >= 0 && nMoved <= kLevelMax ? nMoved : p_nLevel - p_nShift;
}

// The settings changed in step 2 and shown in step 1.
const u32 kShownKeys[] = {KEY_BRIGHTNESS, KEY_SATURATION, KEY_MIRROR, KEY_WDR_MODE};

// Windows given to the schemes in step 4; schemes beyond these get the last.
struct DemoWindow {
    int m_nStartHour;
    int m_nEndHour;
    int m_nBrightnessShift;  // against scheme 0's brightness; 0: keep
    const char* m_szLabel;
};
const DemoWindow kWindows[] = {
    {6, 8, 0, "early morning"},
    {8, 18, 10, "day"},
    {18, 23, -15, "evening"},
    {23, 24, 0, "late"},
};

// Clock positions visited in step 4 and the scheme each one must bring.
struct ClockStop {
    int m_nHour;
    int m_nMinute;
    int m_nScheme;
    const char* m_szWhy;
};
const ClockStop kClockStops[] = {
    {12, 0, 1, "inside the day window of scheme 1"},
    {19, 30, 2, "inside the evening window of scheme 2"},
    {2, 0, 0, "outside every window: scheme 0"},
};
// Where the clock stands while the windows are edited: outside all of them.
const int kQuietHour = 2;

class DemoRun {
public:
    explicit DemoRun(Session& p_objSession)
        : m_objSession(p_objSession), m_objCtrl(p_objSession.controller())
    {
    }
    int play();

private:
    bool showStart();
    bool changeSettings();
    bool saveScheme();
    bool timeWindows();
    bool editWindows();
    bool visitClockStops();
    bool dayNight();
    bool factoryReset();

    void beginStep(const char* p_szTitle);
    void markEffects();
    void reportEffects(bool p_bList);
    bool apply(const std::string& p_strText);
    int valueOf(u32 p_nKey);
    bool waitForScheme(int p_nScheme);
    std::string valueLine(u32 p_nKey);

    Session& m_objSession;
    ISensorController& m_objCtrl;
    int m_nStep = 0;
    int m_nNotesMark = 0;
};

int DemoRun::play()
{
    const bool bDone = showStart() && changeSettings() && saveScheme() && timeWindows() &&
                       dayNight() && factoryReset();
    platformsim::clearWallClock();
    iasim::setValue(m_objSession.iaChannel(), IA_CMD_DN_STATE, 0);
    if (!bDone) return EXIT_FAILED;
    toolPrint(
        "\nThe tour is over. Try `sensorctl shell` to drive the controller yourself (on ./flash,\n"
        "a copy of the sample camera made at the first run).\n");
    return EXIT_DONE;
}

void DemoRun::beginStep(const char* p_szTitle)
{
    toolPrint("\n== %d. %s ==\n", ++m_nStep, p_szTitle);
}

void DemoRun::markEffects()
{
    iasim::clearCalls();
    m_nNotesMark = m_objSession.video().notificationCount();
}

void DemoRun::reportEffects(bool p_bList)
{
    const std::vector<iasim::IaCall> vecCalls = iasim::calls();
    if (p_bList) {
        toolPrint("  image-algorithm calls:\n");
        printIaCalls(vecCalls, false, "    ");
    } else {
        size_t nSets = 0;
        for (const iasim::IaCall& stCall : vecCalls) nSets += stCall.opt == IA_CMD_OPT_SET ? 1 : 0;
        toolPrint("  image-algorithm calls: %zu values set, %zu other calls\n", nSets,
                  vecCalls.size() - nSets);
    }
    toolPrint("  video notifications: %d\n",
              m_objSession.video().notificationCount() - m_nNotesMark);
    markEffects();
}

bool DemoRun::apply(const std::string& p_strText)
{
    toolPrint("  host: setParameters(\"%s\", true)\n", p_strText.c_str());
    const int nResult = m_objCtrl.setParameters(p_strText, true);
    if (nResult == 0) return true;
    toolError("the library refused %s (result %d); the demo stops here",
              keyLabel(static_cast<u32>(-nResult)).c_str(), nResult);
    return false;
}

int DemoRun::valueOf(u32 p_nKey)
{
    int nValue = 0;
    m_objCtrl.getParameter(static_cast<int>(p_nKey), nValue);
    return nValue;
}

std::string DemoRun::valueLine(u32 p_nKey)
{
    return formatText("%s = %d", keyLabel(p_nKey).c_str(), valueOf(p_nKey));
}

bool DemoRun::waitForScheme(int p_nScheme)
{
    const double dLimit = kWaitSeconds + kWaitPasses * m_objSession.sleepScale();
    const auto tStart = std::chrono::steady_clock::now();
    const auto tEnd = tStart + std::chrono::duration<double>(dLimit);
    while (currentScheme(m_objCtrl) != p_nScheme && std::chrono::steady_clock::now() < tEnd)
        std::this_thread::sleep_for(kPollStep);
    const int nCurrent = currentScheme(m_objCtrl);
    if (nCurrent != p_nScheme) {
        toolError("the sensor thread did not switch to scheme %d within %.1f s (current: %d)",
                  p_nScheme, dLimit, nCurrent);
        return false;
    }
    const std::chrono::duration<double> dWaited = std::chrono::steady_clock::now() - tStart;
    toolPrint("  sensor thread: scheme %d is current after %.2f s\n", p_nScheme, dWaited.count());
    return true;
}

bool DemoRun::showStart()
{
    beginStep("The host starts a controller on the sample camera");
    const MachineInfo& objMachine = m_objSession.machineInfo();
    toolPrint(
        "  flash folder: %s (%s)\n", m_objSession.flashDir().c_str(),
        m_objSession.createdFromSample() ? "a fresh copy of the sample camera" : "used as it is");
    toolPrint("  machine: %s %s, device type %d\n", objMachine.getHardwareModel().c_str(),
              objMachine.getHardwareCode().c_str(), objMachine.getDeviceType());
    toolPrint(
        "  host: setChannelID(%d), setVideoStreamModule(tool's video), init(module %d \"%s\")\n",
        m_objSession.channel(), m_objSession.module().getModuleId(),
        m_objSession.module().getDetail().c_str());
    toolPrint("  init loaded the factory parameters: %zu keys per scheme, %d user schemes\n",
              currentSchemeKeys(m_objCtrl).size(), m_objSession.schemeCount());
    int nMode = 0;
    m_objCtrl.getParamMode(nMode);
    toolPrint("  %s is current; mode %d; automatic switching: %s\n",
              schemeText(m_objSession, currentScheme(m_objCtrl)).c_str(), nMode,
              switchingText(m_objCtrl).c_str());
    for (u32 nKey : kShownKeys) toolPrint("  %s\n", valueLine(nKey).c_str());
    toolPrint("  init applied the scheme to the device:\n");
    reportEffects(false);
    return true;
}

bool DemoRun::changeSettings()
{
    beginStep("The host changes settings (kept in scheme 0, not yet saved)");
    std::string strText;
    for (u32 nKey : kShownKeys) {
        const int nOld = valueOf(nKey);
        // On/off style keys toggle; levels move by a step that stays in 0..100.
        int nNew = nOld == 0 ? 1 : 0;
        if (nKey == KEY_BRIGHTNESS || nKey == KEY_SATURATION) nNew = shiftedLevel(nOld, kValueStep);
        strText += formatText("(%u,%d)", nKey, nNew);
    }
    if (!apply(strText)) return false;
    for (u32 nKey : kShownKeys) toolPrint("  %s\n", valueLine(nKey).c_str());
    reportEffects(true);
    return true;
}

bool DemoRun::saveScheme()
{
    beginStep("The host saves scheme 0 (flush)");
    const sensorhost::SaveResult stSave = m_objSession.host().saveCurrentScheme();
    if (!stSave.ok() || !stSave.m_bWritten) {
        toolError("not saved: scheme 0: %s", stSave.m_strFailure.c_str());
        return false;
    }
    toolPrint("  scheme 0 is on flash: the next run loads %s\n", valueLine(KEY_BRIGHTNESS).c_str());
    reportEffects(false);
    return true;
}

bool DemoRun::timeWindows()
{
    beginStep("Automatic switching by time window (the simulated clock moves)");
    if (m_objSession.schemeCount() < kSchemesNeeded) {
        toolPrint("  skipped: this camera has %d user schemes, the tour needs %d\n",
                  m_objSession.schemeCount(), kSchemesNeeded);
        return true;
    }
    return editWindows() && visitClockStops();
}

bool DemoRun::editWindows()
{
    platformsim::setWallClock(kQuietHour, 0);
    toolPrint(
        "  host: setParamMode(0) while it edits the schemes, so that nothing switches meanwhile\n");
    m_objCtrl.setParamMode(0);
    const size_t nLastWindow = sizeof(kWindows) / sizeof(kWindows[0]) - 1;
    const int nBrightness = valueOf(KEY_BRIGHTNESS);
    for (int s = 0; s < m_objSession.schemeCount(); ++s) {
        const DemoWindow& stWin = kWindows[std::min(static_cast<size_t>(s), nLastWindow)];
        toolPrint("  scheme %d gets the %s window %02d:00-%02d:00\n", s, stWin.m_szLabel,
                  stWin.m_nStartHour, stWin.m_nEndHour);
        toolPrint("  host: setParamScheme(%d)\n", s);
        m_objCtrl.setParamScheme(s);
        std::string strText = formatText("(%d,%d)(%d,0)(%d,%d)(%d,0)", KEY_SCHEME_START_HOUR,
                                         stWin.m_nStartHour, KEY_SCHEME_START_MIN,
                                         KEY_SCHEME_END_HOUR, stWin.m_nEndHour, KEY_SCHEME_END_MIN);
        if (stWin.m_nBrightnessShift != 0)
            strText += formatText("(%d,%d)", KEY_BRIGHTNESS,
                                  shiftedLevel(nBrightness, stWin.m_nBrightnessShift));
        if (!apply(strText)) return false;
    }
    toolPrint("  host: setParamScheme(0)\n");
    m_objCtrl.setParamScheme(0);
    toolPrint(
        "  scheme 0: KEY_SCHEME_MODE = 1 turns on switching by time window; setParamMode(1)\n");
    if (!apply(formatText("(%d,1)", KEY_SCHEME_MODE))) return false;
    m_objCtrl.setParamMode(1);
    return true;
}

bool DemoRun::visitClockStops()
{
    markEffects();
    for (const ClockStop& stStop : kClockStops) {
        toolPrint("  clock %02d:%02d, %s\n", stStop.m_nHour, stStop.m_nMinute, stStop.m_szWhy);
        platformsim::setWallClock(stStop.m_nHour, stStop.m_nMinute);
        if (!waitForScheme(stStop.m_nScheme)) return false;
        toolPrint("  %s\n", valueLine(KEY_BRIGHTNESS).c_str());
        reportEffects(true);
    }
    return true;
}

bool DemoRun::dayNight()
{
    beginStep("Automatic switching by day/night state (the simulated state changes)");
    toolPrint("  scheme 0: KEY_SCHEME_MODE = 2 turns on switching by day/night state\n");
    if (!apply(formatText("(%d,2)", KEY_SCHEME_MODE))) return false;
    markEffects();
    const struct {
        int m_nState;
        int m_nScheme;
    } kStates[] = {{1, 1}, {0, 0}};
    for (const auto& stState : kStates) {
        toolPrint("  the image-algorithm library reports %s\n",
                  stState.m_nState != 0 ? "night" : "day");
        iasim::setValue(m_objSession.iaChannel(), IA_CMD_DN_STATE,
                        static_cast<uint32_t>(stState.m_nState));
        if (!waitForScheme(stState.m_nScheme)) return false;
        reportEffects(true);
    }
    return true;
}

bool DemoRun::factoryReset()
{
    beginStep("The host makes a factory reset (resetParameters)");
    // The reset runs init again, which applies every value: counted, not listed.
    m_objSession.setVideoEcho(false);
    const sensorhost::SaveResult stReset = m_objSession.host().factoryReset();
    m_objSession.setVideoEcho(true);
    if (!stReset.ok()) {
        toolError("not saved: factory reset: %s", stReset.m_strFailure.c_str());
        return false;
    }
    toolPrint("  %s is current; automatic switching: %s\n",
              schemeText(m_objSession, currentScheme(m_objCtrl)).c_str(),
              switchingText(m_objCtrl).c_str());
    for (u32 nKey : kShownKeys) toolPrint("  %s\n", valueLine(nKey).c_str());
    toolPrint("  the parameter files hold the factory values again\n");
    reportEffects(false);
    return true;
}

}  // namespace

int runDemo(Session* p_pSession, const Args&)
{
    DemoRun objRun(*p_pSession);
    return objRun.play();
}

std::string prepareDemoFlash(ToolOptions& p_stOptions, std::string& p_strScratch)
{
    p_strScratch.clear();
    if (!p_stOptions.m_bFlashGiven) {
        p_strScratch = makeScratchDir("sensorctl-demo");
        if (p_strScratch.empty()) return "no scratch folder for the demo (is the temporary folder writable?)";
        p_stOptions.m_strFlashDir = p_strScratch + "/flash";
        toolNote("the demo runs on a scratch copy of the sample camera, removed at the end");
        return "";
    }
    std::error_code ec;
    const bool bHolds = std::filesystem::exists(p_stOptions.m_strFlashDir, ec) &&
                        !(std::filesystem::is_directory(p_stOptions.m_strFlashDir, ec) &&
                          std::filesystem::is_empty(p_stOptions.m_strFlashDir, ec));
    if (bHolds && !p_stOptions.m_bAllowReset)
        return p_stOptions.m_strFlashDir +
               " is not empty: the demo saves a scheme there and ends with a factory reset of channel " +
               std::to_string(p_stOptions.m_nChannel) +
               ". Run it without --flash (on a scratch copy), or add --allow-reset to run it there";
    return "";
}
