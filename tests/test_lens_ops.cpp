// Lens, iris and shutter operations and the sensor check.
#include <gtest/gtest.h>

#include "HandBuiltController.h"

class LensOpsTest : public HandBuiltControllerTest {};

TEST_F(LensOpsTest, ZoomRatioAlongTheTable)
{
    for (const auto& stCase : std::vector<std::pair<uint32_t, int>>{
             {16384, 1000}, {16385, 1001}, {20480, 1500}, {24576, 2000}, {31424, 16000}, {31425, -7}}) {
        iasim::setValue(0, IA_CMD_MZ_POSITION, stCase.first);
        int nPosition = 0, nRatio = -7;
        EXPECT_TRUE(ctrl().getZoomValue(nPosition, nRatio));
        EXPECT_EQ(stCase.second, nRatio) << stCase.first;
    }
}

TEST_F(LensOpsTest, WithoutLensOnlyZoomStepsAreSent)
{
    access().hasLens() = false;
    int nFocus = -1, nPosition = -1, nRatio = -7;
    EXPECT_TRUE(ctrl().focusFar() && ctrl().setZoomValue(2) && ctrl().setFocusValue(5) && ctrl().setPTZRunState(1));
    EXPECT_TRUE(ctrl().getFocusValue(nFocus) && ctrl().getZoomValue(nPosition, nRatio));
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_EQ(0, nFocus);
    EXPECT_EQ(0, nPosition);
    EXPECT_TRUE(ctrl().zoomIn());
    EXPECT_EQ((SetList{{IA_CMD_ZOOM_IN, 1}}), sets());
}

TEST_F(LensOpsTest, CommandsWithALens)
{
    iasim::failCommand(IA_CMD_FOCUS_MODE, 1);  // does not stop the step
    EXPECT_TRUE(ctrl().focusFar() && ctrl().focusNear() && ctrl().zoomOut() && ctrl().irisDown());
    EXPECT_TRUE(ctrl().setFocusMode(2) && ctrl().setPTZRunState(3) && ctrl().setZoomValue(4) && ctrl().setFocusValue(5));
    EXPECT_EQ((SetList{{1536, 1}, {1554, 1}, {1536, 1}, {1553, 1}, {1570, 1}, {16, 3}, {84, 1}, {1536, 2},
                       {1632, 3}, {1568, 4}, {1552, 5}}),
              sets());
    int nMode = -1, nIris = -1;
    EXPECT_TRUE(ctrl().getFocusMode(nMode) && ctrl().getIrisValue(nIris));
    EXPECT_EQ(2, nMode);
    EXPECT_EQ(1024, nIris);

    iasim::setVersionText("CAM 2.1");
    std::string strVersion;
    EXPECT_TRUE(ctrl().getCameraVerInf(strVersion));
    EXPECT_EQ("CAM 2.1", strVersion);
    iasim::failCommand(IA_CMD_CAMERA_VERSION, 1);
    EXPECT_FALSE(ctrl().getCameraVerInf(strVersion));
    EXPECT_EQ("CAM 2.1", strVersion);
}

TEST_F(LensOpsTest, IrisClampAfterTheExposureMode)
{
    for (int nValue : {100, 30000, 25600, 256}) EXPECT_TRUE(ctrl().setIrisValue(nValue));
    EXPECT_EQ((SetList{{16, 3}, {82, 256}, {16, 3}, {82, 1048576}, {16, 3}, {82, 25600}, {16, 3}, {82, 256}}),
              sets());
    iasim::clearCalls();
    iasim::failCommand(IA_CMD_EXPOSE_MODE, 2);
    EXPECT_FALSE(ctrl().setIrisValue(1000));
    EXPECT_FALSE(ctrl().irisUp());
    EXPECT_EQ((SetList{{16, 3}, {16, 3}}), sets());
}

