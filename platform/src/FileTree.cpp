// Directory creation on real paths (already resolved below the flash root).
#include <errno.h>
#include <sys/stat.h>

#include <string>

#include "FlashPaths.h"

namespace {

bool isDirectory(const std::string& p_strPath)
{
    struct stat stInfo;
    return stat(p_strPath.c_str(), &stInfo) == 0 && S_ISDIR(stInfo.st_mode);
}

}  // namespace

namespace pkpath {

bool makeDirs(const std::string& p_strRealDir)
{
    if (p_strRealDir.empty()) return false;
    // Each prefix ending before a '/' is a parent; the whole path comes last.
    for (size_t nPos = 1; nPos <= p_strRealDir.size(); ++nPos) {
        if (nPos < p_strRealDir.size() && p_strRealDir[nPos] != '/') continue;
        const std::string strPart = p_strRealDir.substr(0, nPos);
        if (mkdir(strPart.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return isDirectory(p_strRealDir);
}

bool makeParentDirs(const std::string& p_strRealFile)
{
    const size_t nSlash = p_strRealFile.find_last_of('/');
    if (nSlash == std::string::npos || nSlash == 0) return true;
    return makeDirs(p_strRealFile.substr(0, nSlash));
}

}  // namespace pkpath
