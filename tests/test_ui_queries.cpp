// UI queries: the dynamic style after the video module's busy wait, the UI
// text table, and the parameter ranges.
#include <gtest/gtest.h>

#include <thread>

#include "HandBuiltController.h"

namespace {

// On every busy query another thread tries the controller's mutex, which
// must still be free while getUIStyleFile waits.
class LockProbingVideo : public testsupport::RecordingVideo {
public:
    explicit LockProbingVideo(PKMutex& p_objMutex) : m_objMutex(p_objMutex) {}
    bool isBusy() const override
    {
        std::thread([this] {
            if (m_objMutex.TryLock(__FILE__, __LINE__))
                m_objMutex.Unlock(__FILE__, __LINE__);
            else
                ++m_nLockedPolls;
        }).join();
        return RecordingVideo::isBusy();
    }
    mutable int m_nLockedPolls = 0;
    PKMutex& m_objMutex;
};

}  // namespace

class UiQueriesTest : public HandBuiltControllerTest {};

TEST_F(UiQueriesTest, StyleFileWaitsForTheVideoModuleOutsideTheLock)
{
    char szStyle[] = "<root><param id=\"49\" value=\"100\"><item index=\"1\"/><item index=\"3\"/></param></root>";
    access().sysConf().szUIStyle = szStyle;
    iasim::setListAttr(KEY_MAX_SHUTTER, 1, {1, 2});
    LockProbingVideo objVideo(access().mutex());
    objVideo.m_nBusyAnswers = -1;
    ctrl().setVideoStreamModule(&objVideo);
    const std::string strStyle = ctrl().getUIStyleFile();
    EXPECT_EQ(30, objVideo.m_nBusyCalls);
    EXPECT_EQ(0, objVideo.m_nLockedPolls);
    EXPECT_NE(std::string::npos, strStyle.find("value=\"1\"")) << strStyle;
    EXPECT_EQ(std::string::npos, strStyle.find("index=\"3\"")) << strStyle;

    objVideo.m_nBusyCalls = 0;
    objVideo.m_nBusyAnswers = 2;
    EXPECT_EQ(strStyle, ctrl().getUIStyleFile());
    EXPECT_EQ(3, objVideo.m_nBusyCalls);
}

TEST_F(UiQueriesTest, UiTextsByIdWithFirstEntryFallback)
{
    EXPECT_EQ("", ctrl().getUICommonFile(5));
    char szC5[] = "common5", szL5[] = "lang5", szC7[] = "common7";
    UIFile astFiles[2] = {{5, "", szL5, szC5}, {7, "", nullptr, szC7}};
    access().sysConf().pstUIFile = astFiles;
    access().sysConf().nUIFileSum = 2;
    EXPECT_EQ("common7", ctrl().getUICommonFile(7));
    EXPECT_EQ("", ctrl().getUILanguageFile(7));
    EXPECT_EQ("lang5", ctrl().getUILanguageFile(9));
}

TEST_F(UiQueriesTest, RangeTextItsLineAndRefusals)
{
    iasim::setListAttr(KEY_MAX_SHUTTER, 8, {1, 2, 4, 8});
    iasim::setListAttr(KEY_FIX_SHUTTER, 5, {});
    int nDefault = -1;
    std::string strRange = "x";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(ctrl().getSensorParamRange(KEY_MAX_SHUTTER, nDefault, strRange));
    EXPECT_EQ("cmd=49 DefaltParam=8 strParamRange=x1 2 4 8\n", testing::internal::GetCapturedStdout());
    EXPECT_EQ(8, nDefault);
    strRange.clear();
    EXPECT_TRUE(ctrl().getSensorParamRange(KEY_FIX_SHUTTER, nDefault, strRange));
    EXPECT_EQ(5, nDefault);
    EXPECT_EQ("", strRange);
    nDefault = -1;
    EXPECT_TRUE(ctrl().getSensorParamRange(KEY_IRIS_POSITION, nDefault, strRange));  // a range, no items
    EXPECT_EQ(-1, nDefault);

    iasim::setDynamicCommands({KEY_BRIGHTNESS, KEY_MAX_SHUTTER});
    EXPECT_FALSE(ctrl().getSensorParamRange(KEY_BRIGHTNESS, nDefault, strRange));
    EXPECT_FALSE(ctrl().getSensorParamRange(KEY_IRIS_POSITION, nDefault, strRange));
    iasim::failCommand(KEY_MAX_SHUTTER, 1, -1, IA_CMD_OPT_GET_PARAM_RNAGE);
    EXPECT_FALSE(ctrl().getSensorParamRange(KEY_MAX_SHUTTER, nDefault, strRange));
    iasim::failCommand(IA_CMD_DYNAMIC_PARAMS_CMDS_GET, 1);
    EXPECT_FALSE(ctrl().getSensorParamRange(KEY_MAX_SHUTTER, nDefault, strRange));
    EXPECT_EQ(-1, nDefault);
    EXPECT_EQ("", strRange);
}
