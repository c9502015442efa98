// A controller with hand-made scheme rows (four user schemes and the factory
// row), the real key/command table and a video module whose notifications are
// interleaved with the image-algorithm call log, without a running thread.
#ifndef CONTROLLER_ROWS_FIXTURE_H
#define CONTROLLER_ROWS_FIXTURE_H

#include <gmock/gmock.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "IaSim.h"
#include "TestSupport.h"

class ControllerRowsTest : public testsupport::FlashTest {
protected:
    static constexpr u32 kSchemes = 4;

    // Remembers how many IA calls preceded each notification.
    class TimelineVideo : public testsupport::RecordingVideo {
    public:
        int notifySensorParam(int p_nChannel, int p_nKey, int p_nVal) const override
        {
            m_vecIaCalls.push_back(iasim::calls().size());
            return RecordingVideo::notifySensorParam(p_nChannel, p_nKey, p_nVal);
        }
        mutable std::vector<size_t> m_vecIaCalls;
    };

    void SetUp() override
    {
        FlashTest::SetUp();
        m_pCtrl.reset(new ISensorController());
        const std::vector<u32> vecKeys = {8000, 8001, 8002, 8003, 8004, 34,  144,  145,  146,  149,  150,  151,
                                          152,  154,  161,  168,  163,  167, 224, 2384, 2385, 2368, 2416, 8201};
        SensorControllerTestAccess acc = access();
        acc.sysConf().nSchemeSum = kSchemes;
        acc.keyValSum() = static_cast<u32>(vecKeys.size());
        acc.userKeyVal() = static_cast<KeyVal**>(calloc(kSchemes + 1, sizeof(KeyVal*)));
        acc.userKeyVal()[0] = static_cast<KeyVal*>(calloc((kSchemes + 1) * vecKeys.size(), sizeof(KeyVal)));
        for (u32 s = 0; s <= kSchemes; ++s) {
            acc.userKeyVal()[s] = acc.userKeyVal()[0] + s * vecKeys.size();
            for (size_t i = 0; i < vecKeys.size(); ++i) acc.userKeyVal()[s][i].key = vecKeys[i];
        }
        acc.curScheme() = 0;
        acc.buildKeyCmdMap();
        m_pCtrl->setVideoStreamModule(&m_objVideo);
    }

    void TearDown() override
    {
        SensorControllerTestAccess acc = access();
        free(acc.userKeyVal()[0]);
        free(acc.userKeyVal());
        free(acc.keyCmdMap());
        acc.userKeyVal() = nullptr;
        acc.keyCmdMap() = nullptr;
        m_pCtrl.reset();
        FlashTest::TearDown();
    }

    SensorControllerTestAccess access() { return SensorControllerTestAccess(*m_pCtrl); }
    KeyVal* entry(u32 p_nScheme, u32 p_nKey)
    {
        KeyVal* pRow = access().userKeyVal()[p_nScheme];
        for (u32 i = 0; i < access().keyValSum(); ++i)
            if (pRow[i].key == p_nKey) return &pRow[i];
        return nullptr;
    }
    u32 cached(u32 p_nScheme, u32 p_nKey) { return entry(p_nScheme, p_nKey)->value; }
    void cache(u32 p_nScheme, u32 p_nKey, u32 p_nVal) { entry(p_nScheme, p_nKey)->value = p_nVal; }
    // Traces of level 6 are printed from now on.
    void traceAll() { testsupport::writeFlashFile("/tmp/Debug.sign", "6\n"); }

    // "ia cmd=value" (GET: "ia1 cmd=value") and "video key=value" since the
    // last clearLog, in the order they happened.
    std::vector<std::string> timeline() const
    {
        const std::vector<iasim::IaCall> vecCalls = iasim::calls();
        const auto vecNotes = m_objVideo.notes();
        std::vector<std::string> vecOut;
        size_t nCall = 0;
        for (size_t n = 0; n <= vecNotes.size(); ++n) {
            for (; nCall < (n < vecNotes.size() ? m_objVideo.m_vecIaCalls[n] : vecCalls.size()); ++nCall)
                vecOut.push_back("ia" + (vecCalls[nCall].opt ? std::to_string(vecCalls[nCall].opt) : "") +
                                 " " + std::to_string(vecCalls[nCall].cmd) + "=" +
                                 std::to_string(vecCalls[nCall].value));
            if (n < vecNotes.size())
                vecOut.push_back("video " + std::to_string(vecNotes[n].key) + "=" + std::to_string(vecNotes[n].value));
        }
        return vecOut;
    }
    void clearLog()
    {
        iasim::clearCalls();
        m_objVideo.clear();
        m_objVideo.m_vecIaCalls.clear();
    }

    std::unique_ptr<ISensorController> m_pCtrl;
    TimelineVideo m_objVideo;
};

#endif
