// Controllers started through init on a small style of known factory values,
// with a video module whose notifications are interleaved with the
// image-algorithm call log. Shared by the controller tests.
#ifndef CONTROLLER_FIXTURES_H
#define CONTROLLER_FIXTURES_H

#include <stdio.h>
#include <string.h>

#include <functional>
#include <memory>

#include "IaInterface.h"
#include "IaSim.h"
#include "PlatformSim.h"
#include "TestSupport.h"

using V = std::vector<std::string>;
using testsupport::records;
using testsupport::setRecord;
using testsupport::valueOf;

// The image keys of the default style, after the scheme keys; 49 (dynamic)
// takes the library's 25.
const std::vector<KeyVal> kStyleParams = {
    {KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 60}, {KEY_DN_MODE, 2}, {KEY_MAX_SHUTTER, 100}, {KEY_IR_MODE, 0},
    {KEY_IR_MANUAL_STRG_NEAR, 10}, {KEY_IR_MANUAL_STRG_FAR, 0}, {KEY_IR_MODE_INTELL, 0}, {KEY_LIGHT_TYPE, 0},
    {KEY_DTN_THR, 0}, {KEY_NTD_THR, 0}, {KEY_DN_SENSITIVITY, 0}, {KEY_DTN_H, 0}, {KEY_DTN_M, 0}, {KEY_NTD_H, 0},
    {KEY_NTD_M, 0}, {KEY_WDR_MODE, 0}, {KEY_MIRROR, 0}, {KEY_BEAWAY, 0}, {KEY_ANTI_SHAKE_SWITCH, 0},
    {KEY_NONE_COLOR_MODE, 0}};
const size_t kSmallStyleRecords = 5 + kStyleParams.size();

inline std::string schemeFile(int p_nChannel, int p_nScheme)
{
    return schemeFilePath(p_nChannel, p_nScheme);
}

class InitFixture : public testsupport::FlashTest {
protected:
    // Keeps the IA calls and the notifications as text, in their order.
    class TimelineVideo : public testsupport::RecordingVideo {
    public:
        int notifySensorParam(int p_nChannel, int p_nKey, int p_nVal) const override
        {
            takeCalls();
            m_vecEntries.push_back("video " + std::to_string(p_nKey) + "=" + std::to_string(p_nVal));
            return RecordingVideo::notifySensorParam(p_nChannel, p_nKey, p_nVal);
        }
        // "ia cmd=value" (other options: "ia<opt> cmd=value") for each call not yet taken.
        void takeCalls() const
        {
            const std::vector<iasim::IaCall> vecCalls = iasim::calls();
            for (; m_nTaken < vecCalls.size(); ++m_nTaken) {
                const iasim::IaCall& stCall = vecCalls[m_nTaken];
                m_vecEntries.push_back("ia" + (stCall.opt ? std::to_string(stCall.opt) : "") + " " +
                                       std::to_string(stCall.cmd) + "=" + std::to_string(stCall.value));
            }
        }
        mutable V m_vecEntries;
        mutable size_t m_nTaken = 0;
    };

    void SetUp() override
    {
        FlashTest::SetUp();
        writeMachineInfo(1, "SIM-IPC");
        writeStyle("", styleOf(kStyleParams));
        ISensorController::m_nChanneldDosomething = ISensorController::m_nPassKeycmd = -1;
    }
    void TearDown() override
    {
        for (auto& pCtrl : m_vecCtrls) pCtrl->uinit();
        m_vecCtrls.clear();
        FlashTest::TearDown();
    }

    // Scheme keys first: mode 1 (so that the mode 0 written into new files
    // shows) and the window 00:00-24:00; then the given parameters.
    static std::string styleOf(const std::vector<KeyVal>& p_vecParams)
    {
        std::vector<KeyVal> vecAll = {{KEY_SCHEME_MODE, 1},
                                      {KEY_SCHEME_START_HOUR, 0},
                                      {KEY_SCHEME_START_MIN, 0},
                                      {KEY_SCHEME_END_HOUR, 24},
                                      {KEY_SCHEME_END_MIN, 0}};
        vecAll.insert(vecAll.end(), p_vecParams.begin(), p_vecParams.end());
        std::string strStyle = "<Style><Tab key=\"image\">";
        for (const KeyVal& stParam : vecAll)
            strStyle +=
                "<P id=\"" + std::to_string(stParam.key) + "\" value=\"" + std::to_string(stParam.value) + "\"/>";
        return strStyle + "</Tab></Style>";
    }
    static void writeMachineInfo(int p_nType, const std::string& p_strModel)
    {
        testsupport::writeFlashFile(SNS_PATH_MACHINE_INFO,
                                    "device_type=" + std::to_string(p_nType) + "\nhardware_model=" + p_strModel);
    }
    // p_strVariant: "" for the plain documents, "_Thermal" or "_dome".
    static void writeStyle(const std::string& p_strVariant, const std::string& p_strStyle)
    {
        testsupport::writeFlashFile(SNS_PATH_STYLE_DIR "Style" + p_strVariant + ".xml", p_strStyle);
        testsupport::writeFlashFile(SNS_PATH_DIVERSITY_DIR "StyleDiversity" + p_strVariant + ".xml", "<V/>");
    }

