// Handlers that wrap the image-algorithm entry with the controller's guards:
// the lens lock, the busy bits, the one-shot shutter permission, and the
// class-wide request to channel 1's sensor thread.
#define SNS_SOURCE_FILE "ISensorController"

#include "AtomicWord.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "IaInterface.h"
#include "SensorDebug.h"

int ISensorController::doIaCmd(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    // While the host locks the lens, lens commands succeed without effect.
    if (atomicLoadObject(m_objZoomFocusParam).getLockZoomFocusEnable() && p_nKey >= IA_CMD_LENS_FIRST &&
        p_nKey <= IA_CMD_LENS_LAST)
        return SNS_SUCCESS;
    return ia_ioctrl_v2(iaChannelOf(m_nCameraID), static_cast<int32_t>(p_nKey), static_cast<int32_t>(p_nDir),
                        p_pVal);
}

int ISensorController::doIaCmdShutter(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    // uinit grants the permission from another thread: take it in one step.
    if (atomicExchange(m_bShutterUnlock, false)) return doIaCmd(p_nKey, p_nDir, p_pVal);
    if (atomicAny(m_nStatusFlag, SNS_STATUS_USER_REFUSE_MASK)) return SNS_SUCCESS;
    return doIaCmd(p_nKey, p_nDir, p_pVal);
}

int ISensorController::doIaCmd_User(u32 p_nKey, u32 p_nDir, void* p_pVal)
{
    if (atomicAny(m_nStatusFlag, SNS_STATUS_USER_REFUSE_MASK)) return SNS_SUCCESS;
    if (p_nKey == KEY_AUTO_FOCUS_ONCE && !m_bHasLens) return SNS_SUCCESS;
    return doIaCmd(p_nKey, p_nDir, p_pVal);
}

int ISensorController::doIoCrtl(u32 p_nKey, u32, void*)
{
    if (p_nKey == KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV) {
        // The request first, then the channel: the sensor thread that sees
        // its channel must find the request already there.
        atomicSet(m_nPassKeycmd, KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV);
        atomicSet(m_nChanneldDosomething, 1);
    }
    return SNS_SUCCESS;
}
