// The host's video module as the controller reaches it. A host that never
// attached one has no streams, is never busy, takes no notification and has
// no limited-frames WDR: this is the one place that says so.
#ifndef VIDEO_LINK_H
#define VIDEO_LINK_H

#include <vector>

#include "VideoStreamModule.h"

namespace videolink {

// The module's answer, or 0 (accepted) without a module.
int notify(const VideoStreamModule* p_pVideo, int p_nChannel, int p_nKey, int p_nValue);
bool isBusy(const VideoStreamModule* p_pVideo);
void streams(const VideoStreamModule* p_pVideo, std::vector<AVStreamParam>& p_vecStreams);
void limitedFramesWdr(const VideoStreamModule* p_pVideo, int p_nChannel, LimitedFramesWDRModeParam& p_objParam);

}  // namespace videolink

#endif
