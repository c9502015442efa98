// sensorctl: drives the sensor controller library on a PC over the simulated
// image-algorithm library and a camera's flash tree.
#include <stdio.h>

#include <filesystem>

#include "CheckCommand.h"
#include "CommandHandlers.h"
#include "Commands.h"
#include "ConsoleCapture.h"
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

// Failed checks the library reported during the run make it fail too.
int reportLibraryFailures(size_t p_nMark, int p_nExit)
{
    sensorhost::ConsoleCapture& objConsole = sensorhost::ConsoleCapture::instance();
    const std::vector<sensorhost::AssertReport> vecReports = objConsole.reportsSince(p_nMark);
    if (vecReports.empty()) return p_nExit;
    const std::string strLog = objConsole.logPath().empty() ? "" : " (console log: " + objConsole.logPath() + ")";
    toolError("the library reported %zu failed check%s: %s%s", vecReports.size(), vecReports.size() == 1 ? "" : "s",
              sensorhost::summariseReports(vecReports).c_str(), strLog.c_str());
    return p_nExit == EXIT_DONE ? EXIT_FAILED : p_nExit;
}

int runWithController(const CommandSpec& p_stSpec, ToolOptions& p_stOptions)
{
    if (p_stOptions.m_dSleepScale < 0)
        p_stOptions.m_dSleepScale = p_stSpec.bRealPace ? 1.0 : kQuickSleepScale;
    platformsim::setSleepScale(p_stOptions.m_dSleepScale);
    // A factory reset replaces the channel's saved schemes anyway.
    if (p_stSpec.pfnRun == runReset) p_stOptions.m_bAllowReset = true;
    std::string strScratch;
    if (p_stSpec.pfnRun == runDemo) {
        const std::string strRefusal = prepareDemoFlash(p_stOptions, strScratch);
        if (!strRefusal.empty()) {
            toolError("%s", strRefusal.c_str());
            return EXIT_FAILED;
        }
    }
    int nExit = EXIT_FAILED;
    {
        Session objSession(p_stOptions);
        if (objSession.open()) {
            nExit = EXIT_DONE;
            if (p_stOptions.m_nScheme >= 0) nExit = selectSchemeForRun(objSession, p_stOptions.m_nScheme);
            if (nExit == EXIT_DONE) nExit = p_stSpec.pfnRun(&objSession, p_stOptions.m_vecArgs);
            objSession.close();
            nExit = reportLibraryFailures(objSession.host().reportMark(), nExit);
        }
    }
    if (!strScratch.empty()) {
        sensorhost::ConsoleCapture::instance().setLog("");
        std::error_code ec;
        std::filesystem::remove_all(strScratch, ec);
    }
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
    // serve and check run on the tool's options, without a session.
    int nExit = EXIT_DONE;
    if (pSpec->pfnRun != nullptr)
        nExit = pSpec->bController ? runWithController(*pSpec, stOptions) : pSpec->pfnRun(nullptr, stOptions.m_vecArgs);
#ifdef SNS_WITH_SERVE
    else if (std::string(pSpec->szName) == "serve")
        nExit = runServe(stOptions);
#endif
    else
        nExit = runCheck(stOptions);
    sensorhost::ConsoleCapture::instance().stop();
    return nExit;
}
