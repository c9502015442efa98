#include "TestSupport.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "IaSim.h"
#include "PlatformSim.h"

namespace fs = std::filesystem;

namespace testsupport {

void removeTree(const std::string& p_strDir)
{
    std::error_code ec;
    fs::remove_all(p_strDir, ec);
}

void writeFlashFile(const std::string& p_strPath, const std::string& p_strContent)
{
    const std::string strReal = platformsim::resolvePath(p_strPath);
    fs::create_directories(fs::path(strReal).parent_path());
    std::ofstream out(strReal, std::ios::binary | std::ios::trunc);
    out << p_strContent;
}

std::string readFlashFile(const std::string& p_strPath)
{
    std::ifstream in(platformsim::resolvePath(p_strPath), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void replaceInFlashFile(const std::string& p_strPath, const std::string& p_strFrom, const std::string& p_strTo)
{
    std::string strText = readFlashFile(p_strPath);
    const size_t nAt = strText.find(p_strFrom);
    ASSERT_NE(std::string::npos, nAt) << p_strFrom << " in " << p_strPath;
    writeFlashFile(p_strPath, strText.replace(nAt, p_strFrom.size(), p_strTo));
}

bool flashFileExists(const std::string& p_strPath)
{
    return fs::exists(platformsim::resolvePath(p_strPath));
}

void copySampleFlash()
{
    const char* szDir = getenv("SNS_SAMPLE_FLASH");
    fs::copy(szDir ? szDir : SNS_SAMPLE_FLASH_DEFAULT, platformsim::flashRoot(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void FlashTest::SetUp()
{
    // A fresh folder below the test's working directory.
    fs::create_directories("flashroots");
    m_strRoot = (fs::current_path() / "flashroots" / "rootXXXXXX").string();
    if (mkdtemp(&m_strRoot[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
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

ModuleConfigure moduleWithDetail(const std::string& p_strDetail)
{
    ModuleConfigure objModule;
    objModule.setModuleId(1);
    objModule.setDetail(p_strDetail);
    objModule.setParameters("");
    return objModule;
}

SmallTmpfs::SmallTmpfs(const std::string& p_strFlashDir, size_t p_nBytes)
    : m_strDir(platformsim::resolvePath(p_strFlashDir)), m_bMounted(false)
{
    fs::create_directories(m_strDir);
    const std::string strOptions = "size=" + std::to_string(p_nBytes);
    m_bMounted = mount("tmpfs", m_strDir.c_str(), "tmpfs", 0, strOptions.c_str()) == 0;
    if (!m_bMounted) m_strReason = std::string("no tmpfs mount here: ") + strerror(errno);
}

SmallTmpfs::~SmallTmpfs()
{
    if (m_bMounted) umount2(m_strDir.c_str(), MNT_DETACH);
}

void SmallTmpfs::fillUp() const
{
    FILE* pFiller = fopen((m_strDir + "/filler").c_str(), "wb");
    if (pFiller == nullptr) return;
    setvbuf(pFiller, nullptr, _IONBF, 0);
    const std::string strBlock(512, 'f');
    while (fwrite(strBlock.data(), 1, strBlock.size(), pFiller) == strBlock.size()) {
    }
    for (const char c = 'f'; fwrite(&c, 1, 1, pFiller) == 1;) {
    }
    fclose(pFiller);
}

std::vector<KeyVal> records(const std::string& p_strPath)
{
    const std::string strFile = readFlashFile(p_strPath);
    std::vector<KeyVal> vecOut(strFile.size() / sizeof(KeyVal));
    if (!vecOut.empty()) memcpy(vecOut.data(), strFile.data(), vecOut.size() * sizeof(KeyVal));
    return vecOut;
}

void writeRecords(const std::string& p_strPath, const std::vector<KeyVal>& p_vecRecords)
{
    writeFlashFile(p_strPath, std::string(reinterpret_cast<const char*>(p_vecRecords.data()),
                                          p_vecRecords.size() * sizeof(KeyVal)));
}

long long valueOf(const std::vector<KeyVal>& p_vecRecords, u32 p_nKey)
{
    for (const KeyVal& stRecord : p_vecRecords)
        if (stRecord.key == p_nKey) return stRecord.value;
    return -1;
}

void setRecord(const std::string& p_strPath, u32 p_nKey, u32 p_nValue)
{
    std::vector<KeyVal> vecRecords = records(p_strPath);
    bool bFound = false;
    for (KeyVal& stRecord : vecRecords)
        if (stRecord.key == p_nKey) stRecord.value = p_nValue, bFound = true;
    EXPECT_TRUE(bFound) << "no record of key " << p_nKey << " in " << p_strPath;
    writeRecords(p_strPath, vecRecords);
}

std::string recordsText(const KeyVal* p_pRecords, u32 p_nCount)
{
    std::string strOut;
    for (u32 i = 0; i < p_nCount; ++i)
        strOut += std::to_string(p_pRecords[i].key) + "=" + std::to_string(p_pRecords[i].value) + " ";
    return strOut;
}

bool hasCheckLine(const std::string& p_strOut, const std::string& p_strStatus, const std::string& p_strCheck,
                  const std::string& p_strMessage)
{
    const std::string strMessage = std::regex_replace(p_strMessage, std::regex("[.^$|()\\[\\]{}*+?\\\\]"), "\\$&");
    return std::regex_search(p_strOut,
                             std::regex("(^|\\n)" + p_strStatus + " +" + p_strCheck + " [^\\n]*" + strMessage));
}

}  // namespace testsupport
