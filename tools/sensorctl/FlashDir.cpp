#include "FlashDir.h"

#include <limits.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "SensorTypes.h"
#include "ToolCommon.h"

namespace fs = std::filesystem;

namespace {

std::string executableDir()
{
    char szPath[PATH_MAX] = {0};
    const ssize_t nLen = readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    if (nLen <= 0) return "";
    return fs::path(std::string(szPath, static_cast<size_t>(nLen))).parent_path().string();
}

bool isFlashTree(const fs::path& p_objDir)
{
    std::error_code ec;
    return fs::is_regular_file(p_objDir / std::string(SNS_PATH_MODULE_CONFIG).substr(1), ec);
}

bool isEmptyDir(const fs::path& p_objDir)
{
    std::error_code ec;
    return fs::is_directory(p_objDir, ec) && fs::is_empty(p_objDir, ec);
}

std::string copySample(const fs::path& p_objDir)
{
    const std::string strSample = findSampleFlash();
    if (strSample.empty())
        return "the sample camera's flash tree was found neither at " SNS_SAMPLE_FLASH_DIR
               " nor at " SNS_INSTALLED_FLASH_DIR;
    std::error_code ec;
    fs::create_directories(p_objDir, ec);
    if (!ec) fs::copy(strSample, p_objDir, fs::copy_options::recursive, ec);
    if (ec) return "cannot create " + p_objDir.string() + ": " + ec.message();
    toolNote("created flash folder %s as a copy of the sample camera (%s)",
             p_objDir.string().c_str(), strSample.c_str());
    return "";
}

}  // namespace

std::string findSampleFlash()
{
    std::vector<fs::path> vecCandidates = {SNS_SAMPLE_FLASH_DIR};
    const std::string strExeDir = executableDir();
    if (!strExeDir.empty())
        vecCandidates.push_back(fs::path(strExeDir) / "../share/SensorController/flash");
    vecCandidates.push_back(SNS_INSTALLED_FLASH_DIR);
    for (const fs::path& objDir : vecCandidates)
        if (isFlashTree(objDir)) return fs::weakly_canonical(objDir).string();
    return "";
}

std::string prepareFlashDir(const std::string& p_strDir, bool& p_bCreated)
{
    const fs::path objDir(p_strDir);
    std::error_code ec;
    p_bCreated = false;
    if (!fs::exists(objDir, ec) || isEmptyDir(objDir)) {
        const std::string strError = copySample(objDir);
        p_bCreated = strError.empty();
        return strError;
    }
    if (!fs::is_directory(objDir, ec)) return p_strDir + " is not a folder";
    if (!isFlashTree(objDir))
        return p_strDir + " is not a camera flash tree: it has no " +
               std::string(SNS_PATH_MODULE_CONFIG).substr(1) +
               " (name another folder with --flash, or a missing one to get the sample camera)";
    return "";
}

std::vector<std::string> damagedParameterFiles(const std::string& p_strDir)
{
    std::vector<std::string> vecOut;
    std::error_code ec;
    const fs::path objParamDir = fs::path(p_strDir) / std::string(SNS_PATH_CONFIG_DIR).substr(1);
    for (fs::directory_iterator it(objParamDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string strName = it->path().filename().string();
        if (strName.compare(0, 6, "sensor") != 0 || it->path().extension() != ".cfg") continue;
        std::error_code ecSize;
        const auto nSize = fs::file_size(it->path(), ecSize);
        if (!ecSize && nSize % sizeof(KeyVal) != 0) vecOut.push_back(it->path().string());
    }
    return vecOut;
}
