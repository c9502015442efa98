#include "StringHandler.h"

void StringHandler::split(const std::string& p_strText, std::vector<std::string>& p_vecOut,
                          const std::string& p_strSep)
{
    if (p_strText.empty()) return;
    // Without a separator there is nothing to split at.
    if (p_strSep.empty()) {
        p_vecOut.push_back(p_strText);
        return;
    }
    size_t nStart = 0;
    for (;;) {
        const size_t nSep = p_strText.find(p_strSep, nStart);
        if (nSep == std::string::npos) break;
        p_vecOut.push_back(p_strText.substr(nStart, nSep - nStart));
        nStart = nSep + p_strSep.size();
    }
    p_vecOut.push_back(p_strText.substr(nStart));
}
