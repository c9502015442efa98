// Recursive mutex: a thread that holds it may lock it again.
#include "PKMutex.h"

PKMutex::PKMutex()
{
    pthread_mutexattr_t stAttr;
    pthread_mutexattr_init(&stAttr);
    pthread_mutexattr_settype(&stAttr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&m_mutex, &stAttr);
    pthread_mutexattr_destroy(&stAttr);
}

PKMutex::~PKMutex() { pthread_mutex_destroy(&m_mutex); }

// The caller's file and line are part of the interface for tracing; this
// build keeps no trace.
int PKMutex::Lock(const char*, int) { return pthread_mutex_lock(&m_mutex); }

int PKMutex::Unlock(const char*, int) { return pthread_mutex_unlock(&m_mutex); }

bool PKMutex::TryLock(const char*, int) { return pthread_mutex_trylock(&m_mutex) == 0; }
