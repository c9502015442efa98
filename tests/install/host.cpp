// A minimal host: one controller on the simulated camera, one parameter set
// and read back through the installed headers and libraries.
#include <stdio.h>

#include <string>
#include <vector>

#include "ISensorController.h"
#include "PlatformSim.h"

namespace {

class SilentVideo : public VideoStreamModule {
public:
    int notifySensorParam(int, int, int) const override { return 0; }
    bool isBusy() const override { return false; }
    void getStreamList(std::vector<AVStreamParam>&) const override {}
    void getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam&) const override {}
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: sensor_host FLASH_DIR\n");
        return 2;
    }
    platformsim::setFlashRoot(argv[1]);
    platformsim::setSleepScale(0.01);
    SilentVideo objVideo;
    ISensorController objCtrl;
    objCtrl.setChannelID(1);
    objCtrl.setVideoStreamModule(&objVideo);
    ModuleConfigure objModule;
    objModule.setModuleId(1);
    objModule.setDetail("(max_scheme=4)(lensId=3)");
    objCtrl.init(objModule);
    const int nSet = objCtrl.setParameter(KEY_BRIGHTNESS, 66, true);
    int nValue = -1;
    const bool bGot = objCtrl.getParameter(KEY_BRIGHTNESS, nValue);
    objCtrl.uinit();
    printf("host: set=%d get=%d brightness=%d\n", nSet, bGot ? 1 : 0, nValue);
    return (nSet == 0 && bGot && nValue == 66) ? 0 : 1;
}
