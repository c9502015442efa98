#include "ConsoleCapture.h"

#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <mutex>
#include <thread>

namespace sensorhost {

namespace {

const char kAssertTag[] = "[sensor assert] ";
const char kFailedSuffix[] = "~~~Assertion failed.";
// Lines seen before a log is named are kept up to this size.
const size_t kEarlyLimit = 256 * 1024;

bool endsWith(const std::string& p_strText, const char* p_szSuffix)
{
    const std::string strSuffix(p_szSuffix);
    return p_strText.size() >= strSuffix.size() &&
           p_strText.compare(p_strText.size() - strSuffix.size(), strSuffix.size(), strSuffix) == 0;
}

}  // namespace

struct ConsoleCapture::State {
    std::mutex m_objLock;
    std::mutex m_objDrainLock;  // taken before m_objLock
    int m_nReadFd = -1;         // the pipe's end, non-blocking
    std::thread m_objReader;
    int m_nSavedFd = -1;
    FILE* m_pAnswers = nullptr;
    FILE* m_pLog = nullptr;
    FILE* m_pEcho = nullptr;
    bool m_bEchoColour = false;
    std::string m_strEarly;
    std::string m_strPartial;
    std::string m_strPendingWhere;  // a tag line waiting for its condition line
    std::vector<AssertReport> m_vecReports;

    void handleLine(const std::string& p_strRaw)
    {
        const std::string strPlain = withoutColour(p_strRaw);
        noteReport(strPlain);
        if (m_pLog != nullptr) {
            fprintf(m_pLog, "%s\n", strPlain.c_str());
        } else if (m_strEarly.size() < kEarlyLimit) {
            m_strEarly += strPlain + "\n";
        }
        if (m_pEcho != nullptr) {
            fprintf(m_pEcho, "%s\n", m_bEchoColour ? p_strRaw.c_str() : strPlain.c_str());
            fflush(m_pEcho);
        }
    }

    void noteReport(const std::string& p_strPlain)
    {
        if (p_strPlain.compare(0, sizeof(kAssertTag) - 1, kAssertTag) == 0) {
            m_strPendingWhere = p_strPlain.substr(sizeof(kAssertTag) - 1);
            return;
        }
        if (m_strPendingWhere.empty() || p_strPlain.empty()) return;
        // A report without the failure line is a note of the library, not a failure.
        if (endsWith(p_strPlain, kFailedSuffix)) {
            std::string strCheck = p_strPlain.substr(0, p_strPlain.size() - (sizeof(kFailedSuffix) - 1));
            while (!strCheck.empty() && strCheck.back() == ' ') strCheck.pop_back();
            m_vecReports.push_back(AssertReport{m_strPendingWhere, strCheck});
        }
        m_strPendingWhere.clear();
    }

    // An unfinished line stays pending until its end arrives.
    void handleChunk(const char* p_pData, size_t p_nSize)
    {
        std::lock_guard<std::mutex> objGuard(m_objLock);
        for (size_t i = 0; i < p_nSize; ++i) {
            if (p_pData[i] != '\n') {
                m_strPartial += p_pData[i];
                continue;
            }
            handleLine(m_strPartial);
            m_strPartial.clear();
        }
        // Once per chunk: init prints hundreds of lines at a time.
        if (m_pLog != nullptr) fflush(m_pLog);
    }

    // Handles what the pipe holds now; false at its end (every writer gone).
    // The reader and sync() both drain, one at a time, so that sync() needs
    // no hand-off to the reader thread.
    bool drain()
    {
        std::lock_guard<std::mutex> objGuard(m_objDrainLock);
        if (m_nReadFd < 0) return false;
        char szBuf[4096];
        for (;;) {
            const ssize_t nRead = read(m_nReadFd, szBuf, sizeof(szBuf));
            if (nRead > 0) {
                handleChunk(szBuf, static_cast<size_t>(nRead));
                continue;
            }
            if (nRead < 0 && errno == EINTR) continue;
            return nRead < 0 && errno == EAGAIN;
        }
    }

