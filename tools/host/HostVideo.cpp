#include "HostVideo.h"

namespace sensorhost {

bool HostVideo::isBusy() const
{
    return false;
}

void HostVideo::getStreamList(std::vector<AVStreamParam>& streams) const
{
    AVStreamParam objMain;
    objMain.setVideoEncoderType(0);
    objMain.setVideoHeight(1080);
    streams.assign(1, objMain);
}

void HostVideo::getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam& param) const
{
    param = LimitedFramesWDRModeParam();
}

}  // namespace sensorhost
