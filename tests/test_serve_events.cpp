// Live events of `sensorctl serve`, its behaviour under many clients, and
// its clean stop on SIGTERM.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <random>

#include "ServeFixture.h"

extern char** environ;

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// One SSE client on its own thread, keeping every event it received.
class EventListener {
public:
    explicit EventListener(int p_nPort)
        : m_objThread([this, p_nPort] {
              httplib::Client objClient("127.0.0.1", p_nPort);
              objClient.Get("/api/events", [this](const char* p_pData, size_t p_nLen) {
                  std::lock_guard<std::mutex> objLock(m_objMutex);
                  m_strText.append(p_pData, p_nLen);
                  m_objChanged.notify_all();
                  return !m_bStop.load();
              });
          })
    {
    }
    ~EventListener()
    {
        m_bStop = true;
        m_objThread.join();
    }
    // The data of every event NAME received so far.
    std::vector<json> events(const std::string& p_strName)
    {
        std::lock_guard<std::mutex> objLock(m_objMutex);
        std::vector<json> vecOut;
        const std::string strHead = "event: " + p_strName + "\ndata: ";
        for (size_t nAt = m_strText.find(strHead); nAt != std::string::npos; nAt = m_strText.find(strHead, nAt + 1)) {
            const size_t nData = nAt + strHead.size();
            vecOut.push_back(json::parse(m_strText.substr(nData, m_strText.find('\n', nData) - nData)));
        }
        return vecOut;
    }
    // Waits until an event NAME whose data holds every field of p_objFields arrived.
    bool waitFor(const std::string& p_strName, const json& p_objFields, milliseconds p_tLimit = milliseconds(5000))
    {
        const auto tEnd = steady_clock::now() + p_tLimit;
        while (steady_clock::now() < tEnd) {
            for (const json& objEvent : events(p_strName)) {
                bool bAll = true;
                for (const auto& objField : p_objFields.items()) bAll &= objEvent.value(objField.key(), json()) == objField.value();
                if (bAll) return true;
            }
            std::unique_lock<std::mutex> objLock(m_objMutex);
            m_objChanged.wait_for(objLock, milliseconds(20));
        }
        return false;
    }

private:
    std::mutex m_objMutex;
    std::condition_variable m_objChanged;
    std::string m_strText;
    std::atomic<bool> m_bStop{false};
    std::thread m_objThread;
};

class ServeEventsTest : public ServeTest {
protected:
    void SetUp() override
    {
        ServeTest::SetUp();
        // Short keep-alive comments let a listener notice that it should stop.
        m_stConfig.m_tKeepAlive = milliseconds(50);
    }
    std::vector<std::unique_ptr<EventListener>> listen(size_t p_nCount)
    {
        std::vector<std::unique_ptr<EventListener>> vecOut;
        for (size_t i = 0; i < p_nCount; ++i) vecOut.push_back(std::make_unique<EventListener>(m_pServer->port()));
        const auto tEnd = steady_clock::now() + milliseconds(10000);
        while (m_pServer->eventClients() < p_nCount && steady_clock::now() < tEnd)
            std::this_thread::sleep_for(milliseconds(5));
        EXPECT_EQ(p_nCount, m_pServer->eventClients());
        return vecOut;
    }
};

TEST_F(ServeEventsTest, HostChangesReachEveryClient)
{
    startServer();
    auto vecListeners = listen(3);
    ok("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 64})");
    ok("POST", "/api/channels/1/schemes/1");
    ok("POST", "/api/channels/1/save");
    for (auto& pListener : vecListeners) {
        EXPECT_TRUE(pListener->waitFor("param", {{"channel", 1}, {"key", 34}, {"value", 64}, {"source", "host"}}));
        EXPECT_TRUE(pListener->waitFor("scheme", {{"channel", 1}, {"from", 0}, {"to", 1}, {"reason", "host"}}));
        EXPECT_TRUE(pListener->waitFor("saved", {{"channel", 1}, {"scheme", 1}}));
    }
    // Scheme 1 holds the factory brightness: the switch brought it back.
    EXPECT_TRUE(vecListeners[0]->waitFor("param", {{"key", 34}, {"value", 50}, {"source", "host"}}));
    ok("POST", "/api/channels/1/reset", R"({"confirm": "factory-reset"})");
    EXPECT_TRUE(vecListeners[0]->waitFor("reset", {{"channel", 1}}));
    // A notification travels as its own event.
    ok("PATCH", "/api/channels/1/params", R"({"KEY_MIRROR": 2})");
    EXPECT_TRUE(vecListeners[0]->waitFor("notify", {{"channel", 1}, {"key", 2384}, {"value", 2}}));
}

