// JSON answers and request bodies of the HTTP API.
#ifndef SERVE_JSON_HTTP_H
#define SERVE_JSON_HTTP_H

#include <string>

#include <httplib.h>
#include <nlohmann/json.hpp>

// Answers with the JSON text and status.
void sendJson(httplib::Response& p_objRes, int p_nStatus, const nlohmann::json& p_objBody);
void sendJsonText(httplib::Response& p_objRes, int p_nStatus, const std::string& p_strBody);
// {"error": TEXT, "key": KEY} (plus "allowed" when given).
void sendError(httplib::Response& p_objRes, int p_nStatus, const std::string& p_strText,
               const nlohmann::json& p_objKey = nullptr,
               const nlohmann::json& p_objAllowed = nullptr);

// The request body as a JSON object (members sorted, or in the request's
// order); otherwise answers 400 and returns false.
bool parseObjectBody(const httplib::Request& p_objReq, httplib::Response& p_objRes,
                     nlohmann::json& p_objOut);
bool parseObjectBody(const httplib::Request& p_objReq, httplib::Response& p_objRes,
                     nlohmann::ordered_json& p_objOut);

// A JSON integer in [p_nLow, p_nHigh]; false for booleans, fractions, texts.
template <class Json>
bool asInt(const Json& p_objValue, long long p_nLow, long long p_nHigh, long long& p_nOut)
{
    if (!p_objValue.is_number_integer()) return false;
    if (p_objValue.is_number_unsigned()) {
        const unsigned long long nValue = p_objValue.template get<unsigned long long>();
        if (p_nHigh < 0 || nValue > static_cast<unsigned long long>(p_nHigh)) return false;
        p_nOut = static_cast<long long>(nValue);
        return p_nOut >= p_nLow;
    }
    p_nOut = p_objValue.template get<long long>();
    return p_nOut >= p_nLow && p_nOut <= p_nHigh;
}

// "HH:MM" with hours 0-23 and minutes 0-59.
bool parseClockText(const std::string& p_strText, long long& p_nHour, long long& p_nMinute);

#endif
