// decode: parameter files and the version file pulled from a camera's flash,
// read without a controller.
#include <stdint.h>
#include <stdio.h>

#include <filesystem>
#include <map>
#include <regex>

#include "ChannelSetup.h"
#include "CommandHandlers.h"
#include "HostFlash.h"
#include "KeyArgs.h"
#include "ParamFile.h"
#include "SensorKeys.h"
#include "ToolCommon.h"

using namespace sensorhost;

namespace {

// The camera a file belongs to: the flash tree it lies in, else the sample camera.
std::string cameraOf(const std::string& p_strPath)
{
    const std::string strAbsolute = std::filesystem::absolute(p_strPath).lexically_normal().string();
    const size_t nAt = strAbsolute.rfind(std::string(SNS_PATH_CONFIG_DIR) + "/");
    if (nAt != std::string::npos && isFlashTree(strAbsolute.substr(0, nAt))) return strAbsolute.substr(0, nAt);
    return findSampleFlash();
}

int channelOf(const std::string& p_strPath)
{
    std::smatch objMatch;
    const std::string strName = std::filesystem::path(p_strPath).filename().string();
    if (std::regex_match(strName, objMatch, std::regex("sensor(\\d{1,2})_\\d+\\.cfg"))) return std::stoi(objMatch[1]);
    return 1;
}

// Factory keys per camera and channel, worked out once per run.
std::vector<u32> factoryKeysFor(const std::string& p_strPath)
{
    static std::map<std::pair<std::string, int>, std::vector<u32>> s_mapKnown;
    const std::pair<std::string, int> stWhich(cameraOf(p_strPath), channelOf(p_strPath));
    const auto it = s_mapKnown.find(stWhich);
    if (it != s_mapKnown.end()) return it->second;
    std::string strWhy = stWhich.first.empty() ? "no camera flash tree to compare with" : "";
    std::vector<u32> vecKeys;
    if (strWhy.empty()) vecKeys = factoryKeysOf(stWhich.first, stWhich.second, strWhy);
    if (vecKeys.empty())
        toolNote("keys are not compared with the factory order: %s", strWhy.c_str());
    s_mapKnown[stWhich] = vecKeys;
    return vecKeys;
}

int decodeVersionFile(const std::string& p_strPath, const std::string& p_strBytes)
{
    u32 nVersion = 0;
    if (!decodeVersion(p_strBytes, nVersion)) {
        toolError("%s: damaged version file: %zu bytes, the version needs %zu", p_strPath.c_str(),
                  p_strBytes.size(), sizeof(u32));
        return EXIT_FAILED;
    }
    toolPrint("%s: parameter file layout version %u\n", p_strPath.c_str(), nVersion);
    return EXIT_DONE;
}

// The first five records of a scheme are its switching mode and time window.
void printSchemeHead(const std::vector<KeyVal>& p_vecRecords)
{
    if (p_vecRecords.size() < 5) return;
    for (u32 i = 0; i < 5; ++i)
        if (p_vecRecords[i].key != KEY_SCHEME_MODE + i) return;
    toolPrint("scheme mode %u, time window %02u:%02u-%02u:%02u\n", p_vecRecords[0].value, p_vecRecords[1].value,
              p_vecRecords[2].value, p_vecRecords[3].value, p_vecRecords[4].value);
}

int decodeParameters(const std::string& p_strPath, const std::string& p_strBytes)
{
    size_t nLeftOver = 0;
    const std::vector<KeyVal> vecRecords = decodeRecords(p_strBytes, nLeftOver);
    toolPrint("%s: %zu records\n", p_strPath.c_str(), vecRecords.size());
    printSchemeHead(vecRecords);
    toolPrint("%6s  %-34s %s\n", "KEY", "NAME", "VALUE");
    for (const KeyVal& stRecord : vecRecords)
        toolPrint("%6u  %-34s %d\n", stRecord.key, keyName(stRecord.key).c_str(), static_cast<int32_t>(stRecord.value));
    const std::vector<std::string> vecProblems = fileProblems(p_strBytes, factoryKeysFor(p_strPath));
    for (const std::string& strProblem : vecProblems)
        toolError("%s: damaged parameter file: %s", p_strPath.c_str(), strProblem.c_str());
    return vecProblems.empty() ? EXIT_DONE : EXIT_FAILED;
}

}  // namespace

int runDecode(Session*, const Args& p_vecArgs)
{
    int nExit = EXIT_DONE;
    for (const std::string& strPath : p_vecArgs) {
        std::string strBytes;
        const std::string strError = readLimited(strPath, strBytes);
        int nResult = EXIT_DONE;
        if (!strError.empty()) {
            toolError("%s: cannot decode: %s", strPath.c_str(), strError.c_str());
            nResult = EXIT_FAILED;
        } else if (std::filesystem::path(strPath).filename() == fileNameOf(SNS_PATH_VERSION_FILE)) {
            nResult = decodeVersionFile(strPath, strBytes);
        } else {
            nResult = decodeParameters(strPath, strBytes);
        }
        if (nResult != EXIT_DONE) nExit = nResult;
    }
    return nExit;
}
