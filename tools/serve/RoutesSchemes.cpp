// POST /api/channels/C/schemes/N, /save, /reset and PUT /api/channels/C/mode.
#include "JsonHttp.h"
#include "KeyArgs.h"
#include "SensorKeys.h"
#include "SensorLib.h"
#include "ServeContext.h"

using nlohmann::json;

namespace {

const char kResetConfirmation[] = "factory-reset";
const long long kLastMode = 2;  // 0 none, 1 by time window, 2 by day/night state

void switchScheme(ServeChannel& p_objChannel, const std::string& p_strScheme,
                  httplib::Response& p_objRes)
{
    const int nCount = p_objChannel.host().schemeCount();
    long long nScheme = 0;
    if (!sensorhost::parseNumber(p_strScheme, 0, nCount, nScheme))
        return sendError(p_objRes, 422,
                         "no scheme " + p_strScheme + ": user schemes 0 to " + std::to_string(nCount - 1) +
                             ", factory scheme " + std::to_string(nCount),
                         nullptr, {{"min", 0}, {"max", nCount}});
    std::lock_guard<std::mutex> objLock(p_objChannel.ops());
    if (!p_objChannel.ctrl().setParamScheme(static_cast<int>(nScheme)))
        return sendError(p_objRes, 500, "the library refused to switch to scheme " + p_strScheme);
    p_objChannel.publishChanges("host", "host");
    sendJson(p_objRes, 200,
             {{"channel", p_objChannel.channel()}, {"current_scheme", p_objChannel.host().currentScheme()}});
}

void save(ServeContext& p_objContext, ServeChannel& p_objChannel, httplib::Response& p_objRes)
{
    std::lock_guard<std::mutex> objLock(p_objChannel.ops());
    const sensorhost::SaveResult stResult = p_objChannel.host().saveCurrentScheme();
    if (!stResult.ok())
        return sendJson(p_objRes, 500,
                        {{"saved", false}, {"scheme", stResult.m_nScheme}, {"error", "not saved: " + stResult.m_strFailure}});
    if (!stResult.m_bWritten)
        return sendJson(p_objRes, 422,
                        {{"saved", false},
                         {"scheme", stResult.m_nScheme},
                         {"error", "not saved: the factory scheme has no parameter file; make a user scheme current"}});
    p_objContext.m_objHub.publish("saved", {{"channel", p_objChannel.channel()}, {"scheme", stResult.m_nScheme}});
    sendJson(p_objRes, 200, {{"saved", true}, {"scheme", stResult.m_nScheme}});
}

void reset(ServeContext& p_objContext, ServeChannel& p_objChannel, const httplib::Request& p_objReq,
           httplib::Response& p_objRes)
{
    json objBody;
    if (!parseObjectBody(p_objReq, p_objRes, objBody)) return;
    if (objBody.value("confirm", json()) != kResetConfirmation)
        return sendError(p_objRes, 422,
                         std::string("a factory reset replaces every saved scheme of the channel: send {\"confirm\": \"") +
                             kResetConfirmation + "\"}");
    std::lock_guard<std::mutex> objLock(p_objChannel.ops());
    // The reset applies every value again: one "reset" event says it all.
    p_objChannel.video().setQuiet(true);
    const sensorhost::SaveResult stResult = p_objChannel.host().factoryReset();
    p_objChannel.video().setQuiet(false);
    p_objChannel.forgetChanges();
    p_objContext.m_objHub.publish("reset", {{"channel", p_objChannel.channel()}});
    if (!stResult.ok())
        return sendJson(p_objRes, 500, {{"reset", false}, {"error", "not reset: " + stResult.m_strFailure}});
    sendJson(p_objRes, 200, {{"reset", true}});
}

bool parseClock(const json& p_objText, long long& p_nHour, long long& p_nMinute)
{
    return p_objText.is_string() && parseClockText(p_objText.get<std::string>(), p_nHour, p_nMinute);
}

// The mode and window keys the request asks for; answers 422 and returns
// false when it cannot be done.
bool modeChanges(ServeChannel& p_objChannel, const json& p_objBody, std::vector<KeyVal>& p_vecOut,
                 httplib::Response& p_objRes)
{
    const int nCurrent = p_objChannel.host().currentScheme();
    const json objDescribed = p_objChannel.describe();
    long long nMode = 0;
    if (!asInt(p_objBody.value("mode", json()), 0, kLastMode, nMode)) {
        sendError(p_objRes, 422, "mode must be 0 (no switching), 1 (by time window) or 2 (by day/night state)",
                  "mode", {{"values", {0, 1, 2}}});
        return false;
    }
    // The library keeps the mode in scheme 0; the other schemes carry a copy.
    if (nMode != objDescribed["scheme_mode"].get<long long>()) {
        if (nCurrent != 0) {
            sendError(p_objRes, 422,
                      "the scheme mode is kept in scheme 0: make scheme 0 current first", "mode");
            return false;
        }
        p_vecOut.push_back(KeyVal{KEY_SCHEME_MODE, static_cast<u32>(nMode)});
    }
    for (const json& objWindow : p_objBody.value("windows", json::array())) {
        long long nScheme = 0, nStartH = 0, nStartM = 0, nEndH = 0, nEndM = 0;
        if (!objWindow.is_object() || !asInt(objWindow.value("scheme", json()), 0, p_objChannel.host().schemeCount() - 1, nScheme) ||
            !parseClock(objWindow.value("start", json()), nStartH, nStartM) ||
            !parseClock(objWindow.value("end", json()), nEndH, nEndM)) {
            sendError(p_objRes, 422,
                      "each window needs a user scheme (0 to " + std::to_string(p_objChannel.host().schemeCount() - 1) +
                          ") and start and end times HH:MM (hours 0-23, minutes 0-59)",
                      "windows");
            return false;
        }
        const json& objNow = objDescribed["windows"][static_cast<size_t>(nScheme)];
        if (objNow["start"] == objWindow["start"] && objNow["end"] == objWindow["end"]) continue;
        if (nStartH * 100 + nStartM >= nEndH * 100 + nEndM) {
            sendError(p_objRes, 422, "the window of scheme " + std::to_string(nScheme) + " must start before it ends",
                      "windows");
            return false;
        }
        // Only the current scheme's values can be changed and saved.
        if (nScheme != nCurrent) {
            sendError(p_objRes, 422,
                      "the window of scheme " + std::to_string(nScheme) + " can only be changed while it is current: make scheme " +
                          std::to_string(nScheme) + " current first",
                      "windows");
            return false;
        }
        const u32 vecKeys[] = {KEY_SCHEME_START_HOUR, KEY_SCHEME_START_MIN, KEY_SCHEME_END_HOUR, KEY_SCHEME_END_MIN};
        const long long vecValues[] = {nStartH, nStartM, nEndH, nEndM};
        for (int i = 0; i < 4; ++i) p_vecOut.push_back(KeyVal{vecKeys[i], static_cast<u32>(vecValues[i])});
    }
    return true;
}

void putMode(ServeChannel& p_objChannel, const httplib::Request& p_objReq, httplib::Response& p_objRes)
{
    json objBody;
    if (!parseObjectBody(p_objReq, p_objRes, objBody)) return;
    std::lock_guard<std::mutex> objLock(p_objChannel.ops());
    std::vector<KeyVal> vecChanges;
    if (!modeChanges(p_objChannel, objBody, vecChanges, p_objRes)) return;
    if (!vecChanges.empty()) {
        std::string strText;
        keyval_st2str(strText, vecChanges.data(), static_cast<u32>(vecChanges.size()));
        const int nResult = p_objChannel.ctrl().setParameters(strText, true);
        p_objChannel.publishChanges("host", "host");
        if (nResult != 0)
            return sendError(p_objRes, 500, "the library stopped at " + sensorhost::keyLabel(static_cast<u32>(-nResult)),
                             -nResult);
    }
    sendJson(p_objRes, 200, p_objChannel.describe());
}

}  // namespace

void addSchemeRoutes(httplib::Server& p_objServer, ServeContext& p_objContext)
{
    ServeContext* pContext = &p_objContext;
    p_objServer.Post(R"(/api/channels/([^/]+)/schemes/([^/]+))",
                     [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
                         ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
                         if (pChannel != nullptr) switchScheme(*pChannel, p_objReq.matches[2].str(), p_objRes);
                     });
    p_objServer.Post(R"(/api/channels/([^/]+)/save)", [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
        if (pChannel != nullptr) save(*pContext, *pChannel, p_objRes);
    });
    p_objServer.Post(R"(/api/channels/([^/]+)/reset)", [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
        if (pChannel != nullptr) reset(*pContext, *pChannel, p_objReq, p_objRes);
    });
    p_objServer.Put(R"(/api/channels/([^/]+)/mode)", [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
        if (pChannel != nullptr) putMode(*pChannel, p_objReq, p_objRes);
    });
}
