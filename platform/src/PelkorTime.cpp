// Sleeping a time span, stretched or skipped by the simulated sleep scale.
#include "PelkorTime.h"

#include <errno.h>
#include <time.h>

#include <atomic>

#include "PlatformSim.h"

namespace {

std::atomic<double> g_dSleepScale(1.0);

}  // namespace

namespace platformsim {

void setSleepScale(double p_dFactor)
{
    // Negative or NaN factors mean "no sleeping".
    g_dSleepScale.store(p_dFactor > 0 ? p_dFactor : 0.0);
}

}  // namespace platformsim

PelkorTime::PelkorTime(long p_nSeconds, long p_nMicroseconds)
    : m_nSeconds(p_nSeconds), m_nMicroseconds(p_nMicroseconds)
{
}

void PelkorTime::wait() const
{
    double dSeconds =
        (static_cast<double>(m_nSeconds) + static_cast<double>(m_nMicroseconds) / 1e6) * g_dSleepScale.load();
    if (!(dSeconds > 0)) return;
    const double dLongest = 1e9;  // keeps the conversion to time_t defined
    if (dSeconds > dLongest) dSeconds = dLongest;
    struct timespec stLeft;
    stLeft.tv_sec = static_cast<time_t>(dSeconds);
    stLeft.tv_nsec = static_cast<long>((dSeconds - static_cast<double>(stLeft.tv_sec)) * 1e9);
    if (stLeft.tv_nsec >= 1000000000L) stLeft.tv_nsec = 999999999L;
    // A signal handler must not cut the sleep short.
    while (nanosleep(&stLeft, &stLeft) != 0 && errno == EINTR) {
    }
}
