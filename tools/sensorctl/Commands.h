// The command table of sensorctl: names, usage, help, argument checks and
// handlers, shared by the command line and the shell.
#ifndef SENSORCTL_COMMANDS_H
#define SENSORCTL_COMMANDS_H

#include <stdio.h>

#include <string>
#include <vector>

class Session;

typedef std::vector<std::string> Args;

struct CommandSpec {
    const char* szName;
    const char* szArgs;     // argument synopsis, e.g. "KEY..."
    const char* szSummary;  // one line for the command list
    const char* szHelp;     // what `COMMAND --help` adds
    int nMinArgs;
    int nMaxArgs;      // -1: no limit
    bool bController;  // runs on an initialised controller
    bool bInShell;     // offered by the shell
    bool bRealPace;    // the library sleeps in real time unless --sleep-scale says otherwise
    // Checks the arguments before any controller exists: "" or the problem.
    std::string (*pfnCheck)(const Args& p_vecArgs);
    // Null session for commands without a controller. Null for check, which
    // takes the tool's options itself (runCheck) and never opens a session on the tree.
    int (*pfnRun)(Session* p_pSession, const Args& p_vecArgs);
};

const CommandSpec* findCommand(const std::string& p_strName);
// Every command, or only those the shell offers.
void printCommandList(FILE* p_pOut, bool p_bShellOnly = false);
void printCommandHelp(const CommandSpec& p_stSpec, FILE* p_pOut);
// "--help" or "-h" among the arguments.
bool wantsHelp(const Args& p_vecArgs);
// Argument count and the command's own check: "" or the usage problem.
std::string checkCommandArgs(const CommandSpec& p_stSpec, const Args& p_vecArgs);

#endif
