// Every key of the style, set to its default on the factory scheme: accepted
// and read back equal, and received by the image-algorithm library under its
// table row's command (or by the video module, for keys routed there) where
// the library's calls can be seen.
#include "Checks.h"
#include "KeyArgs.h"
#include "LiveSupport.h"
#include "SensorLib.h"

namespace {

bool videoNotified(const std::vector<CheckVideo::Note>& p_vecNotes, u32 p_nKey, u32 p_nCmd)
{
    for (const CheckVideo::Note& stNote : p_vecNotes)
        if (stNote.m_nKey == static_cast<int>(p_nKey) || stNote.m_nKey == static_cast<int>(p_nCmd)) return true;
    return false;
}

}  // namespace

void checkLiveKeys(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx, CheckVideo& p_objVideo,
                   CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "live-keys", "factory scheme");
    ISensorController& objCtrl = p_objSession.controller();
    sensorhost::IaObserver& objIa = *p_stCtx.m_pIa;
    const bool bDayNight = dayNightSwitching(objCtrl);
    // The factory scheme holds the defaults; sets without saving leave it so.
    objCtrl.setParamMode(0);
    if (!objCtrl.setParamScheme(p_objSession.schemeCount())) {
        objCheck.fail("", "the library refused to switch to the factory scheme " + std::to_string(p_objSession.schemeCount()));
        return;
    }
    const int nIaChannel = p_stCtx.m_nCameraID - 1;
    int nSent = 0;
    int nStored = 0;
    for (const KeyVal& stDefault : p_objSession.setup().m_vecFactory) {
        const std::string strKey = sensorhost::keyLabel(stDefault.key);
        u32 nCmd = 0;
        bool bHandler = false;
        const bool bRow = keyTableCommand(stDefault.key, &nCmd, &bHandler);
        objIa.forgetCalls();
        p_objVideo.takeNotes();
        const size_t nMark = libraryReportMark();
        const int nResult = objCtrl.setParameter(static_cast<int>(stDefault.key), static_cast<int>(stDefault.value), false);
        const std::vector<CheckVideo::Note> vecNotes = p_objVideo.takeNotes();
        failLibraryReports(objCheck, nMark, strKey);
        if (nResult != 0) {
            objCheck.fail(strKey, "setting the default " + std::to_string(stDefault.value) + " failed: the library returned " +
                                      std::to_string(nResult));
            continue;
        }
        int nValue = 0;
        if (!objCtrl.getParameter(static_cast<int>(stDefault.key), nValue) || static_cast<u32>(nValue) != stDefault.value)
            objCheck.fail(strKey, "reads back " + std::to_string(nValue) + ", expected the default " +
                                      std::to_string(stDefault.value));
        // Keys without a handler are only stored; lamp keys take effect by light
        // type, day/night keys under day/night switching through scheme 0 only.
        if (!bRow || !bHandler || lampPairPartner(stDefault.key, nullptr) || (bDayNight && isDayNightKey(stDefault.key))) {
            ++nStored;
            continue;
        }
        ++nSent;
        if (objIa.seesCalls() && !objIa.receivedSet(nIaChannel, nCmd) && !videoNotified(vecNotes, stDefault.key, nCmd))
            objCheck.fail(strKey, "neither the image-algorithm library received command " + std::to_string(nCmd) +
                                      " nor the video module a notification");
    }
    const std::string strCounts = std::to_string(nSent) + " keys applied under their table row's command, " +
                                  std::to_string(nStored) + " stored only";
    // Below a camera's library only the answers count: say what was not seen.
    if (!objIa.seesCalls())
        objCheck.warn("", strCounts + "; whether the image-algorithm library received each command cannot be "
                          "observed (it keeps no call log)");
    objCheck.done(strCounts + "; every default reads back");
}
