// show, get, set, range: the parameters of the current scheme.
#include <stdint.h>
#include <stdio.h>

#include <algorithm>

#include "CommandHandlers.h"
#include "KeyArgs.h"
#include "SchemeInfo.h"
#include "Session.h"
#include "ToolCommon.h"

using namespace sensorhost;

namespace {

const char* const kSaveFlag = "--save";
const char* const kForceFlag = "--force";

bool isSetFlag(const std::string& p_strArg)
{
    return p_strArg == kSaveFlag || p_strArg == kForceFlag;
}

// Values outside what the dynamic style allows are not sent unless forced.
bool valuesAllowed(Session& p_objSession, const std::vector<KeyValueArg>& p_vecPairs, bool p_bForce)
{
    const ValueRules& objRules = p_objSession.host().valueRules();
    if (!p_objSession.host().valueRulesProblem().empty())
        toolNote("%s", p_objSession.host().valueRulesProblem().c_str());
    bool bAllowed = true;
    for (const KeyValueArg& stPair : p_vecPairs) {
        const ValueCheck stCheck = objRules.check(stPair.m_nKey, stPair.m_nValue);
        const std::string strKey = keyLabel(stPair.m_nKey);
        if (stCheck.m_eVerdict == Verdict::kUnknownKey) {
            toolError("warning: %s: %s; sent as it is", strKey.c_str(), stCheck.m_strReason.c_str());
        } else if (stCheck.m_eVerdict == Verdict::kRefused && p_bForce) {
            toolError("warning: %s value %d is outside what it allows (%s); sent anyway (--force)", strKey.c_str(),
                      stPair.m_nValue, stCheck.m_strReason.c_str());
        } else if (stCheck.m_eVerdict == Verdict::kRefused) {
            toolError("%s: value %d is not allowed (%s)", strKey.c_str(), stPair.m_nValue,
                      stCheck.m_strReason.c_str());
            bAllowed = false;
        }
    }
    if (!bAllowed) toolNote("nothing was sent; --force sends the values anyway");
    return bAllowed;
}

struct RangeInfo {
    bool m_bHas = false;
    bool m_bListed = false;  // false: a range the library does not itemise
    int m_nDefault = 0;
    std::string m_strItems;
};

RangeInfo rangeOf(ISensorController& p_objCtrl, u32 p_nKey)
{
    RangeInfo stInfo;
    // The library leaves both untouched for a range it does not itemise.
    int nDefault = INT32_MIN;
    stInfo.m_bHas =
        p_objCtrl.getSensorParamRange(static_cast<int>(p_nKey), nDefault, stInfo.m_strItems);
    stInfo.m_bListed = stInfo.m_bHas && nDefault != INT32_MIN;
    stInfo.m_nDefault = nDefault;
    return stInfo;
}

void printShowRow(u32 p_nKey, int p_nValue, const RangeInfo& p_stRange)
{
    toolPrint("%6u  %-34s %11d", p_nKey, keyName(p_nKey).c_str(), p_nValue);
    if (p_stRange.m_bListed)
        toolPrint("  %7d  %s", p_stRange.m_nDefault, p_stRange.m_strItems.c_str());
    else if (p_stRange.m_bHas)
        toolPrint("  %7s  %s", "-", "(a range the library does not itemise)");
    toolPrint("\n");
}

std::string refusalText(int p_nResult, const std::vector<KeyValueArg>& p_vecPairs)
{
    const u32 nKey = static_cast<u32>(-p_nResult);
    std::string strText =
        formatText("the library refused %s (result %d)", keyLabel(nKey).c_str(), p_nResult);
    for (const KeyValueArg& stPair : p_vecPairs)
        if (stPair.m_nKey == nKey) {
            strText += formatText(": value %d was not applied", stPair.m_nValue);
            break;
        }
    return strText + "; the values before it were applied, the ones after it were not";
}

}  // namespace

