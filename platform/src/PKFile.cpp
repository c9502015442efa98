// File access of the base library; every absolute path resolves below the
// flash root. Truncating writes replace their file atomically.
#include "PKFile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <dirent.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "FlashPaths.h"
#include "PlatformSim.h"
#include "WriteFaults.h"

namespace {

bool isWriteMode(int p_nMode) { return (p_nMode & (PKFile::modeWrite | PKFile::modeAppend)) != 0; }

// Writing a whole new content (not appending, not patching in place).
bool isReplacingMode(int p_nMode)
{
    return (p_nMode & PKFile::modeWrite) != 0 && (p_nMode & PKFile::modeTruncate) != 0 &&
           (p_nMode & PKFile::modeAppend) == 0;
}

// A replacing write goes to "<target>.XXXXXX" (mkostemp fills the X).
const char kTempSuffix[] = ".XXXXXX";

// A new file gets what the usual umask 022 would give.
const mode_t kNewFileMode = 0644;

// Makes a rename in the file's folder durable.
void syncFolder(const std::string& p_strFile)
{
    const size_t nSlash = p_strFile.find_last_of('/');
    std::string strDir = ".";
    if (nSlash != std::string::npos) strDir = nSlash == 0 ? "/" : p_strFile.substr(0, nSlash);
    const int nFd = ::open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd < 0) return;
    fsync(nFd);
    ::close(nFd);
}

// open(2) flags and the matching stdio mode of a PKFile mode; false for a
// mode that neither reads nor writes.
bool openFlags(int p_nMode, int& p_nFlags, const char*& p_szStdio)
{
    const bool bRead = (p_nMode & PKFile::modeRead) != 0;
    if (!isWriteMode(p_nMode)) {
        p_nFlags = O_RDONLY;
        p_szStdio = "rb";
        return bRead;
    }
    const bool bAppend = (p_nMode & PKFile::modeAppend) != 0;
    p_nFlags = O_CREAT | (bRead ? O_RDWR : O_WRONLY);
    if (bAppend) p_nFlags |= O_APPEND;
    // Truncation only makes sense when writing from the start.
    if (!bAppend && (p_nMode & PKFile::modeTruncate) != 0) p_nFlags |= O_TRUNC;
    if (bAppend) {
        p_szStdio = bRead ? "a+b" : "ab";
    } else {
        p_szStdio = bRead ? "r+b" : "wb";  // fdopen never truncates
    }
    return true;
}

// One line into p_strLine without its line end; false at end of file.
bool readLine(FILE* p_pStream, std::string& p_strLine)
{
    p_strLine.clear();
    if (p_pStream == nullptr) return false;
    char* szLine = nullptr;
    size_t nCap = 0;
    const ssize_t nLen = getline(&szLine, &nCap, p_pStream);
    if (nLen > 0) p_strLine.assign(szLine, static_cast<size_t>(nLen));
    free(szLine);
    if (nLen <= 0) return false;
    if (!p_strLine.empty() && p_strLine.back() == '\n') p_strLine.pop_back();
    if (!p_strLine.empty() && p_strLine.back() == '\r') p_strLine.pop_back();
    return true;
}

// fread/fwrite result as the signed count of the interface.
int transferResult(size_t p_nMoved, FILE* p_pFile)
{
    if (p_nMoved == 0 && ferror(p_pFile)) {
        clearerr(p_pFile);
        return -1;
    }
    return static_cast<int>(p_nMoved);
}

unsigned int capToInt(unsigned int p_nLen)
{
    return p_nLen > static_cast<unsigned int>(INT_MAX) ? static_cast<unsigned int>(INT_MAX) : p_nLen;
}

}  // namespace

PKFile::PKFile() : m_pFile(nullptr), m_bWriteFailed(false), m_bWritable(false) {}

PKFile::~PKFile() { close(); }

