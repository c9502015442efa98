// What the live checks share: the video module they give the controller, the
// session on the copy, and small readers of the controller's answers.
#ifndef SENSORCTL_LIVE_SUPPORT_H
#define SENSORCTL_LIVE_SUPPORT_H

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "CheckContext.h"
#include "CheckReport.h"
#include "HostSession.h"
#include "HostVideo.h"

// A host's video module that records the notifications it receives.
class CheckVideo : public sensorhost::HostVideo {
public:
    struct Note {
        int m_nKey;
        int m_nValue;
    };
    int notifySensorParam(int channel, int key, int value) const override;
    std::vector<Note> takeNotes();

private:
    mutable std::mutex m_objLock;
    mutable std::vector<Note> m_vecNotes;
};

// Session options for the copy the checks work on.
sensorhost::SessionOptions liveSessionOptions(const CheckContext& p_stCtx, const CheckVideo& p_objVideo);

// The value the controller holds for every factory key; a key it cannot read is left out.
std::map<u32, int> currentValues(ISensorController& p_objCtrl, const std::vector<KeyVal>& p_vecFactory);

// "KEY_BRIGHTNESS (34) reads 60, expected 50" for each difference, at most p_nMax.
std::vector<std::string> valueDifferences(const std::map<u32, int>& p_mapExpected,
                                          const std::map<u32, int>& p_mapActual, size_t p_nMax);

// Under day/night switching (KEY_SCHEME_MODE 2 in scheme 0) only scheme 0
// applies the day/night keys and scheme 1 takes its values; every user
// scheme holds a copy of scheme 0's switching mode.
bool dayNightSwitching(ISensorController& p_objCtrl);
bool isDayNightKey(u32 p_nKey);

// The item indexes of every element with an id, by id (first element of an id).
std::map<u32, std::vector<int>> styleItems(const std::string& p_strStyle);

// LiveSchemes.cpp
void checkLiveSchemes(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx, CheckReport& p_objReport);
void checkLivePersistence(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx,
                          const CheckVideo& p_objVideo, CheckReport& p_objReport);
// LiveKeys.cpp
void checkLiveKeys(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx, CheckVideo& p_objVideo,
                   CheckReport& p_objReport);
// LiveRanges.cpp
void checkLiveRanges(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx, CheckReport& p_objReport);
void checkLiveDynamicStyle(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx,
                           CheckReport& p_objReport);

#endif
