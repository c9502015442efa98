#include "JsonHttp.h"

#include "KeyArgs.h"

using nlohmann::json;

void sendJsonText(httplib::Response& p_objRes, int p_nStatus, const std::string& p_strBody)
{
    p_objRes.status = p_nStatus;
    p_objRes.set_content(p_strBody, "application/json");
}

void sendJson(httplib::Response& p_objRes, int p_nStatus, const json& p_objBody)
{
    // Texts from files (names in the style) may hold invalid UTF-8: replaced, not thrown.
    sendJsonText(p_objRes, p_nStatus, p_objBody.dump(-1, ' ', false, json::error_handler_t::replace));
}

void sendError(httplib::Response& p_objRes, int p_nStatus, const std::string& p_strText,
               const json& p_objKey, const json& p_objAllowed)
{
    json objBody = {{"error", p_strText}, {"key", p_objKey}};
    if (!p_objAllowed.is_null()) objBody["allowed"] = p_objAllowed;
    sendJson(p_objRes, p_nStatus, objBody);
}

namespace {

template <class Json>
bool parseObject(const httplib::Request& p_objReq, httplib::Response& p_objRes, Json& p_objOut)
{
    p_objOut = Json::parse(p_objReq.body, nullptr, false);
    if (p_objOut.is_discarded()) {
        sendError(p_objRes, 400, "the request body is not JSON");
        return false;
    }
    if (!p_objOut.is_object()) {
        sendError(p_objRes, 400, "the request body must be a JSON object");
        return false;
    }
    return true;
}

}  // namespace

bool parseObjectBody(const httplib::Request& p_objReq, httplib::Response& p_objRes, json& p_objOut)
{
    return parseObject(p_objReq, p_objRes, p_objOut);
}

bool parseObjectBody(const httplib::Request& p_objReq, httplib::Response& p_objRes,
                     nlohmann::ordered_json& p_objOut)
{
    return parseObject(p_objReq, p_objRes, p_objOut);
}

bool parseClockText(const std::string& p_strText, long long& p_nHour, long long& p_nMinute)
{
    return p_strText.size() == 5 && p_strText[2] == ':' &&
           sensorhost::parseNumber(p_strText.substr(0, 2), 0, 23, p_nHour) &&
           sensorhost::parseNumber(p_strText.substr(3), 0, 59, p_nMinute);
}
