#include "ServeConfig.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <filesystem>

#include "KeyArgs.h"

namespace {

// The value after an option, or the problem.
std::string optionValue(const std::vector<std::string>& p_vecArgs, size_t& p_nIndex,
                        std::string& p_strOut)
{
    if (p_nIndex + 1 >= p_vecArgs.size()) return p_vecArgs[p_nIndex] + " needs a value";
    p_strOut = p_vecArgs[++p_nIndex];
    return "";
}

std::string numberOption(const std::vector<std::string>& p_vecArgs, size_t& p_nIndex, long long p_nLow,
                         long long p_nHigh, int& p_nOut)
{
    std::string strValue;
    std::string strError = optionValue(p_vecArgs, p_nIndex, strValue);
    if (!strError.empty()) return strError;
    long long nValue = 0;
    if (!sensorhost::parseNumber(strValue, p_nLow, p_nHigh, nValue))
        return p_vecArgs[p_nIndex - 1] + " needs a number from " + std::to_string(p_nLow) + " to " +
               std::to_string(p_nHigh) + ", got '" + strValue + "'";
    p_nOut = static_cast<int>(nValue);
    return "";
}

std::string executableDir()
{
    std::error_code objError;
    const std::filesystem::path objExe = std::filesystem::read_symlink("/proc/self/exe", objError);
    return objError ? std::string() : objExe.parent_path().string();
}

}  // namespace

std::string parseServeArgs(const std::vector<std::string>& p_vecArgs, ServeConfig& p_stOut)
{
    for (size_t i = 0; i < p_vecArgs.size(); ++i) {
        const std::string& strArg = p_vecArgs[i];
        std::string strError;
        if (strArg == "--flash")
            strError = optionValue(p_vecArgs, i, p_stOut.m_strFlashDir);
        else if (strArg == "--channels")
            strError = numberOption(p_vecArgs, i, 1, kMaxServeChannels, p_stOut.m_nChannels);
        else if (strArg == "--bind")
            strError = optionValue(p_vecArgs, i, p_stOut.m_strBind);
        else if (strArg == "--port")
            strError = numberOption(p_vecArgs, i, 0, 65535, p_stOut.m_nPort);
        else if (strArg == "--auth")
            strError = optionValue(p_vecArgs, i, p_stOut.m_strAuthFile);
        else
            strError = "unknown option '" + strArg + "' for serve";
        if (!strError.empty()) return strError;
    }
    if (!isLoopbackAddress(p_stOut.m_strBind) && p_stOut.m_strAuthFile.empty())
        return "--bind " + p_stOut.m_strBind +
               " lets other machines in: it needs --auth FILE with user:password lines";
    return "";
}

bool isLoopbackAddress(const std::string& p_strAddress)
{
    in_addr stV4;
    if (inet_pton(AF_INET, p_strAddress.c_str(), &stV4) == 1)
        return (ntohl(stV4.s_addr) >> 24) == 127;
    return p_strAddress == "localhost" || p_strAddress == "::1";
}

std::string findWebDir()
{
    const std::string vecCandidates[] = {
        SNS_WEB_SOURCE_DIR,
        executableDir() + "/../share/SensorController/web",
        SNS_WEB_INSTALLED_DIR,
    };
    for (const std::string& strDir : vecCandidates)
        if (access((strDir + "/index.html").c_str(), R_OK) == 0) return strDir;
    return "";
}
