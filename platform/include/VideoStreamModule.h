// The host's video module, reached by the library and never owned by it.
#ifndef VIDEO_STREAM_MODULE_H
#define VIDEO_STREAM_MODULE_H

#include <vector>

#include "AVStreamParam.h"
#include "PkBase.h"

class PK_API VideoStreamModule {
public:
    virtual ~VideoStreamModule();
    virtual int notifySensorParam(int channel, int key, int value) const = 0;  // 0 = accepted
    virtual bool isBusy() const = 0;
    virtual void getStreamList(std::vector<AVStreamParam>& streams) const = 0;
    virtual void getLimitedFramesWDRModeParam(int channel, LimitedFramesWDRModeParam& param) const = 0;
};

#endif
