// What `sensorctl serve` is asked to do:
//   sensorctl [--flash DIR] serve [--flash DIR] [--channels N] [--bind ADDR] [--port P] [--auth FILE]
#ifndef SERVE_CONFIG_H
#define SERVE_CONFIG_H

#include <chrono>
#include <string>
#include <vector>

struct ServeConfig {
    std::string m_strFlashDir = "./flash";
    int m_nChannels = 1;
    std::string m_strBind = "127.0.0.1";
    int m_nPort = 8080;               // 0: a free port
    std::string m_strAuthFile;        // "": no credentials asked (loopback only)
    std::string m_strWebDir;          // "": the page's folder found by findWebDir()
    bool m_bLossAccepted = false;     // start even where saved schemes would be lost
    bool m_bSimulator = true;         // offer the simulator's endpoints
    // How often the server looks for scheme switches of the sensor threads.
    std::chrono::milliseconds m_tPoll{200};
    std::chrono::milliseconds m_tKeepAlive{15000};  // SSE comment when nothing happens
    size_t m_nMaxEventClients = 64;
};

const int kMaxServeChannels = 8;  // channels of the simulated image-algorithm library

// The arguments after "serve"; "" or the usage problem.
std::string parseServeArgs(const std::vector<std::string>& p_vecArgs, ServeConfig& p_stOut);

// An address that only this machine can reach (127.0.0.0/8, ::1, localhost).
bool isLoopbackAddress(const std::string& p_strAddress);

// The page's folder: the source tree's tools/web, else the installed copy; "" when none.
std::string findWebDir();

#endif
