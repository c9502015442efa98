// The one exception type of the base library; thrown by the safe pointer.
#ifndef PK_RUNTIME_ERROR_H
#define PK_RUNTIME_ERROR_H

#include <exception>
#include <string>

class __attribute__((visibility("default"))) PKRuntimeError : public std::exception {
public:
    explicit PKRuntimeError(const char* const& p_szText) : m_strMsg(p_szText ? p_szText : "") {}
    virtual ~PKRuntimeError() noexcept {}
    virtual const char* what() const noexcept { return m_strMsg.c_str(); }

private:
    std::string m_strMsg;
};

#endif
