// The host's video module as a PC front end plays it: one main stream and
// no encoder limits, so that the library hides no option. Front ends say
// what they do with the notifications.
#ifndef SENSORHOST_HOST_VIDEO_H
#define SENSORHOST_HOST_VIDEO_H

#include "VideoStreamModule.h"

namespace sensorhost {

class HostVideo : public VideoStreamModule {
public:
    bool isBusy() const override;
    void getStreamList(std::vector<AVStreamParam>& streams) const override;
    void getLimitedFramesWDRModeParam(int channel, LimitedFramesWDRModeParam& param) const override;
};

}  // namespace sensorhost

#endif
