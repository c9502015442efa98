// The simulated flash root: absolute paths of the base library resolve
// below it, so a PC or a test runs on a private copy of the camera's flash.
#include "PlatformSim.h"

#include <pthread.h>
#include <string.h>

#include <atomic>
#include <memory>

#include "FlashPaths.h"

namespace {

// Never destroyed: threads of static objects may still resolve paths while
// the process exits. The root is published as an immutable text, so that
// resolving a path (every diagnostic site does) takes no lock; texts
// replaced stay allocated, since a reader may still hold them.
struct FlashRootState {
    pthread_mutex_t m_mutex = PTHREAD_MUTEX_INITIALIZER;
    std::atomic<const std::string*> m_pRoot{new std::string};
    std::vector<std::unique_ptr<const std::string>> m_vecRetired;
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
    FlashRootState& stState = rootState();
    const std::string* pOld = stState.m_pRoot.exchange(new std::string(strRoot), std::memory_order_acq_rel);
    stState.m_vecRetired.emplace_back(pOld);
}

std::string flashRoot()
{
    return *rootState().m_pRoot.load(std::memory_order_acquire);
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
        const std::string& strRoot = *rootState().m_pRoot.load(std::memory_order_acquire);
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
