// The simulated image-algorithm library's call log, printed for people.
#ifndef SENSORCTL_IA_LOG_H
#define SENSORCTL_IA_LOG_H

#include <string>
#include <vector>

#include "IaSim.h"

// "SET", "GET", ... for an option number.
std::string iaOptionName(int p_nOpt);
// One line per call, each prefixed by p_szIndent. Unless p_bAll, only the
// SET calls are listed and the others (status and range queries, the sensor
// thread's day/night reads) are summed up in one line.
void printIaCalls(const std::vector<iasim::IaCall>& p_vecCalls, bool p_bAll,
                  const char* p_szIndent);

#endif
