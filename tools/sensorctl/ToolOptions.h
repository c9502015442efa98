// The tool's own options, which come before the command:
//   sensorctl [--flash DIR] [--channel N] [--scheme N] [--sleep-scale F]
//             [--allow-reset] [--verbose] [--log FILE] COMMAND [ARGS]
#ifndef SENSORCTL_TOOL_OPTIONS_H
#define SENSORCTL_TOOL_OPTIONS_H

#include <stdio.h>

#include <string>
#include <vector>

struct ToolOptions {
    std::string m_strFlashDir = "./flash";
    bool m_bFlashGiven = false;  // --flash was on the command line
    int m_nChannel = 1;
    int m_nScheme = -1;         // -1: keep the scheme init chose
    double m_dSleepScale = -1;  // < 0: the command's default
    bool m_bAllowReset = false;  // the user accepts losing saved schemes
    bool m_bVerbose = false;     // the library's console on standard error
    std::string m_strLogFile;    // "": <flash>/sensorctl.log
    bool m_bHelp = false;
    std::string m_strCommand;
    std::vector<std::string> m_vecArgs;
};

// Fills p_stOut; returns "" or what is wrong with the command line.
std::string parseToolOptions(int p_nArgc, const char* const* p_ppArgv, ToolOptions& p_stOut);

// The tool's usage text (options and the command list).
void printToolUsage(FILE* p_pOut);

#endif
