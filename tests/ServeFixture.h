// `sensorctl serve` in the test's process: a server on a free loopback port
// over a scratch copy of the sample camera, and an HTTP client for it.
#ifndef SERVE_FIXTURE_H
#define SERVE_FIXTURE_H

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "FlashLayout.h"
#include "HostFlash.h"
#include "PlatformSim.h"
#include "SensorServer.h"

using nlohmann::json;

inline void writeFile(const std::string& p_strPath, const std::string& p_strText)
{
    std::filesystem::create_directories(std::filesystem::path(p_strPath).parent_path());
    std::ofstream(p_strPath, std::ios::binary) << p_strText;
}

class ServeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strDir = sensorhost::makeScratchDir("sensorctl-serve-test");
        ASSERT_FALSE(m_strDir.empty());
        ASSERT_EQ("", sensorhost::copyTree(sensorhost::findSampleFlash(), m_strDir + "/flash"));
        writeFile(m_strDir + "/web/index.html",
                  "<head><meta name=\"sensorctl-token\" content=\"\"></head><body>page</body>");
        writeFile(m_strDir + "/web/js/app.js", "export const x = 1;");
        // The sensor thread passes every 20 ms; the server looks every 5 ms.
        platformsim::setSleepScale(0.02);
        m_stConfig.m_strFlashDir = m_strDir + "/flash";
        m_stConfig.m_nPort = 0;
        m_stConfig.m_strWebDir = m_strDir + "/web";
        m_stConfig.m_tPoll = std::chrono::milliseconds(5);
    }
    void TearDown() override
    {
        stopServer();
        platformsim::clearWallClock();
        platformsim::setFlashRoot("");
        platformsim::setSleepScale(1);
        std::filesystem::remove_all(m_strDir);
    }

    void startServer()
    {
        m_pServer = std::make_unique<SensorServer>(m_stConfig);
        const std::string strError = m_pServer->start();
        ASSERT_EQ("", strError);
        m_objRun = std::thread([this] { m_pServer->run(); });
        m_pClient = newClient();
    }
    void stopServer()
    {
        if (m_pServer == nullptr) return;
        m_pServer->stop();
        if (m_objRun.joinable()) m_objRun.join();
        m_pServer.reset();
    }
    std::unique_ptr<httplib::Client> newClient() const
    {
        auto pClient = std::make_unique<httplib::Client>("127.0.0.1", m_pServer->port());
        pClient->set_read_timeout(10, 0);
        return pClient;
    }

    // The request with the page token (unless p_bToken is false); the
    // answer's status and JSON body.
    std::pair<int, json> send(const std::string& p_strMethod, const std::string& p_strPath,
                              const std::string& p_strBody = "", bool p_bToken = true)
    {
        httplib::Headers mapHeaders;
        if (p_bToken) mapHeaders.emplace("X-Sensorctl-Token", m_pServer->token());
        auto request = [&]() {
            if (p_strMethod == "GET") return m_pClient->Get(p_strPath, mapHeaders);
            if (p_strMethod == "POST") return m_pClient->Post(p_strPath, mapHeaders, p_strBody, "application/json");
            if (p_strMethod == "PUT") return m_pClient->Put(p_strPath, mapHeaders, p_strBody, "application/json");
            return m_pClient->Patch(p_strPath, mapHeaders, p_strBody, "application/json");
        };
        const httplib::Result objRes = request();
        if (!objRes) return {-1, json()};
        return {objRes->status, json::parse(objRes->body, nullptr, false)};
    }
    json ok(const std::string& p_strMethod, const std::string& p_strPath, const std::string& p_strBody = "")
    {
        const auto stAnswer = send(p_strMethod, p_strPath, p_strBody);
        EXPECT_EQ(200, stAnswer.first) << p_strMethod << " " << p_strPath << ": " << stAnswer.second.dump();
        return stAnswer.second;
    }
    // The value of a key in a params answer; -999 when it is absent.
    static long long valueIn(const json& p_objAnswer, int p_nKey)
    {
        for (const json& objParam : p_objAnswer["params"])
            if (objParam["key"] == p_nKey) return objParam["value"].get<long long>();
        return -999;
    }
    long long value(int p_nKey, int p_nChannel = 1)
    {
        return valueIn(ok("GET", "/api/channels/" + std::to_string(p_nChannel) + "/params"), p_nKey);
    }

    // Every file of the parameter file folder with its content.
    std::map<std::string, std::string> paramFiles() const
    {
        std::map<std::string, std::string> mapOut;
        const std::string strDir = m_strDir + "/flash" SNS_PATH_CONFIG_DIR;
        for (const auto& objEntry : std::filesystem::directory_iterator(strDir)) {
            std::ifstream objIn(objEntry.path(), std::ios::binary);
            mapOut[objEntry.path().filename().string()].assign(std::istreambuf_iterator<char>(objIn), {});
        }
        return mapOut;
    }

    std::string m_strDir;
    ServeConfig m_stConfig;
    std::unique_ptr<SensorServer> m_pServer;
    std::thread m_objRun;
    std::unique_ptr<httplib::Client> m_pClient;
};

#endif
