// The simulated flash root: absolute paths of the base library resolve
// below it, so a PC or a test runs on a private copy of the camera's flash.
#include "PlatformSim.h"

#include <pthread.h>
#include <string.h>

#include "FlashPaths.h"

namespace {

// Never destroyed: threads of static objects may still resolve paths while
// the process exits.
struct FlashRootState {
    pthread_mutex_t m_mutex = PTHREAD_MUTEX_INITIALIZER;
    std::string m_strRoot;
};

FlashRootState& rootState()
{
    static FlashRootState* s_pState = new FlashRootState;
    return *s_pState;
}

class RootLock {
public:
    RootLock() { pthread_mutex_lock(&rootState().m_mutex); }
    ~RootLock() { pthread_mutex_unlock(&rootState().m_mutex); }
    RootLock(const RootLock&) = delete;
    RootLock& operator=(const RootLock&) = delete;
};

bool isRooted(const char* p_szPath) { return p_szPath != nullptr && p_szPath[0] == '/'; }

}  // namespace

namespace platformsim {

void setFlashRoot(const std::string& p_strDir)
{
    // "/x/" and "/x" are the same root; "/" is the real root.
    std::string strRoot = p_strDir;
    while (!strRoot.empty() && strRoot.back() == '/') strRoot.pop_back();
    RootLock objLock;
    rootState().m_strRoot.swap(strRoot);
}

std::string flashRoot()
{
    RootLock objLock;
    return rootState().m_strRoot;
}

std::string resolvePath(const std::string& p_strPath)
{
    if (!isRooted(p_strPath.c_str())) return p_strPath;
    return flashRoot() + p_strPath;
}

bool resolveInto(const char* p_szPath, char* p_szBuf, size_t p_nSize)
{
    if (p_szPath == nullptr || p_nSize == 0) return false;
    const size_t nPathLen = strlen(p_szPath);
    size_t nRootLen = 0;
    if (isRooted(p_szPath)) {
        RootLock objLock;
        const std::string& strRoot = rootState().m_strRoot;
        nRootLen = strRoot.size();
        if (nRootLen + nPathLen >= p_nSize) return false;
        memcpy(p_szBuf, strRoot.data(), nRootLen);
    } else if (nPathLen >= p_nSize) {
        return false;
    }
    memcpy(p_szBuf + nRootLen, p_szPath, nPathLen + 1);
    return true;
}

std::string globEscapedRoot()
{
    const std::string strRoot = flashRoot();
    std::string strOut;
    strOut.reserve(strRoot.size());
    for (const char c : strRoot) {
        if (strchr("*?[]\\", c) != nullptr) strOut += '\\';
        strOut += c;
    }
    return strOut;
}

}  // namespace platformsim