bool PKFile::open(const char* p_szPath, int p_nMode)
{
    close();
    m_bWriteFailed = false;
    m_bWritable = isWriteMode(p_nMode);
    int nFlags = 0;
    const char* szStdio = nullptr;
    if (p_szPath == nullptr || p_szPath[0] == '\0' || !openFlags(p_nMode, nFlags, szStdio)) return false;
    const std::string strReal = platformsim::resolvePath(p_szPath);
    if (isReplacingMode(p_nMode)) return openReplacement(strReal, szStdio);
    // Opened without blocking: a FIFO planted in place of a file must not
    // hold the caller in open(). A regular file ignores the flag.
    int nFd = ::open(strReal.c_str(), nFlags | O_CLOEXEC | O_NONBLOCK, 0666);
    // A fresh flash has none of the configuration folders yet.
    if (nFd < 0 && errno == ENOENT && isWriteMode(p_nMode) && pkpath::makeParentDirs(strReal))
        nFd = ::open(strReal.c_str(), nFlags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (nFd < 0) return false;
    // Only regular files: a folder, a FIFO or a device (/dev/zero) is no file.
    struct stat stInfo;
    if (fstat(nFd, &stInfo) != 0 || !S_ISREG(stInfo.st_mode)) {
        ::close(nFd);
        return false;
    }
    m_pFile = fdopen(nFd, szStdio);
    if (m_pFile == nullptr) ::close(nFd);
    return m_pFile != nullptr;
}

bool PKFile::openReplacement(const std::string& p_strReal, const char* p_szStdio)
{
    // What an in-place open would refuse is refused here too: a folder, or
    // a file that may not be written. A link at the path is replaced by the
    // rename like any file; what it points to is never opened.
    struct stat stTarget;
    const bool bExists = lstat(p_strReal.c_str(), &stTarget) == 0 && !S_ISLNK(stTarget.st_mode);
    if (bExists && (S_ISDIR(stTarget.st_mode) || access(p_strReal.c_str(), W_OK) != 0)) return false;
    const std::string strPattern = p_strReal + kTempSuffix;
    std::string strTemp = strPattern;
    int nFd = mkostemp(&strTemp[0], O_CLOEXEC);
    // A fresh flash has none of the configuration folders yet.
    if (nFd < 0 && errno == ENOENT && pkpath::makeParentDirs(p_strReal)) {
        strTemp = strPattern;
        nFd = mkostemp(&strTemp[0], O_CLOEXEC);
    }
    if (nFd < 0) return false;
    // mkostemp creates 0600; the new content keeps the target's permissions.
    fchmod(nFd, bExists ? (stTarget.st_mode & 07777) : kNewFileMode);
    m_pFile = fdopen(nFd, p_szStdio);
    if (m_pFile == nullptr) {
        ::close(nFd);
        ::unlink(strTemp.c_str());
        return false;
    }
    m_strTarget = p_strReal;
    m_strTemp = strTemp;
    m_bWriteFailed = false;
    return true;
}

bool PKFile::commitReplacement()
{
    bool bComplete = !m_bWriteFailed && fflush(m_pFile) == 0 && fsync(fileno(m_pFile)) == 0;
    if (fclose(m_pFile) != 0) bComplete = false;
    m_pFile = nullptr;
    std::string strTemp;
    std::string strTarget;
    strTemp.swap(m_strTemp);
    strTarget.swap(m_strTarget);
    // An incomplete content never replaces the old one.
    if (!bComplete) {
        ::unlink(strTemp.c_str());
        return false;
    }
    // A power cut here leaves the old target and the complete temporary file;
    // the process that would learn the outcome is gone.
    if (platformsim::stopsBeforeRename()) return true;
    if (::rename(strTemp.c_str(), strTarget.c_str()) != 0) {
        ::unlink(strTemp.c_str());
        return false;
    }
    syncFolder(strTarget);
    return true;
}

bool PKFile::close()
{
    if (m_pFile == nullptr) return true;
    if (!m_strTemp.empty()) return commitReplacement();
    const bool bClosed = fclose(m_pFile) == 0;
    m_pFile = nullptr;
    return bClosed;
}

bool PKFile::isOpen() const { return m_pFile != nullptr; }

FILE* PKFile::getFileHandle() const { return m_pFile; }

int PKFile::read(char* p_pData, unsigned int p_nLen)
{
    if (m_pFile == nullptr || (p_pData == nullptr && p_nLen > 0)) return -1;
    if (p_nLen == 0) return 0;
    return transferResult(fread(p_pData, 1, capToInt(p_nLen), m_pFile), m_pFile);
}

int PKFile::write(char* p_pData, unsigned int p_nLen)
{
    if (m_pFile == nullptr || (p_pData == nullptr && p_nLen > 0)) return -1;
    if (p_nLen == 0) return 0;
    const unsigned int nWanted = capToInt(p_nLen);
    const long long nRoom = platformsim::simulatedWriteRoom(nWanted);
    if (nRoom < 0) {
        m_bWriteFailed = true;
        errno = ENOSPC;
        return -1;
    }
    int nMoved = transferResult(fwrite(p_pData, 1, static_cast<size_t>(nRoom), m_pFile), m_pFile);
    // The count is what reached the file, not what stdio buffered: a full
    // medium shows up here, not only when the file is closed.
    if (nMoved > 0 && fflush(m_pFile) != 0) {
        clearerr(m_pFile);
        nMoved = -1;
    }
    if (nMoved != static_cast<int>(nWanted)) m_bWriteFailed = true;
    return nMoved;
}

int64_t PKFile::getLength()
{
    if (m_pFile == nullptr) return 0;
    // A file only read from has the length its folder entry says.
    struct stat stInfo;
    if (!m_bWritable && fstat(fileno(m_pFile), &stInfo) == 0 && S_ISREG(stInfo.st_mode))
        return static_cast<int64_t>(stInfo.st_size);
    // Seeking flushes pending writes, so the length includes them.
    const off_t nPos = ftello(m_pFile);
    if (nPos < 0 || fseeko(m_pFile, 0, SEEK_END) != 0) return 0;
    const off_t nEnd = ftello(m_pFile);
    fseeko(m_pFile, nPos, SEEK_SET);
    return nEnd < 0 ? 0 : static_cast<int64_t>(nEnd);
}

std::list<std::string> PKFile::ReadLines()
{
    std::list<std::string> lstLines;
    if (m_pFile == nullptr) return lstLines;
    rewind(m_pFile);
    std::string strLine;
    while (readLine(m_pFile, strLine)) lstLines.push_back(strLine);
    return lstLines;
}

std::string PKFile::ReadOneLine(FILE* p_pStream)
{
    std::string strLine;
    readLine(p_pStream, strLine);
    return strLine;
}

bool PKFile::isExist(const char* p_szPath)
{
    // Called at every diagnostic site: no heap, one system call.
    char szReal[PATH_MAX];
    return platformsim::resolveInto(p_szPath, szReal, sizeof(szReal)) && access(szReal, F_OK) == 0;
}

bool PKFile::remove(const char* p_szPath)
{
    if (p_szPath == nullptr || p_szPath[0] == '\0') return false;
    return ::remove(platformsim::resolvePath(p_szPath).c_str()) == 0;
}

bool PKFile::mkdirs(const char* p_szDir)
{
    if (p_szDir == nullptr || p_szDir[0] == '\0') return false;
    return pkpath::makeDirs(platformsim::resolvePath(p_szDir));
}

int PKFile::removeStaleReplacements(const char* p_szPath)
{
    if (p_szPath == nullptr || p_szPath[0] == '\0') return 0;
    const std::string strReal = platformsim::resolvePath(p_szPath);
    const size_t nSlash = strReal.find_last_of('/');
    const std::string strDir = nSlash == std::string::npos ? "." : strReal.substr(0, nSlash == 0 ? 1 : nSlash);
    const std::string strPrefix = (nSlash == std::string::npos ? strReal : strReal.substr(nSlash + 1)) + ".";
    const size_t nTempLen = strPrefix.size() + sizeof(kTempSuffix) - 2;
    DIR* pDir = opendir(strDir.c_str());
    if (pDir == nullptr) return 0;
    int nRemoved = 0;
    while (const struct dirent* pEntry = readdir(pDir)) {
        if (strlen(pEntry->d_name) != nTempLen || strncmp(pEntry->d_name, strPrefix.c_str(), strPrefix.size()) != 0)
            continue;
        const std::string strTemp = strDir + "/" + pEntry->d_name;
        struct stat stInfo;
        if (lstat(strTemp.c_str(), &stInfo) == 0 && S_ISREG(stInfo.st_mode) && ::unlink(strTemp.c_str()) == 0)
            ++nRemoved;
    }
    closedir(pDir);
    return nRemoved;
}
