// The controller object: defaults, channel number, window check and the
// key/command table.
#include <string.h>

#include <string>

#include "TestSupport.h"

using testsupport::writeFlashFile;

namespace {

class ControllerObjectTest : public testsupport::FlashTest {
protected:
    void setDeviceType(int p_nType)
    {
        writeFlashFile("/mnt/mtd/code/factory_setting/machineinfo.ini",
                       "device_type=" + std::to_string(p_nType) + "\n");
    }
};

TEST_F(ControllerObjectTest, NewObjectHasItsDefaults)
{
    ISensorController objCtrl;
    SensorControllerTestAccess acc(objCtrl);
    EXPECT_FALSE(objCtrl.getSensorStatus());
    EXPECT_EQ(1, acc.cameraId());
    EXPECT_EQ(8u, acc.version());
    EXPECT_EQ(160u, acc.keyCmdSum());
    EXPECT_EQ(255u, acc.lastTimeMatch());
    EXPECT_EQ(-1, acc.curScheme());
    EXPECT_EQ(-1, acc.lastScheme());
    EXPECT_EQ(1, acc.paramMode());
    EXPECT_EQ(0u, acc.keyValSum());
    EXPECT_EQ(nullptr, acc.userKeyVal());
    EXPECT_EQ(nullptr, acc.keyCmdMap());
    EXPECT_NE(nullptr, acc.sensorThread());
    EXPECT_TRUE(acc.showWdr());
    EXPECT_TRUE(acc.hasLens());
    EXPECT_FALSE(acc.lprMode() || acc.timeSwitch() || acc.dnSwitch() || acc.limitedIrPower() ||
                 acc.shutterUnlock() || acc.isThermal());
    EXPECT_EQ(-1, ISensorController::m_nChanneldDosomething);
    EXPECT_EQ(-1, ISensorController::m_nPassKeycmd);

    acc.statusFlag() = SNS_STATUS_INITIALISED;
    EXPECT_TRUE(objCtrl.getSensorStatus());
    acc.sysConf().moduleConfig.nModuleId = 77;
    EXPECT_EQ(77u, objCtrl.getSensorType());
}

TEST_F(ControllerObjectTest, ChannelNumberFollowsTheDeviceType)
{
    struct Case {
        int nType;
        int nChannel;
        int nExpectedId;
        bool bThermal;
    } cases[] = {
        {13, 1, 2, true},   // single thermal device: always channel 2
        {19, 2, 2, true},   // dual sensor: channel 2 is thermal
        {1, 2, 2, false},
        {14, 1, 1, false},
        {17, 2, 2, true},
        {8, 3, 3, false},
    };
    for (const Case& c : cases) {
        setDeviceType(c.nType);
        ISensorController objCtrl;
        SensorControllerTestAccess acc(objCtrl);
        objCtrl.setChannelID(c.nChannel);
        EXPECT_EQ(c.nExpectedId, acc.cameraId()) << "type " << c.nType;
        EXPECT_EQ(c.bThermal, acc.isThermal()) << "type " << c.nType;
        // The thermal flag is never cleared by a later call.
        objCtrl.setChannelID(1);
        EXPECT_EQ(c.bThermal, acc.isThermal());
    }
}

TEST_F(ControllerObjectTest, WindowCheckCodes)
{
    ISensorController objCtrl;
    SensorControllerTestAccess acc(objCtrl);
    KeyVal astRow[5] = {{8000, 0}, {8001, 0}, {8002, 0}, {8003, 0}, {8004, 0}};
    KeyVal* apRows[1] = {astRow};
    acc.userKeyVal() = apRows;
    acc.keyValSum() = 5;
    acc.curScheme() = 0;
    auto check = [&](u32 sh, u32 sm, u32 eh, u32 em) {
        astRow[1].value = sh;
        astRow[2].value = sm;
        astRow[3].value = eh;
        astRow[4].value = em;
        return objCtrl.paramCheck();
    };
    EXPECT_EQ(507, check(24, 0, 24, 0));  // 2400 passes the limit, start not below end
    EXPECT_EQ(505, check(24, 1, 24, 0));
    EXPECT_EQ(506, check(0, 0, 25, 0));
    EXPECT_EQ(0, check(7, 30, 19, 0));
    EXPECT_EQ(0, check(7, 99, 8, 0));     // minutes are not bounded: 799 < 800
    EXPECT_EQ(0, check(0, 0, 24, 0));
    EXPECT_EQ(507, check(8, 0, 8, 0));
    acc.keyValSum() = 4;  // no room for a window: never valid, never read past the row
    EXPECT_EQ(507, check(7, 30, 19, 0));
    acc.userKeyVal() = nullptr;
    acc.keyValSum() = 0;
}

class KeyTableTest : public ControllerObjectTest {
protected:
    void SetUp() override
    {
        ControllerObjectTest::SetUp();
        m_pCtrl = new ISensorController();
        SensorControllerTestAccess(*m_pCtrl).buildKeyCmdMap();
    }
    void TearDown() override
    {
        SensorControllerTestAccess acc(*m_pCtrl);
        free(acc.keyCmdMap());
        acc.keyCmdMap() = nullptr;
        delete m_pCtrl;
        ControllerObjectTest::TearDown();
    }
    int find(u32 p_nKey, keycmd& p_stOut)
    {
        return m_pCtrl->findFromKeyCmdMap(SensorControllerTestAccess(*m_pCtrl).keyCmdMap(), p_nKey, p_stOut);
    }
    ISensorController* m_pCtrl = nullptr;
};

TEST_F(KeyTableTest, LookupsReturnRowsWithCommandHandlerAndNames)
{
    EXPECT_EQ(156u, SensorControllerTestAccess(*m_pCtrl).keyCmdSum());
    keycmd stRow;
    EXPECT_EQ(1, find(34, stRow));
    EXPECT_EQ(34u, stRow.key);
    EXPECT_EQ(34u, stRow.iaCmd);
    EXPECT_TRUE(stRow.handler == &ISensorController::doIaCmd);
    EXPECT_STREQ("KEY_BRIGHTNESS", stRow.szKeyName);
    EXPECT_STREQ("&ISensorController::doIaCmd", stRow.szHandlerName);

    EXPECT_EQ(0, find(8240, stRow));
    EXPECT_EQ(155, find(2571, stRow));
    EXPECT_EQ(2064u, stRow.iaCmd);

    EXPECT_EQ(102, find(2497, stRow));
    EXPECT_EQ(2464u, stRow.iaCmd);
    EXPECT_TRUE(stRow.handler == &ISensorController::doIaCmd_User);

    EXPECT_EQ(85, find(8000, stRow));
    EXPECT_TRUE(stRow.handler == nullptr);
    EXPECT_EQ(0u, stRow.iaCmd);
    EXPECT_STREQ("NULL", stRow.szHandlerName);

    EXPECT_EQ(14, find(83, stRow));  // iris size: key 83 carries command 85
    EXPECT_EQ(85u, stRow.iaCmd);
    EXPECT_EQ(15, find(17, stRow));
    EXPECT_EQ(83u, stRow.iaCmd);
    EXPECT_EQ(31, find(170, stRow));
    EXPECT_EQ(168u, stRow.iaCmd);
    EXPECT_EQ(60, find(2384, stRow));
    EXPECT_TRUE(stRow.handler == &ISensorController::doMirror);
    EXPECT_EQ(44, find(2368, stRow));
    EXPECT_TRUE(stRow.handler == &ISensorController::doHwdr);
}

TEST_F(KeyTableTest, LongNamesAreCutTo31Characters)
{
    keycmd stRow;
    ASSERT_EQ(80, find(8104, stRow));
    EXPECT_EQ(std::string("KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV").substr(0, 31), stRow.szKeyName);
    ASSERT_EQ(83, find(8102, stRow));
    EXPECT_EQ(31u, strlen(stRow.szKeyName));
    ASSERT_EQ(84, find(8103, stRow));
    EXPECT_EQ(std::string("KEY_MIXSTREAM_DISTANCE_HEIGHT_OFFSET").substr(0, 31), stRow.szKeyName);
    EXPECT_STREQ("&ISensorController::doIaCmd_PanoTuning", stRow.szHandlerName);
    ASSERT_EQ(82, find(8101, stRow));
    EXPECT_STREQ("KEY_MIXSTREAM_DISTANCE_Y_OFFSET", stRow.szKeyName);  // exactly 31
}

TEST_F(KeyTableTest, MissingKeyLeavesOutputAndTracesOnlyFromLevel6)
{
    keycmd stRow;
    memset(&stRow, 0xAB, sizeof(stRow));
    keycmd stBefore = stRow;
    testing::internal::CaptureStdout();
    EXPECT_EQ(-1, find(7, stRow));
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ(0, memcmp(&stBefore, &stRow, sizeof(stRow)));

    writeFlashFile("/tmp/Debug.sign", "6\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(-1, find(201, stRow));  // lamp pair key without a row
    EXPECT_EQ("\033[0m\033[0mcand not find key-cmd while key=201\n\033[0m",
              testing::internal::GetCapturedStdout());
}

TEST_F(KeyTableTest, EveryKeyOccursOnceAndHandlersMatchTheirCommands)
{
    SensorControllerTestAccess acc(*m_pCtrl);
    int nWithoutHandler = 0;
    for (u32 i = 0; i < acc.keyCmdSum(); ++i) {
        const keycmd& stRow = acc.keyCmdMap()[i];
        keycmd stFound;
        EXPECT_EQ(static_cast<int>(i), find(stRow.key, stFound)) << stRow.szKeyName;
        if (stRow.handler == nullptr) {
            ++nWithoutHandler;
            EXPECT_EQ(0u, stRow.iaCmd);
        }
    }
    EXPECT_EQ(11, nWithoutHandler);
}

}  // namespace
