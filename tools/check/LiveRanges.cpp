// The sensor's dynamic ranges against the style: each range command answers
// and agrees with the style's range, and the dynamic style hides exactly the
// items the image-algorithm library does not list.
#include <algorithm>

#include "IaInterface.h"
#include "LiveSupport.h"
#include "SensorKeys.h"
#include "ValueRules.h"

namespace {

const char kSensorRanges[] = "image-algorithm ranges";

// The dynamic commands and their attributes as the image-algorithm library answers them.
struct DynamicCommand {
    int m_nCmd;
    bool m_bAnswered;
    ia_dynamic_params_attr_st m_stAttr;
    std::vector<int> items() const
    {
        const int nCount = std::min(std::max(m_stAttr.items_cnt, 0), IA_DYNAMIC_ITEMS_MAX);
        return std::vector<int>(m_stAttr.item, m_stAttr.item + nCount);
    }
};

bool queryDynamicCommands(int p_nIaChannel, std::vector<DynamicCommand>& p_vecOut)
{
    ia_dynamic_params_cmds_st stList = {};
    if (ia_ioctrl_v2(p_nIaChannel, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, &stList) != 0) return false;
    const int nCount = std::min(std::max(stList.cmd_cnt, 0), IA_DYNAMIC_CMDS_MAX);
    for (int i = 0; i < nCount; ++i) {
        DynamicCommand stCmd = {stList.cmd_list[i], false, {}};
        stCmd.m_bAnswered =
            ia_ioctrl_v2(p_nIaChannel, stCmd.m_nCmd, IA_CMD_OPT_GET_PARAM_RNAGE, &stCmd.m_stAttr) == 0;
        p_vecOut.push_back(stCmd);
    }
    return true;
}

std::string joined(const std::vector<int>& p_vecItems)
{
    std::string strText;
    for (int nItem : p_vecItems) strText += (strText.empty() ? "" : " ") + std::to_string(nItem);
    return strText;
}

void compareWithStyle(Check& p_objCheck, const DynamicCommand& p_stCmd, const sensorhost::ValueRule& p_stRule)
{
    const std::string strWhere = "command " + std::to_string(p_stCmd.m_nCmd);
    if (p_stCmd.m_stAttr.attr_type != 0) {
        if (p_stRule.m_eKind == sensorhost::ValueRule::kRange &&
            (p_stCmd.m_stAttr.min_value < p_stRule.m_nMin || p_stCmd.m_stAttr.max_value > p_stRule.m_nMax))
            p_objCheck.fail(strWhere, "the sensor's range " + std::to_string(p_stCmd.m_stAttr.min_value) + " ... " +
                                          std::to_string(p_stCmd.m_stAttr.max_value) + " exceeds the style's " +
                                          p_stRule.allowedText());
        return;
    }
    const std::vector<int> vecItems = p_stCmd.items();
    for (int nItem : vecItems)
        if (p_stRule.m_eKind == sensorhost::ValueRule::kMenu &&
            std::find(p_stRule.m_vecItems.begin(), p_stRule.m_vecItems.end(), nItem) == p_stRule.m_vecItems.end())
            p_objCheck.fail(strWhere, "the sensor offers item " + std::to_string(nItem) +
                                          " that the style's menu lacks, so the UI cannot offer it (style: " +
                                          p_stRule.allowedText() + ")");
    if (std::find(vecItems.begin(), vecItems.end(), p_stCmd.m_stAttr.default_value) == vecItems.end())
        p_objCheck.fail(strWhere, "the sensor's default " + std::to_string(p_stCmd.m_stAttr.default_value) +
                                      " is not among its own items " + joined(vecItems));
}

}  // namespace

void checkLiveRanges(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "live-ranges", kSensorRanges);
    std::vector<DynamicCommand> vecCmds;
    if (!queryDynamicCommands(p_stCtx.m_nCameraID - 1, vecCmds)) {
        objCheck.fail("", "the image-algorithm library does not answer its dynamic command list");
        return;
    }
    sensorhost::ValueRules objStyleRules;
    objStyleRules.load(p_stCtx.m_strMergedStyle);
    for (const DynamicCommand& stCmd : vecCmds) {
        const std::string strWhere = "command " + std::to_string(stCmd.m_nCmd);
        if (!stCmd.m_bAnswered) {
            objCheck.fail(strWhere, "listed as dynamic, but its range query fails");
            continue;
        }
        const sensorhost::ValueRule* pRule = objStyleRules.find(static_cast<u32>(stCmd.m_nCmd));
        if (pRule == nullptr)
            objCheck.warn(strWhere, "listed as dynamic, but the style has no item with this id");
        else
            compareWithStyle(objCheck, stCmd, *pRule);
        int nDefault = 0;
        std::string strRange;
        if (p_objSession.controller().getSensorParamRange(stCmd.m_nCmd, nDefault, strRange) &&
            stCmd.m_stAttr.attr_type == 0 &&
            (nDefault != stCmd.m_stAttr.default_value || strRange != joined(stCmd.items())))
            objCheck.fail(strWhere, "getSensorParamRange answers default " + std::to_string(nDefault) + ", values '" +
                                        strRange + "'; the sensor reports " + std::to_string(stCmd.m_stAttr.default_value) +
                                        ", '" + joined(stCmd.items()) + "'");
    }
    objCheck.done(std::to_string(vecCmds.size()) + " dynamic commands answer and agree with the style");
}

void checkLiveDynamicStyle(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx,
                           CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "live-dynamic-style", "dynamic style");
    std::vector<DynamicCommand> vecCmds;
    queryDynamicCommands(p_stCtx.m_nCameraID - 1, vecCmds);
    const std::map<u32, std::vector<int>> mapMerged = styleItems(p_stCtx.m_strMergedStyle);
    const std::map<u32, std::vector<int>> mapShown = styleItems(p_objSession.controller().getUIStyleFile());
    for (const auto& stShown : mapShown) {
        const auto itMerged = mapMerged.find(stShown.first);
        if (itMerged == mapMerged.end()) continue;
        std::vector<int> vecExpected = itMerged->second;
        const auto itCmd = std::find_if(vecCmds.begin(), vecCmds.end(), [&](const DynamicCommand& p_stCmd) {
            return p_stCmd.m_nCmd == static_cast<int>(stShown.first);
        });
        // A max-shutter value of 200 + n in the style keeps the style's own list.
        const bool bOwnList = stShown.first == KEY_MAX_SHUTTER && stShown.second == itMerged->second;
        if (itCmd != vecCmds.end() && !bOwnList) {
            const std::vector<int> vecListed = itCmd->items();
            vecExpected.erase(std::remove_if(vecExpected.begin(), vecExpected.end(), [&](int p_nItem) {
                return std::find(vecListed.begin(), vecListed.end(), p_nItem) == vecListed.end();
            }), vecExpected.end());
        }
        if (stShown.second != vecExpected)
            objCheck.fail("id " + std::to_string(stShown.first), "shows items '" + joined(stShown.second) +
                                                                 "', expected '" + joined(vecExpected) + "'");
    }
    objCheck.done("the dynamic style hides exactly the items the image-algorithm library does not list");
}