    ISensorController& start(const std::string& p_strDetail = "", int p_nChannel = 1)
    {
        m_vecCtrls.emplace_back(new ISensorController());  // after the machine information
        ctrl().setChannelID(p_nChannel);
        ctrl().setVideoStreamModule(&m_objVideo);
        EXPECT_TRUE(ctrl().init(testsupport::moduleWithDetail(p_strDetail)));
        return ctrl();
    }
    // Started, with its thread stopped and the logs cleared: only the test drives it.
    ISensorController& startStill(const std::string& p_strDetail = "")
    {
        start(p_strDetail);
        access().sensorThread()->stop();
        timeline();
        return ctrl();
    }
    ISensorController& ctrl() { return *m_vecCtrls.back(); }
    SensorControllerDetail access() { return detail(ctrl()); }
    int set(u32 p_nKey, u32 p_nVal, bool p_bSave = true) { return ctrl().setParameter(p_nKey, p_nVal, p_bSave); }

    // Cached value of a key in a row of the last controller; -1 when not in the row.
    long long cached(u32 p_nKey, int p_nScheme = 0)
    {
        u32 nValue = 0;
        return ctrl().getKeyValFromCache(p_nScheme, p_nKey, nValue) < 0 ? -1 : nValue;
    }
    // The values of a key in every row, scheme 0 first, e.g. "1 1 1 1 0".
    std::string rows(u32 p_nKey)
    {
        std::string strOut = std::to_string(cached(p_nKey));
        for (u32 s = 1; s <= access().sysConf().nSchemeSum; ++s) strOut += " " + std::to_string(cached(p_nKey, s));
        return strOut;
    }
    void lockLens(bool p_bLock)
    {
        SensorZoomFocusParam objParam;
        ctrl().getSensorZoomFocusParam(objParam);
        objParam.setLockZoomFocusEnable(p_bLock);
        ctrl().setSensorZoomFocusParam(objParam);
    }
    int scheme()
    {
        int nScheme = -2;
        ctrl().getParamScheme(nScheme);
        return nScheme;
    }
    void cache(u32 p_nKey, u32 p_nVal, int p_nScheme = 0) { ctrl().setKeyValToCache(p_nScheme, p_nKey, p_nVal, true); }
    void setWindow(int p_nScheme, u32 p_nStartH, u32 p_nStartM, u32 p_nEndH, u32 p_nEndM)
    {
        const u32 nValues[] = {p_nStartH, p_nStartM, p_nEndH, p_nEndM};
        for (u32 i = 0; i < 4; ++i) cache(KEY_SCHEME_START_HOUR + i, nValues[i], p_nScheme);
    }

    // What happened since the last look, in order.
    V timeline()
    {
        m_objVideo.takeCalls();
        V vecOut;
        vecOut.swap(m_objVideo.m_vecEntries);
        iasim::clearCalls();
        m_objVideo.m_nTaken = 0;
        m_objVideo.clear();
        return vecOut;
    }
    // The timeline of setting the pairs in turn; a failed set adds "=> result".
    V applied(const std::vector<KeyVal>& p_vecPairs, bool p_bSave = true)
    {
        V vecOut;
        timeline();
        for (const KeyVal& stPair : p_vecPairs) {
            const int nRet = set(stPair.key, stPair.value, p_bSave);
            const V vecDone = timeline();
            vecOut.insert(vecOut.end(), vecDone.begin(), vecDone.end());
            if (nRet != 0) vecOut.push_back("=> " + std::to_string(nRet));
        }
        return vecOut;
    }

    // Standard output printed while p_fnAction runs.
    static std::string output(const std::function<void()>& p_fnAction)
    {
        testing::internal::CaptureStdout();
        p_fnAction();
        fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }
    static void expectParts(const std::string& p_strOut, const V& p_vecParts)
    {
        for (const std::string& strPart : p_vecParts)
            EXPECT_NE(std::string::npos, p_strOut.find(strPart)) << strPart << "\n--- in ---\n" << p_strOut;
    }

    TimelineVideo m_objVideo;
    std::vector<std::unique_ptr<ISensorController>> m_vecCtrls;
};

// One still controller, started in SetUp on the style of the given
// parameters and the detail text.
class StillControllerTest : public InitFixture {
protected:
    explicit StillControllerTest(const std::vector<KeyVal>& p_vecStyle = kStyleParams, const char* p_szDetail = "")
        : m_vecStyle(p_vecStyle), m_strDetail(p_szDetail)
    {
    }
    void SetUp() override
    {
        InitFixture::SetUp();
        writeStyle("", styleOf(m_vecStyle));
        startStill(m_strDetail);
    }
    std::vector<KeyVal> m_vecStyle;
    std::string m_strDetail;
};

#endif
