// The device clock.
#ifndef PK_DEVICE_TIME_H
#define PK_DEVICE_TIME_H

#include <stdint.h>

#include "PkBase.h"

struct PK_API PKDateTime {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t weekday;
    uint16_t millisecond;
};

class PK_API PKDeviceTime {
public:
    // Local wall-clock time, or the simulated clock while one is set.
    static PKDateTime getCurrentTime();
};

#endif
