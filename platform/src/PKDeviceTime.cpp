// The device clock, with a simulated hour and minute for PCs and tests.
#include "PKDeviceTime.h"

#include <time.h>

#include <atomic>

#include "PlatformSim.h"

namespace {

const int NO_WALL_CLOCK = -1;

// hour * 60 + minute of the simulated clock, or NO_WALL_CLOCK.
std::atomic<int> g_nWallClock(NO_WALL_CLOCK);

}  // namespace

namespace platformsim {

void setWallClock(int p_nHour, int p_nMinute)
{
    // A time no clock can show is refused; the previous setting stays.
    if (p_nHour < 0 || p_nHour > 23 || p_nMinute < 0 || p_nMinute > 59) return;
    g_nWallClock.store(p_nHour * 60 + p_nMinute);
}

void clearWallClock() { g_nWallClock.store(NO_WALL_CLOCK); }

}  // namespace platformsim

PKDateTime PKDeviceTime::getCurrentTime()
{
    struct timespec stNow;
    clock_gettime(CLOCK_REALTIME, &stNow);
    struct tm stLocal;
    localtime_r(&stNow.tv_sec, &stLocal);

    PKDateTime stTime;
    stTime.year = static_cast<uint16_t>(stLocal.tm_year + 1900);
    stTime.month = static_cast<uint16_t>(stLocal.tm_mon + 1);
    stTime.day = static_cast<uint16_t>(stLocal.tm_mday);
    stTime.hour = static_cast<uint16_t>(stLocal.tm_hour);
    stTime.minute = static_cast<uint16_t>(stLocal.tm_min);
    stTime.second = static_cast<uint16_t>(stLocal.tm_sec);
    stTime.weekday = static_cast<uint16_t>(stLocal.tm_wday);  // 0 = Sunday
    stTime.millisecond = static_cast<uint16_t>(stNow.tv_nsec / 1000000);

    const int nWall = g_nWallClock.load();
    if (nWall != NO_WALL_CLOCK) {
        stTime.hour = static_cast<uint16_t>(nWall / 60);
        stTime.minute = static_cast<uint16_t>(nWall % 60);
    }
    return stTime;
}
