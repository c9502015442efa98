// UI queries: the dynamic style after the video module's busy wait, the UI
// text table, and the parameter ranges.
#include <future>

#include "ControllerFixtures.h"

// On every busy query another thread tries the controller's mutex, which
// must still be free while getUIStyleFile waits.
class LockProbingVideo : public testsupport::RecordingVideo {
public:
    explicit LockProbingVideo(PKMutex& p_objMutex) : m_objMutex(p_objMutex) {}
    bool isBusy() const override
    {
        m_nLockedPolls += std::async(std::launch::async, [this] {
                              const bool bFree = m_objMutex.TryLock(__FILE__, __LINE__);
                              if (bFree) m_objMutex.Unlock(__FILE__, __LINE__);
                              return bFree ? 0 : 1;
                          }).get();
        return RecordingVideo::isBusy();
    }
    PKMutex& m_objMutex;
    mutable int m_nLockedPolls = 0;
};

using UiQueriesTest = StillControllerTest;

TEST_F(UiQueriesTest, StyleFileWaitsForTheVideoModuleOutsideTheLock)
{
    free(access().sysConf().szUIStyle);
    access().sysConf().szUIStyle =
        strdup("<root><param id=\"49\" value=\"100\"><item index=\"1\"/><item index=\"3\"/></param></root>");
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
    EXPECT_EQ("|lang5", "|" + ctrl().getUILanguageFile(7) + ctrl().getUILanguageFile(9));  // 7 has no language text
    access().sysConf().pstUIFile = nullptr;  // the texts are the test's
}

TEST_F(UiQueriesTest, RangeTextItsLineAndRefusals)
{
    // "default:range", with "false " in front of a refusal; both start as -1 and "x".
    auto range = [this](int p_nCmd) {
        int nDefault = -1;
        std::string strRange = "x";
        const bool bOk = ctrl().getSensorParamRange(p_nCmd, nDefault, strRange);
        return (bOk ? "" : "false ") + std::to_string(nDefault) + ":" + strRange;
    };
    iasim::setListAttr(KEY_MAX_SHUTTER, 8, {1, 2, 4, 8});
    iasim::setListAttr(KEY_FIX_SHUTTER, 5, {});
    EXPECT_EQ("cmd=49 DefaltParam=8 strParamRange=x1 2 4 8\n", output([&] { EXPECT_EQ("8:x1 2 4 8", range(49)); }));
    EXPECT_EQ("5:x", range(KEY_FIX_SHUTTER));
    EXPECT_EQ("-1:x", range(KEY_IRIS_POSITION));  // a range, no items
    iasim::setDynamicCommands({KEY_BRIGHTNESS, KEY_MAX_SHUTTER});
    EXPECT_EQ("false -1:x", range(KEY_BRIGHTNESS));
    EXPECT_EQ("false -1:x", range(KEY_IRIS_POSITION));
    iasim::failCommand(KEY_MAX_SHUTTER, 1, -1, IA_CMD_OPT_GET_PARAM_RNAGE);
    EXPECT_EQ("false -1:x", range(KEY_MAX_SHUTTER));
    iasim::failCommand(IA_CMD_DYNAMIC_PARAMS_CMDS_GET, 1);
    EXPECT_EQ("false -1:x", range(KEY_MAX_SHUTTER));
}
