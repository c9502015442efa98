// A time span that can be slept.
#ifndef PELKOR_TIME_H
#define PELKOR_TIME_H

#include <pthread.h>

#include "PkBase.h"

class PK_API PelkorTime {
public:
    PelkorTime(long p_nSeconds, long p_nMicroseconds);
    // Sleeps the span times the simulated sleep scale (1 by default).
    void wait() const;
    // The span times the sleep scale, in seconds (0 when sleeps are skipped).
    double scaledSeconds() const;
    long getSeconds() const { return m_nSeconds; }
    long getMicroseconds() const { return m_nMicroseconds; }

private:
    long m_nSeconds;
    long m_nMicroseconds;
};

// A sleep that another thread can end early, so that stopping a thread does
// not wait out its pause. Once woken, every sleep returns at once until the
// wakeup is rearmed.
class PK_API PelkorWakeup {
public:
    PelkorWakeup();
    ~PelkorWakeup();
    PelkorWakeup(const PelkorWakeup&) = delete;
    PelkorWakeup& operator=(const PelkorWakeup&) = delete;

    // Sleeps the scaled span; false when woken (before or during the sleep).
    bool sleep(const PelkorTime& p_objSpan);
    void wake();
    void rearm();
    bool isWoken();

private:
    pthread_mutex_t m_mutex;
    pthread_cond_t m_cond;
    bool m_bWoken;
};

#endif
