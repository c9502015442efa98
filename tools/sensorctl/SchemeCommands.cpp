// scheme, mode, flush, reset.
#include <stdio.h>

#include "CommandHandlers.h"
#include "KeyArgs.h"
#include "SchemeInfo.h"
#include "Session.h"
#include "ToolCommon.h"

using namespace sensorhost;

namespace {

const int kMaxSchemeArg = 255;

void noteAutoSwitching(ISensorController& p_objCtrl)
{
    if (autoSwitchingOn(p_objCtrl))
        toolNote(
            "automatic switching %s is on: the sensor thread may switch back ('mode 0' pauses it)",
            switchingText(p_objCtrl).c_str());
}

}  // namespace

std::string checkSchemeArg(const Args& p_vecArgs)
{
    long long nScheme = 0;
    if (!p_vecArgs.empty() && !parseNumber(p_vecArgs[0], 0, kMaxSchemeArg, nScheme))
        return "scheme needs a scheme number, got '" + p_vecArgs[0] + "'";
    return "";
}

int runScheme(Session* p_pSession, const Args& p_vecArgs)
{
    ISensorController& objCtrl = p_pSession->controller();
    if (!p_vecArgs.empty()) {
        long long nScheme = 0;
        parseNumber(p_vecArgs[0], 0, kMaxSchemeArg, nScheme);
        if (nScheme > p_pSession->schemeCount()) {
            toolError("scheme %lld does not exist: user schemes 0-%d, factory scheme %d", nScheme,
                      p_pSession->schemeCount() - 1, p_pSession->schemeCount());
            return EXIT_USAGE;
        }
        const bool bSwitched = objCtrl.setParamScheme(static_cast<int>(nScheme));
        if (!bSwitched) {
            toolError("the library refused to switch to scheme %lld", nScheme);
            return EXIT_FAILED;
        }
        noteAutoSwitching(objCtrl);
    }
    const int nCurrent = currentScheme(objCtrl);
    toolPrint("%s, time window %s\n", schemeText(*p_pSession, nCurrent).c_str(),
              windowText(objCtrl, nCurrent).c_str());
    return EXIT_DONE;
}

std::string checkModeArg(const Args& p_vecArgs)
{
    if (!p_vecArgs.empty() && p_vecArgs[0] != "0" && p_vecArgs[0] != "1")
        return "mode needs 0 or 1, got '" + p_vecArgs[0] + "'";
    return "";
}

int runMode(Session* p_pSession, const Args& p_vecArgs)
{
    ISensorController& objCtrl = p_pSession->controller();
    if (!p_vecArgs.empty()) objCtrl.setParamMode(p_vecArgs[0] == "1" ? 1 : 0);
    int nMode = 0;
    objCtrl.getParamMode(nMode);
    toolPrint("mode %d: %s; switching configured in scheme 0: %s\n", nMode,
              nMode != 0 ? "the sensor thread may switch schemes" : "no automatic switching",
              switchingText(objCtrl).c_str());
    return EXIT_DONE;
}

int runFlush(Session* p_pSession, const Args&)
{
    const SaveResult stSave = p_pSession->host().saveCurrentScheme();
    if (stSave.m_nLibraryCode != 0) {
        toolError("not saved: scheme %d: %s (window %s)", stSave.m_nScheme, stSave.m_strFailure.c_str(),
                  windowText(p_pSession->controller(), stSave.m_nScheme).c_str());
        return EXIT_FAILED;
    }
    if (!stSave.ok()) {
        toolError("not saved: scheme %d: %s", stSave.m_nScheme, stSave.m_strFailure.c_str());
        return EXIT_FAILED;
    }
    if (!stSave.m_bWritten)
        toolPrint("nothing saved: the factory scheme has no parameter file\n");
    else
        toolPrint("saved scheme %d\n", stSave.m_nScheme);
    return EXIT_DONE;
}

int runReset(Session* p_pSession, const Args&)
{
    // The reset runs init again, which applies every value: counted, not listed.
    const int nNotesBefore = p_pSession->video().notificationCount();
    p_pSession->setVideoEcho(false);
    const SaveResult stReset = p_pSession->host().factoryReset();
    p_pSession->setVideoEcho(true);
    if (!stReset.ok()) {
        toolError("not saved: factory reset of channel %d: %s", p_pSession->channel(),
                  stReset.m_strFailure.c_str());
        return EXIT_FAILED;
    }
    toolPrint(
        "factory reset of channel %d done: parameter files rewritten from the factory values, %s "
        "(%d video notifications)\n",
        p_pSession->channel(), schemeText(*p_pSession, stReset.m_nScheme).c_str(),
        p_pSession->video().notificationCount() - nNotesBefore);
    return EXIT_DONE;
}

int selectSchemeForRun(Session& p_objSession, int p_nScheme)
{
    if (p_nScheme > p_objSession.schemeCount()) {
        toolError("--scheme %d does not exist: user schemes 0-%d, factory scheme %d", p_nScheme,
                  p_objSession.schemeCount() - 1, p_objSession.schemeCount());
        return EXIT_USAGE;
    }
    ISensorController& objCtrl = p_objSession.controller();
    objCtrl.setParamMode(0);
    if (!objCtrl.setParamScheme(p_nScheme)) {
        toolError("the library refused to switch to scheme %d", p_nScheme);
        return EXIT_FAILED;
    }
    return EXIT_DONE;
}
