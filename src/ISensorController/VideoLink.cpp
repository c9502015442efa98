// The host's video module, or its absence.
#include "VideoLink.h"

namespace videolink {

int notify(const VideoStreamModule* p_pVideo, int p_nChannel, int p_nKey, int p_nValue)
{
    return p_pVideo == nullptr ? 0 : p_pVideo->notifySensorParam(p_nChannel, p_nKey, p_nValue);
}

bool isBusy(const VideoStreamModule* p_pVideo)
{
    return p_pVideo != nullptr && p_pVideo->isBusy();
}

void streams(const VideoStreamModule* p_pVideo, std::vector<AVStreamParam>& p_vecStreams)
{
    if (p_pVideo != nullptr) p_pVideo->getStreamList(p_vecStreams);
}

// Without a module the parameter keeps its defaults, which limit nothing.
void limitedFramesWdr(const VideoStreamModule* p_pVideo, int p_nChannel, LimitedFramesWDRModeParam& p_objParam)
{
    if (p_pVideo != nullptr) p_pVideo->getLimitedFramesWDRModeParam(p_nChannel, p_objParam);
}

}  // namespace videolink
