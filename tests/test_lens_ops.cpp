// Lens, iris and shutter operations and the sensor check.
#include "ControllerFixtures.h"

class LensOpsTest : public StillControllerTest {
protected:
    LensOpsTest() : StillControllerTest(kStyleParams, "(lensId=3)") {}
};

TEST_F(LensOpsTest, LensAndIrisCommands)
{
    for (const auto& [nPosition, nExpected] : std::vector<std::pair<uint32_t, int>>{
             {16384, 1000}, {16385, 1001}, {20480, 1500}, {24576, 2000}, {31424, 16000}, {31425, -7}}) {
        iasim::setValue(0, IA_CMD_MZ_POSITION, nPosition);
        int nRead = 0, nRatio = -7;
        EXPECT_TRUE(ctrl().getZoomValue(nRead, nRatio) && nRatio == nExpected) << nPosition << " " << nRatio;
    }
    timeline();
    iasim::failCommand(IA_CMD_FOCUS_MODE, 1);  // does not stop the step
    int nMode = -1, nIris = -1;
    EXPECT_TRUE(ctrl().focusFar() && ctrl().focusNear() && ctrl().zoomOut() && ctrl().irisDown() &&
                ctrl().setFocusMode(2) && ctrl().setPTZRunState(3) && ctrl().setZoomValue(4) &&
                ctrl().setFocusValue(5) && ctrl().getFocusMode(nMode) && ctrl().getIrisValue(nIris));
    EXPECT_EQ((V{"ia 1536=1", "ia 1554=1", "ia 1536=1", "ia 1553=1", "ia 1570=1", "ia 16=3", "ia 84=1", "ia 1536=2",
                 "ia 1632=3", "ia 1568=4", "ia 1552=5", "ia1 1536=2", "ia1 82=1024"}),
              timeline());
    for (int nValue : {100, 30000, 25600, 256}) EXPECT_TRUE(ctrl().setIrisValue(nValue));
    EXPECT_EQ((V{"ia 16=3", "ia 82=256", "ia 16=3", "ia 82=1048576", "ia 16=3", "ia 82=25600", "ia 16=3", "ia 82=256"}),
              timeline());
    iasim::failCommand(IA_CMD_EXPOSE_MODE, 2);  // without it the iris does not move
    EXPECT_FALSE(ctrl().setIrisValue(1000) || ctrl().irisUp());
    EXPECT_EQ((V{"ia 16=3", "ia 16=3"}), timeline());
    std::string strVersion;
    iasim::setVersionText("CAM 2.1");
    EXPECT_TRUE(ctrl().getCameraVerInf(strVersion) && strVersion == "CAM 2.1");
    iasim::failCommand(IA_CMD_CAMERA_VERSION, 1);
    EXPECT_FALSE(ctrl().getCameraVerInf(strVersion));

    // Without a lens only the zoom steps reach the library.
    access().hasLens() = false;
    int nFocus = -1, nPosition = -1, nRatio = -7;
    timeline();
    EXPECT_TRUE(ctrl().focusFar() && ctrl().setZoomValue(2) && ctrl().setFocusValue(5) && ctrl().setPTZRunState(1) &&
                ctrl().getFocusValue(nFocus) && ctrl().getZoomValue(nPosition, nRatio) && ctrl().zoomIn());
    EXPECT_EQ(V{"ia 1569=1"}, timeline());
    EXPECT_EQ("0 0", std::to_string(nFocus) + " " + std::to_string(nPosition));
}

TEST_F(LensOpsTest, SensorCheckGetSetAndBadTexts)
{
    ctrl().setChannelID(2);
    iasim::setSensorCheckResult(42);
    std::string strGet = "(5,2,7)", strSet = "(5,1,7)";
    EXPECT_TRUE(ctrl().SensorCheck(strGet) == 0 && strGet == "42");
    ASSERT_EQ(1u, iasim::calls().size());
    EXPECT_EQ(1, iasim::calls()[0].channel);
    EXPECT_TRUE(ctrl().SensorCheck(strSet) == 0 && strSet == "(5,1,7)");
    EXPECT_EQ((V{"ia1 2816=5", "ia 2816=5"}), timeline());
    std::vector<uint32_t> vecRecord;
    ASSERT_TRUE(iasim::getRecord(1, IA_CMD_SENSOR_CHECK, vecRecord));
    EXPECT_EQ((std::vector<uint32_t>{5, 1, 7, 0}), vecRecord);
    for (std::string strBad : {"", "5,2,7", "(5,2)"})
        EXPECT_EQ("ISensorController2404 getParameters fail p_strIds = " + strBad + " \n",
                  output([&] { EXPECT_EQ(0, ctrl().SensorCheck(strBad)); }));
    EXPECT_EQ(V{}, timeline());
}

TEST_F(LensOpsTest, ShutterSteppingAndItsThirtyItems)
{
    iasim::setListAttr(KEY_MAX_SHUTTER, 10, {10, 20, 30});
    iasim::setValue(0, KEY_MAX_SHUTTER, 20);
    int nIndex = -1;
    EXPECT_TRUE(ctrl().getShutterValue(nIndex) && nIndex == 1);
    EXPECT_TRUE(ctrl().shutterUp() && ctrl().shutterUp());  // at the top: 30 again, already cached so not sent
    EXPECT_EQ(30, cached(KEY_MAX_SHUTTER));
    iasim::setValue(0, KEY_MAX_SHUTTER, 10);
    EXPECT_TRUE(ctrl().shutterDown());  // at the bottom: 10 again
    EXPECT_EQ((std::vector<uint32_t>{30, 10}), iasim::setValuesOf(KEY_MAX_SHUTTER));
    EXPECT_EQ(10, cached(KEY_MAX_SHUTTER));
    iasim::setValue(0, KEY_MAX_SHUTTER, 25);  // not listed
    EXPECT_FALSE(ctrl().getShutterValue(nIndex) || ctrl().shutterUp() || ctrl().setShutterValue(3) ||
                 ctrl().setShutterValue(-1));

    std::vector<int> vecItems;
    for (int i = 1; i <= 35; ++i) vecItems.push_back(i * 10);
    iasim::setListAttr(KEY_MAX_SHUTTER, 10, vecItems);
    EXPECT_TRUE(ctrl().setShutterValue(29));
    EXPECT_EQ(300, cached(KEY_MAX_SHUTTER));
    iasim::setValue(0, KEY_MAX_SHUTTER, 310);
    EXPECT_FALSE(ctrl().setShutterValue(30) || ctrl().getShutterValue(nIndex));
    vecItems.resize(30);  // exactly thirty: the last one stands after the last blank
    iasim::setListAttr(KEY_MAX_SHUTTER, 10, vecItems);
    iasim::setValue(0, KEY_MAX_SHUTTER, 300);
    EXPECT_TRUE(ctrl().getShutterValue(nIndex) && nIndex == 29);
}
