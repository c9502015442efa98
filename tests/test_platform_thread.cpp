// Base library threads, reference-count registry, mutex and clocks.
#include <pthread.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GThread.h"
#include "PKDeviceTime.h"
#include "PelkorTime.h"
#include "PlatformSim.h"
#include "RefCountManager.h"
#include "TestSupport.h"

namespace {

class PlatformThread : public testsupport::FlashTest {};

// Records the calls of a thread's three functions.
struct Recorder {
    std::mutex m_mutex;
    std::vector<char> m_vecEvents;  // 'b' begin, 'w' work, 'e' end
    std::string m_strName;
    std::atomic<int> m_nWorks{0};
    int m_nStopAfter = -1;  // work calls after which the thread stops itself
    GThread* m_pThread = nullptr;

    void note(char p_c)
    {
        std::lock_guard<std::mutex> objLock(m_mutex);
        m_vecEvents.push_back(p_c);
    }
    int begin()
    {
        char szName[32] = {};
        pthread_getname_np(pthread_self(), szName, sizeof(szName));
        m_strName = szName;
        note('b');
        return 0;
    }
    int work()
    {
        note('w');
        if (++m_nWorks == m_nStopAfter) {
            EXPECT_TRUE(m_pThread->stop());
        }
        return 0;
    }
    int end()
    {
        note('e');
        return 0;
    }
    std::vector<char> events()
    {
        std::lock_guard<std::mutex> objLock(m_mutex);
        return m_vecEvents;
    }
};

GThread* makeThread(Recorder& p_objRec, const std::string& p_strName)
{
    return new GThread(function<int>(bind_funcobj(&Recorder::work, &p_objRec)), p_strName,
                       function<int>(bind_funcobj(&Recorder::begin, &p_objRec)),
                       function<int>(bind_funcobj(&Recorder::end, &p_objRec)));
}

bool waitFor(const std::function<bool()>& p_fnDone)
{
    for (int i = 0; i < 5000 && !p_fnDone(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return p_fnDone();
}

// One begin first, one end last, work calls only in between.
void expectOneRun(const std::vector<char>& p_vecEvents, size_t p_nFrom)
{
    ASSERT_LT(p_nFrom + 2, p_vecEvents.size());
    EXPECT_EQ('b', p_vecEvents[p_nFrom]);
    EXPECT_EQ('e', p_vecEvents.back());
    for (size_t i = p_nFrom + 1; i + 1 < p_vecEvents.size(); ++i) EXPECT_EQ('w', p_vecEvents[i]) << i;
}

TEST_F(PlatformThread, RunsBeginWorkEndAndRestarts)
{
    Recorder objRec;
    std::unique_ptr<GThread> pThread(makeThread(objRec, "SensorThreadWithALongName"));
    EXPECT_TRUE(pThread->stop());  // not running yet
    ASSERT_TRUE(pThread->start());
    EXPECT_FALSE(pThread->start());
    EXPECT_TRUE(pThread->isRunning());
    ASSERT_TRUE(waitFor([&] { return objRec.m_nWorks >= 3; }));
    EXPECT_TRUE(pThread->stop());
    EXPECT_FALSE(pThread->isRunning());
    EXPECT_EQ("SensorThreadWit", objRec.m_strName);
    const std::vector<char> vecFirst = objRec.events();
    expectOneRun(vecFirst, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(vecFirst.size(), objRec.events().size());  // no call after stop

    ASSERT_TRUE(pThread->start());
    ASSERT_TRUE(waitFor([&] { return objRec.events().size() > vecFirst.size() + 2; }));
    pThread.reset();  // the destructor stops it
    expectOneRun(objRec.events(), vecFirst.size());
}

TEST_F(PlatformThread, StopFromInsideDetachesAndEnds)
{
    Recorder objRec;
    objRec.m_nStopAfter = 3;
    std::unique_ptr<GThread> pThread(makeThread(objRec, "Self"));
    objRec.m_pThread = pThread.get();
    ASSERT_TRUE(pThread->start());
    ASSERT_TRUE(waitFor([&] { return !pThread->isRunning(); }));
    EXPECT_EQ((std::vector<char>{'b', 'w', 'w', 'w', 'e'}), objRec.events());
    EXPECT_TRUE(pThread->stop());

    objRec.m_nStopAfter = 5;  // a stop from outside races with the thread's own
    ASSERT_TRUE(pThread->start());
    ASSERT_TRUE(waitFor([&] { return objRec.m_nWorks >= 4; }));
    EXPECT_TRUE(pThread->stop());
    EXPECT_FALSE(pThread->isRunning());
    expectOneRun(objRec.events(), 5);
}

TEST_F(PlatformThread, RegistryCountsPoolsAndReplacesDeadEntries)
{
    RefCountManager& objReg = RefCountManager::getInstance();
    const int nBase = objReg.activeCount();
    int aObjects[2] = {};
    EXPECT_EQ(nullptr, objReg.retrieveRefCount(nullptr, "i"));

    ref_count* pEntry = objReg.retrieveRefCount(&aObjects[0], "i");
    ASSERT_NE(nullptr, pEntry);
    EXPECT_EQ(&aObjects[0], pEntry->getPointer());
    EXPECT_EQ(nBase + 1, objReg.activeCount());
    EXPECT_EQ(pEntry, objReg.retrieveRefCount(&aObjects[0], "i"));  // a second holder
    EXPECT_EQ(nBase + 1, objReg.activeCount());
    EXPECT_EQ(3, pEntry->inc_reference());
    EXPECT_EQ(2, pEntry->dec_reference());
    EXPECT_EQ(1, pEntry->dec_reference());
    EXPECT_EQ(0, pEntry->dec_reference());
    EXPECT_EQ(0, pEntry->inc_reference());   // gone
    EXPECT_EQ(-1, pEntry->dec_reference());  // never a second 0

    // Same address before the old entry came back: a fresh entry.
    ref_count* pReused = objReg.retrieveRefCount(&aObjects[0], "i");
    EXPECT_NE(pEntry, pReused);
    EXPECT_EQ(nBase + 2, objReg.activeCount());

    ASSERT_EQ(0, pEntry->lock());
    objReg.returnbackRefCount(pEntry, "i");
    pEntry->unLock();  // allowed right after the entry was given back
    objReg.returnbackRefCount(pEntry, "i");  // a second return changes nothing
    EXPECT_EQ(nBase + 1, objReg.activeCount());
    EXPECT_EQ(pReused, objReg.retrieveRefCount(&aObjects[0], "i"));  // mapping kept

    ref_count* pPooled = objReg.retrieveRefCount(&aObjects[1], "i");
    EXPECT_EQ(pEntry, pPooled);
    EXPECT_EQ(&aObjects[1], pPooled->getPointer());
    EXPECT_EQ(0, pPooled->lock());
    pPooled->unLock();
    objReg.returnbackRefCount(pPooled, "i");
    objReg.returnbackRefCount(pReused, "i");
    EXPECT_EQ(nBase, objReg.activeCount());
}

TEST_F(PlatformThread, CallablesSharedAcrossThreadsAreReleased)
{
    const int nBase = RefCountManager::getInstance().activeCount();
    {
        function<int> objShared(&GThread::emptyFun);
        std::vector<std::thread> vecThreads;
        for (int t = 0; t < 4; ++t)
            vecThreads.emplace_back([&objShared] {
                for (int i = 0; i < 2000; ++i) {
                    function<int> objCopy(objShared);
                    function<int> objOwn(&GThread::emptyFun);
                    objOwn = objCopy;
                    objOwn();
                }
            });
        for (std::thread& objThread : vecThreads) objThread.join();
        EXPECT_EQ(nBase + 1, RefCountManager::getInstance().activeCount());
    }
    EXPECT_EQ(nBase, RefCountManager::getInstance().activeCount());
}

double secondsOfWait(const PelkorTime& p_objSpan)
{
    const auto tStart = std::chrono::steady_clock::now();
    p_objSpan.wait();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
}

TEST_F(PlatformThread, SleepFollowsTheScale)
{
    const PelkorTime objSpan(0, 200000);
    EXPECT_LT(secondsOfWait(objSpan), 0.05);  // scale 0 from the fixture
    platformsim::setSleepScale(0.5);
    const double dHalf = secondsOfWait(objSpan);
    EXPECT_GE(dHalf, 0.095);
    EXPECT_LT(dHalf, 0.19);
    platformsim::setSleepScale(-3);
    EXPECT_LT(secondsOfWait(PelkorTime(1, 0)), 0.05);
}

TEST_F(PlatformThread, WallClockOverridesHourAndMinuteOnly)
{
    platformsim::setWallClock(7, 59);
    PKDateTime stTime = PKDeviceTime::getCurrentTime();
    EXPECT_EQ(7, stTime.hour);
    EXPECT_EQ(59, stTime.minute);
    platformsim::setWallClock(24, 0);  // refused: the previous setting stays
    EXPECT_EQ(7, PKDeviceTime::getCurrentTime().hour);

    const time_t nNow = time(nullptr);
    struct tm stLocal;
    localtime_r(&nNow, &stLocal);
    EXPECT_EQ(stLocal.tm_year + 1900, stTime.year);
    platformsim::clearWallClock();
    stTime = PKDeviceTime::getCurrentTime();
    const int nReal = stLocal.tm_hour * 60 + stLocal.tm_min;
    const int nDrift = (stTime.hour * 60 + stTime.minute - nReal + 1440) % 1440;
    EXPECT_LE(nDrift, 1);  // the real clock may pass a minute meanwhile
}

}  // namespace
