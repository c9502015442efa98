#include "CheckCommand.h"

#include <signal.h>

#include "CheckRun.h"
#include "IaObserver.h"
#include "KeyArgs.h"
#include "ToolCommon.h"

namespace {

const int kMaxChannel = 64;

// Parses the check's arguments into p_stOut; "" or the problem.
std::string parseCheckArgs(const std::vector<std::string>& p_vecArgs, CheckOptions& p_stOut)
{
    for (size_t i = 0; i < p_vecArgs.size(); ++i) {
        const std::string& strArg = p_vecArgs[i];
        if (strArg == "--json") {
            p_stOut.m_bJson = true;
        } else if (strArg == "--live") {
            p_stOut.m_bLive = true;
        } else if (strArg == "--flash" || strArg == "--channel") {
            if (i + 1 >= p_vecArgs.size()) return strArg + " needs a value";
            const std::string& strValue = p_vecArgs[++i];
            long long nChannel = 0;
            if (strArg == "--flash") {
                p_stOut.m_strFlashDir = strValue;
            } else if (sensorhost::parseNumber(strValue, 1, kMaxChannel, nChannel)) {
                p_stOut.m_nChannel = static_cast<int>(nChannel);
            } else {
                return "--channel needs a channel number from 1 to 64, got '" + strValue + "'";
            }
        } else {
            return "unknown argument '" + strArg + "' (check takes --flash DIR, --channel N, --json, --live)";
        }
    }
    return "";
}

}  // namespace

std::string checkCheckArgs(const std::vector<std::string>& p_vecArgs)
{
    CheckOptions stIgnored;
    return parseCheckArgs(p_vecArgs, stIgnored);
}

int runCheck(const ToolOptions& p_stTool)
{
    CheckOptions stOptions;
    stOptions.m_strFlashDir = p_stTool.m_strFlashDir;
    stOptions.m_nChannel = p_stTool.m_nChannel;
    const std::string strUsage = parseCheckArgs(p_stTool.m_vecArgs, stOptions);
    if (!strUsage.empty()) {
        toolError("%s", strUsage.c_str());
        return EXIT_USAGE;
    }
    // A reader that stops early (| head) must not keep the copy from being removed.
    signal(SIGPIPE, SIG_IGN);
    std::string strError;
    const int nExit = runChecks(stOptions, sensorhost::iaObserver(), toolOut(), strError);
    if (!strError.empty()) {
        toolError("%s", strError.c_str());
        return EXIT_FAILED;
    }
    return nExit;
}
