#include "ServeMain.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

#include "ConsoleCapture.h"
#include "SensorServer.h"

int serveUntilSignal(const ServeConfig& p_stConfig, FILE* p_pOut, const std::string& p_strLog)
{
    // Blocked before the server's threads start, so that they inherit the
    // mask and only the waiting thread below takes the signals, at any time
    // (a signal handler could do almost nothing safely).
    sigset_t stStop;
    sigemptyset(&stStop);
    sigaddset(&stStop, SIGINT);
    sigaddset(&stStop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stStop, nullptr);
    SensorServer objServer(p_stConfig);
    std::thread objWaiter([&objServer, stStop] {
        int nSignal = 0;
        sigwait(&stStop, &nSignal);
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
    // The waiting thread ends either way.
    pthread_kill(objWaiter.native_handle(), SIGTERM);
    objWaiter.join();
    return strError.empty() ? 0 : 1;
}
