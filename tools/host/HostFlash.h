// A camera's flash tree on a PC: where the library's files lie below the
// flash root, the sample camera, and scratch copies.
#ifndef SENSORHOST_HOST_FLASH_H
#define SENSORHOST_HOST_FLASH_H

#include <string>

// The camera paths (below the flash root on a PC).
#include "FlashLayout.h"

namespace sensorhost {

// The folder and the name part of a camera path.
std::string cameraDirOf(const char* p_szPath);
std::string fileNameOf(const char* p_szPath);

struct FlashTree {
    std::string m_strRoot;      // absolute, normalised
    bool m_bCreated = false;    // made from the sample camera by openFlashTree
    std::string m_strSample;    // the sample it was made from
};

// The sample camera's flash tree: the source tree's copy, else the one
// installed beside the program, else the install prefix's; "" when none exists.
std::string findSampleFlash();

// A camera's flash tree holds the module configuration.
bool isFlashTree(const std::string& p_strDir);

// Makes p_strDir usable as flash root. A missing or empty folder becomes a
// copy of the sample camera when p_bMayCreate (p_stOut.m_bCreated says so);
// a folder that is not a camera's flash tree is refused. Returns "" or the reason.
std::string openFlashTree(const std::string& p_strDir, bool p_bMayCreate, FlashTree& p_stOut);

// Copies a whole tree into p_strTo (created); "" or the reason.
std::string copyTree(const std::string& p_strFrom, const std::string& p_strTo);

// A new private folder below the system's temporary folder; "" when it fails.
std::string makeScratchDir(const std::string& p_strPrefix);

// The real path of a camera path below the root.
std::string onDisk(const FlashTree& p_stTree, const std::string& p_strCameraPath);

}  // namespace sensorhost

#endif