TEST_F(ServeEventsTest, SensorThreadSwitchByTimeWindowReachesClients)
{
    startServer();
    ok("POST", "/api/sim/clock", R"({"time": "05:00"})");
    ok("POST", "/api/channels/1/schemes/1");
    ok("PUT", "/api/channels/1/mode", R"({"mode": 0, "windows": [{"scheme": 1, "start": "10:00", "end": "14:00"}]})");
    ok("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 80})");
    ok("POST", "/api/channels/1/schemes/0");
    ok("PUT", "/api/channels/1/mode", R"({"mode": 1, "windows": [{"scheme": 0, "start": "00:00", "end": "01:00"}]})");
    // At 05:00 no window matches (schemes 2 and 3 keep 06:00-18:00): scheme 0 stays.
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(0, ok("GET", "/api/channels")["channels"][0]["current_scheme"]);

    auto vecListeners = listen(2);
    ok("POST", "/api/sim/clock", R"({"time": "12:00"})");
    for (auto& pListener : vecListeners) {
        EXPECT_TRUE(pListener->waitFor("scheme", {{"from", 0}, {"to", 1}, {"reason", "time window"}}));
        EXPECT_TRUE(pListener->waitFor("param", {{"key", 34}, {"value", 80}, {"source", "sensor thread"}}));
    }
    ok("POST", "/api/sim/clock", R"({"time": "20:00"})");
    EXPECT_TRUE(vecListeners[0]->waitFor("scheme", {{"from", 1}, {"to", 0}, {"reason", "time window"}}));
    EXPECT_TRUE(vecListeners[0]->waitFor("param", {{"key", 34}, {"value", 50}, {"source", "sensor thread"}}));
}

int envNumber(const char* p_szName, int p_nDefault)
{
    const char* szValue = getenv(p_szName);
    return szValue != nullptr && atoi(szValue) > 0 ? atoi(szValue) : p_nDefault;
}

// Event clients and writers at once on two channels; the stress script runs
// it with 50 clients and 8 writers for 30 s.
TEST_F(ServeEventsTest, ManyClientsAndWritersLeaveWholeFilesEqualToTheLastSave)
{
    const int nSeconds = envNumber("SNS_SERVE_LOAD_SECONDS", 2);
    const size_t nClients = static_cast<size_t>(envNumber("SNS_SERVE_LOAD_CLIENTS", 6));
    const int nWriters = envNumber("SNS_SERVE_LOAD_WRITERS", 2);
    m_stConfig.m_nChannels = 2;
    startServer();
    const std::map<std::string, std::string> mapBefore = paramFiles();
    auto vecListeners = listen(nClients);

    const auto tEnd = steady_clock::now() + std::chrono::seconds(nSeconds);
    std::atomic<int> nFailures{0};
    std::vector<std::thread> vecWriters;
    for (int w = 0; w < nWriters; ++w)
        vecWriters.emplace_back([&, w] {
            auto pClient = newClient();
            const httplib::Headers mapToken = {{"X-Sensorctl-Token", m_pServer->token()}};
            const std::string strChannel = "/api/channels/" + std::to_string(w % 2 + 1);
            std::mt19937 objRandom(static_cast<unsigned>(w));
            for (int i = 0; steady_clock::now() < tEnd || i % 4 != 0; ++i) {
                const json objBody = {{"KEY_BRIGHTNESS", objRandom() % 101}, {"KEY_SATURATION", objRandom() % 101}};
                const httplib::Result objRes =
                    i % 4 == 3 ? pClient->Post(strChannel + "/save", mapToken, "", "application/json")
                               : pClient->Patch(strChannel + "/params", mapToken, objBody.dump(), "application/json");
                if (!objRes || objRes->status != 200) ++nFailures;
                if (i % 8 == 5 && pClient->Get(strChannel + "/style")->status != 200) ++nFailures;
            }
        });
    for (std::thread& objWriter : vecWriters) objWriter.join();
    EXPECT_EQ(0, nFailures.load());
    EXPECT_EQ(nClients, m_pServer->eventClients()) << "a client fell behind and was dropped";
    for (auto& pListener : vecListeners) EXPECT_FALSE(pListener->events("param").empty());

    // Every writer saved last: what is in force is what the files hold.
    const json objChannels = ok("GET", "/api/channels");
    for (const json& objChannel : objChannels["channels"]) EXPECT_EQ(false, objChannel["dirty"]);
    const std::map<std::string, std::string> mapAfter = paramFiles();
    for (const auto& objFile : mapBefore) {
        if (objFile.first.find("_0.cfg") != std::string::npos) {
            // Whole records, in the order the factory set gives them.
            const std::string& strSaved = mapAfter.at(objFile.first);
            ASSERT_EQ(objFile.second.size(), strSaved.size()) << objFile.first;
            for (size_t i = 0; i < strSaved.size(); i += 8)
                EXPECT_EQ(objFile.second.substr(i, 4), strSaved.substr(i, 4)) << objFile.first << " record " << i / 8;
        } else {
            EXPECT_EQ(objFile.second, mapAfter.at(objFile.first)) << objFile.first;
        }
    }
}

