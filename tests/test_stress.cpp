// Four channels of the sample camera in one process for a bounded time
// (SNS_STRESS_SECONDS, default 2): host threads set and read parameters,
// switch, restore, revert and save schemes and fetch the UI style, while
// every sensor thread switches by time window and by day/night under a
// moving clock; each channel is reset to factory in the middle. Afterwards
// every parameter file is well formed and holds what its last save wrote,
// and nothing was reported.
#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "IaInterface.h"
#include "IaSim.h"
#include "PKMutexManager.h"
#include "PlatformSim.h"
#include "ControllerFixtures.h"

namespace {

const char kSampleDetail[] = "(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)";
const int kChannels = 4;

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
    std::unique_ptr<ISensorController> pCtrl;  // made once the flash holds the machine information
    std::vector<std::string> vecOnFlash;  // what each scheme file must hold; guarded by the controller's mutex
    std::vector<u32> vecFactoryKeys;
};

std::string rowImage(const KeyVal* p_pRow, u32 p_nCount)
{
    return std::string(reinterpret_cast<const char*>(p_pRow), p_nCount * sizeof(KeyVal));
}

// The keys of the whole records of a file image.
std::vector<u32> keysOf(const std::string& p_strImage)
{
    std::vector<u32> vecKeys(p_strImage.size() / sizeof(KeyVal));
    for (size_t i = 0; i < vecKeys.size(); ++i) memcpy(&vecKeys[i], &p_strImage[i * sizeof(KeyVal)], sizeof(u32));
    return vecKeys;
}

