// The smallest host of the sensor controller library on a PC: one controller
// for channel 1 of a camera's flash tree, built as the camera's main
// application builds it, one value set and read back.
//   sensor_host FLASH_DIR
#include <stdio.h>

#include <list>
#include <vector>

#include "FlashLayout.h"
#include "ISensorController.h"
#include "sim/PlatformSim.h"

namespace {

const int kChannel = 1;

// init asks the video module for its streams and WDR limits; a host without
// an encoder gives one that has none and ignores the notifications.
class NoVideo : public VideoStreamModule {
public:
    int notifySensorParam(int, int, int) const override { return 0; }
    bool isBusy() const override { return false; }
    void getStreamList(std::vector<AVStreamParam>& streams) const override { streams.clear(); }
    void getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam& param) const override
    {
        param = LimitedFramesWDRModeParam();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: sensor_host FLASH_DIR\n");
        return 2;
    }
    // On a PC every camera path lies below a flash root; a camera has none.
    platformsim::setFlashRoot(argv[1]);

    // The module configuration that matches the machine, as the camera's host reads it.
    MachineInfo objMachine;
    SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, objMachine);
    std::list<ModuleConfigure> lstModules;
    ModuleConfigureParser::parse(SNS_PATH_MODULE_CONFIG, objMachine.getHardwareModel(),
                                 objMachine.getHardwareCode(), lstModules);
    if (lstModules.empty()) {
        fprintf(stderr, "sensor_host: no module of %s matches the machine\n", SNS_PATH_MODULE_CONFIG);
        return 1;
    }

    NoVideo objVideo;
    ISensorController objCtrl;
    objCtrl.setChannelID(kChannel);
    objCtrl.setVideoStreamModule(&objVideo);
    objCtrl.init(lstModules.front());
    const int nSet = objCtrl.setParameter(KEY_BRIGHTNESS, 66, true);
    int nValue = -1;
    const bool bGot = objCtrl.getParameter(KEY_BRIGHTNESS, nValue);
    objCtrl.uinit();
    fprintf(stderr, "sensor_host: set %d, read %s, brightness %d\n", nSet, bGot ? "yes" : "no", nValue);
    return nSet == 0 && bGot && nValue == 66 ? 0 : 1;
}
