// Shell commands of the base library. "rm -rf PATTERN..." is carried out
// here (below the flash root, without a shell); any other command runs in
// /bin/sh with a time limit.
#include "SySystem.h"

#include <errno.h>
#include <ftw.h>
#include <glob.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/wait.h>
#include <time.h>

#include <sstream>
#include <string>
#include <vector>

#include "FlashPaths.h"
#include "PlatformSim.h"

extern char** environ;

namespace {

// Never destroyed, like the other simulation state.
struct CommandLog {
    pthread_mutex_t m_mutex = PTHREAD_MUTEX_INITIALIZER;
    std::vector<std::string> m_vecCommands;
};

CommandLog& commandLog()
{
    static CommandLog* s_pLog = new CommandLog;
    return *s_pLog;
}

void recordCommand(const char* p_szCmd)
{
    CommandLog& objLog = commandLog();
    pthread_mutex_lock(&objLog.m_mutex);
    objLog.m_vecCommands.push_back(p_szCmd);
    pthread_mutex_unlock(&objLog.m_mutex);
}

// The patterns of "rm -rf PATTERN..."; false for any other command. The
// patterns are taken literally: no quoting, variables or separators.
bool rmPatterns(const char* p_szCmd, std::vector<std::string>& p_vecPatterns)
{
    std::istringstream objWords(p_szCmd);
    std::string strRm;
    std::string strFlags;
    if (!(objWords >> strRm >> strFlags) || strRm != "rm" || strFlags != "-rf") return false;
    std::string strPattern;
    while (objWords >> strPattern) p_vecPatterns.push_back(strPattern);
    return true;
}

bool hasParentStep(const std::string& p_strPattern)
{
    return ("/" + p_strPattern + "/").find("/../") != std::string::npos;
}

std::string withoutTrailingSlashes(std::string p_strPath)
{
    while (!p_strPath.empty() && p_strPath.back() == '/') p_strPath.pop_back();
    return p_strPath;
}

int removeEntry(const char* p_szPath, const struct stat*, int, struct FTW*)
{
    return remove(p_szPath) == 0 || errno == ENOENT ? 0 : -1;
}

// Removes one path and everything below it, without following links.
bool removeTree(const std::string& p_strPath)
{
    const int nFdLimit = 16;
    return nftw(p_strPath.c_str(), removeEntry, nFdLimit, FTW_DEPTH | FTW_PHYS) == 0 || errno == ENOENT;
}

// rm's status: 0, or 1 when something could not be removed. A pattern that
// would leave the flash root ("..") and the root itself are refused, as rm
// refuses "/".
int removeMatches(const std::vector<std::string>& p_vecPatterns)
{
    const std::string strRoot = platformsim::flashRoot();
    int nStatus = 0;
    for (const std::string& strPattern : p_vecPatterns) {
        const bool bRooted = strPattern[0] == '/';
        if (bRooted && !strRoot.empty() && hasParentStep(strPattern)) {
            nStatus = 1;
            continue;
        }
        const std::string strReal = bRooted ? platformsim::globEscapedRoot() + strPattern : strPattern;
        glob_t stMatches;
        if (glob(strReal.c_str(), 0, nullptr, &stMatches) == 0) {
            for (size_t i = 0; i < stMatches.gl_pathc; ++i) {
                const std::string strMatch = withoutTrailingSlashes(stMatches.gl_pathv[i]);
                const bool bIsRoot = strMatch.empty() || (bRooted && strMatch == strRoot);
                if (bIsRoot || !removeTree(strMatch)) nStatus = 1;
            }
        }
        globfree(&stMatches);
    }
    return nStatus;
}

double secondsSince(const struct timespec& p_stStart)
{
    struct timespec stNow;
    clock_gettime(CLOCK_MONOTONIC, &stNow);
    return static_cast<double>(stNow.tv_sec - p_stStart.tv_sec) +
           static_cast<double>(stNow.tv_nsec - p_stStart.tv_nsec) / 1e9;
}

int exitStatus(int p_nWaitStatus)
{
    if (WIFEXITED(p_nWaitStatus)) return WEXITSTATUS(p_nWaitStatus);
    return 128 + WTERMSIG(p_nWaitStatus);  // as a shell reports a killed command
}

pid_t spawnShell(const char* p_szCmd)
{
    posix_spawnattr_t stAttr;
    posix_spawnattr_init(&stAttr);
    // Own process group, so a timeout also ends what the shell started;
    // nothing of the caller's signal state leaks into the command.
    sigset_t stSignals;
    sigemptyset(&stSignals);
    posix_spawnattr_setsigmask(&stAttr, &stSignals);
    sigaddset(&stSignals, SIGPIPE);
    posix_spawnattr_setsigdefault(&stAttr, &stSignals);
    posix_spawnattr_setpgroup(&stAttr, 0);
    posix_spawnattr_setflags(&stAttr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char szShell[] = "/bin/sh";
    char szOption[] = "-c";
    char* aArgs[] = {szShell, szOption, const_cast<char*>(p_szCmd), nullptr};
    pid_t nPid = -1;
    if (posix_spawn(&nPid, szShell, nullptr, &stAttr, aArgs, environ) != 0) nPid = -1;
    posix_spawnattr_destroy(&stAttr);
    return nPid;
}

// The command's status, or -1 when it outlived the limit (it is killed then)
// or was reaped elsewhere. A limit of 0 or less waits without a limit.
int waitForShell(pid_t p_nPid, int p_nTimeout)
{
    struct timespec stStart;
    clock_gettime(CLOCK_MONOTONIC, &stStart);
    long nPauseNs = 1000000;  // grows to 50 ms: short commands return quickly
    for (;;) {
        int nStatus = 0;
        const pid_t nDone = waitpid(p_nPid, &nStatus, p_nTimeout > 0 ? WNOHANG : 0);
        if (nDone == p_nPid) return exitStatus(nStatus);
        if (nDone < 0 && errno != EINTR) return -1;
        if (nDone == 0 && secondsSince(stStart) >= p_nTimeout) break;
        struct timespec stPause = {0, nPauseNs};
        nanosleep(&stPause, nullptr);
        if (nPauseNs < 50000000) nPauseNs *= 2;
    }
    kill(-p_nPid, SIGKILL);
    kill(p_nPid, SIGKILL);
    while (waitpid(p_nPid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return -1;
}

}  // namespace

namespace platformsim {

std::vector<std::string> shellCommands()
{
    CommandLog& objLog = commandLog();
    pthread_mutex_lock(&objLog.m_mutex);
    std::vector<std::string> vecCopy = objLog.m_vecCommands;
    pthread_mutex_unlock(&objLog.m_mutex);
    return vecCopy;
}

void clearShellCommands()
{
    CommandLog& objLog = commandLog();
    pthread_mutex_lock(&objLog.m_mutex);
    objLog.m_vecCommands.clear();
    pthread_mutex_unlock(&objLog.m_mutex);
}

}  // namespace platformsim

int sy_system(const char* p_szCmd, int p_nTimeout)
{
    if (p_szCmd == nullptr) return -1;
    recordCommand(p_szCmd);
    std::vector<std::string> vecPatterns;
    if (rmPatterns(p_szCmd, vecPatterns)) return removeMatches(vecPatterns);
    const pid_t nPid = spawnShell(p_szCmd);
    return nPid < 0 ? -1 : waitForShell(nPid, p_nTimeout);
}
