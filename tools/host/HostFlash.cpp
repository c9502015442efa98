#include "HostFlash.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace sensorhost {

namespace {

std::string executableDir()
{
    char szPath[PATH_MAX] = {0};
    const ssize_t nLen = readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    if (nLen <= 0) return "";
    return fs::path(std::string(szPath, static_cast<size_t>(nLen))).parent_path().string();
}

bool isEmptyDir(const fs::path& p_objDir)
{
    std::error_code ec;
    return fs::is_directory(p_objDir, ec) && fs::is_empty(p_objDir, ec);
}

}  // namespace

bool isFlashTree(const std::string& p_strDir)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(p_strDir) / std::string(SNS_PATH_MODULE_CONFIG).substr(1), ec);
}

std::string findSampleFlash()
{
    std::vector<fs::path> vecCandidates = {SNS_SAMPLE_FLASH_DIR};
    const std::string strExeDir = executableDir();
    if (!strExeDir.empty())
        vecCandidates.push_back(fs::path(strExeDir) / "../share/SensorController/flash");
    vecCandidates.push_back(SNS_INSTALLED_FLASH_DIR);
    for (const fs::path& objDir : vecCandidates)
        if (isFlashTree(objDir.string())) return fs::weakly_canonical(objDir).string();
    return "";
}

std::string copyTree(const std::string& p_strFrom, const std::string& p_strTo)
{
    std::error_code ec;
    fs::create_directories(p_strTo, ec);
    if (!ec) fs::copy(p_strFrom, p_strTo, fs::copy_options::recursive, ec);
    if (ec) return "cannot copy " + p_strFrom + " to " + p_strTo + ": " + ec.message();
    return "";
}

std::string makeScratchDir(const std::string& p_strPrefix)
{
    std::error_code ec;
    const fs::path objTemp = fs::temp_directory_path(ec);
    if (ec) return "";
    std::string strTemplate = (objTemp / (p_strPrefix + ".XXXXXX")).string();
    if (mkdtemp(&strTemplate[0]) == nullptr) return "";
    return strTemplate;
}

std::string openFlashTree(const std::string& p_strDir, bool p_bMayCreate, FlashTree& p_stOut)
{
    const fs::path objDir(p_strDir);
    std::error_code ec;
    p_stOut = FlashTree();
    if (!fs::exists(objDir, ec) || isEmptyDir(objDir)) {
        if (!p_bMayCreate) return p_strDir + " holds no camera flash tree";
        p_stOut.m_strSample = findSampleFlash();
        if (p_stOut.m_strSample.empty())
            return "the sample camera's flash tree was found neither at " SNS_SAMPLE_FLASH_DIR
                   " nor at " SNS_INSTALLED_FLASH_DIR;
        const std::string strError = copyTree(p_stOut.m_strSample, p_strDir);
        if (!strError.empty()) return strError;
        p_stOut.m_bCreated = true;
    } else if (!fs::is_directory(objDir, ec)) {
        return p_strDir + " is not a folder";
    } else if (!isFlashTree(p_strDir)) {
        return p_strDir + " is not a camera flash tree: it has no " +
               std::string(SNS_PATH_MODULE_CONFIG).substr(1) +
               " (name another folder with --flash, or a missing one to get the sample camera)";
    }
    p_stOut.m_strRoot = fs::absolute(objDir).lexically_normal().string();
    while (p_stOut.m_strRoot.size() > 1 && p_stOut.m_strRoot.back() == '/') p_stOut.m_strRoot.pop_back();
    return "";
}

std::string onDisk(const FlashTree& p_stTree, const std::string& p_strCameraPath)
{
    return p_stTree.m_strRoot + p_strCameraPath;
}

std::string cameraDirOf(const char* p_szPath)
{
    return fs::path(p_szPath).parent_path().string();
}

std::string fileNameOf(const char* p_szPath)
{
    return fs::path(p_szPath).filename().string();
}

}  // namespace sensorhost
