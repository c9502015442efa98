// One pass of the sensor thread: day/night and time-window switching, the
// LPR variant, the field-of-view request and the host's mutex.
#include <future>
#include <thread>

#include "PlatformSim.h"
#include "SchemeRowsFixture.h"

namespace {

const char kFovFile[] = "/mnt/mtd/hd1/program/config/sync_fov.ini";

class SensorThreadTest : public SchemeRowsTest {
protected:
    void SetUp() override
    {
        SchemeRowsTest::SetUp();
        prepare({{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_DN_MODE, 2}});
        for (int s = 0; s < 4; ++s) setWindow(s, 0, 0, 0, 0);  // never matches
        for (int s = 0; s < 4; ++s) setValue(s, KEY_BRIGHTNESS, 50 + 10 * s);
        ISensorController::m_nChanneldDosomething = ISensorController::m_nPassKeycmd = -1;
    }
    // Every row carries the mode, so switching back to scheme 0 keeps it.
    void setMode(u32 p_nMode)
    {
        for (int s = 0; s <= 4; ++s) setValue(s, KEY_SCHEME_MODE, p_nMode);
        access().timeSwitch() = p_nMode == 1;
        access().dnSwitch() = p_nMode == 2;
    }
    Sets passAt(int p_nHour, int p_nMinute)
    {
        platformsim::setWallClock(p_nHour, p_nMinute);
        iasim::clearCalls();
        EXPECT_EQ(0, ctrl().sensorThread());
        return sets();
    }
};

TEST_F(SensorThreadTest, DayNightSwitching)
{
    setMode(2);
    EXPECT_TRUE(passAt(12, 0).empty());
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 60}}), passAt(12, 0));
    EXPECT_EQ(1, access().curScheme());
    iasim::setValue(0, IA_CMD_DN_STATE, 0);
    access().statusFlag() = SNS_STATUS_RESTORING;  // busy: left alone
    EXPECT_TRUE(passAt(12, 0).empty());
    access().statusFlag() = 0;
    access().paramMode() = 0;
    EXPECT_TRUE(passAt(12, 0).empty());
    EXPECT_EQ(1, access().curScheme());
}

TEST_F(SensorThreadTest, TimeWindowsPickTheLowestMatchingScheme)
{
    setMode(1);
    setWindow(1, 8, 0, 20, 0);
    setWindow(2, 18, 0, 23, 0);
    setWindow(3, 22, 0, 6, 0);  // across midnight: never
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 60}}), passAt(19, 30));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 70}}), passAt(20, 0));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}}), passAt(23, 0));
    passAt(19, 30);
    passAt(7, 59);
    EXPECT_EQ(0, access().curScheme());
}

TEST_F(SensorThreadTest, LprSwitchingInAndOutOfWindows)
{
    access().lprMode() = true;
    setMode(1);
    setWindow(1, 8, 0, 20, 0);
    setWindow(2, 20, 0, 23, 0);
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 60}, {KEY_SATURATION, 60}, {KEY_DN_MODE, 2}}), passAt(12, 0));
    EXPECT_TRUE(passAt(12, 0).empty());
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 70}}), passAt(20, 30));  // window to window
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_DN_MODE, 0}}), passAt(23, 30));
    EXPECT_TRUE(passAt(23, 30).empty());
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 60}, {KEY_SATURATION, 60}, {KEY_DN_MODE, 0}}), passAt(23, 30));
    EXPECT_EQ(3u, passAt(9, 0).size());  // entering again: the whole scheme
    EXPECT_EQ(1u, access().lastTimeMatch());
}

TEST_F(SensorThreadTest, FieldOfViewRequestAndFile)
{
    testsupport::writeFlashFile(kFovFile, "zoom1=1200,\nfocus1=300,\nzoom1=99,\n");
    access().cameraId() = 2;
    ctrl().doIoCrtl(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, IA_CMD_OPT_SET, nullptr);
    EXPECT_TRUE(passAt(12, 0).empty());  // channel 1's request
    access().cameraId() = 1;
    access().paramMode() = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ((Sets{{KEY_MZ_POSITION, 1200}}), passAt(12, 0));
    fflush(stdout);
    EXPECT_EQ("zoom= 1200,focus= -1 \nzoom= 1200,focus= 300 \n", testing::internal::GetCapturedStdout());
    EXPECT_EQ(std::make_pair(-1, -1),
              std::make_pair(ISensorController::m_nChanneldDosomething, ISensorController::m_nPassKeycmd));

    const std::pair<const char*, u32> cases[] = {
        {"zoom1=1200\n", 0}, {"zoom12=50,\n", 50}, {"zoom2=70,\n", 0}, {"zoom1,=5\n", 0}};
    for (const auto& c : cases) {
        testsupport::writeFlashFile(kFovFile, c.first);
        iasim::clearCalls();
        testing::internal::CaptureStdout();
        ctrl().sync_fov();
        testing::internal::GetCapturedStdout();
        const Sets vecExpected = c.second ? Sets{{KEY_MZ_POSITION, c.second}} : Sets();
        EXPECT_EQ(vecExpected, sets()) << c.first;
    }
}

TEST_F(SensorThreadTest, PassIsSkippedWhileTheHostHoldsTheMutex)
{
    setMode(2);
    iasim::setValue(0, IA_CMD_DN_STATE, 1);
    std::promise<void> objLocked, objRelease;
    std::thread objHost([&] {
        access().mutex().Lock(__FILE__, __LINE__);
        objLocked.set_value();
        objRelease.get_future().wait();
        access().mutex().Unlock(__FILE__, __LINE__);
    });
    objLocked.get_future().wait();
    EXPECT_TRUE(passAt(12, 0).empty());
    objRelease.set_value();
    objHost.join();
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 60}}), passAt(12, 0));
}

}  // namespace
