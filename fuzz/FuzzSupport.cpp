// Every fuzz target runs on a private flash root below its working folder
// (removed at exit), with the library's reports going nowhere: standard
// output is sent to /dev/null, libFuzzer reports on standard error.
#include "FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "PlatformSim.h"

namespace {

std::string g_strRoot;

void removeRoot()
{
    std::error_code ec;
    std::filesystem::remove_all(g_strRoot, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string strTemplate = (std::filesystem::current_path() / "fuzzroot-XXXXXX").string();
    if (mkdtemp(&strTemplate[0]) == nullptr) {
        perror("mkdtemp");
        abort();
    }
    g_strRoot = strTemplate;
    atexit(removeRoot);
    platformsim::setFlashRoot(g_strRoot);
    platformsim::setSleepScale(0);
    const int nNull = open("/dev/null", O_WRONLY);
    if (nNull >= 0) {
        dup2(nNull, STDOUT_FILENO);
        close(nNull);
    }
    return 0;
}

namespace fuzzsupport {

std::vector<std::string> splitInput(const uint8_t* p_pData, size_t p_nSize, size_t p_nParts)
{
    const std::string strInput(reinterpret_cast<const char*>(p_pData), p_nSize);
    std::vector<std::string> vecParts;
    size_t nStart = 0;
    while (vecParts.size() + 1 < p_nParts) {
        const size_t nNul = strInput.find('\0', nStart);
        if (nNul == std::string::npos) break;
        vecParts.push_back(strInput.substr(nStart, nNul - nStart));
        nStart = nNul + 1;
    }
    vecParts.push_back(nStart <= strInput.size() ? strInput.substr(nStart) : std::string());
    vecParts.resize(p_nParts);
    return vecParts;
}

}  // namespace fuzzsupport
