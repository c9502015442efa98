// Direct lens and iris operations, the camera version text, the host's lens
// settings and the sensor check. None of them takes the controller's mutex.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>
#include <stdlib.h>

#include "AtomicWord.h"
#include "HostOps.h"
#include "IaInterface.h"
#include "ISensorController.h"

using hostops::iaGet;
using hostops::iaSet;

namespace {

// Zoom motor positions of the magnifications 1x to 16x.
const u32 kZoomPositions[] = {16384, 24576, 27264, 28672, 29056, 29440, 29728, 30016,
                              30208, 30400, 30560, 30720, 30912, 31104, 31232, 31424};
const u32 kZoomPositionCount = sizeof(kZoomPositions) / sizeof(kZoomPositions[0]);
const u32 kRatioPerStep = 1000;

const int kIrisMin = 256;
const int kIrisMax = 25600;
// Values above the range are sent as this, not as the maximum.
const int kIrisAboveRange = 1048576;

const u32 kFocusModeForSteps = 1;
const u32 kExposeModeForIris = 3;
const int kSensorCheckFailLine = 2404;
const int kSensorCheckGetMode = 2;

// Magnification in thousandths, linear between table points; a position
// beyond the table leaves the ratio unchanged.
void zoomRatio(u32 p_nPosition, int& p_nRatio)
{
    if (p_nPosition <= kZoomPositions[0]) {
        p_nRatio = static_cast<int>(kRatioPerStep);
        return;
    }
    for (u32 k = 0; k + 1 < kZoomPositionCount; ++k) {
        const u32 nLow = kZoomPositions[k];
        const u32 nHigh = kZoomPositions[k + 1];
        if (nLow < p_nPosition && p_nPosition <= nHigh) {
            p_nRatio = static_cast<int>(kRatioPerStep * (k + 2) -
                                        kRatioPerStep * (nHigh - p_nPosition) / (nHigh - nLow));
            return;
        }
    }
}

int clampIris(int p_nValue)
{
    if (p_nValue < kIrisMin) return kIrisMin;
    if (p_nValue > kIrisMax) return kIrisAboveRange;
    return p_nValue;
}

// Focus steps need the manual focus mode; its status does not stop the step.
bool focusStep(ISensorController& p_objCtrl, u32 p_nCmd)
{
    iaSet(p_objCtrl, IA_CMD_FOCUS_MODE, kFocusModeForSteps);
    return iaSet(p_objCtrl, p_nCmd, 1);
}

// Iris moves need the exposure mode 3 first; without it nothing moves.
bool irisCommand(ISensorController& p_objCtrl, u32 p_nCmd, u32 p_nValue)
{
    if (!iaSet(p_objCtrl, IA_CMD_EXPOSE_MODE, kExposeModeForIris)) return false;
    return iaSet(p_objCtrl, p_nCmd, p_nValue);
}

}  // namespace

bool ISensorController::focusFar()
{
    return !m_bHasLens || focusStep(*this, IA_CMD_FOCUS_FAR);
}

bool ISensorController::focusNear()
{
    return !m_bHasLens || focusStep(*this, IA_CMD_FOCUS_NEAR);
}

bool ISensorController::irisUp()
{
    return irisCommand(*this, IA_CMD_IRIS_UP, 1);
}

bool ISensorController::irisDown()
{
    return irisCommand(*this, IA_CMD_IRIS_DOWN, 1);
}

bool ISensorController::zoomIn()
{
    return iaSet(*this, IA_CMD_ZOOM_IN, 1);
}

bool ISensorController::zoomOut()
{
    return iaSet(*this, IA_CMD_ZOOM_OUT, 1);
}

bool ISensorController::setZoomValue(int p_nValue)
{
    return !m_bHasLens || iaSet(*this, IA_CMD_MZ_POSITION, static_cast<u32>(p_nValue));
}

bool ISensorController::getZoomValue(int& p_nPosition, int& p_nRatio)
{
    if (!m_bHasLens) {
        p_nPosition = 0;
        return true;
    }
    if (!iaGet(*this, IA_CMD_MZ_POSITION, &p_nPosition)) return false;
    zoomRatio(static_cast<u32>(p_nPosition), p_nRatio);
    return true;
}

bool ISensorController::setPTZRunState(int p_nState)
{
    return !m_bHasLens || iaSet(*this, IA_CMD_PTZ_RUN_STATE, static_cast<u32>(p_nState));
}

bool ISensorController::setFocusValue(int p_nValue)
{
    return !m_bHasLens || iaSet(*this, IA_CMD_MF_POSITION, static_cast<u32>(p_nValue));
}

bool ISensorController::getFocusValue(int& p_nValue)
{
    if (!m_bHasLens) {
        p_nValue = 0;
        return true;
    }
    return iaGet(*this, IA_CMD_MF_POSITION, &p_nValue);
}

bool ISensorController::setFocusMode(int p_nMode)
{
    return iaSet(*this, IA_CMD_FOCUS_MODE, static_cast<u32>(p_nMode));
}

bool ISensorController::getFocusMode(int& p_nMode)
{
    return iaGet(*this, IA_CMD_FOCUS_MODE, &p_nMode);
}

bool ISensorController::getIrisValue(int& p_nValue)
{
    return iaGet(*this, IA_CMD_IRIS_POSITION, &p_nValue);
}

bool ISensorController::setIrisValue(int p_nValue)
{
    return irisCommand(*this, IA_CMD_IRIS_POSITION, static_cast<u32>(clampIris(p_nValue)));
}

bool ISensorController::getCameraVerInf(std::string& p_strVersion)
{
    char szVersion[IA_CAMERA_VERSION_LEN] = {0};
    if (!iaGet(*this, IA_CMD_CAMERA_VERSION, szVersion)) return false;
    szVersion[IA_CAMERA_VERSION_LEN - 1] = '\0';
    p_strVersion = szVersion;
    return true;
}

int ISensorController::getSensorZoomFocusParam(SensorZoomFocusParam& p_objParam)
{
    // The sensor thread reads the lens lock while the host may set it.
    p_objParam = atomicLoadObject(m_objZoomFocusParam);
    return 0;
}

int ISensorController::setSensorZoomFocusParam(SensorZoomFocusParam& p_objParam)
{
    atomicStoreObject(m_objZoomFocusParam, p_objParam);
    return 0;
}

int ISensorController::SensorCheck(std::string& p_strText)
{
    std::vector<std::string> vecArgs;
    // The record takes three inputs: a shorter list counts as unparsable.
    if (!parseSensorParameter(p_strText, vecArgs) || vecArgs.size() < 3) {
        hostops::printIdListFailure(kSensorCheckFailLine, p_strText);
        return 0;
    }
    int32_t anRecord[4] = {atoi(vecArgs[0].c_str()), atoi(vecArgs[1].c_str()),
                           atoi(vecArgs[2].c_str()), 0};
    const bool bGet = anRecord[1] == kSensorCheckGetMode;
    const int nStatus = ia_ioctrl_v2(iaChannelOf(m_nCameraID), IA_CMD_SENSOR_CHECK,
                                     bGet ? IA_CMD_OPT_GET : IA_CMD_OPT_SET, anRecord);
    if (bGet) {
        char szResult[32] = {0};
        snprintf(szResult, sizeof(szResult), "%d", anRecord[3]);
        p_strText = szResult;
    }
    return nStatus;
}
