#include "ToolOptions.h"

#include <stdlib.h>

#include "Commands.h"
#include "KeyArgs.h"

using namespace sensorhost;

namespace {

const int kMaxChannel = 64;

// "--name VALUE" or "--name=VALUE"; advances p_nIndex past the value.
bool optionValue(const std::string& p_strName, int p_nArgc, const char* const* p_ppArgv,
                 int& p_nIndex, std::string& p_strValue, bool& p_bMissing)
{
    const std::string strArg = p_ppArgv[p_nIndex];
    if (strArg == p_strName) {
        if (p_nIndex + 1 >= p_nArgc) {
            p_bMissing = true;
            return true;
        }
        p_strValue = p_ppArgv[++p_nIndex];
        return true;
    }
    if (strArg.compare(0, p_strName.size() + 1, p_strName + "=") == 0) {
        p_strValue = strArg.substr(p_strName.size() + 1);
        return true;
    }
    return false;
}

std::string applyOption(const std::string& p_strName, const std::string& p_strValue,
                        ToolOptions& p_stOut)
{
    long long nNumber = 0;
    if (p_strName == "--flash") {
        if (p_strValue.empty()) return "--flash needs a folder";
        p_stOut.m_strFlashDir = p_strValue;
        p_stOut.m_bFlashGiven = true;
    } else if (p_strName == "--log") {
        if (p_strValue.empty()) return "--log needs a file";
        p_stOut.m_strLogFile = p_strValue;
    } else if (p_strName == "--channel") {
        if (!parseNumber(p_strValue, 1, kMaxChannel, nNumber))
            return "--channel needs a channel number from 1 to 64, got '" + p_strValue + "'";
        p_stOut.m_nChannel = static_cast<int>(nNumber);
    } else if (p_strName == "--scheme") {
        if (!parseNumber(p_strValue, 0, 255, nNumber))
            return "--scheme needs a scheme number, got '" + p_strValue + "'";
        p_stOut.m_nScheme = static_cast<int>(nNumber);
    } else {
        char* pEnd = nullptr;
        const double dScale = strtod(p_strValue.c_str(), &pEnd);
        if (p_strValue.empty() || *pEnd != '\0' || !(dScale >= 0) || dScale > 100)
            return "--sleep-scale needs a factor from 0 to 100, got '" + p_strValue + "'";
        p_stOut.m_dSleepScale = dScale;
    }
    return "";
}

}  // namespace

std::string parseToolOptions(int p_nArgc, const char* const* p_ppArgv, ToolOptions& p_stOut)
{
    static const char* const kValued[] = {"--flash", "--channel", "--scheme", "--sleep-scale", "--log"};
    int i = 1;
    for (; i < p_nArgc; ++i) {
        const std::string strArg = p_ppArgv[i];
        if (strArg == "--help" || strArg == "-h") {
            p_stOut.m_bHelp = true;
            return "";
        }
        if (strArg.empty() || strArg[0] != '-') break;
        if (strArg == "--allow-reset" || strArg == "--verbose") {
            (strArg == "--verbose" ? p_stOut.m_bVerbose : p_stOut.m_bAllowReset) = true;
            continue;
        }
        bool bKnown = false;
        for (const char* szName : kValued) {
            std::string strValue;
            bool bMissing = false;
            if (!optionValue(szName, p_nArgc, p_ppArgv, i, strValue, bMissing)) continue;
            if (bMissing) return std::string(szName) + " needs a value";
            const std::string strError = applyOption(szName, strValue, p_stOut);
            if (!strError.empty()) return strError;
            bKnown = true;
            break;
        }
        if (!bKnown) return "unknown option '" + strArg + "'";
    }
    if (i >= p_nArgc) return "no command given";
    p_stOut.m_strCommand = p_ppArgv[i];
    p_stOut.m_vecArgs.assign(p_ppArgv + i + 1, p_ppArgv + p_nArgc);
    return "";
}

void printToolUsage(FILE* p_pOut)
{
    fprintf(p_pOut,
            "usage: sensorctl [OPTIONS] COMMAND [ARGS]\n"
            "\n"
            "Drives the sensor controller library on a PC: a controller is built as a\n"
            "host builds it (channel, video module, init with the module configuration\n"
            "of the flash tree), runs the command and is shut down again.\n"
            "\n"
            "Options:\n"
            "  --flash DIR        flash tree of the camera (default ./flash); created as a\n"
            "                     copy of the sample camera when missing or empty\n"
            "  --channel N        camera channel, 1-based (default 1)\n"
            "  --scheme N         make scheme N current first; automatic switching is\n"
            "                     paused for this run\n"
            "  --sleep-scale F    the library's sleeps last F times as long (default 0.05,\n"
            "                     1 for shell: the sensor thread passes once a second)\n"
            "  --allow-reset      go on where the library would replace saved schemes by\n"
            "                     factory values (version file missing or of another\n"
            "                     layout, damaged parameter files); run demo on --flash DIR\n"
            "  --verbose          show the library's console lines on standard error\n"
            "  --log FILE         write the library's console lines to FILE (default\n"
            "                     sensorctl.log in the flash folder)\n"
            "  -h, --help         this text; COMMAND --help describes one command\n"
            "\n"
            "Commands:\n");
    printCommandList(p_pOut);
    fprintf(p_pOut,
            "\n"
            "Keys are numbers (34) or names of the key table in any case, with or without\n"
            "the KEY_ prefix (brightness, KEY_BRIGHTNESS).\n"
            "Before the controller starts, the flash tree is checked: a start that would\n"
            "replace saved schemes, a style that gives no parameters or a folder that\n"
            "cannot be written is refused with the reason. Saves and resets are read\n"
            "back from the files before they are reported as done.\n"
            "Exit status: 0 done, 1 the operation failed (also when the library reported\n"
            "a failed check during the command), 2 usage error.\n");
}
