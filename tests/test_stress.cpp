// Four channels of the sample camera in one process for a bounded time
// (SNS_STRESS_SECONDS, default 2): host threads set and read parameters,
// switch and save schemes and fetch the UI style, while every sensor thread
// switches by time window and by day/night under a moving clock; each
// channel is reset to factory in the middle. Afterwards every parameter file
// is well formed and holds what its last save wrote, and nothing was reported.
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "IaInterface.h"
#include "IaSim.h"
#include "PKMutexManager.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

const char kSampleDetail[] = "(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)";
const int kChannels = 4;

int stressSeconds()
{
    const char* szSeconds = getenv("SNS_STRESS_SECONDS");
    const int nSeconds = szSeconds != nullptr ? atoi(szSeconds) : 0;
    return nSeconds > 0 ? nSeconds : 2;
}

// Notifications arrive from host and sensor threads alike.
class CountingVideo : public VideoStreamModule {
public:
    int notifySensorParam(int, int, int) const override
    {
        ++m_nNotes;
        return 0;
    }
    bool isBusy() const override { return false; }
    void getStreamList(std::vector<AVStreamParam>&) const override {}
    void getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam&) const override {}
    mutable std::atomic<int> m_nNotes{0};
};

struct Channel {
    std::unique_ptr<ISensorController> pCtrl;
    std::vector<std::string> vecOnFlash;  // what each scheme file must hold; guarded by the controller's mutex
    std::vector<u32> vecFactoryKeys;
};

class StressTest : public testsupport::FlashTest {
protected:
    static std::string schemeFile(int p_nChannel, int p_nScheme)
    {
        return "/mnt/mtd/code/config_file/sensor" + std::to_string(p_nChannel) + "_" + std::to_string(p_nScheme) + ".cfg";
    }
    static std::string rowImage(const KeyVal* p_pRow, u32 p_nCount)
    {
        return std::string(reinterpret_cast<const char*>(p_pRow), p_nCount * sizeof(KeyVal));
    }
    // Saves the current scheme and, in the same hold of the controller's
    // mutex, notes what the file must now hold.
    void flushNoted(int p_nChannel)
    {
        Channel& c = m_arrChannels[p_nChannel - 1];
        SensorControllerTestAccess acc(*c.pCtrl);
        PKMutexManager objLock(acc.mutex(), __FILE__, __LINE__);
        const u32 nScheme = static_cast<u32>(acc.curScheme());
        if (c.pCtrl->flush() != 0 || nScheme >= acc.sysConf().nSchemeSum) return;
        c.vecOnFlash[nScheme] = rowImage(acc.userKeyVal()[nScheme], acc.keyValSum());
    }
    void resetNoted(int p_nChannel)
    {
        Channel& c = m_arrChannels[p_nChannel - 1];
        SensorControllerTestAccess acc(*c.pCtrl);
        PKMutexManager objLock(acc.mutex(), __FILE__, __LINE__);
        EXPECT_TRUE(c.pCtrl->resetParameters());
        // Every file is created anew from the factory row.
        for (std::string& strFile : c.vecOnFlash) strFile = rowImage(acc.fctKeyVal(), acc.keyValSum());
    }
    void startChannel(int p_nChannel)
    {
        Channel& c = m_arrChannels[p_nChannel - 1];
        c.pCtrl.reset(new ISensorController());
        c.pCtrl->setChannelID(p_nChannel);
        c.pCtrl->setVideoStreamModule(&m_objVideo);
        ASSERT_TRUE(c.pCtrl->init(testsupport::moduleWithDetail(kSampleDetail)));
        // Windows 06-12, 12-18 and 18-23 for schemes 1 to 3; odd channels
        // start with time switching, even ones with day/night.
        for (int s = 1; s <= 3; ++s) {
            c.pCtrl->setParamScheme(s);
            setWindow(*c.pCtrl, s * 6, s == 3 ? 23 : s * 6 + 6);
            c.pCtrl->flush();
        }
        c.pCtrl->setParamScheme(0);
        c.pCtrl->setParameter(KEY_SCHEME_MODE, p_nChannel % 2 ? 1 : 2, true);
        c.pCtrl->flush();
        SensorControllerTestAccess acc(*c.pCtrl);
        for (u32 i = 0; i < acc.keyValSum(); ++i) c.vecFactoryKeys.push_back(acc.fctKeyVal()[i].key);
        for (int s = 0; s < 4; ++s) c.vecOnFlash.push_back(testsupport::readFlashFile(schemeFile(p_nChannel, s)));
    }
    static void setWindow(ISensorController& p_objCtrl, int p_nStartHour, int p_nEndHour)
    {
        p_objCtrl.setParameter(KEY_SCHEME_START_HOUR, p_nStartHour, true);
        p_objCtrl.setParameter(KEY_SCHEME_START_MIN, 0, true);
        p_objCtrl.setParameter(KEY_SCHEME_END_HOUR, p_nEndHour, true);
        p_objCtrl.setParameter(KEY_SCHEME_END_MIN, 0, true);
    }

