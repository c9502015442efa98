// Named get and set operations for the features the host changes most, so
// that callers need no key numbers. Cached accessors go through the
// parameter pipeline; the direct ones read or write the image-algorithm
// library and bypass the cache.
#define SNS_SOURCE_FILE "ISensorController"

#include "HostOps.h"
#include "IaInterface.h"
#include "ISensorController.h"

using hostops::iaGet;
using hostops::iaSet;
using hostops::setCached;

namespace {

const u32 kLightTypeMax = 3;
const int kLampOn = 1;

typedef bool (ISensorController::*SwitchGetter)(int&);
typedef bool (ISensorController::*SwitchSetter)(int);

// Before one illuminator goes on, the other one is switched off.
bool switchOffOther(ISensorController& p_objCtrl, SwitchGetter p_pGet, SwitchSetter p_pSet)
{
    int nOn = 0;
    if (!(p_objCtrl.*p_pGet)(nOn)) return false;
    if (nOn == kLampOn && !(p_objCtrl.*p_pSet)(0)) return false;
    return true;
}

}  // namespace

// Cached getter/setter pairs: (name, key). The getter answers the cached
// value of the current scheme (or the library's value when not cached), the
// setter applies and caches.
#define SNS_CACHED_ACCESSORS(X)               \
    X(WDRSwitch, KEY_WDR_MODE)                \
    X(HLCSwitch, KEY_HLC_SWITCH)              \
    X(BLCSwitch, KEY_BLC_SWITCH)              \
    X(DefogSwitch, KEY_DEFLG_SWITCH)          \
    X(WDRStrength, KEY_WDR_STRG)              \
    X(HLCStrength, KEY_HLC_STRG)              \
    X(BLCStrength, KEY_BLC_STRG)              \
    X(DefogStrength, KEY_DEFLG_STRG)          \
    X(2DSwitch, KEY_2D_NR_SWITCH)             \
    X(3DSwitch, KEY_3D_NR_SWITCH)             \
    X(2DMode, KEY_2D_NR_MODE)                 \
    X(3DMode, KEY_3D_NR_MODE)                 \
    X(2DAutoMaxStrength, KEY_2D_NR_STRG_A)    \
    X(3DAutoMaxStrength, KEY_3D_NR_STRG_A)    \
    X(2DManualMaxStrength, KEY_2D_NR_STRG_M)  \
    X(3DManualMaxStrength, KEY_3D_NR_STRG_M)

#define SNS_DEFINE_CACHED_PAIR(name, key)                                                      \
    bool ISensorController::get##name(int& p_nVal) { return getParameter(key, p_nVal); }      \
    bool ISensorController::set##name(int& p_nVal) { return setCached(*this, key, p_nVal); }

SNS_CACHED_ACCESSORS(SNS_DEFINE_CACHED_PAIR)

#undef SNS_DEFINE_CACHED_PAIR
#undef SNS_CACHED_ACCESSORS

bool ISensorController::getDNMode(int& p_nVal)
{
    // Callers rely on a true answer even when the key cannot be read.
    getParameter(KEY_DN_MODE, p_nVal);
    return true;
}

bool ISensorController::setDNMode(int p_nVal)
{
    return setCached(*this, KEY_DN_MODE, p_nVal);
}

bool ISensorController::getBeaway(int& p_nVal)
{
    return getParameter(KEY_BEAWAY, p_nVal);
}

bool ISensorController::setBeaway(int& p_nVal)
{
    // The outcome is not reported to the caller (see the declaration).
    setCached(*this, KEY_BEAWAY, p_nVal);
    return false;
}

bool ISensorController::getMirrorValue(int& p_nVal)
{
    return getParameter(KEY_MIRROR, p_nVal);
}

bool ISensorController::setMirrorMode(int p_nVal)
{
    if (!setCached(*this, KEY_MIRROR, p_nVal)) return false;
    // The mirror is saved at once; the window check's code is not the caller's concern.
    flush();
    return true;
}

bool ISensorController::setWhiteMode(int p_nVal)
{
    return setCached(*this, KEY_WHITE_MODE, p_nVal);
}

bool ISensorController::setLightType(int p_nVal)
{
    // Compared unsigned, so negative values are refused as well.
    if (static_cast<u32>(p_nVal) > kLightTypeMax) return false;
    return setCached(*this, KEY_LIGHT_TYPE, p_nVal);
}

bool ISensorController::setIRSwitch(int p_nOn)
{
    if (p_nOn == kLampOn &&
        !switchOffOther(*this, &ISensorController::getWhiteSwitch, &ISensorController::setWhiteSwitch))
        return false;
    return setCached(*this, KEY_IR_SWITCH, p_nOn);
}

bool ISensorController::setWhiteSwitch(int p_nOn)
{
    if (p_nOn == kLampOn &&
        !switchOffOther(*this, &ISensorController::getIRSwitch, &ISensorController::setIRSwitch))
        return false;
    return setCached(*this, KEY_WHITE_SWITCH, p_nOn);
}

bool ISensorController::getIRSwitch(int& p_nVal)
{
    return iaGet(*this, IA_CMD_IR_SWITCH, &p_nVal);
}

bool ISensorController::getWhiteSwitch(int& p_nVal)
{
    return iaGet(*this, IA_CMD_WHITE_SWITCH, &p_nVal);
}

bool ISensorController::getWhiteMode(int& p_nVal)
{
    return iaGet(*this, IA_CMD_WHITE_MODE, &p_nVal);
}

bool ISensorController::getLightType(int& p_nVal)
{
    return iaGet(*this, IA_CMD_LIGHT_TYPE, &p_nVal);
}

bool ISensorController::getWDR(int& p_nVal)
{
    return iaGet(*this, IA_CMD_WDR_MODE, &p_nVal);
}

bool ISensorController::setDNState(int p_nVal)
{
    return iaSet(*this, IA_CMD_DN_STATE, static_cast<u32>(p_nVal));
}

bool ISensorController::getDNState(int& p_nVal)
{
    return iaGet(*this, IA_CMD_DN_STATE, &p_nVal);
}

bool ISensorController::getAFStatistic(unsigned int& p_nVal)
{
    return iaGet(*this, IA_CMD_AF_STATISTIC, &p_nVal);
}

bool ISensorController::getHeatStatus(bool& p_bVal)
{
    // The library writes a whole u32; read it into one and convert, so the
    // caller's one-byte bool is never overrun.
    u32 nState = 0;
    if (!iaGet(*this, IA_CMD_HEATER_STATE, &nState)) return false;
    p_bVal = nState != 0;
    return true;
}

bool ISensorController::getTempValue(int& p_nVal)
{
    return iaGet(*this, IA_CMD_HEATER_TEMPERATURE, &p_nVal);
}

bool ISensorController::setExposureStrategy(int& p_nVal)
{
    return iaSet(*this, IA_CMD_EXPOSURE_STRATEGY, static_cast<u32>(p_nVal));
}
