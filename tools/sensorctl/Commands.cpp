#include "Commands.h"

#include <string.h>

#include "CheckCommand.h"
#include "CommandHandlers.h"
#include "ToolCommon.h"

namespace {

const int kSynopsisWidth = 27;

const CommandSpec kCommands[] = {
    {"show", "", "every parameter of the current scheme, with defaults and allowed values",
     "Lists key, name and value of every parameter of the current scheme; the\n"
     "parameters with a range from the image-algorithm library also show its\n"
     "default and allowed values.\n",
     0, 0, true, true, false, nullptr, runShow},
    {"get", "KEY...", "the current values of keys",
     "Prints key, name and current value of each KEY (a number or a name).\n", 1, -1, true, true,
     false, checkKeys, runGet},
    {"set", "KEY=VALUE... [--save] [--force]", "apply values (and save the current scheme)",
     "Applies the values in the order given, through the parameter text form\n"
     "(KEY,VALUE)...; they are kept in the current scheme. --save then writes the\n"
     "scheme to its parameter file and reads it back, so that the values outlive\n"
     "this run. A value outside the range or menu the UI style gives for its key,\n"
     "or a time window outside 0-23 hours and 0-59 minutes, is refused and\n"
     "nothing is sent; --force sends it anyway.\n",
     1, -1, true, true, false, checkSet, runSet},
    {"scheme", "[N]", "the current scheme, or switch to scheme N",
     "Without N prints the current scheme. With N switches to it (0 .. schemes-1\n"
     "are the user schemes, N = schemes is the factory scheme); only the values\n"
     "that differ from the previous scheme are sent. A switch lasts for this run\n"
     "(use --scheme to work on another scheme from the command line).\n",
     0, 1, true, true, false, checkSchemeArg, runScheme},
    {"mode", "[0|1]", "the parameter mode: 1 automatic scheme switching, 0 none",
     "Without an argument prints the mode and the switching configured in\n"
     "scheme 0 (KEY_SCHEME_MODE: 0 none, 1 time windows, 2 day/night state).\n"
     "With 0 or 1 sets the mode for this run.\n",
     0, 1, true, true, false, checkModeArg, runMode},
    {"flush", "", "save the current scheme to its parameter file",
     "Writes the current scheme to flash and reads the file back. A scheme whose\n"
     "time window is invalid is not written; the factory scheme is never written.\n",
     0, 0, true, true, false, nullptr, runFlush},
    {"reset", "", "factory reset of the channel",
     "Applies the factory values, deletes the channel's parameter files and\n"
     "rebuilds the controller, which writes them again from the factory values;\n"
     "every file is read back. It goes on where the check before the start finds\n"
     "that saved schemes would be lost (that is what it does anyway).\n",
     0, 0, true, true, false, nullptr, runReset},
    {"style", "", "the dynamic UI style document",
     "Prints the UI style document as the web UI receives it, with the sensor's\n"
     "current defaults and items.\n",
     0, 0, true, true, false, nullptr, runStyle},
    {"range", "KEY", "default and allowed values of a parameter",
     "Prints the default and allowed values the image-algorithm library reports\n"
     "for KEY right now.\n",
     1, 1, true, true, false, checkKeys, runRange},
    {"version", "", "tool, parameter layout and camera versions", "", 0, 0, true, true, false,
     nullptr, runVersion},
    {"decode", "FILE...", "print parameter files (sensor*.cfg) or the version file",
     "Prints each FILE as a table of keys, names and values: parameter files\n"
     "are 8-byte little-endian records {key, value}; snsversion.cfg holds the\n"
     "layout version. Needs no controller: meant for files pulled from a\n"
     "camera. Files over 64 KiB are refused. A size that is not a multiple of 8,\n"
     "key 0 records, repeated keys, keys out of the factory order and a record\n"
     "count other than the factory set's are reported as damage (the factory set\n"
     "of the camera the file lies in, else of the sample camera).\n",
     1, -1, false, true, false, nullptr, runDecode},
#ifdef SNS_WITH_SERVE
    {"serve", "[--flash DIR] [--channels N] [--bind ADDR] [--port P] [--auth FILE]",
     "the image settings over HTTP: JSON API, live events, the settings page",
     "Starts one controller per channel (--channels, default 1) with its sensor\n"
     "thread and serves the HTTP API and the settings page until SIGINT or\n"
     "SIGTERM; then stops every controller and exits 0. Nothing is saved unless\n"
     "a client asks for it. Prints \"listening on http://ADDR:PORT/\" and\n"
     "\"token: TOKEN\": requests other than GET must carry the token in the\n"
     "X-Sensorctl-Token header. Listens on 127.0.0.1:8080 unless --bind and\n"
     "--port say otherwise (--port 0: a free port); an address other than a\n"
     "loopback one needs --auth FILE, whose user:password lines every request\n"
     "must then prove (HTTP Basic or Digest). docs/http-api.md describes the API.\n",
     0, -1, false, false, true, checkServeArgs, nullptr},
#endif
    {"check", "[--flash DIR] [--channel N] [--json] [--live]",
     "compliance checks of the flash tree (and of the sensor with --live)",
     "Checks what a new camera model is made of: machine information, module\n"
     "configuration and detail fields, style and diversity documents and the\n"
     "merge's edits, the style's items and defaults, the factory records, the\n"
     "scheme files and the version file. --live also starts a controller on a\n"
     "temporary copy of the tree: init, every key of the style, the sensor's\n"
     "ranges against the style, scheme switches, save and restart. The tree\n"
     "itself is never written. One line per finding (OK, WARN, FAIL), then\n"
     "\"N passed, M failed, K warnings\"; --json prints one JSON document.\n"
     "Exit status 0 when nothing failed, 1 otherwise, 2 for a usage error.\n",
     0, 6, false, false, false, checkCheckArgs, nullptr},
    {"demo", "", "guided tour of the library on the sample camera",
     "Starts the controller on the flash folder, changes settings, saves a\n"
     "scheme, moves the simulated clock across time windows and the simulated\n"
     "day/night state to show automatic scheme switching, and ends with a\n"
     "factory reset. Prints the image-algorithm calls and video notifications\n"
     "each step causes. Runs on a scratch copy of the sample camera unless\n"
     "--flash names a folder (one that holds files needs --allow-reset).\n",
     0, 0, true, false, false, nullptr, runDemo},
    {"shell", "", "interactive session; reads commands from standard input",
     "Keeps the controller and its sensor thread running and reads commands,\n"
     "one a line, from standard input (a prompt only on a terminal). Besides the\n"
     "commands above:\n"
     "  clock [HH:MM|real]     set (or show) the simulated wall clock\n"
     "  daynight day|night     set the simulated day/night state\n"
     "  calls [all]            image-algorithm calls since the start or the last `calls`\n"
     "  wait N [SECONDS]       wait until scheme N is current (default 5 s)\n"
     "  sleep SECONDS          pause the script\n"
     "  help                   the command list\n"
     "  quit                   end (so does the end of the input)\n",
     0, 0, true, false, true, nullptr, runShell},
};

}  // namespace

