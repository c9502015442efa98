// The checker's findings: named checks, each reported OK or with its WARN and
// FAIL lines, a summary and an exit status, as text lines or one JSON document.
#ifndef SENSORCTL_CHECK_REPORT_H
#define SENSORCTL_CHECK_REPORT_H

#include <stdio.h>

#include <string>
#include <vector>

enum CheckStatus { CHECK_OK, CHECK_WARN, CHECK_FAIL };

struct CheckLine {
    std::string m_strCheck;  // the check's name, e.g. "style-ids-known"
    CheckStatus m_eStatus;
    std::string m_strFile;   // camera path of the file at fault, or what was looked at
    std::string m_strWhere;  // element or record within it; may be empty
    std::string m_strMessage;
};

class CheckReport {
public:
    // Text lines are printed as they come unless p_bJson; JSON comes whole at the end.
    CheckReport(FILE* p_pOut, bool p_bJson) : m_pOut(p_pOut), m_bJson(p_bJson) {}

    void add(const CheckLine& p_stLine);
    int count(CheckStatus p_eStatus) const;
    // Text: the summary line "N passed, M failed, K warnings". JSON: the
    // whole document, with the flash folder and channel it is about.
    void finish(const std::string& p_strFlashDir, int p_nChannel, bool p_bLive) const;
    // 0 when nothing failed, else 1.
    int exitStatus() const { return count(CHECK_FAIL) == 0 ? 0 : 1; }

private:
    FILE* m_pOut;
    bool m_bJson;
    std::vector<CheckLine> m_vecLines;
};

// One named check: collects its findings and reports OK when there were none.
class Check {
public:
    Check(CheckReport& p_objReport, const char* p_szName, const std::string& p_strFile)
        : m_objReport(p_objReport), m_strName(p_szName), m_strFile(p_strFile)
    {
    }
    void warn(const std::string& p_strWhere, const std::string& p_strMessage);
    void fail(const std::string& p_strWhere, const std::string& p_strMessage);
    // The same about another file than the check's own.
    void failIn(const std::string& p_strFile, const std::string& p_strWhere, const std::string& p_strMessage);
    void warnIn(const std::string& p_strFile, const std::string& p_strWhere, const std::string& p_strMessage);
    // Reports OK with the message when nothing was found; true when so.
    bool done(const std::string& p_strOkMessage);

private:
    CheckReport& m_objReport;
    std::string m_strName;
    std::string m_strFile;
    int m_nFindings = 0;
};

#endif
