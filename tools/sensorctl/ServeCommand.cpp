// serve: the camera's image settings over HTTP until SIGINT or SIGTERM.
#ifdef SNS_WITH_SERVE

#include <algorithm>
#include <chrono>

#include "CommandHandlers.h"
#include "PlatformSim.h"
#include "ServeMain.h"
#include "ToolCommon.h"

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
    echoLibraryOutput(p_stOptions);
    return serveUntilSignal(stConfig, toolOut(), libraryLogPath(p_stOptions, stConfig.m_strFlashDir)) == 0
               ? EXIT_DONE
               : EXIT_FAILED;
}

#endif
