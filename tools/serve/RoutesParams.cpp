// GET and PATCH /api/channels/C/params.
#include <limits.h>

#include "ConsoleCapture.h"
#include "JsonHttp.h"
#include "KeyArgs.h"
#include "ServeContext.h"
#include "SensorLib.h"

using nlohmann::json;

namespace {


struct Assignment {
    u32 m_nKey;
    int32_t m_nValue;
};

json allowedJson(const sensorhost::ValueRule* p_pRule)
{
    if (p_pRule == nullptr) return nullptr;
    if (p_pRule->m_eKind == sensorhost::ValueRule::kRange)
        return {{"min", p_pRule->m_nMin}, {"max", p_pRule->m_nMax}};
    if (p_pRule->m_eKind == sensorhost::ValueRule::kMenu) return {{"values", p_pRule->m_vecItems}};
    return nullptr;
}

// Checks one "KEY": VALUE member against the style; answers 422 and
// returns false when it is refused.
bool checkMember(sensorhost::HostSession& p_objHost, const std::string& p_strName,
                 const nlohmann::ordered_json& p_objValue,
                 std::vector<Assignment>& p_vecOut, httplib::Response& p_objRes)
{
    u32 nKey = 0;
    std::string strError = sensorhost::parseKeyArg(p_strName, nKey);
    if (!strError.empty()) {
        sendError(p_objRes, 422, strError, p_strName);
        return false;
    }
    long long nValue = 0;
    if (!asInt(p_objValue, INT_MIN, UINT_MAX, nValue)) {
        sendError(p_objRes, 422, "the value of " + sensorhost::keyLabel(nKey) + " must be a 32-bit integer", nKey,
                  allowedJson(p_objHost.valueRules().find(nKey)));
        return false;
    }
    for (const Assignment& stEarlier : p_vecOut) {
        if (stEarlier.m_nKey != nKey) continue;
        sendError(p_objRes, 422, sensorhost::keyLabel(nKey) + " is given twice", nKey);
        return false;
    }
    const int32_t nSigned = static_cast<int32_t>(static_cast<u32>(nValue));
    const sensorhost::ValueCheck stCheck = p_objHost.valueRules().check(nKey, nSigned);
    if (stCheck.m_eVerdict != sensorhost::Verdict::kAllowed) {
        const std::string strWhat = stCheck.m_eVerdict == sensorhost::Verdict::kUnknownKey
                                        ? sensorhost::keyLabel(nKey)
                                        : std::to_string(nSigned) + " for " + sensorhost::keyLabel(nKey);
        sendError(p_objRes, 422, strWhat + " refused: " + stCheck.m_strReason, nKey,
                  allowedJson(p_objHost.valueRules().find(nKey)));
        return false;
    }
    p_vecOut.push_back(Assignment{nKey, nSigned});
    return true;
}

json paramsAnswer(ServeChannel& p_objChannel, const std::vector<KeyVal>& p_vecValues)
{
    json objParams = json::array();
    for (const KeyVal& stValue : p_vecValues) objParams.push_back(paramJson(stValue));
    return {{"channel", p_objChannel.channel()},
            {"scheme", p_objChannel.host().currentScheme()},
            {"params", objParams}};
}

void getParams(ServeChannel& p_objChannel, httplib::Response& p_objRes)
{
    std::lock_guard<std::mutex> objLock(p_objChannel.ops());
    sendJson(p_objRes, 200, paramsAnswer(p_objChannel, p_objChannel.currentValues()));
}

// What one parameter text did: the library's answer, the values now in
// force and where the library's console stood before it.
struct Applied {
    int m_nResult = 0;
    size_t m_nReportMark = 0;
    json m_objAnswer;
};

// Sends the checked assignments in one parameter text (hold ops()).
Applied applyInOneText(ServeChannel& p_objChannel, const std::vector<Assignment>& p_vecAssignments)
{
    std::vector<KeyVal> vecPairs;
    std::vector<u32> vecKeys;
    for (const Assignment& stSet : p_vecAssignments) {
        vecPairs.push_back(KeyVal{stSet.m_nKey, static_cast<u32>(stSet.m_nValue)});
        vecKeys.push_back(stSet.m_nKey);
    }
    std::string strText;
    keyval_st2str(strText, vecPairs.data(), static_cast<u32>(vecPairs.size()));
    Applied stOut;
    stOut.m_nReportMark = sensorhost::ConsoleCapture::instance().reportCount();
    stOut.m_nResult = p_objChannel.ctrl().setParameters(strText, true);
    stOut.m_objAnswer = paramsAnswer(p_objChannel, p_objChannel.publishKeys(vecKeys));
    return stOut;
}

// Every member is checked before anything is sent; then all of them travel
// in one parameter text. The channel is held for the library calls only.
void patchParams(ServeChannel& p_objChannel, const httplib::Request& p_objReq, httplib::Response& p_objRes)
{
    // In the request's order: the library applies them in that order.
    nlohmann::ordered_json objBody;
    if (!parseObjectBody(p_objReq, p_objRes, objBody)) return;
    if (objBody.empty()) return sendError(p_objRes, 422, "no parameter given");
    Applied stApplied;
    {
        std::lock_guard<std::mutex> objLock(p_objChannel.ops());
        std::vector<Assignment> vecAssignments;
        for (const auto& objMember : objBody.items())
            if (!checkMember(p_objChannel.host(), objMember.key(), objMember.value(), vecAssignments, p_objRes))
                return;
        stApplied = applyInOneText(p_objChannel, vecAssignments);
    }
    const std::vector<sensorhost::AssertReport> vecReports =
        sensorhost::ConsoleCapture::instance().reportsSince(stApplied.m_nReportMark);
    const int nResult = stApplied.m_nResult;
    json& objAnswer = stApplied.m_objAnswer;
    if (nResult == 0 && vecReports.empty()) return sendJson(p_objRes, 200, objAnswer);
    // What went through stays in force: the answer says which values those are.
    objAnswer["error"] = nResult != 0 ? "the library stopped at " + sensorhost::keyLabel(static_cast<u32>(-nResult))
                                      : "the library reported a failed check: " +
                                            sensorhost::summariseReports(vecReports);
    objAnswer["key"] = nResult != 0 ? json(-nResult) : json(nullptr);
    sendJson(p_objRes, 500, objAnswer);
}

}  // namespace

void addParamRoutes(httplib::Server& p_objServer, ServeContext& p_objContext)
{
    ServeContext* pContext = &p_objContext;
    const char* const szPath = R"(/api/channels/([^/]+)/params)";
    p_objServer.Get(szPath, [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
        if (pChannel != nullptr) getParams(*pChannel, p_objRes);
    });
    p_objServer.Patch(szPath, [pContext](const httplib::Request& p_objReq, httplib::Response& p_objRes) {
        ServeChannel* pChannel = pContext->channelOf(p_objReq, p_objRes);
        if (pChannel != nullptr) patchParams(*pChannel, p_objReq, p_objRes);
    });
}