#ifdef SNS_SENSORCTL_PATH

// Reads one line of the child's output; "" at its end.
std::string readLine(FILE* p_pIn)
{
    char szLine[512];
    return fgets(szLine, sizeof(szLine), p_pIn) != nullptr ? std::string(szLine) : std::string();
}

TEST_F(ServeEventsTest, SigtermStopsEveryControllerAndLeavesTheFilesAsSaved)
{
    int nPipe[2];
    ASSERT_EQ(0, pipe(nPipe));
    posix_spawn_file_actions_t stActions;
    posix_spawn_file_actions_init(&stActions);
    posix_spawn_file_actions_adddup2(&stActions, nPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&stActions, nPipe[0]);
    const std::string strFlash = m_stConfig.m_strFlashDir;
    const char* const szArgs[] = {SNS_SENSORCTL_PATH, "--flash", strFlash.c_str(), "serve", "--port", "0", "--channels", "2", nullptr};
    pid_t nPid = 0;
    ASSERT_EQ(0, posix_spawn(&nPid, SNS_SENSORCTL_PATH, &stActions, nullptr, const_cast<char* const*>(szArgs), environ));
    posix_spawn_file_actions_destroy(&stActions);
    close(nPipe[1]);
    FILE* pOut = fdopen(nPipe[0], "r");
    const std::string strListening = readLine(pOut);
    const std::string strToken = readLine(pOut);
    ASSERT_EQ(0u, strListening.find("listening on http://127.0.0.1:")) << strListening;
    ASSERT_EQ(0u, strToken.find("token: "));
    const int nPort = atoi(strListening.c_str() + strlen("listening on http://127.0.0.1:"));
    httplib::Client objClient("127.0.0.1", nPort);
    const httplib::Headers mapToken = {{"X-Sensorctl-Token", strToken.substr(7, 32)}};
    EXPECT_EQ(200, objClient.Patch("/api/channels/2/params", mapToken, R"({"KEY_BRIGHTNESS": 90})", "application/json")->status);
    EXPECT_EQ(200, objClient.Post("/api/channels/2/save", mapToken, "", "application/json")->status);
    // Not saved, and nothing saves it behind the user's back.
    EXPECT_EQ(200, objClient.Patch("/api/channels/2/params", mapToken, R"({"KEY_BRIGHTNESS": 10})", "application/json")->status);
    const std::map<std::string, std::string> mapSaved = paramFiles();

    const auto tStart = steady_clock::now();
    kill(nPid, SIGTERM);
    int nStatus = -1;
    while (waitpid(nPid, &nStatus, WNOHANG) == 0 && steady_clock::now() - tStart < std::chrono::seconds(20))
        std::this_thread::sleep_for(milliseconds(20));
    fclose(pOut);
    if (waitpid(nPid, &nStatus, WNOHANG) == 0) {
        kill(nPid, SIGKILL);  // no server left behind
        waitpid(nPid, &nStatus, 0);
        FAIL() << "sensorctl serve did not stop within 20 s of SIGTERM";
    }
    ASSERT_TRUE(WIFEXITED(nStatus)) << "killed by signal " << WTERMSIG(nStatus);
    EXPECT_EQ(0, WEXITSTATUS(nStatus));
    EXPECT_EQ(mapSaved, paramFiles());
}

#endif

}  // namespace
