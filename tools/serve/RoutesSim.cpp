// The simulator's clock and day/night state, and the image-algorithm calls
// of a channel: PC kit only, 404 on a real image-algorithm library.
#include <limits.h>
#include <stdio.h>

#include "IaInterface.h"
#include "IaSim.h"
#include "JsonHttp.h"
#include "KeyArgs.h"
#include "PKDeviceTime.h"
#include "PlatformSim.h"
#include "ServeContext.h"

using nlohmann::json;

namespace {

std::string optionName(int p_nOption)
{
    switch (p_nOption) {
    case -1: return "notify";
    case IA_CMD_OPT_SET: return "set";
    case IA_CMD_OPT_GET: return "get";
    case IA_CMD_OPT_GET_PARAM_RNAGE: return "range";
    case IA_CMD_OPT_CORRECT_PARAM: return "correct";
    case IA_CMD_OPT_EXEC_STATUS: return "status";
    default: return "option " + std::to_string(p_nOption);
    }
}

json simState(ServeContext& p_objContext)
{
    const PKDateTime stNow = PKDeviceTime::getCurrentTime();
    char szTime[16];
    snprintf(szTime, sizeof(szTime), "%02u:%02u", stNow.hour, stNow.minute);
    uint32_t nNight = 0;
    iasim::getValue(0, IA_CMD_DN_STATE, nNight);
    return {{"time", szTime},
            {"real_time", p_objContext.m_bRealClock.load()},
            {"daynight", nNight != 0 ? "night" : "day"}};
}

void setClock(ServeContext& p_objContext, const httplib::Request& p_objReq, httplib::Response& p_objRes)
{
    json objBody;
    if (!parseObjectBody(p_objReq, p_objRes, objBody)) return;
    const json objTime = objBody.value("time", json());
    const std::string strTime = objTime.is_string() ? objTime.get<std::string>() : "";
    long long nHour = 0, nMinute = 0;
    if (strTime == "real") {
        platformsim::clearWallClock();
        p_objContext.m_bRealClock = true;
    } else if (parseClockText(strTime, nHour, nMinute)) {
        platformsim::setWallClock(static_cast<int>(nHour), static_cast<int>(nMinute));
        p_objContext.m_bRealClock = false;
    } else {
        return sendError(p_objRes, 422, "time must be \"HH:MM\" (hours 0-23, minutes 0-59) or \"real\"", "time");
    }
    sendJson(p_objRes, 200, simState(p_objContext));
}

// Every channel sees the same sky.
void setDayNight(ServeContext& p_objContext, const httplib::Request& p_objReq, httplib::Response& p_objRes)
{
    json objBody;
    if (!parseObjectBody(p_objReq, p_objRes, objBody)) return;
    const json objState = objBody.value("state", json());
    if (objState != "day" && objState != "night")
        return sendError(p_objRes, 422, "state must be \"day\" or \"night\"", "state");
    for (const auto& pChannel : p_objContext.m_vecChannels)
        iasim::setValue(pChannel->channel() - 1, IA_CMD_DN_STATE, objState == "night" ? 1 : 0);
    sendJson(p_objRes, 200, simState(p_objContext));
}

void getCalls(ServeContext& p_objContext, ServeChannel& p_objChannel, const httplib::Request& p_objReq,
              httplib::Response& p_objRes)
{
    long long nSince = 0;
    if (p_objReq.has_param("since") &&
        !sensorhost::parseNumber(p_objReq.get_param_value("since"), 0, LLONG_MAX, nSince))
        return sendError(p_objRes, 422, "since must be an entry id (a number from 0)", "since");
    long long nNext = 0;
    json objCalls = json::array();
    for (const JournalEntry& stEntry : p_objContext.m_objJournal.since(p_objChannel.channel(), nSince, nNext))
        objCalls.push_back({{"id", stEntry.m_nId},
                            {"kind", stEntry.m_bNotify ? "notify" : "ia"},
                            {"cmd", stEntry.m_nCode},
                            {"option", optionName(stEntry.m_nOption)},
                            {"value", stEntry.m_nValue}});
    sendJson(p_objRes, 200, {{"calls", objCalls}, {"next", nNext}});
}

}  // namespace

void addSimRoutes(httplib::Server& p_objServer, ServeContext& p_objContext)
{
    ServeContext* pContext = &p_objContext;
    // Registered either way, so that a real library answers 404 in JSON like every other refusal.
    auto simOnly = [pContext](httplib::Response& p_objRes) {
        if (!pContext->m_stConfig.m_bSimulator)
            sendError(p_objRes, 404, "this server drives a real image-algorithm library: no simulator to control");
        return pContext->m_stConfig.m_bSimulator;
    };
    p_objServer.Get("/api/sim", [pContext, simOnly](const httplib::Request&, httplib::Response& p_objRes) {
        if (simOnly(p_objRes)) sendJson(p_objRes, 200, simState(*pContext));
    });
    p_objServer.Post("/api/sim/clock", [pContext, simOnly](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        if (simOnly(p_objRes)) setClock(*pContext, p_objReq, p_objRes);
    });
    p_objServer.Post("/api/sim/daynight",
                     [pContext, simOnly](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
                         if (simOnly(p_objRes)) setDayNight(*pContext, p_objReq, p_objRes);
                     });
    p_objServer.Get(R"(/api/channels/([^/]+)/calls)",
                    [pContext, simOnly](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
                        if (!simOnly(p_objRes)) return;
                        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
                        if (pChannel != nullptr) getCalls(*pContext, *pChannel, p_objReq, p_objRes);
                    });
}