class StressTest : public testsupport::FlashTest {
protected:
    // Saves the current scheme (or resets the channel to factory) and, in
    // the same hold of the controller's mutex, notes what the files must now hold.
    void saveNoted(int p_nChannel, bool p_bReset = false)
    {
        Channel& c = m_arrChannels[p_nChannel - 1];
        SensorControllerDetail acc(*c.pCtrl);
        PKMutexManager objLock(acc.mutex(), __FILE__, __LINE__);
        int nCurrent = -1;
        c.pCtrl->getParamScheme(nCurrent);
        const u32 nScheme = static_cast<u32>(nCurrent);
        if (p_bReset) {
            EXPECT_TRUE(c.pCtrl->resetParameters());
            // Every file is created anew from the factory row.
            for (std::string& strFile : c.vecOnFlash) strFile = rowImage(acc.fctKeyVal(), acc.keyValSum());
        } else if (c.pCtrl->flush() == 0 && nScheme < acc.sysConf().nSchemeSum) {
            c.vecOnFlash[nScheme] = rowImage(acc.schemeRow(nScheme), acc.keyValSum());
        }
    }
    void parameterHost(int p_nChannel)
    {
        ISensorController& objCtrl = *m_arrChannels[p_nChannel - 1].pCtrl;
        for (int i = 0; !m_bStop; ++i) {
            int nValue = -1;
            std::string strOut;
            const std::string strPairs = "(34," + std::to_string(i % 90) + ")(2337," + std::to_string(i % 70) + ")";
            if (objCtrl.setParameter(KEY_BRIGHTNESS, 30 + i % 40, true) != 0 ||
                !objCtrl.getParameter(KEY_SATURATION, nValue) || nValue < 0 ||
                objCtrl.setParameters(strPairs, i % 2 == 0) != 0 || !objCtrl.getParameters("(34,2337)", strOut) ||
                strOut.empty())
                ++m_nFailures;
            if (i % 16 == 0) objCtrl.getAllParameters(strOut);
            if (i % 64 == 0) objCtrl.setParameter(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, 1, false);
            if (i % 16 == 0) objCtrl.setParameter(KEY_SHUTTER_ADJUST, i % 3, false);
            if (i % 32 == 0) saveNoted(p_nChannel);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }
    void schemeHost(int p_nChannel)
    {
        ISensorController& objCtrl = *m_arrChannels[p_nChannel - 1].pCtrl;
        for (int i = 0; !m_bStop; ++i) {
            objCtrl.setParamScheme(i % 5);  // scheme 4 is the factory scheme
            if (objCtrl.restore(KEY_BRIGHTNESS) != 0 || !objCtrl.resetToLastParameters()) ++m_nFailures;
            if (i % 8 == 0) saveNoted(p_nChannel);
            if (i % 10 == 0 && objCtrl.getUIStyleFile().empty()) ++m_nFailures;
            // Now and then a five-hour window from 6, 12 or 18 o'clock for
            // scheme 1, 2 or 3 (a reset clears them), then switching by time
            // or by day/night in turn; each saved.
            if (i % 20 == 0) {
                const int nScheme = 1 + (i / 20) % 3;
                objCtrl.setParamScheme(nScheme);
                objCtrl.setParameters("(8001," + std::to_string(nScheme * 6) + ")(8002,0)(8003," +
                                          std::to_string(nScheme * 6 + 5) + ")(8004,0)", true);
                saveNoted(p_nChannel);
                objCtrl.setParamScheme(0);
                objCtrl.setParameter(KEY_SCHEME_MODE, 1 + (i / 20 + p_nChannel) % 2, true);
                saveNoted(p_nChannel);
            }
            objCtrl.setParamMode(1);
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }
    void run(int p_nSeconds)
    {
        for (int nChannel = 1; nChannel <= kChannels; ++nChannel) {
            Channel& c = m_arrChannels[nChannel - 1];
            c.pCtrl.reset(new ISensorController());
            c.pCtrl->setChannelID(nChannel);
            c.pCtrl->setVideoStreamModule(&m_objVideo);
            ASSERT_TRUE(c.pCtrl->init(testsupport::moduleWithDetail(kSampleDetail)));
            SensorControllerDetail acc(*c.pCtrl);
            c.vecFactoryKeys = keysOf(rowImage(acc.fctKeyVal(), acc.keyValSum()));
            for (int s = 0; s < 4; ++s) c.vecOnFlash.push_back(testsupport::readFlashFile(schemeFile(nChannel, s)));
        }
        platformsim::setSleepScale(0.001);  // a sensor pass about every millisecond
        std::vector<std::thread> vecThreads;
        vecThreads.emplace_back([this] {  // the clock runs through the day, the light changes
            for (int i = 0; !m_bStop; ++i) {
                platformsim::setWallClock((i * 7) % 1440 / 60, (i * 7) % 60);
                iasim::setValue(i % kChannels, IA_CMD_DN_STATE, (i / 8) % 2);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        for (int nChannel = 1; nChannel <= kChannels; ++nChannel) {
            vecThreads.emplace_back([this, nChannel] { parameterHost(nChannel); });
            vecThreads.emplace_back([this, nChannel] { schemeHost(nChannel); });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(p_nSeconds * 500));
        for (int nChannel = 1; nChannel <= kChannels; ++nChannel) saveNoted(nChannel, true);
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
    const char* szSeconds = getenv("SNS_STRESS_SECONDS");
    const int nSeconds = szSeconds != nullptr && atoi(szSeconds) > 0 ? atoi(szSeconds) : 2;
    testsupport::copySampleFlash();
    testing::internal::CaptureStdout();  // the pipeline prints a line end per change
    std::future<void> objRun = std::async(std::launch::async, [this, nSeconds] { run(nSeconds); });
    // A deadlock must fail the run, not hang it.
    if (objRun.wait_for(std::chrono::seconds(nSeconds + 240)) != std::future_status::ready) {
        fprintf(stderr, "stress test still running after %d s: deadlock\n", nSeconds + 240);
        abort();
    }
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_EQ(0, m_nFailures.load());
    EXPECT_GT(m_objVideo.m_nNotes.load(), 0);
    for (int nChannel = 1; nChannel <= kChannels; ++nChannel) {
        for (int s = 0; s < 4; ++s) {
            const std::string strFile = testsupport::readFlashFile(schemeFile(nChannel, s));
            // Whole records (a torn tail is never a last save), keys in factory order.
            EXPECT_EQ(m_arrChannels[nChannel - 1].vecFactoryKeys, keysOf(strFile)) << nChannel << "_" << s;
            EXPECT_TRUE(strFile == m_arrChannels[nChannel - 1].vecOnFlash[s])
                << "file " << nChannel << "_" << s << " is not its last save";
        }
    }
    // No pipeline or file failure was reported on the way.
    for (const char* szSuffix : {"", ".1", ".2"}) {
        const std::string strLog = testsupport::readFlashFile(std::string(SNS_PATH_ERROR_LOG) + szSuffix);
        EXPECT_EQ(std::string::npos, strLog.find("[sensor assert]")) << strLog;
    }
}

}  // namespace
