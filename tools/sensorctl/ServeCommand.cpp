// serve: the camera's image settings over HTTP until SIGINT or SIGTERM.
#ifdef SNS_WITH_SERVE

#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "CommandHandlers.h"
#include "ConsoleCapture.h"
#include "PlatformSim.h"
#include "ServeMain.h"
#include "ToolCommon.h"

namespace {

const char kDefaultLogName[] = "sensorctl.log";

}  // namespace

std::string checkServeArgs(const Args& p_vecArgs)
{
    ServeConfig stConfig;
    return parseServeArgs(p_vecArgs, stConfig);
}

int runServe(const ToolOptions& p_stOptions)
{
    ServeConfig stConfig;
    stConfig.m_strFlashDir = p_stOptions.m_strFlashDir;
    stConfig.m_bLossAccepted = p_stOptions.m_bAllowReset;
    parseServeArgs(p_stOptions.m_vecArgs, stConfig);
    // The sensor threads pass once a second, as on a camera, unless
    // --sleep-scale says otherwise; the server looks five times per pass.
    const double dScale = p_stOptions.m_dSleepScale < 0 ? 1.0 : p_stOptions.m_dSleepScale;
    platformsim::setSleepScale(dScale);
    stConfig.m_tPoll = std::chrono::milliseconds(std::max(5L, static_cast<long>(stConfig.m_tPoll.count() * dScale)));
    if (p_stOptions.m_bVerbose) sensorhost::ConsoleCapture::instance().setEcho(stderr, isatty(STDERR_FILENO) != 0);
    const std::string strLog = p_stOptions.m_strLogFile.empty() ? stConfig.m_strFlashDir + "/" + kDefaultLogName
                                                                : p_stOptions.m_strLogFile;
    return serveUntilSignal(stConfig, toolOut(), strLog) == 0 ? EXIT_DONE : EXIT_FAILED;
}

#endif
