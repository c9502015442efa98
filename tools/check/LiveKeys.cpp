// Every key of the style, set to its default on the factory scheme: read back
// equal, and received by the image-algorithm library under its table row's
// command (or by the video module, for keys routed there).
#include "IaInterface.h"
#include "IaSim.h"
#include "KeyArgs.h"
#include "LiveSupport.h"
#include "SensorLib.h"

namespace {

bool iaReceived(int p_nChannel, u32 p_nCmd)
{
    for (const iasim::IaCall& stCall : iasim::calls())
        if (stCall.channel == p_nChannel && stCall.cmd == static_cast<int>(p_nCmd) && stCall.opt == IA_CMD_OPT_SET)
            return true;
    return false;
}

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
        iasim::clearCalls();
        p_objVideo.takeNotes();
        const int nResult = objCtrl.setParameter(static_cast<int>(stDefault.key), static_cast<int>(stDefault.value), false);
        const std::vector<CheckVideo::Note> vecNotes = p_objVideo.takeNotes();
        if (nResult != 0) {
            objCheck.fail(strKey, "setting the default " + std::to_string(stDefault.value) + " failed: the library returned " +
                                      std::to_string(nResult));
            continue;
        }
        int nValue = 0;
        if (!objCtrl.getParameter(static_cast<int>(stDefault.key), nValue) || static_cast<u32>(nValue) != stDefault.value)
            objCheck.fail(strKey, "reads back " + std::to_string(nValue) + ", expected the default " +
                                      std::to_string(stDefault.value));
        // Keys without a handler are only stored; lamp keys take effect by light type.
        if (!bRow || !bHandler || lampPairPartner(stDefault.key, nullptr)) {
            ++nStored;
            continue;
        }
        ++nSent;
        if (!iaReceived(nIaChannel, nCmd) && !videoNotified(vecNotes, stDefault.key, nCmd))
            objCheck.fail(strKey, "neither the image-algorithm library received command " + std::to_string(nCmd) +
                                      " nor the video module a notification");
    }
    objCheck.done(std::to_string(nSent) + " keys applied under their table row's command, " + std::to_string(nStored) +
                  " stored only; every default reads back");
}
