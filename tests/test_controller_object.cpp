// The controller object: defaults, channel number and the key/command table.
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>

#include "TestSupport.h"

namespace {

class ControllerObjectTest : public testsupport::FlashTest {};

TEST_F(ControllerObjectTest, ChannelNumberFollowsTheDeviceType)
{
    const struct {
        int nType, nChannel, nExpectedId;
        bool bThermal;
    } arrCases[] = {{13, 1, 2, true},  // single thermal device: always channel 2
                    {19, 2, 2, true},  // dual sensor: channel 2 is thermal
                    {1, 2, 2, false},
                    {14, 1, 1, false}};
    for (const auto& stCase : arrCases) {
        testsupport::writeFlashFile(SNS_PATH_MACHINE_INFO,
                                    "device_type=" + std::to_string(stCase.nType));
        ISensorController objCtrl;
        objCtrl.setChannelID(stCase.nChannel);
        EXPECT_EQ(stCase.nExpectedId, SensorControllerDetail(objCtrl).cameraId()) << stCase.nType;
        objCtrl.setChannelID(1);  // the thermal flag is never cleared
        EXPECT_EQ(stCase.bThermal, SensorControllerDetail(objCtrl).isThermal()) << stCase.nType;
    }
}

TEST_F(ControllerObjectTest, NewObjectIsIdle)
{
    ISensorController objCtrl;
    SensorControllerDetail acc(objCtrl);
    int nScheme = 0;
    EXPECT_TRUE(objCtrl.getParamScheme(nScheme) && nScheme == -1);
    EXPECT_TRUE(acc.cameraId() == 1 && !acc.sensorThread()->isRunning());
    EXPECT_TRUE(ISensorController::m_nChanneldDosomething == -1 && ISensorController::m_nPassKeycmd == -1);
    EXPECT_FALSE(objCtrl.getSensorStatus());
    acc.statusFlag() = SNS_STATUS_INITIALISED | SNS_STATUS_SWITCHING;
    EXPECT_TRUE(objCtrl.getSensorStatus());
    acc.statusFlag() = SNS_STATUS_BUSY_MASK | SNS_STATUS_INITIALISING;
    EXPECT_FALSE(objCtrl.getSensorStatus());
}

TEST_F(ControllerObjectTest, KeyLookupsReturnRowsWithCommandHandlerAndNames)
{
    ISensorController objCtrl;
    SensorControllerDetail acc(objCtrl);
    acc.buildKeyCmdMap();
    std::unique_ptr<keycmd, void (*)(void*)> pMap(acc.keyCmdMap(), free);
    auto find = [&](u32 p_nKey, keycmd& p_stOut) {
        return objCtrl.findFromKeyCmdMap(pMap.get(), p_nKey, p_stOut);
    };
    ASSERT_EQ(156u, acc.keyCmdSum());
    const struct {
        u32 nKey;
        KeyCmdHandler pHandler;
        const char* szRow;  // "row key command key-name handler-name", names cut to 31 characters
    } arrCases[] = {
        {8240, &ISensorController::doIaCmd, "0 8240 8240 KEY__DDE_MANUAL_STRG &ISensorController::doIaCmd"},
        {2571, &ISensorController::doIaCmd, "155 2571 2064 KEY_LDC_STRG &ISensorController::doIaCmd"},
        {8000, nullptr, "85 8000 0 KEY_SCHEME_MODE NULL"},
        {8104, &ISensorController::doIoCrtl,
         "80 8104 8104 KEY_MIXSTREAM_THERMAL_TO_VISION &ISensorController::doIoCrtl"},
        {8101, &ISensorController::doIaCmd_PanoTuning,
         "82 8101 8101 KEY_MIXSTREAM_DISTANCE_Y_OFFSET &ISensorController::doIaCmd_PanoTuning"},
    };
    for (const auto& stCase : arrCases) {
        keycmd stRow{};
        const int nRow = find(stCase.nKey, stRow);
        EXPECT_EQ(stCase.szRow, std::to_string(nRow) + " " + std::to_string(stRow.key) + " " +
                                    std::to_string(stRow.iaCmd) + " " + stRow.szKeyName + " " + stRow.szHandlerName);
        EXPECT_TRUE(stRow.handler == stCase.pHandler) << stCase.nKey;
    }

    // The key list cannot hold a key twice (its role switch would not compile).
    EXPECT_EQ(11, std::count_if(pMap.get(), pMap.get() + acc.keyCmdSum(),
                                [](const keycmd& p_stRow) { return p_stRow.handler == nullptr; }));

    // A missing key leaves the output alone and is traced from level 6 on.
    keycmd stRow, stBefore;
    memset(&stRow, 0xAB, sizeof(stRow));
    stBefore = stRow;
    for (const char* szLevel : {"5\n", "6\n"}) {
        testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, szLevel);
        testing::internal::CaptureStdout();
        EXPECT_EQ(-1, find(201, stRow));  // lamp pair key without a row
        EXPECT_EQ(szLevel[0] == '6' ? "\033[0m\033[0mcand not find key-cmd while key=201\n\033[0m" : "",
                  testing::internal::GetCapturedStdout());
    }
    EXPECT_EQ(0, memcmp(&stBefore, &stRow, sizeof(stRow)));
}

}  // namespace
