// The checker in process on broken copies of a sample camera that has run
// once (its scheme files saved): faults of the scheme files, and faults only
// the simulated image-algorithm library can stage, each kept up through the
// checker's restarts of the library. Each must give its own line and exit status.
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "ConsoleCapture.h"
#include "HostSession.h"
#include "IaInterface.h"
#include "IaSim.h"
#include "PlatformSim.h"
#include "SensorKeys.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

const char kStyle[] = "/hd1/moduleConfig/sensorConfig/style/Style.xml";

// The simulator as the checker sees it, with a staged fault: a profile or
// failure set up again after every restart, a command whose SET never shows
// in the call log, or no call log at all (a camera's own library).
class StagedIa : public sensorhost::IaObserver {
public:
    void (*m_pfnProfile)() = nullptr;
    u32 m_nUnseenCmd = 0;
    bool m_bNoCallLog = false;

    bool seesCalls() const override { return !m_bNoCallLog; }
    void forgetCalls() override { sensorhost::iaObserver().forgetCalls(); }
    bool receivedSet(int p_nIaChannel, u32 p_nCmd) const override
    {
        return p_nCmd != m_nUnseenCmd && sensorhost::iaObserver().receivedSet(p_nIaChannel, p_nCmd);
    }
    void restart() override
    {
        sensorhost::iaObserver().restart();
        if (m_pfnProfile != nullptr) m_pfnProfile();
    }
};

// A scheme file's record of a key gets another value.
struct RecordPatch {
    int nScheme;
    u32 nKey;
    u32 nValue;
};

struct LiveFault {
    const char* szName;
    const char* szFrom;  // replaced by szTo in the style (null: none)
    const char* szTo;
    std::vector<RecordPatch> vecPatches;
    void (*pfnProfile)();  // after every restart of the library
    u32 nUnseenCmd;
    bool bNoCallLog;
    bool bLive;
    const char* szStatus;
    const char* szCheck;
    const char* szMessage;  // part of the line
    int nExit;
    const char* szNever = nullptr;  // text no line may hold
};

const u32 kKeyBeginHour = KEY_SCHEME_MODE + 1;
const u32 kKeyEndMinute = KEY_SCHEME_MODE + 4;

const LiveFault kFaults[] = {
    {"scheme file value outside the menu", nullptr, nullptr, {{2, KEY_WB_MODE, 9}}, nullptr, 0, false, false, "FAIL",
     "scheme-file", "KEY_WB_MODE (768): value 9 is not allowed", 1},
    {"scheme file begin hour 24", nullptr, nullptr, {{1, kKeyBeginHour, 24}}, nullptr, 0, false, false, "FAIL",
     "scheme-file", "(8001): value 24 is not allowed", 1},
    {"scheme file end minute 60", nullptr, nullptr, {{1, kKeyEndMinute, 60}}, nullptr, 0, false, false, "FAIL",
     "scheme-file", "(8004): value 60 is not allowed", 1},
    {"sensor range wider than the style's", nullptr, nullptr, {},
     [] { iasim::setRangeAttr(KEY_IRIS_POSITION, 1024, 128, 25600); }, 0, false, true, "FAIL", "live-ranges",
     "command 82: the sensor's range 128 ... 25600 exceeds the style's", 1},
    {"range query fails", nullptr, nullptr, {},
     [] { iasim::failCommand(KEY_WDR_MODE, -1, -1, IA_CMD_OPT_GET_PARAM_RNAGE); }, 0, false, true, "FAIL",
     "live-ranges", "command 2368: listed as dynamic, but its range query fails", 1,
     // Without its attributes the command keeps the style's items.
     "id 2368: shows items"},
    // The library stops hiding items at an item without index: item 3 stays.
    {"item without index in a dynamic menu", "<Item index=\"2\" name=\"MultiFrame\" />",
     "<Item index=\"2\" name=\"MultiFrame\" /><Item name=\"Unnumbered\" />", {}, nullptr, 0, false, true, "FAIL",
     "live-dynamic-style", "id 2368: shows items '0 1 2 3', expected '0 1 2'", 1},
    {"command never received", nullptr, nullptr, {}, nullptr, KEY_BRIGHTNESS, false, true, "FAIL",
     "live-keys", "KEY_BRIGHTNESS (34): neither the image-algorithm library received command 34", 1},
    {"command refused", nullptr, nullptr, {}, [] { iasim::failCommand(KEY_BRIGHTNESS, -1, -1, IA_CMD_OPT_SET); },
     0, false, true, "FAIL", "live-keys", "KEY_BRIGHTNESS (34): setting the default 50 failed", 1},
    // A user's day/night switching is no fault: scheme 1 takes scheme 0's day/night
    // keys, the other schemes its mode; the factory scheme does not apply the
    // day/night keys (no live-keys or live-schemes FAIL).
    {"day/night switching saved", nullptr, nullptr,
     {{0, KEY_SCHEME_MODE, SCHEME_MODE_DAY_NIGHT}, {1, KEY_DN_MODE, 2}}, nullptr, 0, false, true, "OK",
     "live-schemes", "", 0},
    {"sensor refuses a value of scheme 1", nullptr, nullptr, {{1, KEY_BRIGHTNESS, 60}},
     [] { iasim::failCommand(KEY_BRIGHTNESS, -1, -1, IA_CMD_OPT_SET); }, 0, false, true, "FAIL", "live-schemes",
     "switching to scheme 1: failed assertion: SNS_SUCCESS == setParameters", 1},
    {"save not read back", nullptr, nullptr, {}, [] { platformsim::failBeforeRename(true); }, 0, false, true, "FAIL",
     "live-persistence", "setting 34 and saving failed", 1},
    {"camera library without call log", nullptr, nullptr, {}, nullptr, 0, true, true, "WARN", "live-keys",
     "cannot be observed (it keeps no call log)", 0},
};

class CheckLiveTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        ASSERT_NE(nullptr, sensorhost::ConsoleCapture::instance().start());
        sensorhost::ConsoleCapture::instance().setEcho(stderr, false);
        fs::create_directories(m_strRoot + "/tmp");
        setenv("TMPDIR", (m_strRoot + "/tmp").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("TMPDIR");
        platformsim::resetWriteFaults();
        sensorhost::ConsoleCapture::instance().stop();
        FlashTest::TearDown();
    }
    std::string tree() const { return m_strRoot + "/camera"; }

    // The sample camera after its first start: scheme files and version file written.
    void runOnce()
    {
        testsupport::RecordingVideo objVideo;
        sensorhost::SessionOptions stOptions;
        stOptions.m_strFlashDir = tree();
        stOptions.m_pVideo = &objVideo;
        sensorhost::HostSession objSession;
        ASSERT_EQ("", objSession.open(stOptions));
        objSession.close();
    }

    // The checker's text output and exit status.
    int check(sensorhost::IaObserver& p_objIa, bool p_bLive, std::string& p_strOut)
    {
        CheckOptions stOptions;
        stOptions.m_strFlashDir = tree();
        stOptions.m_bLive = p_bLive;
        char* pBuf = nullptr;
        size_t nSize = 0;
        FILE* pOut = open_memstream(&pBuf, &nSize);
        std::string strError;
        const int nExit = runChecks(stOptions, p_objIa, pOut, strError);
        fclose(pOut);
        p_strOut.assign(pBuf, nSize);
        free(pBuf);
        EXPECT_EQ("", strError);
        EXPECT_TRUE(fs::is_empty(m_strRoot + "/tmp")) << "the scratch copy was left behind";
        return nExit;
    }
};

TEST_F(CheckLiveTest, EachStagedFaultGivesItsOwnLineAndExitStatus)
{
    for (const LiveFault& stFault : kFaults) {
        SCOPED_TRACE(stFault.szName);
        platformsim::resetWriteFaults();
        testsupport::removeTree(tree());
        runOnce();
        platformsim::setFlashRoot(tree());  // the edits go to the camera's files
        if (stFault.szFrom != nullptr) testsupport::replaceInFlashFile(kStyle, stFault.szFrom, stFault.szTo);
        for (const RecordPatch& stPatch : stFault.vecPatches)
            testsupport::setRecord(schemeFilePath(1, stPatch.nScheme), stPatch.nKey, stPatch.nValue);
        StagedIa objIa;
        objIa.m_pfnProfile = stFault.pfnProfile;
        objIa.m_nUnseenCmd = stFault.nUnseenCmd;
        objIa.m_bNoCallLog = stFault.bNoCallLog;
        std::string strOut;
        const int nExit = check(objIa, stFault.bLive, strOut);
        EXPECT_TRUE(testsupport::hasCheckLine(strOut, stFault.szStatus, stFault.szCheck, stFault.szMessage)) << strOut;
        EXPECT_EQ(stFault.nExit, nExit) << strOut;
        EXPECT_EQ(stFault.nExit == 1, std::regex_search(strOut, std::regex("(^|\\n)FAIL "))) << strOut;
        if (stFault.szNever != nullptr) {
            EXPECT_EQ(std::string::npos, strOut.find(stFault.szNever)) << strOut;
        }
    }
}

}  // namespace
