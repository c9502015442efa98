#include "ParamFile.h"

#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace sensorhost {

namespace {

// Beyond this many, problems of one kind are counted, not listed.
const size_t kListedPerKind = 3;

u32 littleEndianAt(const std::string& p_strBytes, size_t p_nOffset)
{
    u32 nValue = 0;
    for (size_t i = 0; i < 4; ++i)
        nValue |= static_cast<u32>(static_cast<unsigned char>(p_strBytes[p_nOffset + i])) << (8 * i);
    return nValue;
}

// Collects the problems of one kind, listing the first few.
class ProblemList {
public:
    explicit ProblemList(const char* p_szKind) : m_szKind(p_szKind) {}
    void add(const std::string& p_strWhere)
    {
        if (m_nCount++ < kListedPerKind) m_strList += (m_strList.empty() ? "" : ", ") + p_strWhere;
    }
    void appendTo(std::vector<std::string>& p_vecOut) const
    {
        if (m_nCount == 0) return;
        std::string strText = std::to_string(m_nCount) + " " + m_szKind + " (" + m_strList;
        if (m_nCount > kListedPerKind) strText += ", ...";
        p_vecOut.push_back(strText + ")");
    }

private:
    const char* m_szKind;
    size_t m_nCount = 0;
    std::string m_strList;
};

std::string recordText(size_t p_nIndex, u32 p_nKey)
{
    return "record " + std::to_string(p_nIndex) + " key " + std::to_string(p_nKey);
}

}  // namespace

std::string readLimited(const std::string& p_strPath, std::string& p_strBytes, size_t p_nLimit)
{
    std::error_code ec;
    const std::filesystem::file_status stStatus = std::filesystem::status(p_strPath, ec);
    if (ec || !std::filesystem::exists(stStatus)) return "no such file";
    if (!std::filesystem::is_regular_file(stStatus)) return "not a regular file";
    std::ifstream in(p_strPath, std::ios::binary);
    if (!in) return "cannot open it for reading";
    // In pieces: a large limit reserves nothing, a file growing meanwhile stops at the limit.
    p_strBytes.clear();
    char szPiece[16 * 1024];
    while (in.read(szPiece, sizeof(szPiece)) || in.gcount() > 0) {
        p_strBytes.append(szPiece, static_cast<size_t>(in.gcount()));
        if (p_strBytes.size() > p_nLimit)
            return "larger than " + std::to_string(p_nLimit / 1024) + " KiB" +
                   (p_nLimit == kMaxParamFileBytes ? ": not a parameter file" : "");
    }
    if (in.bad()) return "read error";
    return "";
}

std::vector<KeyVal> decodeRecords(const std::string& p_strBytes, size_t& p_nLeftOver)
{
    std::vector<KeyVal> vecOut(p_strBytes.size() / sizeof(KeyVal));
    for (size_t i = 0; i < vecOut.size(); ++i) {
        vecOut[i].key = littleEndianAt(p_strBytes, i * sizeof(KeyVal));
        vecOut[i].value = littleEndianAt(p_strBytes, i * sizeof(KeyVal) + 4);
    }
    p_nLeftOver = p_strBytes.size() % sizeof(KeyVal);
    return vecOut;
}

bool decodeVersion(const std::string& p_strBytes, u32& p_nVersion)
{
    if (p_strBytes.size() < sizeof(u32)) return false;
    p_nVersion = littleEndianAt(p_strBytes, 0);
    return true;
}

std::vector<std::string> recordProblems(const std::vector<KeyVal>& p_vecRecords,
                                        const std::vector<u32>& p_vecFactoryKeys)
{
    std::map<u32, size_t> mapFactoryRow;
    for (size_t i = 0; i < p_vecFactoryKeys.size(); ++i) mapFactoryRow.emplace(p_vecFactoryKeys[i], i);
    ProblemList objZero("records of key 0"), objRepeat("repeated keys"), objOrder("keys out of factory order"),
        objUnknown("keys not in the factory set");
    std::map<u32, size_t> mapSeen;
    long long nLastRow = -1;
    for (size_t i = 0; i < p_vecRecords.size(); ++i) {
        const u32 nKey = p_vecRecords[i].key;
        if (nKey == 0) {
            objZero.add("record " + std::to_string(i));
            continue;
        }
        if (!mapSeen.emplace(nKey, i).second) {
            objRepeat.add(recordText(i, nKey) + " first at record " + std::to_string(mapSeen[nKey]));
            continue;
        }
        if (mapFactoryRow.empty()) continue;
        const auto it = mapFactoryRow.find(nKey);
        if (it == mapFactoryRow.end()) {
            objUnknown.add(recordText(i, nKey));
        } else if (static_cast<long long>(it->second) < nLastRow) {
            objOrder.add(recordText(i, nKey));
        } else {
            nLastRow = static_cast<long long>(it->second);
        }
    }
    std::vector<std::string> vecOut;
    if (!p_vecFactoryKeys.empty() && p_vecRecords.size() != p_vecFactoryKeys.size())
        vecOut.push_back(std::to_string(p_vecRecords.size()) + " records where the factory set has " +
                         std::to_string(p_vecFactoryKeys.size()));
    for (const ProblemList* pList : {&objZero, &objRepeat, &objOrder, &objUnknown}) pList->appendTo(vecOut);
    return vecOut;
}

std::vector<std::string> fileProblems(const std::string& p_strBytes, const std::vector<u32>& p_vecFactoryKeys)
{
    size_t nLeftOver = 0;
    const std::vector<KeyVal> vecRecords = decodeRecords(p_strBytes, nLeftOver);
    std::vector<std::string> vecOut;
    if (nLeftOver != 0) {
        char szText[160];
        snprintf(szText, sizeof(szText),
                 "%zu bytes is not a multiple of %zu (%zu whole records, %zu bytes left over)",
                 p_strBytes.size(), sizeof(KeyVal), vecRecords.size(), nLeftOver);
        vecOut.push_back(szText);
    }
    for (const std::string& strProblem : recordProblems(vecRecords, p_vecFactoryKeys))
        vecOut.push_back(strProblem);
    return vecOut;
}

}  // namespace sensorhost
