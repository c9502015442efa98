// Base library threads, sleep scale and wall clock.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "GThread.h"
#include "PKDeviceTime.h"
#include "PelkorTime.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

class PlatformThread : public testsupport::FlashTest {};

// Counts the calls of a thread's three functions; "begins/ends", and
// " outside" once work ran before begin or after end.
struct Recorder {
    std::atomic<int> m_nBegins{0}, m_nWorks{0}, m_nEnds{0};
    std::atomic<bool> m_bOutside{false};
    std::unique_ptr<GThread> m_pThread{new GThread(function<int>(bind_funcobj(&Recorder::work, this)),
                                                   "Recorder",
                                                   function<int>(bind_funcobj(&Recorder::begin, this)),
                                                   function<int>(bind_funcobj(&Recorder::end, this)))};

    int begin() { return ++m_nBegins, 0; }
    int end() { return ++m_nEnds, 0; }
    int work()
    {
        if (m_nBegins != m_nEnds + 1) m_bOutside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // stop must wait for this
        return ++m_nWorks, 0;
    }
    std::string runs() const
    {
        return std::to_string(m_nBegins) + "/" + std::to_string(m_nEnds) + (m_bOutside ? " outside" : "");
    }
    bool worksReach(int p_nWorks) const
    {
        for (int i = 0; i < 5000 && m_nWorks < p_nWorks; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return m_nWorks >= p_nWorks;
    }
};

TEST_F(PlatformThread, RunsBeginWorkEndAndRestarts)
{
    Recorder objRec;
    EXPECT_TRUE(objRec.m_pThread->stop());  // not running yet
    ASSERT_TRUE(objRec.m_pThread->start());
    EXPECT_FALSE(objRec.m_pThread->start());
    ASSERT_TRUE(objRec.worksReach(3));
    EXPECT_TRUE(objRec.m_pThread->stop());
    EXPECT_FALSE(objRec.m_pThread->isRunning());
    EXPECT_EQ("1/1", objRec.runs());

    ASSERT_TRUE(objRec.m_pThread->start());
    ASSERT_TRUE(objRec.worksReach(objRec.m_nWorks + 3));
    objRec.m_pThread.reset();  // the destructor stops it
    EXPECT_EQ("2/2", objRec.runs());
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
