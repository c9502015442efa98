#include "IaLog.h"

#include <stdio.h>

#include "IaInterface.h"
#include "ToolCommon.h"


std::string iaOptionName(int p_nOpt)
{
    switch (p_nOpt) {
    case IA_CMD_OPT_SET: return "SET";
    case IA_CMD_OPT_GET: return "GET";
    case IA_CMD_OPT_GET_PARAM_RNAGE: return "RANGE";
    case IA_CMD_OPT_CORRECT_PARAM: return "CORRECT";
    case IA_CMD_OPT_EXEC_STATUS: return "STATUS";
    default: return formatText("opt %d", p_nOpt);
    }
}

void printIaCalls(const std::vector<iasim::IaCall>& p_vecCalls, bool p_bAll, const char* p_szIndent)
{
    size_t nOthers = 0;
    for (const iasim::IaCall& stCall : p_vecCalls) {
        if (!p_bAll && stCall.opt != IA_CMD_OPT_SET) {
            ++nOthers;
            continue;
        }
        // Commands are not named: several keys travel under another key's number.
        toolPrint("%sia: channel %d %-7s cmd %d value %d\n", p_szIndent, stCall.channel,
                  iaOptionName(stCall.opt).c_str(), stCall.cmd, static_cast<int>(stCall.value));
    }
    if (nOthers > 0) toolPrint("%s(+ %zu queries)\n", p_szIndent, nOthers);
    if (p_vecCalls.empty()) toolPrint("%s(no image-algorithm calls)\n", p_szIndent);
}
