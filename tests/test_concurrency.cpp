// Host threads and the sensor thread on one controller for a bounded time:
// no deadlock, and every parameter file written is well formed.
#include <atomic>
#include <future>
#include <thread>

#include "ControllerFixtures.h"
#include "PlatformSim.h"

namespace {

class ConcurrencyTest : public InitFixture {
protected:
    // Whole records, keys in factory order.
    bool wellFormed(int p_nScheme) const
    {
        const std::vector<KeyVal> vecFile = records(schemeFile(1, p_nScheme));
        bool bSame = vecFile.size() == m_vecKeys.size();
        for (size_t i = 0; bSame && i < vecFile.size(); ++i) bSame = vecFile[i].key == m_vecKeys[i];
        return bSame;
    }
    std::vector<u32> m_vecKeys;
};

TEST_F(ConcurrencyTest, HostThreadsBesideTheSensorThread)
{
    // Time switching with windows 08:00-20:00 (scheme 1) and 18:00-23:00 (scheme 2).
    start("").uinit();
    setRecord(schemeFile(1, 0), KEY_SCHEME_MODE, 1);
    for (int s = 0; s < 4; ++s) setRecord(schemeFile(1, s), KEY_BRIGHTNESS, 10 + s);
    setRecord(schemeFile(1, 1), KEY_SCHEME_START_HOUR, 8);
    setRecord(schemeFile(1, 1), KEY_SCHEME_END_HOUR, 20);
    setRecord(schemeFile(1, 2), KEY_SCHEME_START_HOUR, 18);
    setRecord(schemeFile(1, 2), KEY_SCHEME_END_HOUR, 23);
    for (const KeyVal& stRecord : records(schemeFile(1, 0))) m_vecKeys.push_back(stRecord.key);
    platformsim::setSleepScale(0.001);  // a pass about every millisecond
    ISensorController& objCtrl = start("");

    std::atomic<bool> bStop(false);
    std::atomic<int> nFlushes(0), nBadFiles(0), nBadReads(0), nResetSeq(0);  // odd: reset running
    std::vector<std::thread> vecThreads;
    vecThreads.emplace_back([&] {  // the clock runs through the day
        for (int nMinute = 0; !bStop; nMinute = (nMinute + 7) % 1440) {
            platformsim::setWallClock(nMinute / 60, nMinute % 60);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    vecThreads.emplace_back([&] {
        for (int i = 0; !bStop; ++i) {
            int nValue = -1;
            objCtrl.setParameter(KEY_SATURATION, 20 + i % 50, true);
            if (!objCtrl.getParameter(KEY_SATURATION, nValue) || nValue < 0) ++nBadReads;
            if (i % 50 == 0) {  // keeps time switching alive after the reset
                objCtrl.setParameter(KEY_SCHEME_MODE, 1, true);
                objCtrl.setParameter(KEY_SCHEME_START_HOUR, i % 12, true);
                objCtrl.setParameter(KEY_SCHEME_END_HOUR, 12 + i % 12, true);
            }
        }
    });
    vecThreads.emplace_back([&] {
        for (int i = 0; !bStop; ++i) {
            objCtrl.setParamScheme(i % 5);
            objCtrl.setParamMode(1);
            objCtrl.restore(KEY_BRIGHTNESS);
            objCtrl.resetToLastParameters();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    vecThreads.emplace_back([&] {  // the only writer of files besides the reset
        while (!bStop) {
            const int nResetBefore = nResetSeq;
            if (objCtrl.flush() != 0) continue;
            ++nFlushes;
            int nBad = 0;
            for (int s = 0; s < 4; ++s) nBad += wellFormed(s) ? 0 : 1;
            // The reset deletes and recreates the files: a look during it proves nothing.
            if (nResetBefore % 2 == 0 && nResetSeq == nResetBefore) nBadFiles += nBad;
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ++nResetSeq;
    EXPECT_TRUE(objCtrl.resetParameters());
    ++nResetSeq;
    std::this_thread::sleep_for(std::chrono::seconds(1));

    std::future<void> objStop = std::async(std::launch::async, [&] {
        bStop = true;
        for (std::thread& objThread : vecThreads) objThread.join();
        objCtrl.uinit();
    });
    if (objStop.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        fprintf(stderr, "threads did not stop: deadlock\n");
        std::abort();
    }
    EXPECT_GT(nFlushes.load(), 0);
    EXPECT_EQ(0, nBadFiles.load());
    EXPECT_EQ(0, nBadReads.load());
    for (int s = 0; s < 4; ++s) EXPECT_TRUE(wellFormed(s)) << s;
}

}  // namespace
