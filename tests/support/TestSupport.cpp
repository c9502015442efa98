#include "TestSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "IaSim.h"
#include "PlatformSim.h"

namespace fs = std::filesystem;

namespace testsupport {

// A fresh folder below the test's working directory, used as flash root.
static std::string makeTempDir()
{
    fs::create_directories("flashroots");
    std::string strTemplate = (fs::current_path() / "flashroots" / "rootXXXXXX").string();
    char* szDir = mkdtemp(&strTemplate[0]);
    if (szDir == nullptr) throw std::runtime_error("mkdtemp failed");
    return std::string(szDir);
}

void removeTree(const std::string& p_strDir)
{
    std::error_code ec;
    fs::remove_all(p_strDir, ec);
}

static std::string underRoot(const std::string& p_strPath)
{
    return platformsim::resolvePath(p_strPath);
}

void writeFlashFile(const std::string& p_strPath, const std::string& p_strContent)
{
    const std::string strReal = underRoot(p_strPath);
    fs::create_directories(fs::path(strReal).parent_path());
    std::ofstream out(strReal, std::ios::binary | std::ios::trunc);
    out << p_strContent;
}

std::string readFlashFile(const std::string& p_strPath)
{
    std::ifstream in(underRoot(p_strPath), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool flashFileExists(const std::string& p_strPath)
{
    return fs::exists(underRoot(p_strPath));
}

static std::string sampleFlashDir()
{
    const char* szDir = getenv("SNS_SAMPLE_FLASH");
    return szDir ? std::string(szDir) : std::string(SNS_SAMPLE_FLASH_DEFAULT);
}

void copySampleFlash()
{
    fs::copy(sampleFlashDir(), platformsim::flashRoot(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void FlashTest::SetUp()
{
    m_strRoot = makeTempDir();
    platformsim::setFlashRoot(m_strRoot);
    platformsim::setSleepScale(0);
    platformsim::clearWallClock();
    platformsim::clearShellCommands();
    iasim::reset();
    g_nDebugLevel = 1;
    g_bEnAssert = false;
    g_bShoWBeawayFalg = true;
}

void FlashTest::TearDown()
{
    platformsim::setFlashRoot("");
    platformsim::setSleepScale(1);
    platformsim::clearWallClock();
    removeTree(m_strRoot);
}

int RecordingVideo::notifySensorParam(int channel, int key, int value) const
{
    m_vecNotes.push_back(Note{channel, key, value});
    return m_nResult;
}

bool RecordingVideo::isBusy() const
{
    ++m_nBusyCalls;
    if (m_nBusyAnswers < 0) return true;
    return m_nBusyCalls <= m_nBusyAnswers;
}

void RecordingVideo::getStreamList(std::vector<AVStreamParam>& streams) const
{
    streams = m_vecStreams;
}

void RecordingVideo::getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam& param) const
{
    param = m_objWdr;
}

std::vector<RecordingVideo::Note> RecordingVideo::notes() const { return m_vecNotes; }

void RecordingVideo::clear() { m_vecNotes.clear(); }

ModuleConfigure moduleWithDetail(const std::string& p_strDetail)
{
    ModuleConfigure objModule;
    objModule.setModuleId(1);
    objModule.setDetail(p_strDetail);
    objModule.setParameters("");
    return objModule;
}

}  // namespace testsupport
