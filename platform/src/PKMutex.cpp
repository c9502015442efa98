// Recursive mutex: a thread that holds it may lock it again.
#include "PKMutex.h"

#include <time.h>

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

bool PKMutex::TimedLock(const char*, int, long p_nMicroseconds)
{
    // timedlock measures on the wall clock; a clock step only stretches or
    // shortens this one wait. (Sanitizers know timedlock, not clocklock.)
    struct timespec stEnd;
    clock_gettime(CLOCK_REALTIME, &stEnd);
    const long nMicros = p_nMicroseconds > 0 ? p_nMicroseconds : 0;
    stEnd.tv_sec += nMicros / 1000000;
    stEnd.tv_nsec += (nMicros % 1000000) * 1000;
    if (stEnd.tv_nsec >= 1000000000L) {
        stEnd.tv_nsec -= 1000000000L;
        ++stEnd.tv_sec;
    }
    return pthread_mutex_timedlock(&m_mutex, &stEnd) == 0;
}
