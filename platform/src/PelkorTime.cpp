// Sleeping a time span, stretched or skipped by the simulated sleep scale;
// a wakeup ends such a sleep early.
#include "PelkorTime.h"

#include <errno.h>
#include <time.h>

#include <atomic>

#include "PlatformSim.h"

namespace {

std::atomic<double> g_dSleepScale(1.0);

struct timespec spanOf(double p_dSeconds)
{
    struct timespec stSpan;
    stSpan.tv_sec = static_cast<time_t>(p_dSeconds);
    stSpan.tv_nsec = static_cast<long>((p_dSeconds - static_cast<double>(stSpan.tv_sec)) * 1e9);
    if (stSpan.tv_nsec >= 1000000000L) stSpan.tv_nsec = 999999999L;
    if (stSpan.tv_nsec < 0) stSpan.tv_nsec = 0;
    return stSpan;
}

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

double PelkorTime::scaledSeconds() const
{
    const double dSeconds =
        (static_cast<double>(m_nSeconds) + static_cast<double>(m_nMicroseconds) / 1e6) * g_dSleepScale.load();
    if (!(dSeconds > 0)) return 0;
    const double dLongest = 1e9;  // keeps the conversion to time_t defined
    return dSeconds > dLongest ? dLongest : dSeconds;
}

void PelkorTime::wait() const
{
    const double dSeconds = scaledSeconds();
    if (dSeconds == 0) return;
    struct timespec stLeft = spanOf(dSeconds);
    // A signal handler must not cut the sleep short.
    while (nanosleep(&stLeft, &stLeft) != 0 && errno == EINTR) {
    }
}

PelkorWakeup::PelkorWakeup() : m_bWoken(false)
{
    pthread_mutex_init(&m_mutex, nullptr);
    pthread_condattr_t stAttr;
    pthread_condattr_init(&stAttr);
    // The wall clock may be set while a thread sleeps.
    pthread_condattr_setclock(&stAttr, CLOCK_MONOTONIC);
    pthread_cond_init(&m_cond, &stAttr);
    pthread_condattr_destroy(&stAttr);
}

PelkorWakeup::~PelkorWakeup()
{
    pthread_cond_destroy(&m_cond);
    pthread_mutex_destroy(&m_mutex);
}

bool PelkorWakeup::sleep(const PelkorTime& p_objSpan)
{
    const double dSeconds = p_objSpan.scaledSeconds();
    struct timespec stEnd;
    clock_gettime(CLOCK_MONOTONIC, &stEnd);
    const struct timespec stSpan = spanOf(dSeconds);
    stEnd.tv_sec += stSpan.tv_sec;
    stEnd.tv_nsec += stSpan.tv_nsec;
    if (stEnd.tv_nsec >= 1000000000L) {
        stEnd.tv_nsec -= 1000000000L;
        ++stEnd.tv_sec;
    }
    pthread_mutex_lock(&m_mutex);
    while (!m_bWoken && dSeconds > 0) {
        if (pthread_cond_timedwait(&m_cond, &m_mutex, &stEnd) == ETIMEDOUT) break;
    }
    const bool bWoken = m_bWoken;
    pthread_mutex_unlock(&m_mutex);
    return !bWoken;
}

void PelkorWakeup::wake()
{
    pthread_mutex_lock(&m_mutex);
    m_bWoken = true;
    pthread_cond_broadcast(&m_cond);
    pthread_mutex_unlock(&m_mutex);
}

void PelkorWakeup::rearm()
{
    pthread_mutex_lock(&m_mutex);
    m_bWoken = false;
    pthread_mutex_unlock(&m_mutex);
}

bool PelkorWakeup::isWoken()
{
    pthread_mutex_lock(&m_mutex);
    const bool bWoken = m_bWoken;
    pthread_mutex_unlock(&m_mutex);
    return bWoken;
}
