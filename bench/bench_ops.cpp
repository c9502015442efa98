// The host operations on the sample camera (channel 1, default debug level).
#include <string>

#include "BenchCamera.h"
#include "BenchOps.h"
#include "SensorKeys.h"

namespace bench {

namespace {

volatile long g_nSink = 0;

void brightness50() { camera().setParameter(KEY_BRIGHTNESS, 50, true); }

// Differs from the cached value every time: 51, 50, 51...
void setParameterNew(long p_nRun) { keep(camera().setParameter(KEY_BRIGHTNESS, 51 - (p_nRun & 1), true)); }

void setParameterSame(long) { keep(camera().setParameter(KEY_BRIGHTNESS, 50, true)); }

void getParameterCached(long)
{
    int nVal = 0;
    keep(camera().getParameter(KEY_BRIGHTNESS, nVal));
}

void schemeZero() { camera().setParamScheme(0); }

// Schemes 0 and 1 differ in kSwitchKeyCount keys: each switch sends those.
void schemeSwitch(long p_nRun) { keep(camera().setParamScheme((p_nRun & 1) == 0 ? 1 : 0)); }

// Scheme 0 again: every key is compared, none is sent.
void schemeSame(long) { keep(camera().setParamScheme(0)); }

// Every value of the scheme is sent, as when a time window is entered.
void fullSwitch(long p_nRun) { keep(camera().switch_to((p_nRun & 1) == 0 ? 1 : 0, true)); }

void allParameters(long)
{
    std::string strOut;
    keep(camera().getAllParameters(strOut));
}

void uiStyleFile(long) { keep(static_cast<long>(camera().getUIStyleFile().size())); }

// uinit then init of the running camera; the thread's second between passes
// (init runs one pass itself) is cut to 10 us, so it is not part of the figure.
void initSetup()
{
    briefSleep();
    // The running thread may be in a pass that sleeps its real second.
    camera().uinit();
    camera().init(cameraModule());
}

void initCycle(long)
{
    camera().uinit();
    keep(camera().init(cameraModule()));
}

}  // namespace

void keep(long p_nValue) { g_nSink = p_nValue; }

const std::vector<Operation>& operations()
{
    static const std::vector<Operation> vecOps = {
        {"setParameter(new)", brightness50, setParameterNew, nullptr},
        {"setParameter(same)", brightness50, setParameterSame, nullptr},
        {"getParameter(cached)", nullptr, getParameterCached, nullptr},
        {"switch(10_keys)", schemeZero, schemeSwitch, schemeZero},
        {"switch(0_keys)", schemeZero, schemeSame, nullptr},
        {"switch(full)", schemeZero, fullSwitch, schemeZero},
        {"getAllParameters", nullptr, allParameters, nullptr},
        {"getUIStyleFile", nullptr, uiStyleFile, nullptr},
        {"init+uinit", initSetup, initCycle, realTimeThread},
    };
    return vecOps;
}

}  // namespace bench
