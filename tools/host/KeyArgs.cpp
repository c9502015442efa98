#include "KeyArgs.h"

#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>

#include "SensorLib.h"

namespace sensorhost {

namespace {

const char* const kKeyPrefix = "KEY_";
const size_t kSuggestions = 3;

std::string upperWithoutPrefix(const std::string& p_strName)
{
    std::string strOut;
    for (char c : p_strName) strOut += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (strOut.compare(0, 4, kKeyPrefix) == 0) strOut.erase(0, 4);
    return strOut;
}

size_t editDistance(const std::string& p_strA, const std::string& p_strB)
{
    std::vector<size_t> vecRow(p_strB.size() + 1);
    for (size_t j = 0; j < vecRow.size(); ++j) vecRow[j] = j;
    for (size_t i = 1; i <= p_strA.size(); ++i) {
        size_t nDiag = vecRow[0];
        vecRow[0] = i;
        for (size_t j = 1; j <= p_strB.size(); ++j) {
            const size_t nUp = vecRow[j];
            const size_t nCost = p_strA[i - 1] == p_strB[j - 1] ? 0 : 1;
            vecRow[j] = std::min({vecRow[j] + 1, vecRow[j - 1] + 1, nDiag + nCost});
            nDiag = nUp;
        }
    }
    return vecRow[p_strB.size()];
}

}  // namespace

bool parseNumber(const std::string& p_strText, long long p_nLow, long long p_nHigh,
                 long long& p_nOut)
{
    if (p_strText.empty()) return false;
    const size_t nFirstDigit = (p_strText[0] == '-' || p_strText[0] == '+') ? 1 : 0;
    if (nFirstDigit == p_strText.size()) return false;
    for (size_t i = nFirstDigit; i < p_strText.size(); ++i)
        if (!isdigit(static_cast<unsigned char>(p_strText[i]))) return false;
    errno = 0;
    const long long nValue = strtoll(p_strText.c_str(), nullptr, 10);
    if (errno == ERANGE || nValue < p_nLow || nValue > p_nHigh) return false;
    p_nOut = nValue;
    return true;
}

bool parseKey(const std::string& p_strText, u32& p_nKey)
{
    long long nNumber = 0;
    // The text form writes keys with %d, so larger numbers cannot travel.
    if (parseNumber(p_strText, 0, INT_MAX, nNumber)) {
        p_nKey = static_cast<u32>(nNumber);
        return true;
    }
    return findKeyByName(p_strText.c_str(), &p_nKey);
}

bool parseValue(const std::string& p_strText, int32_t& p_nValue)
{
    long long nNumber = 0;
    if (!parseNumber(p_strText, INT_MIN, UINT_MAX, nNumber)) return false;
    p_nValue = static_cast<int32_t>(static_cast<u32>(nNumber));
    return true;
}

std::string parseKeyArg(const std::string& p_strText, u32& p_nKey)
{
    if (parseKey(p_strText, p_nKey)) return "";
    std::string strMsg = "unknown key '" + p_strText + "'";
    const std::vector<std::string> vecNear = closestKeyNames(p_strText, kSuggestions);
    for (size_t i = 0; i < vecNear.size(); ++i)
        strMsg += (i == 0 ? "; closest names: " : ", ") + vecNear[i];
    return strMsg;
}

std::string parseAssignment(const std::string& p_strText, KeyValueArg& p_stOut)
{
    const size_t nEq = p_strText.find('=');
    if (nEq == std::string::npos) return "expected KEY=VALUE, got '" + p_strText + "'";
    const std::string strError = parseKeyArg(p_strText.substr(0, nEq), p_stOut.m_nKey);
    if (!strError.empty()) return strError;
    const std::string strValue = p_strText.substr(nEq + 1);
    if (!parseValue(strValue, p_stOut.m_nValue))
        return "value '" + strValue + "' of " + keyLabel(p_stOut.m_nKey) +
               " is not a 32-bit number";
    return "";
}

std::string keyName(u32 p_nKey)
{
    const char* szName = findKeyName(p_nKey);
    return szName != nullptr ? std::string(szName) : std::string("-");
}

std::string keyLabel(u32 p_nKey)
{
    const char* szName = findKeyName(p_nKey);
    if (szName == nullptr) return "key " + std::to_string(p_nKey);
    return std::string(szName) + " (" + std::to_string(p_nKey) + ")";
}

std::vector<std::string> closestKeyNames(const std::string& p_strText, size_t p_nMax)
{
    const std::string strWanted = upperWithoutPrefix(p_strText);
    // A name that contains what was typed counts as close as one typo.
    std::vector<std::pair<size_t, std::string>> vecScored;
    for (u32 nRow = 0; nRow < keyTableSize(); ++nRow) {
        const char* szName = findKeyName(keyTableKeyAt(nRow));
        if (szName == nullptr) continue;
        const std::string strName = upperWithoutPrefix(szName);
        size_t nScore = editDistance(strWanted, strName);
        if (strWanted.size() >= 3 && strName.find(strWanted) != std::string::npos)
            nScore = std::min<size_t>(nScore, 1);
        if (nScore <= std::max<size_t>(2, strWanted.size() / 3))
            vecScored.emplace_back(nScore, szName);
    }
    std::stable_sort(vecScored.begin(), vecScored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> vecOut;
    for (const auto& stItem : vecScored) {
        if (vecOut.size() == p_nMax) break;
        if (std::find(vecOut.begin(), vecOut.end(), stItem.second) == vecOut.end())
            vecOut.push_back(stItem.second);
    }
    return vecOut;
}

}  // namespace sensorhost
