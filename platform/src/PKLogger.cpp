// Size-limited rotating log file.
#include "PKLogger.h"

#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FlashPaths.h"
#include "PKDeviceTime.h"
#include "PlatformSim.h"

namespace {

// Loggers of several threads may share one file: size test, rotation and
// append run as one step.
pthread_mutex_t g_logMutex = PTHREAD_MUTEX_INITIALIZER;

class LogLock {
public:
    LogLock() { pthread_mutex_lock(&g_logMutex); }
    ~LogLock() { pthread_mutex_unlock(&g_logMutex); }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;
};

std::string timeStamp()
{
    const PKDateTime stNow = PKDeviceTime::getCurrentTime();
    char szTime[48];  // room for the widest 16-bit fields
    snprintf(szTime, sizeof(szTime), "%04u-%02u-%02u %02u:%02u:%02u", stNow.year, stNow.month,
             stNow.day, stNow.hour, stNow.minute, stNow.second);
    return szTime;
}

std::string rotatedName(const std::string& p_strPath, int p_nIndex)
{
    return p_strPath + "." + std::to_string(p_nIndex);
}

long long fileSize(const std::string& p_strPath)
{
    struct stat stInfo;
    return stat(p_strPath.c_str(), &stInfo) == 0 ? static_cast<long long>(stInfo.st_size) : 0;
}

// path.(n-2) -> path.(n-1), ..., path -> path.1; with a count of 1 the old
// file is simply dropped.
void rotate(const std::string& p_strPath, int p_nMaxCount)
{
    for (int nIndex = p_nMaxCount - 1; nIndex >= 2; --nIndex)
        rename(rotatedName(p_strPath, nIndex - 1).c_str(), rotatedName(p_strPath, nIndex).c_str());
    if (p_nMaxCount >= 2)
        rename(p_strPath.c_str(), rotatedName(p_strPath, 1).c_str());
    else
        unlink(p_strPath.c_str());
}

bool appendAll(const std::string& p_strPath, const std::string& p_strEntry)
{
    const int nFd = open(p_strPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (nFd < 0) return false;
    size_t nDone = 0;
    while (nDone < p_strEntry.size()) {
        const ssize_t nMoved = write(nFd, p_strEntry.data() + nDone, p_strEntry.size() - nDone);
        if (nMoved <= 0) break;
        nDone += static_cast<size_t>(nMoved);
    }
    close(nFd);
    return nDone == p_strEntry.size();
}

}  // namespace

PKLogger::PKLogger() : m_nMaxSize(0), m_nMaxCount(0) {}

PKLogger::~PKLogger() {}

bool PKLogger::init(const char* p_szPath, int p_nMaxSize, int p_nMaxCount)
{
    m_strPath.clear();
    if (p_szPath == nullptr || p_szPath[0] == '\0' || p_nMaxSize <= 0 || p_nMaxCount < 1) return false;
    if (!pkpath::makeParentDirs(platformsim::resolvePath(p_szPath))) return false;
    m_strPath = p_szPath;
    m_nMaxSize = p_nMaxSize;
    m_nMaxCount = p_nMaxCount;
    return true;
}

bool PKLogger::writeLog(const char* p_szTag, const char* p_szText)
{
    if (m_strPath.empty()) return false;
    std::string strEntry = timeStamp() + " " + (p_szTag ? p_szTag : "") + " " + (p_szText ? p_szText : "");
    if (strEntry.back() != '\n') strEntry += '\n';
    // An entry larger than the whole limit is cut, so the limit always holds.
    const size_t nMax = static_cast<size_t>(m_nMaxSize);
    if (strEntry.size() > nMax) {
        strEntry.resize(nMax);
        strEntry.back() = '\n';
    }
    const std::string strReal = platformsim::resolvePath(m_strPath);
    LogLock objLock;
    const long long nSize = fileSize(strReal);
    const long long nEntry = static_cast<long long>(strEntry.size());
    if (nSize > 0 && nSize + nEntry > m_nMaxSize) rotate(strReal, m_nMaxCount);
    return appendAll(strReal, strEntry);
}
