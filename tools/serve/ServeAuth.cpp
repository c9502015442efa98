#include "ServeAuth.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>
#include <time.h>

#include <fstream>
#include <map>

namespace {

const char kRealm[] = "sensorctl";

std::string toHex(const unsigned char* p_pBytes, size_t p_nCount)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string strOut;
    for (size_t i = 0; i < p_nCount; ++i) {
        strOut += kDigits[p_pBytes[i] >> 4];
        strOut += kDigits[p_pBytes[i] & 15];
    }
    return strOut;
}

std::string digestHex(const EVP_MD* p_pAlgorithm, const std::string& p_strText)
{
    unsigned char szHash[EVP_MAX_MD_SIZE];
    unsigned int nLen = 0;
    EVP_Digest(p_strText.data(), p_strText.size(), szHash, &nLen, p_pAlgorithm, nullptr);
    return toHex(szHash, nLen);
}

std::string hmacHex(const std::string& p_strKey, const std::string& p_strText)
{
    unsigned char szHash[EVP_MAX_MD_SIZE];
    unsigned int nLen = 0;
    HMAC(EVP_sha256(), p_strKey.data(), static_cast<int>(p_strKey.size()),
         reinterpret_cast<const unsigned char*>(p_strText.data()), p_strText.size(), szHash, &nLen);
    return toHex(szHash, nLen);
}

std::string trim(const std::string& p_strText)
{
    const size_t nFirst = p_strText.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos) return "";
    return p_strText.substr(nFirst, p_strText.find_last_not_of(" \t\r\n") - nFirst + 1);
}

// name=value, name="value", ... of a Digest Authorization header.
std::map<std::string, std::string> digestParams(const std::string& p_strText)
{
    std::map<std::string, std::string> mapOut;
    size_t nPos = 0;
    while (nPos < p_strText.size()) {
        const size_t nEq = p_strText.find('=', nPos);
        if (nEq == std::string::npos) break;
        const std::string strName = trim(p_strText.substr(nPos, nEq - nPos));
        std::string strValue;
        size_t nNext = nEq + 1;
        if (nNext < p_strText.size() && p_strText[nNext] == '"') {
            const size_t nClose = p_strText.find('"', nNext + 1);
            if (nClose == std::string::npos) break;
            strValue = p_strText.substr(nNext + 1, nClose - nNext - 1);
            nNext = nClose + 1;
        } else {
            const size_t nComma = p_strText.find(',', nNext);
            strValue = trim(p_strText.substr(nNext, nComma - nNext));
            nNext = nComma == std::string::npos ? p_strText.size() : nComma;
        }
        mapOut[strName] = strValue;
        const size_t nComma = p_strText.find(',', nNext);
        nPos = nComma == std::string::npos ? p_strText.size() : nComma + 1;
    }
    return mapOut;
}

const EVP_MD* digestAlgorithm(const std::string& p_strName)
{
    if (p_strName.empty() || p_strName == "MD5") return EVP_md5();
    if (p_strName == "SHA-256") return EVP_sha256();
    return nullptr;
}

}  // namespace

bool equalConstantTime(const std::string& p_strA, const std::string& p_strB)
{
    unsigned char nDiff = p_strA.size() == p_strB.size() ? 0 : 1;
    const size_t nLen = p_strA.size() > p_strB.size() ? p_strA.size() : p_strB.size();
    for (size_t i = 0; i < nLen; ++i) {
        const unsigned char a = i < p_strA.size() ? static_cast<unsigned char>(p_strA[i]) : 0;
        const unsigned char b = i < p_strB.size() ? static_cast<unsigned char>(p_strB[i]) : 0;
        nDiff |= static_cast<unsigned char>(a ^ b);
    }
    return nDiff == 0;
}

std::string newRandomToken()
{
    unsigned char szBytes[16];
    if (RAND_bytes(szBytes, sizeof(szBytes)) != 1) abort();  // no randomness, no secure token
    return toHex(szBytes, sizeof(szBytes));
}

std::string Credentials::load(const std::string& p_strFile)
{
    std::ifstream objIn(p_strFile);
    if (!objIn) return "cannot read the credentials file " + p_strFile;
    std::string strLine;
    for (int nLine = 1; std::getline(objIn, strLine); ++nLine) {
        if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
        if (trim(strLine).empty() || trim(strLine)[0] == '#') continue;
        const size_t nColon = strLine.find(':');
        if (nColon == 0 || nColon == std::string::npos || nColon + 1 == strLine.size())
            return p_strFile + ":" + std::to_string(nLine) + ": expected user:password";
        m_vecUsers.emplace_back(strLine.substr(0, nColon), strLine.substr(nColon + 1));
    }
    if (m_vecUsers.empty()) return "the credentials file " + p_strFile + " names no user";
    return "";
}

