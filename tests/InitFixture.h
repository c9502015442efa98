// A flash root with a small style of known factory values and a machine
// information file, and controllers started on it with a recording video
// module. Shared by the init, reset and concurrency tests.
#ifndef INIT_FIXTURE_H
#define INIT_FIXTURE_H

#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

// Factory order: the scheme keys (mode 1, so that the mode 0 written into new
// files shows), then the image keys; 49 (dynamic) keeps the library's 25.
const char kSmallStyle[] =
    "<Style><Tab key=\"scheme\"><P id=\"8000\" value=\"1\"/><P id=\"8001\" value=\"0\"/>"
    "<P id=\"8002\" value=\"0\"/><P id=\"8003\" value=\"0\"/><P id=\"8004\" value=\"0\"/></Tab>"
    "<Tab key=\"image\"><P id=\"34\" value=\"50\"/><P id=\"2337\" value=\"60\"/><P id=\"144\" value=\"2\"/>"
    "<P id=\"49\" value=\"100\"/><P id=\"161\" value=\"0\"/><P id=\"163\" value=\"10\"/></Tab></Style>";
const size_t kSmallStyleRecords = 11;

class InitFixture : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        writeMachineInfo(1, "SIM-IPC");
        writeStyle("", kSmallStyle);
    }
    void TearDown() override
    {
        for (auto& pCtrl : m_vecCtrls) pCtrl->uinit();
        m_vecCtrls.clear();
        FlashTest::TearDown();
    }
    static void writeMachineInfo(int p_nType, const std::string& p_strModel)
    {
        testsupport::writeFlashFile("/mnt/mtd/code/factory_setting/machineinfo.ini",
                                    "device_type=" + std::to_string(p_nType) + "\nhardware_model=" + p_strModel);
    }
    // p_strVariant: "" for the plain documents, "_Thermal" or "_dome".
    static void writeStyle(const std::string& p_strVariant, const std::string& p_strStyle)
    {
        const std::string strDir = "/hd1/moduleConfig/sensorConfig/";
        testsupport::writeFlashFile(strDir + "style/Style" + p_strVariant + ".xml", p_strStyle);
        testsupport::writeFlashFile(strDir + "styleDiversity/StyleDiversity" + p_strVariant + ".xml", "<V/>");
    }
    ISensorController& start(const std::string& p_strDetail, int p_nChannel = 1)
    {
        m_vecCtrls.emplace_back(new ISensorController());  // after the machine information
        m_vecCtrls.back()->setChannelID(p_nChannel);
        m_vecCtrls.back()->setVideoStreamModule(&m_objVideo);
        EXPECT_TRUE(m_vecCtrls.back()->init(testsupport::moduleWithDetail(p_strDetail)));
        return *m_vecCtrls.back();
    }
    static std::string schemeFile(int p_nChannel, int p_nScheme)
    {
        return "/mnt/mtd/code/config_file/sensor" + std::to_string(p_nChannel) + "_" + std::to_string(p_nScheme) + ".cfg";
    }
    static std::vector<KeyVal> records(const std::string& p_strPath)
    {
        const std::string strFile = testsupport::readFlashFile(p_strPath);
        std::vector<KeyVal> vecOut(strFile.size() / sizeof(KeyVal));
        if (!vecOut.empty()) memcpy(vecOut.data(), strFile.data(), vecOut.size() * sizeof(KeyVal));
        return vecOut;
    }
    static long long valueOf(const std::vector<KeyVal>& p_vecRecords, u32 p_nKey)
    {
        for (const KeyVal& stRecord : p_vecRecords)
            if (stRecord.key == p_nKey) return stRecord.value;
        return -1;
    }
    static void setRecord(const std::string& p_strPath, u32 p_nKey, u32 p_nValue)
    {
        std::vector<KeyVal> vecRecords = records(p_strPath);
        for (KeyVal& stRecord : vecRecords)
            if (stRecord.key == p_nKey) stRecord.value = p_nValue;
        testsupport::writeFlashFile(p_strPath, std::string(reinterpret_cast<const char*>(vecRecords.data()),
                                                           vecRecords.size() * sizeof(KeyVal)));
    }
    static std::string capturedStdout()
    {
        fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    testsupport::RecordingVideo m_objVideo;
    std::vector<std::unique_ptr<ISensorController>> m_vecCtrls;
};

#endif
