// Mirror and beaway: while beaway is on, the mirror values 1 and 2 are
// exchanged on their way to the video module and the library (the cache
// keeps the user's value). Also the show flags of the WDR and beaway options.
#define SNS_SOURCE_FILE "ISensorController"

#include "AtomicWord.h"
#include "ISensorController.h"
#include "IaInterface.h"
#include "SensorDebug.h"

bool g_bShoWBeawayFalg = true;

namespace {

u32 exchangedMirror(u32 p_nMirror, u32 p_nBeaway)
{
    if (p_nBeaway == 0) return p_nMirror;
    if (p_nMirror == 1) return 2;
    if (p_nMirror == 2) return 1;
    return p_nMirror;
}

}  // namespace

int ISensorController::doMirror(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    u32 nBeaway = 0;
    getKeyValFromCache(m_nCurScheme, KEY_BEAWAY, nBeaway);
    u32 nMirror = exchangedMirror(*static_cast<const u32*>(p_pVal), nBeaway);
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == notifyToVideo(p_nKey, nMirror),
               "SNS_SUCCESS == notifyToVideo(p_nKey, nMirror)", "");
    return doIaCmd(p_nKey, p_nDir, &nMirror);
}

int ISensorController::doBeaway(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    if (!getshowBeawayFalg()) {
        // The option is hidden on this device: beaway stays off.
        *static_cast<u32*>(p_pVal) = 0;
        return SNS_SUCCESS;
    }
    u32 nBeaway = *static_cast<const u32*>(p_pVal);
    u32 nMirror = 0;
    getKeyValFromCache(m_nCurScheme, KEY_MIRROR, nMirror);
    nMirror = exchangedMirror(nMirror, nBeaway);
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == notifyToVideo(IA_CMD_UI_MIRROR, nMirror),
               "SNS_SUCCESS == notifyToVideo(IA_CMD_UI_MIRROR, nMirror)", "");
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == notifyToVideo(p_nKey, nBeaway),
               "SNS_SUCCESS == notifyToVideo(p_nKey, nBeaway)", "");
    doIaCmd(IA_CMD_UI_MIRROR, p_nDir, &nMirror);
    return doIaCmd(p_nKey, p_nDir, &nBeaway);
}

void ISensorController::setShowWDRFalg(bool p_bShow)
{
    atomicSet(m_bShowWDRFalg, p_bShow);
}

bool ISensorController::getShowWDRFalg(bool& p_bShow)
{
    p_bShow = atomicGet(m_bShowWDRFalg);
    return true;
}

void ISensorController::setShowBeawayFalg(bool p_bShow)
{
    setshowBeawayFalg(p_bShow);
}

bool ISensorController::getShowBeawayFalg(bool& p_bShow)
{
    p_bShow = getshowBeawayFalg();
    return true;
}

void setshowBeawayFalg(bool p_bShow)
{
    atomicSet(g_bShoWBeawayFalg, p_bShow);
}

bool getshowBeawayFalg()
{
    return atomicGet(g_bShoWBeawayFalg);
}