AuthVerdict Credentials::check(const std::string& p_strAuthorization, const std::string& p_strMethod,
                               const std::string& p_strTarget) const
{
    if (p_strAuthorization.compare(0, 6, "Basic ") == 0)
        return acceptsBasic(trim(p_strAuthorization.substr(6))) ? AuthVerdict::kAccepted : AuthVerdict::kRefused;
    if (p_strAuthorization.compare(0, 7, "Digest ") == 0)
        return checkDigest(p_strAuthorization.substr(7), p_strMethod, p_strTarget);
    return AuthVerdict::kRefused;
}

std::vector<std::string> Credentials::challenges(bool p_bStale) const
{
    return {std::string("Digest realm=\"") + kRealm + "\", qop=\"auth\", algorithm=MD5, nonce=\"" +
                newNonce() + "\"" + (p_bStale ? ", stale=true" : ""),
            std::string("Basic realm=\"") + kRealm + "\", charset=\"UTF-8\""};
}

bool Credentials::acceptsBasic(const std::string& p_strEncoded) const
{
    std::string strDecoded(p_strEncoded.size() / 4 * 3 + 3, '\0');
    const int nLen = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(&strDecoded[0]),
                                     reinterpret_cast<const unsigned char*>(p_strEncoded.data()),
                                     static_cast<int>(p_strEncoded.size()));
    if (nLen < 0 || p_strEncoded.size() % 4 != 0) return false;
    // The decoder counts the padding as zero bytes.
    size_t nPadding = 0;
    for (size_t i = p_strEncoded.size(); i > 0 && p_strEncoded[i - 1] == '='; --i) ++nPadding;
    strDecoded.resize(static_cast<size_t>(nLen) - nPadding);
    bool bMatch = false;
    // Every line is compared, so the time taken does not tell which came close.
    for (const auto& stUser : m_vecUsers)
        bMatch |= equalConstantTime(strDecoded, stUser.first + ":" + stUser.second);
    return bMatch;
}

AuthVerdict Credentials::checkDigest(const std::string& p_strParams, const std::string& p_strMethod,
                                     const std::string& p_strTarget) const
{
    std::map<std::string, std::string> mapParams = digestParams(p_strParams);
    const EVP_MD* pAlgorithm = digestAlgorithm(mapParams["algorithm"]);
    long long nAge = 0;
    if (pAlgorithm == nullptr || mapParams["realm"] != kRealm || mapParams["uri"] != p_strTarget ||
        !nonceSigned(mapParams["nonce"], nAge))
        return AuthVerdict::kRefused;
    const std::string& strQop = mapParams["qop"];
    if (!strQop.empty() && strQop != "auth") return AuthVerdict::kRefused;
    const std::string strHa2 = digestHex(pAlgorithm, p_strMethod + ":" + mapParams["uri"]);
    bool bMatch = false;
    // Every line is worked out, so the time taken does not tell which user names exist.
    for (const auto& stUser : m_vecUsers) {
        const std::string strHa1 =
            digestHex(pAlgorithm, stUser.first + ":" + kRealm + ":" + stUser.second);
        const std::string strMiddle =
            strQop.empty() ? mapParams["nonce"]
                           : mapParams["nonce"] + ":" + mapParams["nc"] + ":" +
                                 mapParams["cnonce"] + ":" + strQop;
        const std::string strExpected =
            digestHex(pAlgorithm, strHa1 + ":" + strMiddle + ":" + strHa2);
        bMatch |= equalConstantTime(mapParams["username"], stUser.first) &
                  equalConstantTime(mapParams["response"], strExpected);
    }
    if (!bMatch) return AuthVerdict::kRefused;
    return nAge >= 0 && nAge <= m_tNonceLifetime ? AuthVerdict::kAccepted : AuthVerdict::kStaleNonce;
}

// "TIME-SIGNATURE": the server needs no table of nonces it gave out.
std::string Credentials::newNonce() const
{
    const std::string strTime = std::to_string(static_cast<long long>(time(nullptr)));
    return strTime + "-" + hmacHex(m_strSecret, strTime);
}

bool Credentials::nonceSigned(const std::string& p_strNonce, long long& p_nAge) const
{
    const size_t nDash = p_strNonce.find('-');
    if (nDash == std::string::npos) return false;
    const std::string strTime = p_strNonce.substr(0, nDash);
    if (!equalConstantTime(p_strNonce.substr(nDash + 1), hmacHex(m_strSecret, strTime)))
        return false;
    p_nAge = static_cast<long long>(time(nullptr)) - atoll(strTime.c_str());
    return true;
}
