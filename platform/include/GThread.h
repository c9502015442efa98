// Thread of the base library: calls its work function repeatedly, each call
// after the previous one returned, from start() until stop().
#ifndef G_THREAD_H
#define G_THREAD_H

#include <pthread.h>

#include <string>

#include "PkBase.h"
#include "ThreadFunction.h"

class PK_API GThread {
public:
    // p_objBegin runs once on the new thread before the first work call,
    // p_objEnd once after the last.
    GThread(const function<int>& p_objWork, const std::string& p_strName,
            const function<int>& p_objBegin, const function<int>& p_objEnd);
    ~GThread();  // stops a running thread
    GThread(const GThread&) = delete;
    GThread& operator=(const GThread&) = delete;

    bool start();  // false when already running or the thread cannot be created
    bool stop();   // waits for the current work call to end; true when not running
    bool isRunning() const;

    static int emptyFun();

private:
    static void* threadMain(void* p_pArg);

    function<int> m_objWork;
    function<int> m_objBegin;
    function<int> m_objEnd;
    std::string m_strName;
    pthread_t m_thread;
    bool m_bRunning;     // accessed atomically
    bool m_bStopAsked;   // accessed atomically
    pthread_mutex_t m_mutex;  // serialises start/stop
};

#endif
