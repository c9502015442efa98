// sensorctl: drives the sensor controller library on a PC over the simulated
// image-algorithm library and a camera's flash tree.
#include <stdio.h>

#include "CommandHandlers.h"
#include "Commands.h"
#include "PlatformSim.h"
#include "Session.h"
#include "ToolCommon.h"
#include "ToolOptions.h"

namespace {

// Short runs let the sensor thread pass quickly, so that stopping it does not
// hold up the exit for a whole second.
const double kQuickSleepScale = 0.05;

int usageError(const std::string& p_strProblem, const char* p_szHint)
{
    toolError("%s", p_strProblem.c_str());
    fprintf(stderr, "%s\n", p_szHint);
    return EXIT_USAGE;
}

int runWithController(const CommandSpec& p_stSpec, ToolOptions& p_stOptions)
{
    if (p_stOptions.m_dSleepScale < 0)
        p_stOptions.m_dSleepScale = p_stSpec.bRealPace ? 1.0 : kQuickSleepScale;
    platformsim::setSleepScale(p_stOptions.m_dSleepScale);
    Session objSession(p_stOptions);
    const std::string strError = objSession.open();
    if (!strError.empty()) {
        toolError("%s", strError.c_str());
        return EXIT_FAILED;
    }
    int nExit = EXIT_DONE;
    if (p_stOptions.m_nScheme >= 0) nExit = selectSchemeForRun(objSession, p_stOptions.m_nScheme);
    if (nExit == EXIT_DONE) nExit = p_stSpec.pfnRun(&objSession, p_stOptions.m_vecArgs);
    objSession.close();
    return nExit;
}

}  // namespace

int main(int p_nArgc, char** p_ppArgv)
{
    separateLibraryOutput();
    ToolOptions stOptions;
    const std::string strProblem = parseToolOptions(p_nArgc, p_ppArgv, stOptions);
    if (!strProblem.empty())
        return usageError(strProblem,
                          "usage: sensorctl [OPTIONS] COMMAND [ARGS] (sensorctl --help)");
    if (stOptions.m_bHelp) {
        printToolUsage(toolOut());
        return EXIT_DONE;
    }
    const CommandSpec* pSpec = findCommand(stOptions.m_strCommand);
    if (pSpec == nullptr)
        return usageError("unknown command '" + stOptions.m_strCommand + "'",
                          "sensorctl --help lists the commands");
    if (wantsHelp(stOptions.m_vecArgs)) {
        printCommandHelp(*pSpec, toolOut());
        return EXIT_DONE;
    }
    const std::string strArgProblem = checkCommandArgs(*pSpec, stOptions.m_vecArgs);
    if (!strArgProblem.empty())
        return usageError(strArgProblem, ("usage: sensorctl [OPTIONS] " +
                                          std::string(pSpec->szName) + " " + pSpec->szArgs)
                                             .c_str());
    if (!pSpec->bController) return pSpec->pfnRun(nullptr, stOptions.m_vecArgs);
    return runWithController(*pSpec, stOptions);
}