const CommandSpec* findCommand(const std::string& p_strName)
{
    for (const CommandSpec& stSpec : kCommands)
        if (p_strName == stSpec.szName) return &stSpec;
    return nullptr;
}

void printCommandList(FILE* p_pOut, bool p_bShellOnly)
{
    for (const CommandSpec& stSpec : kCommands) {
        if (p_bShellOnly && !stSpec.bInShell) continue;
        const std::string strHead = std::string(stSpec.szName) + " " + stSpec.szArgs;
        // A long synopsis gets a line of its own.
        if (strHead.size() >= kSynopsisWidth)
            fprintf(p_pOut, "  %s\n  %-*s %s\n", strHead.c_str(), kSynopsisWidth, "", stSpec.szSummary);
        else
            fprintf(p_pOut, "  %-*s %s\n", kSynopsisWidth, strHead.c_str(), stSpec.szSummary);
    }
}

void printCommandHelp(const CommandSpec& p_stSpec, FILE* p_pOut)
{
    fprintf(p_pOut, "usage: sensorctl [OPTIONS] %s %s\n\n%s.\n", p_stSpec.szName, p_stSpec.szArgs,
            p_stSpec.szSummary);
    if (p_stSpec.szHelp[0] != '\0') fprintf(p_pOut, "\n%s", p_stSpec.szHelp);
}

bool wantsHelp(const Args& p_vecArgs)
{
    for (const std::string& strArg : p_vecArgs)
        if (strArg == "--help" || strArg == "-h") return true;
    return false;
}

std::string checkCommandArgs(const CommandSpec& p_stSpec, const Args& p_vecArgs)
{
    const int nCount = static_cast<int>(p_vecArgs.size());
    if (nCount < p_stSpec.nMinArgs)
        return formatText("%s needs %s", p_stSpec.szName, p_stSpec.szArgs);
    if (p_stSpec.nMaxArgs >= 0 && nCount > p_stSpec.nMaxArgs)
        return formatText("too many arguments for %s (usage: %s %s)", p_stSpec.szName,
                          p_stSpec.szName, p_stSpec.szArgs);
    return p_stSpec.pfnCheck != nullptr ? p_stSpec.pfnCheck(p_vecArgs) : "";
}