    void parameterHost(int p_nChannel)
    {
        ISensorController& objCtrl = *m_arrChannels[p_nChannel - 1].pCtrl;
        for (int i = 0; !m_bStop; ++i) {
            int nValue = -1;
            if (objCtrl.setParameter(KEY_BRIGHTNESS, 30 + i % 40, true) != 0) ++m_nFailures;
            if (!objCtrl.getParameter(KEY_SATURATION, nValue) || nValue < 0) ++m_nFailures;
            const std::string strPairs = "(34," + std::to_string(i % 90) + ")(2337," + std::to_string(i % 70) + ")";
            if (objCtrl.setParameters(strPairs, i % 2 == 0) != 0) ++m_nFailures;
            std::string strOut;
            if (!objCtrl.getParameters("(34,2337)", strOut) || strOut.empty()) ++m_nFailures;
            if (i % 16 == 0) objCtrl.getAllParameters(strOut);
            if (i % 64 == 0) objCtrl.setParameter(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, 1, false);
            if (i % 16 == 0) objCtrl.setParameter(KEY_SHUTTER_ADJUST, i % 3, false);
            if (i % 32 == 0) flushNoted(p_nChannel);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }
    void schemeHost(int p_nChannel)
    {
        ISensorController& objCtrl = *m_arrChannels[p_nChannel - 1].pCtrl;
        for (int i = 0; !m_bStop; ++i) {
            objCtrl.setParamScheme(i % 5);  // scheme 4 is the factory scheme
            if (i % 8 == 0) flushNoted(p_nChannel);
            if (i % 10 == 0 && objCtrl.getUIStyleFile().empty()) ++m_nFailures;
            if (i % 20 == 0) {  // a window again (a reset clears them), then the other switching mode
                const int nScheme = 1 + (i / 20) % 3;
                objCtrl.setParamScheme(nScheme);
                setWindow(objCtrl, nScheme * 6, nScheme * 6 + 5);
                flushNoted(p_nChannel);
                objCtrl.setParamScheme(0);
                objCtrl.setParameter(KEY_SCHEME_MODE, 1 + (i / 20 + p_nChannel) % 2, true);
                flushNoted(p_nChannel);
            }
            objCtrl.setParamMode(1);
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }
    void clockAndLight()
    {
        for (int i = 0; !m_bStop; ++i) {
            const int nMinute = (i * 7) % 1440;
            platformsim::setWallClock(nMinute / 60, nMinute % 60);
            iasim::setValue(i % kChannels, IA_CMD_DN_STATE, (i / 8) % 2);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    void run(int p_nSeconds)
    {
        for (int nChannel = 1; nChannel <= kChannels; ++nChannel) startChannel(nChannel);
        platformsim::setSleepScale(0.001);  // a sensor pass about every millisecond
        std::vector<std::thread> vecThreads;
        vecThreads.emplace_back([this] { clockAndLight(); });
        for (int nChannel = 1; nChannel <= kChannels; ++nChannel) {
            vecThreads.emplace_back([this, nChannel] { parameterHost(nChannel); });
            vecThreads.emplace_back([this, nChannel] { schemeHost(nChannel); });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(p_nSeconds * 500));
        for (int nChannel = 1; nChannel <= kChannels; ++nChannel) resetNoted(nChannel);
        std::this_thread::sleep_for(std::chrono::milliseconds(p_nSeconds * 500));
        m_bStop = true;
        for (std::thread& objThread : vecThreads) objThread.join();
        for (Channel& c : m_arrChannels) c.pCtrl->uinit();
    }

    CountingVideo m_objVideo;
    Channel m_arrChannels[kChannels];
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nFailures{0};
};

TEST_F(StressTest, FourChannelsHostAndSensorThreadsWithAResetInTheMiddle)
{
    const int nSeconds = stressSeconds();
    const int nLimit = nSeconds + 240;
    testsupport::copySampleFlash();
    testing::internal::CaptureStdout();  // the pipeline prints a line end per change
    std::future<void> objRun = std::async(std::launch::async, [this, nSeconds] { run(nSeconds); });
    // A deadlock must fail the run, not hang it.
    if (objRun.wait_for(std::chrono::seconds(nLimit)) != std::future_status::ready) {
        fprintf(stderr, "stress test still running after %d s: deadlock\n", nLimit);
        abort();
    }
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(0, m_nFailures.load());
    EXPECT_GT(m_objVideo.m_nNotes.load(), 0);
    for (int nChannel = 1; nChannel <= kChannels; ++nChannel) {
        const Channel& c = m_arrChannels[nChannel - 1];
        for (int s = 0; s < 4; ++s) {
            const std::string strFile = testsupport::readFlashFile(schemeFile(nChannel, s));
            ASSERT_EQ(c.vecFactoryKeys.size() * sizeof(KeyVal), strFile.size()) << nChannel << "_" << s;
            for (size_t i = 0; i < c.vecFactoryKeys.size(); ++i) {
                u32 nKey = 0;
                memcpy(&nKey, strFile.data() + i * sizeof(KeyVal), sizeof(nKey));
                ASSERT_EQ(c.vecFactoryKeys[i], nKey) << nChannel << "_" << s << " record " << i;
            }
            EXPECT_TRUE(strFile == c.vecOnFlash[s]) << "file " << nChannel << "_" << s << " is not its last save";
        }
    }
    // No pipeline or file failure was reported on the way.
    for (const char* szSuffix : {"", ".1", ".2"}) {
        const std::string strLog = testsupport::readFlashFile(std::string("/mnt/mtd/log/SensorError.log") + szSuffix);
        EXPECT_EQ(std::string::npos, strLog.find("[sensor assert]")) << strLog;
    }
}

}  // namespace