TEST_F(LensOpsTest, SensorCheckGetSetAndBadTexts)
{
    access().cameraId() = 2;
    iasim::setSensorCheckResult(42);
    std::string strText = "(5,2,7)";
    EXPECT_EQ(0, ctrl().SensorCheck(strText));
    EXPECT_EQ("42", strText);
    ASSERT_EQ(1u, iasim::calls().size());
    EXPECT_EQ(1, iasim::calls()[0].channel);
    EXPECT_EQ(IA_CMD_OPT_GET, iasim::calls()[0].opt);

    strText = "(5,1,7)";
    EXPECT_EQ(0, ctrl().SensorCheck(strText));
    EXPECT_EQ("(5,1,7)", strText);
    std::vector<uint32_t> vecRecord;
    ASSERT_TRUE(iasim::getRecord(1, IA_CMD_SENSOR_CHECK, vecRecord));
    EXPECT_EQ((std::vector<uint32_t>{5, 1, 7, 0}), vecRecord);

    iasim::clearCalls();
    for (std::string strBad : {"", "5,2,7", "(5,2)"}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, ctrl().SensorCheck(strBad));
        EXPECT_EQ("ISensorController2404 getParameters fail p_strIds = " + strBad + " \n",
                  testing::internal::GetCapturedStdout());
    }
    EXPECT_TRUE(iasim::calls().empty());
}

class ShutterTest : public HandBuiltControllerTest {
protected:
    void SetUp() override
    {
        HandBuiltControllerTest::SetUp();
        prepare({{KEY_MAX_SHUTTER, 20}});
        iasim::setListAttr(KEY_MAX_SHUTTER, 10, {10, 20, 30});
    }
};

TEST_F(ShutterTest, SteppingStopsAtBothEnds)
{
    iasim::setValue(0, KEY_MAX_SHUTTER, 20);
    int nIndex = -1;
    EXPECT_TRUE(ctrl().getShutterValue(nIndex));
    EXPECT_EQ(1, nIndex);
    EXPECT_TRUE(ctrl().shutterUp());
    EXPECT_TRUE(ctrl().shutterUp());  // at the top: 30 again, already cached so not sent
    iasim::setValue(0, KEY_MAX_SHUTTER, 10);
    EXPECT_TRUE(ctrl().shutterDown());  // at the bottom: 10 again
    EXPECT_EQ((std::vector<uint32_t>{30, 10}), iasim::setValuesOf(KEY_MAX_SHUTTER));
    EXPECT_EQ(10, cached(KEY_MAX_SHUTTER));

    iasim::setValue(0, KEY_MAX_SHUTTER, 25);  // not listed
    EXPECT_FALSE(ctrl().getShutterValue(nIndex) || ctrl().shutterUp());
    EXPECT_EQ(1, nIndex);
    EXPECT_FALSE(ctrl().setShutterValue(3) || ctrl().setShutterValue(-1));
}

TEST_F(ShutterTest, OnlyThirtyItemsAreUsable)
{
    std::vector<int> vecItems;
    for (int i = 1; i <= 35; ++i) vecItems.push_back(i * 10);
    iasim::setListAttr(KEY_MAX_SHUTTER, 10, vecItems);
    EXPECT_TRUE(ctrl().setShutterValue(29));
    EXPECT_EQ(300, cached(KEY_MAX_SHUTTER));
    EXPECT_FALSE(ctrl().setShutterValue(30));
    iasim::setValue(0, KEY_MAX_SHUTTER, 310);
    int nIndex = -1;
    EXPECT_FALSE(ctrl().getShutterValue(nIndex));

    vecItems.resize(30);  // exactly thirty: the last one stands after the last blank
    iasim::setListAttr(KEY_MAX_SHUTTER, 10, vecItems);
    iasim::setValue(0, KEY_MAX_SHUTTER, 300);
    EXPECT_TRUE(ctrl().getShutterValue(nIndex));
    EXPECT_EQ(29, nIndex);
}
