// Thread of the base library: begin once, work until stop is asked, end once.
#include "GThread.h"

#include <sched.h>
#include <time.h>

#include "../../technic/AtomicWord.h"

namespace {

// What a thread knows about itself: its GThread, and whether it detached
// itself because stop() was called from inside it.
struct ThreadContext {
    const GThread* m_pOwner;
    bool m_bDetached;
};

thread_local ThreadContext* t_pContext = nullptr;

const size_t MAX_THREAD_NAME = 15;  // the kernel keeps 15 characters

void sleepBriefly()
{
    struct timespec stSpan = {0, 1000000};  // 1 ms
    nanosleep(&stSpan, nullptr);
}

class MutexGuard {
public:
    explicit MutexGuard(pthread_mutex_t& p_mutex) : m_mutex(p_mutex) { pthread_mutex_lock(&m_mutex); }
    ~MutexGuard() { pthread_mutex_unlock(&m_mutex); }
    MutexGuard(const MutexGuard&) = delete;
    MutexGuard& operator=(const MutexGuard&) = delete;

private:
    pthread_mutex_t& m_mutex;
};

}  // namespace

GThread::GThread(const function<int>& p_objWork, const std::string& p_strName,
                 const function<int>& p_objBegin, const function<int>& p_objEnd)
    : m_objWork(p_objWork),
      m_objBegin(p_objBegin),
      m_objEnd(p_objEnd),
      m_strName(p_strName),
      m_thread(),
      m_bRunning(false),
      m_bStopAsked(false)
{
    pthread_mutex_init(&m_mutex, nullptr);
}

// A GThread must not be destroyed by its own thread: the thread still runs
// its end function on the object after stop() returned.
GThread::~GThread()
{
    stop();
    pthread_mutex_destroy(&m_mutex);
}

int GThread::emptyFun() { return 0; }

bool GThread::isRunning() const { return atomicGet(m_bRunning); }

bool GThread::start()
{
    MutexGuard objGuard(m_mutex);
    if (atomicGet(m_bRunning)) return false;
    atomicSet(m_bStopAsked, false);
    atomicSet(m_bRunning, true);
    pthread_t thread;
    if (pthread_create(&thread, nullptr, threadMain, this) != 0) {
        atomicSet(m_bRunning, false);
        return false;
    }
    m_thread = thread;
    return true;
}

bool GThread::stop()
{
    pthread_mutex_lock(&m_mutex);
    if (!atomicGet(m_bRunning)) {
        pthread_mutex_unlock(&m_mutex);
        return true;
    }
    if (t_pContext != nullptr && t_pContext->m_pOwner == this) {
        // Joining itself would never return: the thread detaches and ends
        // after the current call. If a stop is already under way, its
        // caller joins.
        if (!atomicGet(m_bStopAsked)) {
            atomicSet(m_bStopAsked, true);
            pthread_detach(pthread_self());
            t_pContext->m_bDetached = true;
        }
        pthread_mutex_unlock(&m_mutex);
        return true;
    }
    if (atomicGet(m_bStopAsked)) {
        // Another caller joins, or the thread detached itself: wait for its end.
        pthread_mutex_unlock(&m_mutex);
        while (atomicGet(m_bRunning)) sleepBriefly();
        return true;
    }
    atomicSet(m_bStopAsked, true);
    const pthread_t thread = m_thread;
    // Not held while joining, so that the thread's own stop() can still lock.
    pthread_mutex_unlock(&m_mutex);
    const bool bJoined = pthread_join(thread, nullptr) == 0;
    atomicSet(m_bRunning, false);
    return bJoined;
}

void* GThread::threadMain(void* p_pArg)
{
    GThread* pThis = static_cast<GThread*>(p_pArg);
    ThreadContext stContext = {pThis, false};
    t_pContext = &stContext;
    if (!pThis->m_strName.empty())
        pthread_setname_np(pthread_self(), pThis->m_strName.substr(0, MAX_THREAD_NAME).c_str());

    pThis->m_objBegin();
    while (!atomicGet(pThis->m_bStopAsked)) {
        pThis->m_objWork();
        // A work function that returns at once must not starve the others.
        if (!atomicGet(pThis->m_bStopAsked)) sched_yield();
    }
    pThis->m_objEnd();

    t_pContext = nullptr;
    // Nobody joins a detached thread: it reports its end itself, as its
    // last access to the object.
    if (stContext.m_bDetached) atomicSet(pThis->m_bRunning, false);
    return nullptr;
}
