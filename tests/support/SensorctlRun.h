// Runs the built sensorctl as a process on flash folders below a test's own
// root; the including test file is given the tool's path (SNS_SENSORCTL_PATH).
#ifndef SENSORCTL_RUN_H
#define SENSORCTL_RUN_H

#include <stdint.h>
#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

#include "FlashLayout.h"
#include "TestSupport.h"

namespace testsupport {

const long long kNoRow = -999999;

struct ToolRun {
    int m_nExit;
    std::string m_strOut;
    std::string m_strErr;
};

// The bytes of one parameter record, little-endian.
inline std::string record(uint32_t p_nKey, uint32_t p_nValue)
{
    std::string strBytes;
    for (uint32_t nWord : {p_nKey, p_nValue})
        for (int i = 0; i < 4; ++i) strBytes += static_cast<char>((nWord >> (8 * i)) & 0xFF);
    return strBytes;
}

// The value on the first row of a key name ("-": a key without a name) in
// the output of get, set or decode; kNoRow when there is none.
inline long long shown(const std::string& p_strOut, const std::string& p_strName)
{
    std::smatch objMatch;
    const std::regex objRow("(^|\\n)\\s*\\d+\\s+" + p_strName + "\\s+(-?\\d+)\\n");
    return std::regex_search(p_strOut, objMatch, objRow) ? std::stoll(objMatch[2]) : kNoRow;
}

// Paths below the test's root ("/flash/..." is the tool's flash folder).
inline std::string schemeFile(int p_nChannel, int p_nScheme)
{
    return "/flash" + schemeFilePath(p_nChannel, p_nScheme);
}

class SensorctlTest : public FlashTest {
protected:
    // Runs "<prefix> sensorctl --flash <root><p_strFlash> <args>", standard
    // input from p_strInput ("" as flash: no --flash option).
    ToolRun run(const std::string& p_strArgs, const std::string& p_strInput = "",
                const std::string& p_strFlash = "/flash", const std::string& p_strPrefix = "")
    {
        writeFlashFile("/stdin.txt", p_strInput);
        const std::string strFlash = p_strFlash.empty() ? "" : " --flash " + onDisk(p_strFlash);
        const std::string strCmd = p_strPrefix + " '" + SNS_SENSORCTL_PATH + "'" + strFlash + " " + p_strArgs +
                                   " <" + onDisk("/stdin.txt") + " 2>" + onDisk("/stderr.txt");
        ToolRun stRun = {-1, "", ""};
        FILE* pPipe = popen(strCmd.c_str(), "r");
        if (pPipe == nullptr) return stRun;
        char szBuf[4096];
        for (size_t nRead = 0; (nRead = fread(szBuf, 1, sizeof(szBuf), pPipe)) > 0;)
            stRun.m_strOut.append(szBuf, nRead);
        const int nStatus = pclose(pPipe);
        stRun.m_nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
        stRun.m_strErr = readFlashFile("/stderr.txt");
        return stRun;
    }
    // The real path of a path below the root, quoted for the shell.
    std::string onDisk(const std::string& p_strPath) const { return "'" + m_strRoot + p_strPath + "'"; }
    long long brightness(const std::string& p_strOptions = "")
    {
        const ToolRun stRun = run(p_strOptions + " get brightness");
        EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strErr;
        return shown(stRun.m_strOut, "KEY_BRIGHTNESS");
    }
    // The camera's files below the tool's flash folder (unless p_bEvery: not the
    // tool's log, the library's error log nor its scratch folder), by path, with their content.
    std::map<std::string, std::string> flashFiles(const std::string& p_strFlash = "/flash", bool p_bEvery = false)
    {
        std::map<std::string, std::string> mapOut;
        std::error_code ec;
        const std::string strBase = m_strRoot + p_strFlash;
        for (std::filesystem::recursive_directory_iterator it(strBase, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string strPath = it->path().string().substr(strBase.size());
            const bool bSkipped = strPath == "/sensorctl.log" || strPath.rfind("/tmp/", 0) == 0 ||
                                  strPath.rfind("/mnt/mtd/log/", 0) == 0;
            if (!it->is_regular_file(ec) || (bSkipped && !p_bEvery)) continue;
            std::ifstream in(it->path(), std::ios::binary);
            mapOut[strPath].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return mapOut;
    }
};

}  // namespace testsupport

#endif
