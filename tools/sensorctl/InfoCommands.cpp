// style, version.
#include <stdio.h>

#include "CommandHandlers.h"
#include "SensorLib.h"
#include "Session.h"
#include "ToolCommon.h"

using namespace sensorhost;

int runStyle(Session* p_pSession, const Args&)
{
    const std::string strStyle = p_pSession->controller().getUIStyleFile();
    if (strStyle.empty()) {
        toolError("the library gave no style document (is the style on the flash tree valid?)");
        return EXIT_FAILED;
    }
    fwrite(strStyle.data(), 1, strStyle.size(), toolOut());
    if (strStyle.back() != '\n') fputc('\n', toolOut());
    return EXIT_DONE;
}

int runVersion(Session* p_pSession, const Args&)
{
    u32 nLayout = 0;
    const bool bLayout = getVersion(&nLayout) == 0;
    std::string strCamera;
    const bool bCamera = p_pSession->controller().getCameraVerInf(strCamera);
    toolPrint("sensorctl %s\n", SNS_TOOL_VERSION);
    if (bLayout)
        toolPrint("parameter file layout: %u\n", nLayout);
    else
        toolPrint("parameter file layout: (version file unreadable)\n");
    toolPrint("camera: %s\n",
              bCamera ? strCamera.c_str() : "(the image-algorithm library did not answer)");
    toolPrint("machine: %s %s, device type %d\n",
              p_pSession->machineInfo().getHardwareModel().c_str(),
              p_pSession->machineInfo().getHardwareCode().c_str(),
              p_pSession->machineInfo().getDeviceType());
    return bLayout && bCamera ? EXIT_DONE : EXIT_FAILED;
}
