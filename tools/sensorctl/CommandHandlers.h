// Handlers and argument checks of the commands (see Commands.cpp for the table).
#ifndef SENSORCTL_COMMAND_HANDLERS_H
#define SENSORCTL_COMMAND_HANDLERS_H

#include "Commands.h"
#include "ToolOptions.h"

// ParamCommands.cpp
int runShow(Session* p_pSession, const Args& p_vecArgs);
std::string checkKeys(const Args& p_vecArgs);
int runGet(Session* p_pSession, const Args& p_vecArgs);
std::string checkSet(const Args& p_vecArgs);
int runSet(Session* p_pSession, const Args& p_vecArgs);
int runRange(Session* p_pSession, const Args& p_vecArgs);

// SchemeCommands.cpp
std::string checkSchemeArg(const Args& p_vecArgs);
int runScheme(Session* p_pSession, const Args& p_vecArgs);
std::string checkModeArg(const Args& p_vecArgs);
int runMode(Session* p_pSession, const Args& p_vecArgs);
int runFlush(Session* p_pSession, const Args& p_vecArgs);
int runReset(Session* p_pSession, const Args& p_vecArgs);
// Makes a scheme current for the run (--scheme), automatic switching paused.
int selectSchemeForRun(Session& p_objSession, int p_nScheme);

// InfoCommands.cpp
int runStyle(Session* p_pSession, const Args& p_vecArgs);
int runVersion(Session* p_pSession, const Args& p_vecArgs);

// Decode.cpp, Demo.cpp, Shell.cpp
int runDecode(Session* p_pSession, const Args& p_vecArgs);
int runDemo(Session* p_pSession, const Args& p_vecArgs);
// Where the demo runs: a scratch copy of the sample camera unless --flash
// names a folder; a folder that already holds files only with --allow-reset.
// Returns "" or the refusal; p_strScratch gets the folder to remove afterwards.
std::string prepareDemoFlash(ToolOptions& p_stOptions, std::string& p_strScratch);
int runShell(Session* p_pSession, const Args& p_vecArgs);

// ServeCommand.cpp: serve runs on the tool's options, without a session
// (its table entry has no handler).
std::string checkServeArgs(const Args& p_vecArgs);
int runServe(const ToolOptions& p_stOptions);

#endif
