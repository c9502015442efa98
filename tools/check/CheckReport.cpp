#include "CheckReport.h"

#include <nlohmann/json.hpp>

namespace {

const char* statusText(CheckStatus p_eStatus)
{
    switch (p_eStatus) {
    case CHECK_OK: return "OK";
    case CHECK_WARN: return "WARN";
    default: return "FAIL";
    }
}

// "FILE, WHERE: MESSAGE", leaving out what is empty.
std::string lineText(const CheckLine& p_stLine)
{
    std::string strText = p_stLine.m_strFile;
    if (!p_stLine.m_strWhere.empty()) strText += (strText.empty() ? "" : ", ") + p_stLine.m_strWhere;
    if (!strText.empty()) strText += ": ";
    return strText + p_stLine.m_strMessage;
}

}  // namespace

void CheckReport::add(const CheckLine& p_stLine)
{
    m_vecLines.push_back(p_stLine);
    if (m_bJson) return;
    fprintf(m_pOut, "%-4s  %-20s %s\n", statusText(p_stLine.m_eStatus), p_stLine.m_strCheck.c_str(),
            lineText(p_stLine).c_str());
    fflush(m_pOut);
}

int CheckReport::count(CheckStatus p_eStatus) const
{
    int nCount = 0;
    for (const CheckLine& stLine : m_vecLines)
        if (stLine.m_eStatus == p_eStatus) ++nCount;
    return nCount;
}

void CheckReport::finish(const std::string& p_strFlashDir, int p_nChannel, bool p_bLive) const
{
    if (!m_bJson) {
        fprintf(m_pOut, "%d passed, %d failed, %d warnings\n", count(CHECK_OK), count(CHECK_FAIL),
                count(CHECK_WARN));
        fflush(m_pOut);
        return;
    }
    nlohmann::ordered_json objChecks = nlohmann::ordered_json::array();
    for (const CheckLine& stLine : m_vecLines)
        objChecks.push_back({{"check", stLine.m_strCheck},
                             {"status", statusText(stLine.m_eStatus)},
                             {"file", stLine.m_strFile},
                             {"where", stLine.m_strWhere},
                             {"message", stLine.m_strMessage}});
    const nlohmann::ordered_json objDoc = {
        {"flash", p_strFlashDir},
        {"channel", p_nChannel},
        {"live", p_bLive},
        {"checks", objChecks},
        {"summary", {{"passed", count(CHECK_OK)}, {"failed", count(CHECK_FAIL)}, {"warnings", count(CHECK_WARN)}}}};
    // Replacement of invalid UTF-8 keeps a hostile file name from aborting the dump.
    fprintf(m_pOut, "%s\n", objDoc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
    fflush(m_pOut);
}

void Check::warn(const std::string& p_strWhere, const std::string& p_strMessage)
{
    warnIn(m_strFile, p_strWhere, p_strMessage);
}

void Check::fail(const std::string& p_strWhere, const std::string& p_strMessage)
{
    failIn(m_strFile, p_strWhere, p_strMessage);
}

void Check::failIn(const std::string& p_strFile, const std::string& p_strWhere, const std::string& p_strMessage)
{
    ++m_nFindings;
    m_objReport.add(CheckLine{m_strName, CHECK_FAIL, p_strFile, p_strWhere, p_strMessage});
}

void Check::warnIn(const std::string& p_strFile, const std::string& p_strWhere, const std::string& p_strMessage)
{
    ++m_nFindings;
    m_objReport.add(CheckLine{m_strName, CHECK_WARN, p_strFile, p_strWhere, p_strMessage});
}

bool Check::done(const std::string& p_strOkMessage)
{
    if (m_nFindings > 0) return false;
    m_objReport.add(CheckLine{m_strName, CHECK_OK, m_strFile, "", p_strOkMessage});
    return true;
}
