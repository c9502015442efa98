// Handlers of the keys that concern the host's video module: wide dynamic
// range, anti-shake, image offset, panorama and mixed-stream tuning, and the
// test keys.
#define SNS_SOURCE_FILE "ISensorController"

#include "AtomicWord.h"
#include "ISensorController.h"
#include "SensorDebug.h"

namespace {

// Video notification that frames a WDR mode change: 0 before, 1 after.
const int kVideoWdrChangeKey = 2370;

u32 valueAt(const void* p_pVal)
{
    return *static_cast<const u32*>(p_pVal);
}

}  // namespace

int ISensorController::doHwdr(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    if (!atomicGet(m_bShowWDRFalg)) {
        // The option is hidden on this device: WDR stays off.
        *static_cast<u32*>(p_pVal) = 0;
        return SNS_SUCCESS;
    }
    notifyToVideo(kVideoWdrChangeKey, 0);
    const int nRet = notifyToVideo(p_nKey, valueAt(p_pVal));
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal),
               "SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal)", "");
    notifyToVideo(kVideoWdrChangeKey, 1);
    return nRet;
}

int ISensorController::doDIS(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == notifyToVideo(p_nKey, valueAt(p_pVal)),
               "SNS_SUCCESS == notifyToVideo(p_nKey, *(u32*)p_pVal)", "");
    return doIaCmd(p_nKey, p_nDir, p_pVal);
}

int ISensorController::doImageAdjust(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal),
               "SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal)", "");
    return notifyToVideo(p_nKey, valueAt(p_pVal));
}

// These keys belong to the video module alone; its refusal does not fail the set.
int ISensorController::doIaCmd_PanoTuning(u32 p_nKey, u32, void* p_pVal)
{
    const u32 nKey = p_nKey;
    const u32 nVal = valueAt(p_pVal);
    SNS_ASSERT(SNS_HERE, SNS_SUCCESS == notifyToVideo(nKey, nVal), "SNS_SUCCESS == notifyToVideo(nKey, nVal)",
               "");
    return SNS_SUCCESS;
}

int ISensorController::test_debugParam(u32 p_nKey, u32, void* p_pVal)
{
    notifyToVideo(p_nKey, valueAt(p_pVal));
    return SNS_SUCCESS;
}
