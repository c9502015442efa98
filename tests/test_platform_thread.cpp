// Base library threads, sleep scale and wall clock.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "GThread.h"
#include "PKDeviceTime.h"
#include "PelkorTime.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

class PlatformThread : public testsupport::FlashTest {};

// Counts the calls of a thread's three functions.
struct Recorder {
    std::atomic<int> m_nBegins{0}, m_nWorks{0}, m_nEnds{0};
    std::atomic<bool> m_bOutsideRun{false};  // a work call before begin or after end
    std::unique_ptr<GThread> m_pThread{new GThread(function<int>(bind_funcobj(&Recorder::work, this)),
                                                   "Recorder",
                                                   function<int>(bind_funcobj(&Recorder::begin, this)),
                                                   function<int>(bind_funcobj(&Recorder::end, this)))};

    int begin() { return ++m_nBegins, 0; }
    int end() { return ++m_nEnds, 0; }
    int work()
    {
        if (m_nBegins != m_nEnds + 1) m_bOutsideRun = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // stop must wait for this
        return ++m_nWorks, 0;
    }
    void expectRuns(int p_nRuns)
    {
        EXPECT_EQ(p_nRuns, m_nBegins);
        EXPECT_EQ(p_nRuns, m_nEnds);
        EXPECT_FALSE(m_bOutsideRun);
    }
};

bool waitFor(const std::function<bool()>& p_fnDone)
{
    for (int i = 0; i < 5000 && !p_fnDone(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return p_fnDone();
}

TEST_F(PlatformThread, RunsBeginWorkEndAndRestarts)
{
    Recorder objRec;
    EXPECT_TRUE(objRec.m_pThread->stop());  // not running yet
    ASSERT_TRUE(objRec.m_pThread->start());
    EXPECT_FALSE(objRec.m_pThread->start());
    ASSERT_TRUE(waitFor([&] { return objRec.m_nWorks >= 3; }));
    EXPECT_TRUE(objRec.m_pThread->stop());
    EXPECT_FALSE(objRec.m_pThread->isRunning());
    objRec.expectRuns(1);
    const int nWorks = objRec.m_nWorks;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(nWorks, objRec.m_nWorks);  // no call after stop

    ASSERT_TRUE(objRec.m_pThread->start());
    ASSERT_TRUE(waitFor([&] { return objRec.m_nWorks > nWorks + 2; }));
    objRec.m_pThread.reset();  // the destructor stops it
    objRec.expectRuns(2);
}

TEST_F(PlatformThread, SleepScaleAndWallClock)
{
    const auto tStart = std::chrono::steady_clock::now();
    PelkorTime(5, 0).wait();  // scale 0 from the fixture
    EXPECT_LT(std::chrono::steady_clock::now() - tStart, std::chrono::milliseconds(50));

    platformsim::setWallClock(7, 59);
    platformsim::setWallClock(24, 0);  // refused: the previous setting stays
    const PKDateTime stTime = PKDeviceTime::getCurrentTime();
    EXPECT_EQ(7 * 60 + 59, stTime.hour * 60 + stTime.minute);
}

}  // namespace
