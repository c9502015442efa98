// The library's console (it prints to standard output) taken off the
// process's standard output: its lines go to a log file and, on request, to
// a stream for people; its failed-assertion reports are collected so that a
// front end can tell the user about each one.
#ifndef SENSORHOST_CONSOLE_CAPTURE_H
#define SENSORHOST_CONSOLE_CAPTURE_H

#include <stdio.h>

#include <string>
#include <vector>

namespace sensorhost {

// One failed assertion the library reported.
struct AssertReport {
    std::string m_strWhere;  // "file:SensorFile fun:keyValToFile line:97"
    std::string m_strCheck;  // the condition that failed
};

// One capture per process (it owns file descriptor 1); every function is
// safe to call from any thread.
class ConsoleCapture {
public:
    static ConsoleCapture& instance();

    // Moves standard output onto a pipe drained by a thread and returns a
    // stream on the original standard output (for the front end's answers).
    // Null when it cannot: then nothing was moved.
    FILE* start();
    // Puts standard output back and stops the thread; lines not yet written
    // are written first. The stream start() gave is closed.
    void stop();

    // Console lines go to this file from now on (truncated; ANSI colour
    // removed); lines seen earlier in the run are written first. "" or why
    // it cannot be opened. An empty path closes the log.
    std::string setLog(const std::string& p_strPath);
    const std::string& logPath() const { return m_strLogPath; }
    // Console lines are also written to p_pEcho (null: none), with their
    // colour codes only when p_bColour.
    void setEcho(FILE* p_pEcho, bool p_bColour);

    // Returns when every byte printed before the call has been handled.
    void sync();
    // Reports counted so far; reportsSince(mark) gives the ones after a mark.
    size_t reportCount();
    std::vector<AssertReport> reportsSince(size_t p_nMark);

    struct State;

private:
    ConsoleCapture();
    State* m_pState;
    std::string m_strLogPath;
};

// "SNS_SUCCESS == setVersion(m_nVersion) (file:... line:228)", one line for
// one report; for more, the first and how many others.
std::string summariseReports(const std::vector<AssertReport>& p_vecReports);

// The text without ANSI escape sequences.
std::string withoutColour(const std::string& p_strText);

}  // namespace sensorhost

#endif
