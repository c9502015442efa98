// Who may talk to the server: the page token that every mutating request
// carries, and HTTP Basic or Digest credentials from an --auth file.
#ifndef SERVE_AUTH_H
#define SERVE_AUTH_H

#include <string>
#include <utility>
#include <vector>

// Equal texts, compared in time that does not depend on where they differ.
bool equalConstantTime(const std::string& p_strA, const std::string& p_strB);

// 32 hexadecimal digits from the system's random source.
std::string newRandomToken();

class Credentials {
public:
    // Reads "user:password" lines ('#' comments and blank lines skipped).
    // Returns "" or what is wrong with the file.
    std::string load(const std::string& p_strFile);
    bool empty() const { return m_vecUsers.empty(); }

    // Whether the Authorization header proves one of the users, for a
    // request with this method and target.
    bool accepts(const std::string& p_strAuthorization, const std::string& p_strMethod,
                 const std::string& p_strTarget) const;
    // The WWW-Authenticate challenges of a 401 answer: Digest first (the
    // stronger one), then Basic.
    std::vector<std::string> challenges() const;

private:
    bool acceptsBasic(const std::string& p_strEncoded) const;
    bool acceptsDigest(const std::string& p_strParams, const std::string& p_strMethod,
                       const std::string& p_strTarget) const;
    std::string newNonce() const;
    bool nonceValid(const std::string& p_strNonce) const;

    std::vector<std::pair<std::string, std::string>> m_vecUsers;
    std::string m_strSecret = newRandomToken();  // signs the Digest nonces
};

#endif
