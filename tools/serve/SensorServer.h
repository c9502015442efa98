// `sensorctl serve`: one controller per channel behind an HTTP API with live
// events. start() opens the channels and binds; run() serves until stop().
#ifndef SERVE_SENSOR_SERVER_H
#define SERVE_SENSOR_SERVER_H

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ServeAuth.h"
#include "ServeConfig.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

class ISensorController;
struct ServeContext;

class SensorServer {
public:
    explicit SensorServer(const ServeConfig& p_stConfig);
    ~SensorServer();
    SensorServer(const SensorServer&) = delete;
    SensorServer& operator=(const SensorServer&) = delete;

    // Opens every channel (preflight, init, sensor thread) and binds the
    // address. "" or why not (then nothing is left running).
    std::string start();
    // Serves until stop(); then stops the scheme watcher and every
    // controller (uinit). Nothing is saved.
    void run();
    // Ends the event streams and the listening; run() returns. Any thread.
    void stop();

    int port() const { return m_nPort; }
    const std::string& token() const { return m_strToken; }
    std::string url() const;
    size_t eventClients();
    // The controller of a channel (1-based), for measuring beside the API.
    ISensorController& controller(int p_nChannel);

private:
    // The gate before every route: host name, credentials, page token.
    bool admits(const httplib::Request& p_objReq, httplib::Response& p_objRes);
    void watchSchemes();
    void closeChannels();

    std::unique_ptr<ServeContext> m_pContext;
    std::unique_ptr<httplib::Server> m_pHttp;
    Credentials m_objCredentials;
    const std::string m_strToken;
    int m_nPort = -1;
    std::thread m_objWatcher;
    std::mutex m_objWatchMutex;
    std::condition_variable m_objWatchWake;
    bool m_bStopping = false;
};

#endif
