#include "SensorServer.h"

#include <httplib.h>

#include "JsonHttp.h"
#include "ServeContext.h"

namespace {

const size_t kMaxBodyBytes = 64 * 1024;
// Threads beyond the event streams, for the other requests.
const size_t kRequestThreads = 24;
// An idle kept-alive connection holds a thread; it is let go after this.
const time_t kKeepAliveSeconds = 2;
// Requests on one connection before the server closes it (httplib's default
// of 5 makes a busy page or script reconnect every few requests).
const size_t kKeepAliveRequests = 1000;

// The host part of a Host header: "127.0.0.1:8080" -> "127.0.0.1", "[::1]:80" -> "::1".
std::string hostName(const std::string& p_strHost)
{
    if (!p_strHost.empty() && p_strHost[0] == '[') return p_strHost.substr(1, p_strHost.find(']') - 1);
    return p_strHost.substr(0, p_strHost.find(':'));
}

std::string statusText(int p_nStatus)
{
    switch (p_nStatus) {
    case 400: return "the request is malformed (a POST, PUT or PATCH needs a Content-Length header, 0 for no body)";
    case 404: return "no such resource";
    case 405: return "method not allowed here";
    case 413: return "the request body is over 64 KiB";
    case 414: return "the request line is too long";
    default: return "the request failed (HTTP " + std::to_string(p_nStatus) + ")";
    }
}

}  // namespace

SensorServer::SensorServer(const ServeConfig& p_stConfig)
    : m_pContext(std::make_unique<ServeContext>(p_stConfig)), m_strToken(newRandomToken())
{
}

SensorServer::~SensorServer()
{
    stop();
    if (m_objWatcher.joinable()) m_objWatcher.join();
    closeChannels();
}

std::string SensorServer::url() const
{
    const std::string& strBind = m_pContext->m_stConfig.m_strBind;
    const bool bV6 = strBind.find(':') != std::string::npos;
    return "http://" + (bV6 ? "[" + strBind + "]" : strBind) + ":" + std::to_string(m_nPort) + "/";
}

size_t SensorServer::eventClients()
{
    return m_pContext->m_objHub.clientCount();
}

ISensorController& SensorServer::controller(int p_nChannel)
{
    return m_pContext->m_vecChannels.at(static_cast<size_t>(p_nChannel - 1))->ctrl();
}

std::string SensorServer::start()
{
    const ServeConfig& stConfig = m_pContext->m_stConfig;
    if (!stConfig.m_strAuthFile.empty()) {
        const std::string strError = m_objCredentials.load(stConfig.m_strAuthFile);
        if (!strError.empty()) return strError;
    }
    CallJournal* pJournal = stConfig.m_bSimulator ? &m_pContext->m_objJournal : nullptr;
    for (int nChannel = 1; nChannel <= stConfig.m_nChannels; ++nChannel) {
        m_pContext->m_vecChannels.push_back(std::make_unique<ServeChannel>(nChannel, m_pContext->m_objHub, pJournal));
        const std::string strError = m_pContext->m_vecChannels.back()->open(stConfig);
        if (!strError.empty()) {
            closeChannels();
            return "channel " + std::to_string(nChannel) + ": " + strError;
        }
    }

    {
        // stop() may come from another thread at any time.
        std::lock_guard<std::mutex> objLock(m_objWatchMutex);
        m_pHttp = std::make_unique<httplib::Server>();
    }
    const size_t nThreads = stConfig.m_nMaxEventClients + kRequestThreads;
    m_pHttp->new_task_queue = [nThreads] { return new httplib::ThreadPool(nThreads); };
    m_pHttp->set_payload_max_length(kMaxBodyBytes);
    m_pHttp->set_keep_alive_timeout(kKeepAliveSeconds);
    m_pHttp->set_keep_alive_max_count(kKeepAliveRequests);
    // Answers leave at once instead of waiting for the client's delayed acknowledgement.
    m_pHttp->set_tcp_nodelay(true);
    m_pHttp->set_pre_routing_handler([this](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        return admits(p_objReq, p_objRes) ? httplib::Server::HandlerResponse::Unhandled
                                          : httplib::Server::HandlerResponse::Handled;
    });
    m_pHttp->set_error_handler([](const httplib::Request&, httplib::Response& p_objRes) {
        if (p_objRes.body.empty()) sendError(p_objRes, p_objRes.status, statusText(p_objRes.status));
    });
    m_pHttp->set_exception_handler([](const httplib::Request&, httplib::Response& p_objRes, std::exception_ptr p_pError) {
        std::string strWhat = "unknown error";
        try {
            std::rethrow_exception(p_pError);
        } catch (const std::exception& objError) {
            strWhat = objError.what();
        } catch (...) {
        }
        sendError(p_objRes, 500, "the server failed: " + strWhat);
    });
    addChannelRoutes(*m_pHttp, *m_pContext);
    addParamRoutes(*m_pHttp, *m_pContext);
    addSchemeRoutes(*m_pHttp, *m_pContext);
    addSimRoutes(*m_pHttp, *m_pContext);
    addEventRoute(*m_pHttp, *m_pContext);
    addPageRoutes(*m_pHttp, stConfig.m_strWebDir.empty() ? findWebDir() : stConfig.m_strWebDir, m_strToken);

    m_nPort = stConfig.m_nPort == 0 ? m_pHttp->bind_to_any_port(stConfig.m_strBind)
                                    : (m_pHttp->bind_to_port(stConfig.m_strBind, stConfig.m_nPort) ? stConfig.m_nPort : -1);
    if (m_nPort < 0) {
        closeChannels();
        return "cannot listen on " + stConfig.m_strBind + " port " + std::to_string(stConfig.m_nPort) +
               " (in use, or not an address of this machine)";
    }
    m_objWatcher = std::thread([this] { watchSchemes(); });
    return "";
}

