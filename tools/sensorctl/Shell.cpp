// shell: one controller kept running while commands arrive on standard input,
// with the simulated clock and day/night state at hand.
#include <stdio.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <sstream>
#include <thread>

#include "CommandHandlers.h"
#include "IaInterface.h"
#include "IaLog.h"
#include "IaSim.h"
#include "KeyArgs.h"
#include "PKDeviceTime.h"
#include "PlatformSim.h"
#include "SchemeInfo.h"
#include "Session.h"
#include "ToolCommon.h"

using namespace sensorhost;

namespace {

const double kDefaultWaitSeconds = 5;
const double kLongestPause = 3600;
const std::chrono::milliseconds kPollStep(20);

struct ShellCommand {
    const char* szName;
    int nMinArgs;
    int nMaxArgs;
    int (*pfnRun)(Session& p_objSession, const Args& p_vecArgs);
};

int shellUsage(const char* p_szUsage)
{
    toolError("usage: %s", p_szUsage);
    return EXIT_USAGE;
}

bool parseSeconds(const std::string& p_strText, double& p_dSeconds)
{
    char* pEnd = nullptr;
    p_dSeconds = strtod(p_strText.c_str(), &pEnd);
    return !p_strText.empty() && *pEnd == '\0' && p_dSeconds >= 0 && p_dSeconds <= kLongestPause;
}

int runClock(Session&, const Args& p_vecArgs)
{
    if (!p_vecArgs.empty() && p_vecArgs[0] == "real") {
        platformsim::clearWallClock();
    } else if (!p_vecArgs.empty()) {
        const std::string& strTime = p_vecArgs[0];
        const size_t nColon = strTime.find(':');
        long long nHour = 0;
        long long nMinute = 0;
        if (nColon == std::string::npos || !parseNumber(strTime.substr(0, nColon), 0, 23, nHour) ||
            !parseNumber(strTime.substr(nColon + 1), 0, 59, nMinute))
            return shellUsage("clock [HH:MM|real]");
        platformsim::setWallClock(static_cast<int>(nHour), static_cast<int>(nMinute));
    }
    const PKDateTime stNow = PKDeviceTime::getCurrentTime();
    toolPrint("clock %02u:%02u\n", stNow.hour, stNow.minute);
    return EXIT_DONE;
}

int runDayNight(Session& p_objSession, const Args& p_vecArgs)
{
    if (!p_vecArgs.empty()) {
        if (p_vecArgs[0] != "day" && p_vecArgs[0] != "night")
            return shellUsage("daynight day|night");
        iasim::setValue(p_objSession.iaChannel(), IA_CMD_DN_STATE, p_vecArgs[0] == "night" ? 1 : 0);
    }
    uint32_t nState = 0;
    iasim::getValue(p_objSession.iaChannel(), IA_CMD_DN_STATE, nState);
    toolPrint("day/night state: %s\n", nState != 0 ? "night" : "day");
    return EXIT_DONE;
}

int runCalls(Session&, const Args& p_vecArgs)
{
    if (!p_vecArgs.empty() && p_vecArgs[0] != "all") return shellUsage("calls [all]");
    printIaCalls(iasim::calls(), !p_vecArgs.empty(), "");
    iasim::clearCalls();
    return EXIT_DONE;
}

int runWait(Session& p_objSession, const Args& p_vecArgs)
{
    long long nScheme = 0;
    double dSeconds = kDefaultWaitSeconds;
    if (!parseNumber(p_vecArgs[0], 0, p_objSession.schemeCount(), nScheme) ||
        (p_vecArgs.size() > 1 && !parseSeconds(p_vecArgs[1], dSeconds)))
        return shellUsage("wait N [SECONDS]");
    const auto tStart = std::chrono::steady_clock::now();
    const auto tEnd = tStart + std::chrono::duration<double>(dSeconds);
    ISensorController& objCtrl = p_objSession.controller();
    while (currentScheme(objCtrl) != nScheme && std::chrono::steady_clock::now() < tEnd)
        std::this_thread::sleep_for(kPollStep);
    const int nCurrent = currentScheme(objCtrl);
    if (nCurrent != nScheme) {
        toolError("scheme %lld did not become current within %.1f s (current: %d)", nScheme,
                  dSeconds, nCurrent);
        return EXIT_FAILED;
    }
    const std::chrono::duration<double> dWaited = std::chrono::steady_clock::now() - tStart;
    toolPrint("scheme %lld is current (waited %.1f s)\n", nScheme, dWaited.count());
    return EXIT_DONE;
}

int runSleep(Session&, const Args& p_vecArgs)
{
    double dSeconds = 0;
    if (!parseSeconds(p_vecArgs[0], dSeconds)) return shellUsage("sleep SECONDS");
    std::this_thread::sleep_for(std::chrono::duration<double>(dSeconds));
    return EXIT_DONE;
}

int runHelp(Session&, const Args&)
{
    toolPrint("Commands:\n");
    printCommandList(toolOut(), true);
    toolPrint("  %-27s %s\n", "clock [HH:MM|real]", "set (or show) the simulated wall clock");
    toolPrint("  %-27s %s\n", "daynight [day|night]",
              "set (or show) the simulated day/night state");
    toolPrint("  %-27s %s\n", "calls [all]",
              "image-algorithm calls since the start or the last `calls`");
    toolPrint("  %-27s %s\n", "wait N [SECONDS]", "wait until scheme N is current (default 5 s)");
    toolPrint("  %-27s %s\n", "sleep SECONDS", "pause");
    toolPrint("  %-27s %s\n", "quit", "end the session");
    return EXIT_DONE;
}

const ShellCommand kShellCommands[] = {
    {"clock", 0, 1, runClock}, {"daynight", 0, 1, runDayNight}, {"calls", 0, 1, runCalls},
    {"wait", 1, 2, runWait},   {"sleep", 1, 1, runSleep},       {"help", 0, 0, runHelp},
};

int runShellExtra(const ShellCommand& p_stCmd, Session& p_objSession, const Args& p_vecArgs)
{
    const int nCount = static_cast<int>(p_vecArgs.size());
    if (nCount < p_stCmd.nMinArgs || nCount > p_stCmd.nMaxArgs) {
        toolError("wrong number of arguments for %s ('help' shows its usage)", p_stCmd.szName);
        return EXIT_USAGE;
    }
    return p_stCmd.pfnRun(p_objSession, p_vecArgs);
}

int runToolCommand(Session& p_objSession, const std::string& p_strName, const Args& p_vecArgs)
{
    const CommandSpec* pSpec = findCommand(p_strName);
    if (pSpec == nullptr || !pSpec->bInShell) {
        toolError("%s '%s' ('help' lists the commands)",
                  pSpec == nullptr ? "unknown command" : "not available in the shell:",
                  p_strName.c_str());
        return EXIT_USAGE;
    }
    if (wantsHelp(p_vecArgs)) {
        printCommandHelp(*pSpec, toolOut());
        return EXIT_DONE;
    }
    const std::string strProblem = checkCommandArgs(*pSpec, p_vecArgs);
    if (!strProblem.empty()) {
        toolError("%s", strProblem.c_str());
        return EXIT_USAGE;
    }
    return pSpec->pfnRun(&p_objSession, p_vecArgs);
}

int runLine(Session& p_objSession, const std::string& p_strName, const Args& p_vecArgs)
{
    for (const ShellCommand& stCmd : kShellCommands)
        if (p_strName == stCmd.szName) return runShellExtra(stCmd, p_objSession, p_vecArgs);
    return runToolCommand(p_objSession, p_strName, p_vecArgs);
}

}  // namespace

int runShell(Session* p_pSession, const Args&)
{
    const bool bTerminal = isatty(STDIN_FILENO) != 0;
    if (bTerminal)
        toolPrint("sensorctl shell, channel %d, flash %s; 'help' lists the commands, 'quit' ends\n",
                  p_pSession->channel(), p_pSession->flashDir().c_str());
    // `calls` lists what happened in the session, not init's full apply.
    iasim::clearCalls();
    int nExit = EXIT_DONE;
    std::string strLine;
    while (true) {
        if (bTerminal) toolPrint("sensorctl> ");
        fflush(toolOut());
        if (!std::getline(std::cin, strLine)) break;
        std::istringstream objWords(strLine);
        std::string strName;
        if (!(objWords >> strName) || strName[0] == '#') continue;
        if (strName == "quit" || strName == "exit") break;
        Args vecArgs;
        for (std::string strWord; objWords >> strWord;) vecArgs.push_back(strWord);
        // A failed command does not end the session; the exit status remembers it.
        if (runLine(*p_pSession, strName, vecArgs) != EXIT_DONE) nExit = EXIT_FAILED;
    }
    if (bTerminal) toolPrint("\n");
    return nExit;
}