    void readLoop()
    {
        // Signals are the front end's business (serve waits for SIGTERM in a thread of its own).
        sigset_t stAll;
        sigfillset(&stAll);
        pthread_sigmask(SIG_BLOCK, &stAll, nullptr);
        for (;;) {
            struct pollfd stWait = {m_nReadFd, POLLIN, 0};
            if (poll(&stWait, 1, -1) < 0 && errno != EINTR) break;
            if (!drain()) break;
        }
        std::lock_guard<std::mutex> objDrain(m_objDrainLock);
        close(m_nReadFd);
        m_nReadFd = -1;
        std::lock_guard<std::mutex> objGuard(m_objLock);
        if (!m_strPartial.empty()) handleLine(m_strPartial);
        m_strPartial.clear();
        if (m_pLog != nullptr) fflush(m_pLog);
    }
};

ConsoleCapture::ConsoleCapture() : m_pState(new State) {}

ConsoleCapture& ConsoleCapture::instance()
{
    // Never destroyed: the reader may still run while the process exits.
    static ConsoleCapture* s_pInstance = new ConsoleCapture;
    return *s_pInstance;
}

FILE* ConsoleCapture::start()
{
    State& st = *m_pState;
    if (st.m_pAnswers != nullptr) return st.m_pAnswers;
    fflush(stdout);
    int arrPipe[2];
    if (pipe2(arrPipe, O_CLOEXEC) != 0) return nullptr;
    // Only the read end is non-blocking: the library's writes wait for room.
    fcntl(arrPipe[0], F_SETFL, O_NONBLOCK);
    st.m_nSavedFd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (st.m_nSavedFd < 0 || dup2(arrPipe[1], STDOUT_FILENO) < 0) {
        if (st.m_nSavedFd >= 0) close(st.m_nSavedFd);
        close(arrPipe[0]);
        close(arrPipe[1]);
        return nullptr;
    }
    close(arrPipe[1]);
    st.m_pAnswers = fdopen(dup(st.m_nSavedFd), "w");
    // Whole lines at once, so that they keep their order with standard error.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (st.m_pAnswers != nullptr) setvbuf(st.m_pAnswers, nullptr, _IOLBF, 0);
    st.m_nReadFd = arrPipe[0];
    st.m_objReader = std::thread([&st] { st.readLoop(); });
    return st.m_pAnswers;
}

void ConsoleCapture::stop()
{
    State& st = *m_pState;
    if (!st.m_objReader.joinable()) return;
    fflush(stdout);
    dup2(st.m_nSavedFd, STDOUT_FILENO);  // closes the pipe's last writer
    st.m_objReader.join();
    close(st.m_nSavedFd);
    st.m_nSavedFd = -1;
    if (st.m_pAnswers != nullptr) fclose(st.m_pAnswers);
    st.m_pAnswers = nullptr;
    std::lock_guard<std::mutex> objGuard(st.m_objLock);
    if (st.m_pLog != nullptr) fclose(st.m_pLog);
    st.m_pLog = nullptr;
    m_strLogPath.clear();
}

std::string ConsoleCapture::setLog(const std::string& p_strPath)
{
    State& st = *m_pState;
    std::lock_guard<std::mutex> objGuard(st.m_objLock);
    if (st.m_pLog != nullptr) fclose(st.m_pLog);
    st.m_pLog = nullptr;
    m_strLogPath.clear();
    if (p_strPath.empty()) return "";
    st.m_pLog = fopen(p_strPath.c_str(), "we");
    if (st.m_pLog == nullptr) return std::string("cannot write ") + p_strPath + ": " + strerror(errno);
    m_strLogPath = p_strPath;
    fputs(st.m_strEarly.c_str(), st.m_pLog);
    fflush(st.m_pLog);
    st.m_strEarly.clear();
    return "";
}

void ConsoleCapture::setEcho(FILE* p_pEcho, bool p_bColour)
{
    std::lock_guard<std::mutex> objGuard(m_pState->m_objLock);
    m_pState->m_pEcho = p_pEcho;
    m_pState->m_bEchoColour = p_bColour;
}

void ConsoleCapture::sync()
{
    State& st = *m_pState;
    fflush(stdout);
    {
        std::lock_guard<std::mutex> objGuard(st.m_objLock);
        if (!st.m_objReader.joinable()) return;
    }
    st.drain();
}

size_t ConsoleCapture::reportCount()
{
    sync();
    std::lock_guard<std::mutex> objGuard(m_pState->m_objLock);
    return m_pState->m_vecReports.size();
}

std::vector<AssertReport> ConsoleCapture::reportsSince(size_t p_nMark)
{
    sync();
    std::lock_guard<std::mutex> objGuard(m_pState->m_objLock);
    const std::vector<AssertReport>& vecAll = m_pState->m_vecReports;
    if (p_nMark >= vecAll.size()) return {};
    return std::vector<AssertReport>(vecAll.begin() + static_cast<long>(p_nMark), vecAll.end());
}

std::string summariseReports(const std::vector<AssertReport>& p_vecReports)
{
    if (p_vecReports.empty()) return "";
    std::string strText = p_vecReports[0].m_strCheck + " (" + p_vecReports[0].m_strWhere + ")";
    if (p_vecReports.size() > 1) strText += " and " + std::to_string(p_vecReports.size() - 1) + " more";
    return strText;
}

std::string withoutColour(const std::string& p_strText)
{
    std::string strOut;
    for (size_t i = 0; i < p_strText.size(); ++i) {
        if (p_strText[i] != '\033') {
            strOut += p_strText[i];
            continue;
        }
        // ESC [ parameters final-letter
        size_t j = i + 1;
        if (j < p_strText.size() && p_strText[j] == '[') {
            ++j;
            while (j < p_strText.size() && (isdigit(static_cast<unsigned char>(p_strText[j])) || p_strText[j] == ';'))
                ++j;
        }
        i = j < p_strText.size() ? j : p_strText.size();
    }
    return strOut;
}

}  // namespace sensorhost
