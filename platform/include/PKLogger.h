// Size-limited rotating log: when the file would pass the size given to
// init, it is renamed to "<path>.1" (older ones shift up to "<path>.<count-1>")
// and a new file is started; at most `count` files exist.
#ifndef PK_LOGGER_H
#define PK_LOGGER_H

#include <string>

#include "PkBase.h"

class PK_API PKLogger {
public:
    PKLogger();
    ~PKLogger();
    bool init(const char* p_szPath, int p_nMaxSize, int p_nMaxCount);
    // Appends one entry "<time> <tag> <text>"; a missing final line end is added.
    bool writeLog(const char* p_szTag, const char* p_szText);

private:
    std::string m_strPath;
    int m_nMaxSize;
    int m_nMaxCount;
};

#endif
