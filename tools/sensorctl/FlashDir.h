// The flash folder the tool works on: where the sample camera lies, creating
// a working copy of it, and checks that tell a person what is wrong.
#ifndef SENSORCTL_FLASH_DIR_H
#define SENSORCTL_FLASH_DIR_H

#include <string>
#include <vector>

// The camera paths (below the flash root on a PC).
#include "FlashLayout.h"

// The sample camera's flash tree: the source tree's copy, else the one
// installed beside the tool, else the install prefix's; "" when none exists.
std::string findSampleFlash();

// Makes p_strDir usable as flash root: a missing or empty folder becomes a
// copy of the sample camera (said on standard error); a folder that is not a
// camera's flash tree is refused. Returns "" or the reason; p_bCreated
// tells whether the copy was made.
std::string prepareFlashDir(const std::string& p_strDir, bool& p_bCreated);

// Parameter files in the tree whose size is not a whole number of records.
std::vector<std::string> damagedParameterFiles(const std::string& p_strDir);

#endif
