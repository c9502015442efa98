// Exit codes and message helpers shared by every part of sensorctl.
#ifndef SENSORCTL_TOOL_COMMON_H
#define SENSORCTL_TOOL_COMMON_H

#include <stdio.h>

#include <string>

enum ToolExit {
    EXIT_DONE = 0,    // the command did what was asked
    EXIT_FAILED = 1,  // the operation failed (library refusal, bad file, ...)
    EXIT_USAGE = 2    // the command line was wrong
};

// The command's answers go to standard output; the library's own console
// lines (it prints through stdout) are taken off it (to the log, or to
// standard error with --verbose), so that scripts read clean answers.
// Called once, first thing in main.
void separateLibraryOutput();
struct ToolOptions;
// With --verbose the library's console lines are shown on standard error too.
void echoLibraryOutput(const ToolOptions& p_stOptions);
// Where they are logged: --log FILE, else sensorctl.log in the flash folder.
std::string libraryLogPath(const ToolOptions& p_stOptions, const std::string& p_strFlashDir);
// Where the tool writes its answers.
FILE* toolOut();
void toolPrint(const char* p_szFmt, ...) __attribute__((format(printf, 1, 2)));

// "sensorctl: <message>" on standard error.
void toolError(const char* p_szFmt, ...) __attribute__((format(printf, 1, 2)));
// A note for the user on standard error, so that standard output stays the
// command's answer.
void toolNote(const char* p_szFmt, ...) __attribute__((format(printf, 1, 2)));

std::string formatText(const char* p_szFmt, ...) __attribute__((format(printf, 1, 2)));

#endif
