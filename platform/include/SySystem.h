#ifndef SY_SYSTEM_H
#define SY_SYSTEM_H

#include "PkBase.h"

// Runs a shell command, at most p_nTimeout seconds. "rm -rf PATTERN..." is
// carried out directly (glob below the flash root, no shell). Returns the
// command's exit status, -1 when it could not run or timed out.
PK_API int sy_system(const char* p_szCmd, int p_nTimeout);

#endif
