// sensorctl check: the compliance checker of a camera's flash tree and
// image-algorithm profile.
#ifndef SENSORCTL_CHECK_COMMAND_H
#define SENSORCTL_CHECK_COMMAND_H

#include <string>
#include <vector>

#include "ToolOptions.h"

// Its own arguments: "" or the usage problem.
std::string checkCheckArgs(const std::vector<std::string>& p_vecArgs);
// Runs the checks on the tree the options name (the check's own --flash and
// --channel override the tool's); the exit status is 0 when nothing failed.
int runCheck(const ToolOptions& p_stTool);

#endif
