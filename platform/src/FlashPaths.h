// Path helpers shared by the base library's sources (not exported).
#ifndef FLASH_PATHS_H
#define FLASH_PATHS_H

#include <stddef.h>

#include <string>

namespace platformsim {

// Writes the real path of p_szPath into p_szBuf without touching the heap;
// false when it does not fit (the path could not be opened anyway).
bool resolveInto(const char* p_szPath, char* p_szBuf, size_t p_nSize);

// The current flash root with glob's special characters escaped, so that it
// can prefix a pattern.
std::string globEscapedRoot();

}  // namespace platformsim

namespace pkpath {

// Creates a real directory and its missing parents; true when it exists.
bool makeDirs(const std::string& p_strRealDir);
// Creates the missing parents of a real file path.
bool makeParentDirs(const std::string& p_strRealFile);

}  // namespace pkpath

#endif