void SensorServer::run()
{
    bool bStopped = false;
    {
        std::lock_guard<std::mutex> objLock(m_objWatchMutex);
        bStopped = m_bStopping;
    }
    if (m_pHttp != nullptr && !bStopped) m_pHttp->listen_after_bind();
    stop();
    if (m_objWatcher.joinable()) m_objWatcher.join();
    closeChannels();
}

void SensorServer::stop()
{
    httplib::Server* pHttp = nullptr;
    {
        std::lock_guard<std::mutex> objLock(m_objWatchMutex);
        m_bStopping = true;
        pHttp = m_pHttp.get();
    }
    m_objWatchWake.notify_all();
    m_pContext->m_objHub.shutdown();
    if (pHttp != nullptr) pHttp->stop();
}

void SensorServer::closeChannels()
{
    for (auto& pChannel : m_pContext->m_vecChannels) pChannel->close();
}

bool SensorServer::admits(const httplib::Request& p_objReq, httplib::Response& p_objRes)
{
    // Without credentials only this machine may talk to the server; a page
    // of another site that renamed itself to 127.0.0.1 still sends its own host name.
    if (m_objCredentials.empty() && !isLoopbackAddress(hostName(p_objReq.get_header_value("Host")))) {
        sendError(p_objRes, 403, "this server answers requests for a loopback host name only");
        return false;
    }
    const AuthVerdict eVerdict =
        m_objCredentials.empty()
            ? AuthVerdict::kAccepted
            : m_objCredentials.check(p_objReq.get_header_value("Authorization"), p_objReq.method, p_objReq.target);
    if (eVerdict != AuthVerdict::kAccepted) {
        for (const std::string& strChallenge : m_objCredentials.challenges(eVerdict == AuthVerdict::kStaleNonce))
            p_objRes.headers.emplace("WWW-Authenticate", strChallenge);
        sendError(p_objRes, 401, "credentials needed (HTTP Basic or Digest)");
        return false;
    }
    if (p_objReq.method != "GET" && p_objReq.method != "HEAD" &&
        !equalConstantTime(p_objReq.get_header_value("X-Sensorctl-Token"), m_strToken)) {
        sendError(p_objRes, 403, "the X-Sensorctl-Token header is missing or wrong");
        return false;
    }
    return true;
}

// A switch by a sensor thread is seen within a fraction of its pass.
void SensorServer::watchSchemes()
{
    std::unique_lock<std::mutex> objLock(m_objWatchMutex);
    while (!m_objWatchWake.wait_for(objLock, m_pContext->m_stConfig.m_tPoll, [this] { return m_bStopping; })) {
        objLock.unlock();
        for (auto& pChannel : m_pContext->m_vecChannels) {
            std::lock_guard<std::mutex> objOps(pChannel->ops());
            pChannel->noticeSwitch();
        }
        if (m_pContext->m_stConfig.m_bSimulator) m_pContext->m_objJournal.drain();
        objLock.lock();
    }
}
