// Recursive mutex of the base library; file and line name the caller.
#ifndef PK_MUTEX_H
#define PK_MUTEX_H

#include <pthread.h>

#include "PkBase.h"

class PK_API PKMutex {
public:
    PKMutex();
    ~PKMutex();
    PKMutex(const PKMutex&) = delete;
    PKMutex& operator=(const PKMutex&) = delete;

    int Lock(const char* p_szFile, int p_nLine);
    int Unlock(const char* p_szFile, int p_nLine);
    // true when the lock was taken without waiting.
    bool TryLock(const char* p_szFile, int p_nLine);
    // true when the lock was taken within p_nMicroseconds.
    bool TimedLock(const char* p_szFile, int p_nLine, long p_nMicroseconds);

private:
    pthread_mutex_t m_mutex;
};

#endif
