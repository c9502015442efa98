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

// Write faults of PKFile, for power-cut tests; they stay until reset.
// The n-th PKFile::write from now (1-based) stores only half of its bytes and
// returns that count, as a medium failing mid-transfer.
PK_API void failNthWrite(int p_nNth);
// Replacing writes stop right before their rename, as a power cut there
// would: the target keeps its old content, the temporary file stays.
PK_API void failBeforeRename(bool p_bStop);
// Every PKFile::write stores nothing and returns -1 (errno ENOSPC).
PK_API void noSpaceLeft(bool p_bFull);
PK_API void resetWriteFaults();

}  // namespace platformsim

#endif
