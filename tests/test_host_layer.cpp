// The host layer in process: saves and resets count only when the files
// read back as written, and the library's failed checks reach the caller.
#include <unistd.h>

#include <fstream>
#include <thread>

#include "ConsoleCapture.h"
#include "HostSession.h"
#include "ParamFile.h"
#include "PlatformSim.h"
#include "TestSupport.h"

namespace {

using namespace sensorhost;

class HostLayerTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        // The library's console is taken off the test's output and shown on standard error.
        ASSERT_NE(nullptr, ConsoleCapture::instance().start());
        ConsoleCapture::instance().setEcho(stderr, false);
        SessionOptions stOptions;
        stOptions.m_strFlashDir = m_strRoot + "/camera";
        stOptions.m_pVideo = &m_objVideo;
        ASSERT_EQ("", m_objSession.open(stOptions));
    }
    void TearDown() override
    {
        platformsim::resetWriteFaults();
        m_objSession.close();
        ConsoleCapture::instance().stop();
        FlashTest::TearDown();
    }
    std::string schemeBytes(int p_nScheme)
    {
        return testsupport::readFlashFile(schemeFilePath(1, p_nScheme));
    }

    testsupport::RecordingVideo m_objVideo;
    HostSession m_objSession;
};

TEST_F(HostLayerTest, ASaveThatNeverReachedTheFileIsAFailure)
{
    ISensorController& objCtrl = m_objSession.controller();
    ASSERT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 77, true));
    const std::string strBefore = schemeBytes(0);
    // A cut before the rename: the library hears of no failure.
    platformsim::failBeforeRename(true);
    SaveResult stSave = m_objSession.saveCurrentScheme();
    EXPECT_EQ(0, stSave.m_nLibraryCode);
    EXPECT_FALSE(stSave.m_bWritten);
    EXPECT_NE(std::string::npos, stSave.m_strFailure.find("holds key 34 = 50 at record")) << stSave.m_strFailure;
    EXPECT_NE(std::string::npos, stSave.m_strFailure.find("where key 34 = 77 was written"));
    EXPECT_EQ(strBefore, schemeBytes(0));
    // A full flash: the library's own report is the reason.
    platformsim::resetWriteFaults();
    platformsim::noSpaceLeft(true);
    stSave = m_objSession.saveCurrentScheme();
    EXPECT_EQ(0u, stSave.m_strFailure.find("the library reported a failed check: nSize == sizeof(KeyVal)*"))
        << stSave.m_strFailure;
    platformsim::resetWriteFaults();
    stSave = m_objSession.saveCurrentScheme();
    EXPECT_TRUE(stSave.ok() && stSave.m_bWritten) << stSave.m_strFailure;
    EXPECT_NE(strBefore, schemeBytes(0));
}

// A dual camera's channel 2 keeps its schemes in the thermal files: a save is
// checked there, not in the file an ordinary channel 2 would have.
TEST_F(HostLayerTest, ThermalChannelSavesAreCheckedInTheThermalFile)
{
    m_objSession.close();
    std::ofstream(m_strRoot + "/camera" SNS_PATH_MACHINE_INFO)
        << "[machine]\ndevice_type=17\nhardware_model=SIM-IPC-2M\nhardware_code=A01\n";
    SessionOptions stOptions;
    stOptions.m_strFlashDir = m_strRoot + "/camera";
    stOptions.m_nChannel = 2;
    stOptions.m_pVideo = &m_objVideo;
    stOptions.m_bLossAccepted = true;
    ASSERT_EQ("", m_objSession.open(stOptions));
    ASSERT_EQ(0, m_objSession.controller().setParameter(KEY_BRIGHTNESS, 61, true));
    const SaveResult stSave = m_objSession.saveCurrentScheme();
    EXPECT_TRUE(stSave.ok() && stSave.m_bWritten) << stSave.m_strFailure;
    size_t nLeftOver = 0;
    bool bSaved = false;
    for (const KeyVal& stRecord : decodeRecords(testsupport::readFlashFile(schemeFilePath(2, 0, true)), nLeftOver))
        bSaved = bSaved || (stRecord.key == KEY_BRIGHTNESS && stRecord.value == 61);
    EXPECT_TRUE(bSaved);
    EXPECT_FALSE(testsupport::flashFileExists(schemeFilePath(2, 0)));
}

TEST_F(HostLayerTest, AResetIsDoneOnlyWhenEverySchemeFileHoldsTheFactoryValues)
{
    ASSERT_EQ(0, m_objSession.controller().setParameter(KEY_BRIGHTNESS, 77, true));
    ASSERT_TRUE(m_objSession.saveCurrentScheme().m_bWritten);
    platformsim::failBeforeRename(true);
    const SaveResult stCut = m_objSession.factoryReset();
    EXPECT_FALSE(stCut.ok());
    // The files were removed and never replaced: init's reads fail.
    EXPECT_EQ(0u, stCut.m_strFailure.find("the library reported a failed check: file.open(file_name)"))
        << stCut.m_strFailure;
    EXPECT_FALSE(testsupport::flashFileExists(schemeFilePath(1, 0)));
    platformsim::resetWriteFaults();
    const SaveResult stReset = m_objSession.factoryReset();
    EXPECT_TRUE(stReset.ok()) << stReset.m_strFailure;
    EXPECT_EQ(schemeBytes(1), schemeBytes(0));
}

TEST_F(HostLayerTest, OnlyFailedAssertionsAreCountedAndColourIsStripped)
{
    ConsoleCapture& objConsole = ConsoleCapture::instance();
    objConsole.setEcho(nullptr, false);
    const size_t nMark = objConsole.reportCount();
    // From another thread, behind more than the pipe holds: counted however far behind the reader is.
    std::thread objBurst([] {
        for (int i = 0; i < 4000; ++i) printf("[sensor dbg] line %d of a long burst\n", i);
        printf("\033[0m\033[31m[sensor assert] file:A fun:f line:1\nx == y   ~~~Assertion failed.\n\033[0m");
        printf("\033[0m\033[0m[sensor assert] file:B fun:g line:2\ncmd_list[0]=7\n\033[0m");  // a note
        printf("\033[0m\033[31m[sensor assert] file:C fun:h line:3\np != 0   ~~~Assertion failed.\n\033[0m");
    });
    objBurst.join();
    const std::vector<AssertReport> vecReports = objConsole.reportsSince(nMark);
    ASSERT_EQ(2u, vecReports.size());
    EXPECT_EQ("file:A fun:f line:1", vecReports[0].m_strWhere);
    EXPECT_EQ("p != 0", vecReports[1].m_strCheck);
    EXPECT_EQ("x == y (file:A fun:f line:1) and 1 more", summariseReports(vecReports));
    EXPECT_EQ("[sensor dbg] x", withoutColour("\033[0m\033[37m[sensor dbg] x\033[0m"));
}

}  // namespace
