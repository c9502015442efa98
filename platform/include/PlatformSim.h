// Simulation hooks of the base library, for PCs and tests.
#ifndef PLATFORM_SIM_H
#define PLATFORM_SIM_H

#include <string>
#include <vector>

#include "PkBase.h"

namespace platformsim {

// Every absolute path the library or the platform opens, tests, creates,
// saves or deletes resolves below dir; "" is the real root (the default).
PK_API void setFlashRoot(const std::string& p_strDir);
PK_API std::string flashRoot();
// The real path of an absolute path under the current flash root; relative
// paths are returned unchanged.
PK_API std::string resolvePath(const std::string& p_strPath);

// What PKDeviceTime answers.
PK_API void setWallClock(int p_nHour, int p_nMinute);
PK_API void clearWallClock();

// PelkorTime::wait sleeps span x factor (0: returns at once).
PK_API void setSleepScale(double p_dFactor);

// Commands given to sy_system, in order.
PK_API std::vector<std::string> shellCommands();
PK_API void clearShellCommands();

}  // namespace platformsim

#endif
