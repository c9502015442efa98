#include "ServeMain.h"

#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "ConsoleCapture.h"
#include "SensorServer.h"

namespace {

// SIGINT and SIGTERM only write a byte here (all a signal handler may do
// safely); a thread of ours reads it and stops the server.
int g_nSignalPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char cByte = 1;
    const ssize_t nWritten = write(g_nSignalPipe[1], &cByte, 1);
    (void)nWritten;
}

void handleStopSignals(void (*p_pfnHandler)(int))
{
    struct sigaction stAction = {};
    stAction.sa_handler = p_pfnHandler;
    stAction.sa_flags = SA_RESTART;
    sigemptyset(&stAction.sa_mask);
    sigaction(SIGINT, &stAction, nullptr);
    sigaction(SIGTERM, &stAction, nullptr);
}

}  // namespace

int serveUntilSignal(const ServeConfig& p_stConfig, FILE* p_pOut, const std::string& p_strLog)
{
    if (pipe(g_nSignalPipe) != 0) {
        fprintf(stderr, "sensorctl: serve: cannot make a pipe for the stop signals\n");
        return 1;
    }
    // Caught from the start, so that a signal during the start-up stops cleanly too.
    handleStopSignals(onStopSignal);
    SensorServer objServer(p_stConfig);
    std::thread objSignals([&objServer] {
        char cByte = 0;
        while (read(g_nSignalPipe[0], &cByte, 1) < 0 && errno == EINTR) {
        }
        objServer.stop();
    });
    const std::string strError = objServer.start();
    if (strError.empty()) {
        if (!p_strLog.empty()) {
            const std::string strLogError = sensorhost::ConsoleCapture::instance().setLog(p_strLog);
            if (!strLogError.empty())
                fprintf(stderr, "sensorctl: note: the library's console is not logged: %s\n", strLogError.c_str());
        }
        fprintf(p_pOut, "listening on %s\ntoken: %s\n", objServer.url().c_str(), objServer.token().c_str());
        fflush(p_pOut);
        objServer.run();
    } else {
        fprintf(stderr, "sensorctl: serve: %s\n", strError.c_str());
    }
    onStopSignal(0);  // the stop thread ends either way
    objSignals.join();
    handleStopSignals(SIG_DFL);
    close(g_nSignalPipe[0]);
    close(g_nSignalPipe[1]);
    return strError.empty() ? 0 : 1;
}
