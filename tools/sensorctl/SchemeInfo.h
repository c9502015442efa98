// What the tool says about schemes: the current one, its time window and
// the automatic switching configured in scheme 0.
#ifndef SENSORCTL_SCHEME_INFO_H
#define SENSORCTL_SCHEME_INFO_H

#include <string>
#include <vector>

#include "ISensorController.h"

class Session;

int currentScheme(ISensorController& p_objCtrl);
// Keys of the current scheme in row order, as the host's UI receives them
// (getAllParameters); empty when the library lists nothing.
std::vector<u32> currentSchemeKeys(ISensorController& p_objCtrl);
// "scheme 2 (user schemes 0-3)" or "factory scheme (4)".
std::string schemeText(const Session& p_objSession, int p_nScheme);
// "08:00-20:00", from the scheme's window keys.
std::string windowText(ISensorController& p_objCtrl, int p_nScheme);
// KEY_SCHEME_MODE of scheme 0 in words: "none", "by time window", "by day/night state".
std::string switchingText(ISensorController& p_objCtrl);
// Whether the sensor thread switches schemes by itself right now.
bool autoSwitchingOn(ISensorController& p_objCtrl);

#endif
