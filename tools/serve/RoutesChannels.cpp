// GET /api/info, /api/channels, /api/channels/C/style, /api/channels/C/ranges/KEY.
#include "JsonHttp.h"
#include "KeyArgs.h"
#include "ServeContext.h"

using nlohmann::json;

ServeContext::ServeContext(const ServeConfig& p_stConfig)
    : m_stConfig(p_stConfig), m_objHub(p_stConfig.m_nMaxEventClients, p_stConfig.m_tKeepAlive)
{
}

ServeChannel* ServeContext::channelOf(const httplib::Request& p_objReq, httplib::Response& p_objRes)
{
    long long nChannel = 0;
    if (p_objReq.matches.size() < 2 ||
        !sensorhost::parseNumber(p_objReq.matches[1].str(), 1, static_cast<long long>(m_vecChannels.size()),
                                 nChannel)) {
        sendError(p_objRes, 404,
                  "no channel " + (p_objReq.matches.size() < 2 ? std::string("?") : p_objReq.matches[1].str()) +
                      ": this server has channels 1 to " + std::to_string(m_vecChannels.size()));
        return nullptr;
    }
    return m_vecChannels[static_cast<size_t>(nChannel - 1)].get();
}

namespace {

void getInfo(ServeContext& p_objContext, httplib::Response& p_objRes)
{
    json objChannels = json::array();
    for (const auto& pChannel : p_objContext.m_vecChannels) objChannels.push_back(pChannel->channel());
    sendJson(p_objRes, 200,
             {{"simulator", p_objContext.m_stConfig.m_bSimulator},
              {"channels", objChannels},
              {"version", SNS_TOOL_VERSION}});
}

void getChannels(ServeContext& p_objContext, httplib::Response& p_objRes)
{
    json objChannels = json::array();
    for (const auto& pChannel : p_objContext.m_vecChannels) {
        std::lock_guard<std::mutex> objLock(pChannel->ops());
        objChannels.push_back(pChannel->describe());
    }
    sendJson(p_objRes, 200, {{"channels", objChannels}});
}

void getStyle(ServeChannel& p_objChannel, httplib::Response& p_objRes)
{
    std::string strError;
    const std::string strJson = p_objChannel.styleCache().get(
        p_objChannel.channel(), p_objChannel.ctrl().getUIStyleFile(), strError);
    if (!strError.empty()) return sendError(p_objRes, 500, strError);
    sendJsonText(p_objRes, 200, strJson);
}

void getRange(ServeChannel& p_objChannel, const std::string& p_strKey, httplib::Response& p_objRes)
{
    u32 nKey = 0;
    const std::string strError = sensorhost::parseKeyArg(p_strKey, nKey);
    if (!strError.empty()) return sendError(p_objRes, 404, strError, p_strKey);
    int nDefault = 0;
    std::string strRange;
    if (!p_objChannel.ctrl().getSensorParamRange(static_cast<int>(nKey), nDefault, strRange) || strRange.empty())
        return sendError(p_objRes, 404,
                         "the image-algorithm library reports no range for " + sensorhost::keyLabel(nKey), nKey);
    json objValues = json::array();
    for (size_t nPos = 0; nPos < strRange.size();) {
        size_t nEnd = strRange.find(' ', nPos);
        if (nEnd == std::string::npos) nEnd = strRange.size();
        if (nEnd > nPos) objValues.push_back(atoll(strRange.substr(nPos, nEnd - nPos).c_str()));
        nPos = nEnd + 1;
    }
    sendJson(p_objRes, 200, {{"key", nKey}, {"default", nDefault}, {"values", objValues}});
}

}  // namespace

void addChannelRoutes(httplib::Server& p_objServer, ServeContext& p_objContext)
{
    ServeContext* pContext = &p_objContext;
    p_objServer.Get("/api/info",
                    [pContext](const httplib::Request&, httplib::Response& p_objRes) { getInfo(*pContext, p_objRes); });
    p_objServer.Get("/api/channels", [pContext](const httplib::Request&, httplib::Response& p_objRes) {
        getChannels(*pContext, p_objRes);
    });
    p_objServer.Get(R"(/api/channels/([^/]+)/style)",
                    [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
                        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
                        if (pChannel != nullptr) getStyle(*pChannel, p_objRes);
                    });
    p_objServer.Get(R"(/api/channels/([^/]+)/ranges/([^/]+))",
                    [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
                        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
                        if (pChannel != nullptr) getRange(*pChannel, p_objReq.matches[2].str(), p_objRes);
                    });
}
