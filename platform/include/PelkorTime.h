// A time span that can be slept.
#ifndef PELKOR_TIME_H
#define PELKOR_TIME_H

#include "PkBase.h"

class PK_API PelkorTime {
public:
    PelkorTime(long p_nSeconds, long p_nMicroseconds);
    // Sleeps the span times the simulated sleep scale (1 by default).
    void wait() const;
    long getSeconds() const { return m_nSeconds; }
    long getMicroseconds() const { return m_nMicroseconds; }

private:
    long m_nSeconds;
    long m_nMicroseconds;
};

#endif