int runShow(Session* p_pSession, const Args&)
{
    ISensorController& objCtrl = p_pSession->controller();
    const int nScheme = currentScheme(objCtrl);
    const std::vector<u32> vecKeys = currentSchemeKeys(objCtrl);
    if (vecKeys.empty()) {
        // Read from the parameter files, the list has no factory scheme: it has no file.
        toolError("the library lists no parameters for the %s",
                  schemeText(*p_pSession, nScheme).c_str());
        return EXIT_FAILED;
    }
    // Ranges first: the library prints a line of its own for each range query.
    std::vector<RangeInfo> vecRanges;
    for (u32 nKey : vecKeys) vecRanges.push_back(rangeOf(objCtrl, nKey));

    toolPrint("%s, %zu parameters\n", schemeText(*p_pSession, nScheme).c_str(), vecKeys.size());
    toolPrint("%6s  %-34s %11s  %7s  %s\n", "KEY", "NAME", "VALUE", "DEFAULT", "ALLOWED");
    for (size_t i = 0; i < vecKeys.size(); ++i) {
        int nValue = 0;
        if (!objCtrl.getParameter(static_cast<int>(vecKeys[i]), nValue)) continue;
        printShowRow(vecKeys[i], nValue, vecRanges[i]);
    }
    return EXIT_DONE;
}

std::string checkKeys(const Args& p_vecArgs)
{
    for (const std::string& strArg : p_vecArgs) {
        u32 nKey = 0;
        const std::string strError = parseKeyArg(strArg, nKey);
        if (!strError.empty()) return strError;
    }
    return "";
}

int runGet(Session* p_pSession, const Args& p_vecArgs)
{
    int nExit = EXIT_DONE;
    for (const std::string& strArg : p_vecArgs) {
        u32 nKey = 0;
        parseKey(strArg, nKey);
        int nValue = 0;
        if (!p_pSession->controller().getParameter(static_cast<int>(nKey), nValue)) {
            toolError(
                "cannot read %s: neither the current scheme nor the image-algorithm library has it",
                keyLabel(nKey).c_str());
            nExit = EXIT_FAILED;
            continue;
        }
        toolPrint("%6u  %-34s %d\n", nKey, keyName(nKey).c_str(), nValue);
    }
    return nExit;
}

std::string checkSet(const Args& p_vecArgs)
{
    size_t nPairs = 0;
    for (const std::string& strArg : p_vecArgs) {
        if (isSetFlag(strArg)) continue;
        KeyValueArg stPair;
        const std::string strError = parseAssignment(strArg, stPair);
        if (!strError.empty()) return strError;
        ++nPairs;
    }
    return nPairs == 0 ? "set needs KEY=VALUE" : "";
}

int runSet(Session* p_pSession, const Args& p_vecArgs)
{
    ISensorController& objCtrl = p_pSession->controller();
    std::vector<KeyValueArg> vecPairs;
    std::string strText;
    bool bSave = false;
    bool bForce = false;
    for (const std::string& strArg : p_vecArgs) {
        if (isSetFlag(strArg)) {
            (strArg == kSaveFlag ? bSave : bForce) = true;
            continue;
        }
        KeyValueArg stPair;
        parseAssignment(strArg, stPair);
        vecPairs.push_back(stPair);
        strText += formatText("(%d,%d)", static_cast<int>(stPair.m_nKey), stPair.m_nValue);
    }
    if (!valuesAllowed(*p_pSession, vecPairs, bForce)) return EXIT_FAILED;
    const int nResult = objCtrl.setParameters(strText, true);
    if (nResult != 0) {
        toolError("%s", refusalText(nResult, vecPairs).c_str());
        return EXIT_FAILED;
    }
    for (const KeyValueArg& stPair : vecPairs) {
        int nValue = 0;
        if (objCtrl.getParameter(static_cast<int>(stPair.m_nKey), nValue))
            toolPrint("%6u  %-34s %d\n", stPair.m_nKey, keyName(stPair.m_nKey).c_str(), nValue);
    }
    return bSave ? runFlush(p_pSession, Args()) : EXIT_DONE;
}

int runRange(Session* p_pSession, const Args& p_vecArgs)
{
    u32 nKey = 0;
    parseKey(p_vecArgs[0], nKey);
    const RangeInfo stRange = rangeOf(p_pSession->controller(), nKey);
    if (!stRange.m_bHas) {
        toolError("the library reports no range for %s on this camera", keyLabel(nKey).c_str());
        return EXIT_FAILED;
    }
    if (!stRange.m_bListed) {
        toolPrint("%s: a range the library does not itemise\n", keyLabel(nKey).c_str());
        return EXIT_DONE;
    }
    toolPrint("%s: default %d, allowed %s\n", keyLabel(nKey).c_str(), stRange.m_nDefault,
              stRange.m_strItems.empty() ? "(no items)" : stRange.m_strItems.c_str());
    return EXIT_DONE;
}
