// Who may talk to the server: the page token that every mutating request
// carries, and HTTP Basic or Digest credentials from an --auth file.
#ifndef SERVE_AUTH_H
#define SERVE_AUTH_H

#include <time.h>

#include <string>
#include <utility>
#include <vector>

// Equal texts, compared in time that does not depend on where they differ.
bool equalConstantTime(const std::string& p_strA, const std::string& p_strB);

// 32 hexadecimal digits from the system's random source.
std::string newRandomToken();

enum class AuthVerdict {
    kRefused,
    kAccepted,
    kStaleNonce  // right credentials on an expired Digest nonce: the client retries unasked
};

class Credentials {
public:
    // A Digest nonce older than p_tNonceLifetime seconds is answered with a fresh one.
    explicit Credentials(time_t p_tNonceLifetime = 300) : m_tNonceLifetime(p_tNonceLifetime) {}

    // Reads "user:password" lines ('#' comments and blank lines skipped).
    // Returns "" or what is wrong with the file.
    std::string load(const std::string& p_strFile);
    bool empty() const { return m_vecUsers.empty(); }

    // Whether the Authorization header proves one of the users, for a
    // request with this method and target.
    AuthVerdict check(const std::string& p_strAuthorization, const std::string& p_strMethod,
                      const std::string& p_strTarget) const;
    // The WWW-Authenticate challenges of a 401 answer: Digest first (the
    // stronger one; stale=true after kStaleNonce), then Basic.
    std::vector<std::string> challenges(bool p_bStale = false) const;

private:
    bool acceptsBasic(const std::string& p_strEncoded) const;
    AuthVerdict checkDigest(const std::string& p_strParams, const std::string& p_strMethod,
                            const std::string& p_strTarget) const;
    std::string newNonce() const;
    // Whether the nonce is one this server signed; p_nAge gets its age in seconds.
    bool nonceSigned(const std::string& p_strNonce, long long& p_nAge) const;

    time_t m_tNonceLifetime;
    std::vector<std::pair<std::string, std::string>> m_vecUsers;
    std::string m_strSecret = newRandomToken();  // signs the Digest nonces
};

#endif
