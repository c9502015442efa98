#include "BenchCamera.h"

#include <stdio.h>

#include <filesystem>
#include <list>
#include <vector>

#include "FlashLayout.h"
#include "IaInterface.h"
#include "IaSim.h"
#include "PlatformSim.h"
#include "SensorKeys.h"

namespace fs = std::filesystem;

namespace bench {

namespace {

// The host's video module as far as the library needs one: it accepts every
// notification, is never busy and streams nothing.
class QuietVideo : public VideoStreamModule {
public:
    int notifySensorParam(int, int, int) const override { return 0; }
    bool isBusy() const override { return false; }
    void getStreamList(std::vector<AVStreamParam>& p_vecStreams) const override { p_vecStreams.clear(); }
    void getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam& p_objParam) const override
    {
        p_objParam = LimitedFramesWDRModeParam();
    }
};

QuietVideo g_objVideo;
ISensorController* g_pCamera = nullptr;
ModuleConfigure g_objModule;

// Plain keys (handled by doIaCmd) that scheme 1 holds with other values.
const u32 kSwitchKeys[kSwitchKeyCount] = {KEY_BRIGHTNESS,   KEY_SATURATION,   KEY_CONTRAST,
                                          KEY_SHARPNESS,    KEY_2D_NR_STRG_A, KEY_2D_NR_STRG_M,
                                          KEY_3D_NR_STRG_A, KEY_3D_NR_STRG_M, KEY_WDR_STRG,
                                          KEY_HLC_STRG};

bool readModule()
{
    MachineInfo objMachine;
    std::list<ModuleConfigure> lstModules;
    if (!SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, objMachine) ||
        !ModuleConfigureParser::parse(SNS_PATH_MODULE_CONFIG, objMachine.getHardwareModel(),
                                      objMachine.getHardwareCode(), lstModules) ||
        lstModules.empty())
        return false;
    g_objModule = lstModules.front();
    return true;
}

int setCallsOfNextSwitch(int p_nScheme)
{
    iasim::clearCalls();
    g_pCamera->setParamScheme(p_nScheme);
    int nSets = 0;
    for (const iasim::IaCall& stCall : iasim::calls())
        if (stCall.opt == IA_CMD_OPT_SET) ++nSets;
    return nSets;
}

// Scheme 1 gets other values for the switch keys, so that a switch between
// 0 and 1 sends exactly those.
bool prepareSchemes()
{
    g_pCamera->setParamScheme(1);
    for (u32 nKey : kSwitchKeys) {
        int nVal = 0;
        if (!g_pCamera->getParameter(static_cast<int>(nKey), nVal) ||
            g_pCamera->setParameter(static_cast<int>(nKey), nVal + 1, true) != SNS_SUCCESS)
            return false;
    }
    const int nToZero = setCallsOfNextSwitch(0);
    const int nToOne = setCallsOfNextSwitch(1);
    g_pCamera->setParamScheme(0);
    if (nToZero == kSwitchKeyCount && nToOne == kSwitchKeyCount) return true;
    fprintf(stderr, "bench: a switch sends %d and %d values, not %d\n", nToZero, nToOne, kSwitchKeyCount);
    return false;
}

}  // namespace

void realTimeThread() { platformsim::setSleepScale(1); }

void briefSleep() { platformsim::setSleepScale(1e-5); }

bool openCamera()
{
    std::error_code ec;
    fs::remove_all(SNS_BENCH_FLASH_ROOT, ec);
    fs::create_directories(SNS_BENCH_FLASH_ROOT);
    fs::copy(SNS_BENCH_SAMPLE_FLASH, SNS_BENCH_FLASH_ROOT, fs::copy_options::recursive);
    platformsim::setFlashRoot(SNS_BENCH_FLASH_ROOT);
    iasim::reset();
    if (!readModule()) {
        fprintf(stderr, "bench: no module configuration in %s\n", SNS_BENCH_FLASH_ROOT);
        return false;
    }
    g_pCamera = new ISensorController;
    g_pCamera->setChannelID(1);
    g_pCamera->setVideoStreamModule(&g_objVideo);
    briefSleep();
    const bool bUp = g_pCamera->init(g_objModule);
    realTimeThread();
    if (!bUp) {
        fprintf(stderr, "bench: init of the sample camera failed\n");
        return false;
    }
    return prepareSchemes();
}

void closeCamera()
{
    if (g_pCamera == nullptr) return;
    briefSleep();
    g_pCamera->uinit();
    delete g_pCamera;
    g_pCamera = nullptr;
}

ISensorController& camera() { return *g_pCamera; }

const ModuleConfigure& cameraModule() { return g_objModule; }

}  // namespace bench
