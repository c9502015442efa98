// Scoped lock of a PKMutex, from construction to the end of the scope.
#ifndef PK_MUTEX_MANAGER_H
#define PK_MUTEX_MANAGER_H

#include "PKMutex.h"

class PKMutexManager {
public:
    PKMutexManager(PKMutex& p_objMutex, const char* p_szFile, int p_nLine) : m_objMutex(p_objMutex)
    {
        m_objMutex.Lock(p_szFile, p_nLine);
    }
    ~PKMutexManager() { m_objMutex.Unlock(__FILE__, __LINE__); }
    PKMutexManager(const PKMutexManager&) = delete;
    PKMutexManager& operator=(const PKMutexManager&) = delete;

private:
    PKMutex& m_objMutex;
};

#define SNS_LOCK_GUARD(mutex) PKMutexManager objMutexGuard_(mutex, __FILE__, __LINE__)

#endif
