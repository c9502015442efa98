// One pass of the sensor thread: day/night and time-window switching, the
// LPR variant, the field-of-view request and the host's mutex; the live
// thread: woken by uinit, never starved by the host.
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "ControllerFixtures.h"

class SensorThreadTest : public StillControllerTest {
protected:
    SensorThreadTest()
        : StillControllerTest({{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_DN_MODE, 2}}, "(lensId=3)")
    {
    }
    void SetUp() override
    {
        StillControllerTest::SetUp();
        // Scheme s: brightness 50 + 10 s, and a window that never matches.
        for (int s = 0; s < 4; ++s) {
            setWindow(s, 0, 0, 0, 0);
            cache(KEY_BRIGHTNESS, 50 + 10 * s, s);
        }
    }
    V passAt(int p_nHour, int p_nMinute)
    {
        platformsim::setWallClock(p_nHour, p_nMinute);
        timeline();
        EXPECT_EQ(0, ctrl().sensorThread());
        return timeline();
    }
};

TEST_F(SensorThreadTest, DayNightSwitchingWhenFree)
{
    set(KEY_SCHEME_MODE, 2);
    EXPECT_EQ(V{"ia1 153=0"}, passAt(12, 0));
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    access().mutex().Lock(__FILE__, __LINE__);  // the host's: the pass, in another thread, is skipped
    EXPECT_EQ(V{}, std::async(std::launch::async, [&] { return passAt(12, 0); }).get());
    access().mutex().Unlock(__FILE__, __LINE__);
    EXPECT_EQ((V{"ia1 153=1", "ia 34=60"}), passAt(12, 0));
    iasim::setValue(0, IA_CMD_DN_STATE, 0);
    access().statusFlag() = SNS_STATUS_INITIALISED | SNS_STATUS_RESTORING;  // busy: left alone
    EXPECT_EQ(V{"ia1 153=0"}, passAt(12, 0));
    access().statusFlag() = SNS_STATUS_INITIALISED;
    ctrl().setParamMode(0);
    EXPECT_EQ(V{}, passAt(12, 0));
    EXPECT_EQ(1, scheme());
}

TEST_F(SensorThreadTest, TimeWindowsPickTheLowestMatchingScheme)
{
    set(KEY_SCHEME_MODE, 1);
    setWindow(1, 8, 0, 20, 0);
    setWindow(2, 18, 0, 23, 0);
    setWindow(3, 22, 0, 6, 0);  // across midnight: never
    EXPECT_EQ(V{"ia 34=60"}, passAt(19, 30));
    EXPECT_EQ(V{"ia 34=70"}, passAt(20, 0));
    EXPECT_EQ(V{"ia 34=50"}, passAt(23, 0));
    EXPECT_EQ(V{"ia 34=60"}, passAt(8, 0));
    EXPECT_EQ(V{"ia 34=50"}, passAt(7, 59));
}

TEST_F(SensorThreadTest, LprSwitchingInAndOutOfWindows)
{
    access().lprMode() = true;
    set(KEY_SCHEME_MODE, 1);
    setWindow(1, 8, 0, 20, 0);
    setWindow(2, 20, 0, 23, 0);
    const V vecWhole = {"ia 34=60", "ia 2337=60", "ia 144=2"};
    EXPECT_EQ(vecWhole, passAt(12, 0));  // entering a window: the whole scheme
    EXPECT_EQ(V{}, passAt(12, 0));
    EXPECT_EQ(V{"ia 34=70"}, passAt(20, 30));  // window to window
    EXPECT_EQ((V{"ia1 153=0", "ia 34=50", "ia 2337=60", "ia 144=0"}), passAt(23, 30));
    EXPECT_EQ(V{"ia1 153=0"}, passAt(23, 30));
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    EXPECT_EQ((V{"ia1 153=1", "ia 34=60", "ia 2337=60", "ia 144=0"}), passAt(23, 30));
    EXPECT_EQ(vecWhole, passAt(9, 0));
}

TEST_F(SensorThreadTest, FieldOfViewRequestAndFile)
{
    const char szFovFile[] = SNS_PATH_SYNC_FOV;
    testsupport::writeFlashFile(szFovFile, "zoom1=1200,\nfocus1=300,\nzoom1=99,\n");
    EXPECT_EQ(V{}, applied({{KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, 1}}));  // a request to channel 1
    ctrl().setChannelID(2);
    EXPECT_EQ(V{}, passAt(12, 0));
    ctrl().setChannelID(1);
    V vecDone;
    EXPECT_EQ("zoom= 1200,focus= -1 \nzoom= 1200,focus= 300 \n", output([&] { vecDone = passAt(12, 0); }));
    EXPECT_EQ(V{"ia 1568=1200"}, vecDone);
    EXPECT_EQ(std::make_pair(-1, -1),
              std::make_pair(ISensorController::m_nChanneldDosomething, ISensorController::m_nPassKeycmd));
    const std::pair<const char*, V> cases[] = {
        {"zoom1=1200\n", {}}, {"zoom12=50,\n", {"ia 1568=50"}}, {"zoom2=70,\n", {}}, {"zoom1,=5\n", {}}};
    for (const auto& [szFile, vecExpected] : cases) {
        testsupport::writeFlashFile(szFovFile, szFile);
        output([&] { ctrl().sync_fov(); });
        EXPECT_EQ(vecExpected, timeline()) << szFile;
    }
}

// The thread as the host runs it, passing once a second.
class LiveSensorThreadTest : public InitFixture {
protected:
    void TearDown() override
    {
        platformsim::setSleepScale(0);
        InitFixture::TearDown();
    }
    // Started without pauses, then passing once a second.
    void startLive()
    {
        start();
        platformsim::setSleepScale(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // now inside its pause
    }
};

TEST_F(LiveSensorThreadTest, UinitWakesTheThreadInsteadOfWaitingOutItsPause)
{
    startLive();
    const auto tStart = std::chrono::steady_clock::now();
    ctrl().uinit();
    EXPECT_LT(std::chrono::steady_clock::now() - tStart, std::chrono::milliseconds(100));
    EXPECT_FALSE(access().sensorThread()->isRunning());
}

// Host threads that keep the mutex busy delay a switch by about one pass at
// most; meanwhile the host also sets the lens lock and the WDR show flag,
// which the thread's calls and the UI read.
TEST_F(LiveSensorThreadTest, SwitchesWhileHostThreadsHammerTheMutex)
{
    startLive();
    set(KEY_SCHEME_MODE, 2);
    std::atomic<bool> bStop(false);
    std::vector<std::thread> vecHosts;
    for (int i = 0; i < 4; ++i)
        vecHosts.emplace_back([&] {
            int nValue = 0;
            while (!bStop) ctrl().getParameter(KEY_BRIGHTNESS, nValue);
        });
    vecHosts.emplace_back([&] {
        SensorZoomFocusParam objLens;
        for (bool bOn = false; !bStop; bOn = !bOn) {
            objLens.setLockZoomFocusEnable(bOn);
            ctrl().setSensorZoomFocusParam(objLens);
            ctrl().setShowWDRFalg(bOn);
            ctrl().getUIStyleFile();
        }
    });
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    const auto tStart = std::chrono::steady_clock::now();
    int nScheme = 0;
    while (nScheme != 1 && std::chrono::steady_clock::now() - tStart < std::chrono::seconds(3)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ctrl().getParamScheme(nScheme);
    }
    bStop = true;
    for (std::thread& objHost : vecHosts) objHost.join();
    EXPECT_EQ(1, nScheme);
}
