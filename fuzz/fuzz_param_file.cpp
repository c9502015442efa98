// Parameter file reader on arbitrary bytes: input = record count byte, then
// the file's bytes. The read fills exactly what the file holds, never more
// than the array, and a write gives back the whole array; the version file
// needs its first four bytes.
#include <string.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "FuzzSupport.h"
#include "FlashLayout.h"
#include "PlatformSim.h"
#include "SensorLib.h"

namespace {

char g_szScheme[] = SNS_PATH_CONFIG_DIR "/sensor1_0.cfg";
const char kVersionFile[] = SNS_PATH_VERSION_FILE;
const unsigned char kMarker = 0xEE;

void writeRaw(const char* p_szPath, const std::string& p_strBytes)
{
    std::ofstream(platformsim::resolvePath(p_szPath), std::ios::binary | std::ios::trunc) << p_strBytes;
}

std::string readRaw(const char* p_szPath)
{
    std::ifstream in(platformsim::resolvePath(p_szPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    if (p_nSize == 0) return 0;
    static const bool s_bFolder =
        std::filesystem::create_directories(platformsim::resolvePath(SNS_PATH_CONFIG_DIR));
    (void)s_bFolder;
    const u32 nRecords = p_pData[0];
    const std::string strFile(reinterpret_cast<const char*>(p_pData + 1), p_nSize - 1);
    writeRaw(g_szScheme, strFile);

    const size_t nBytes = nRecords * sizeof(KeyVal);
    std::unique_ptr<unsigned char[]> pArray(new unsigned char[nBytes + 1]);
    memset(pArray.get(), kMarker, nBytes);
    FUZZ_CHECK(keyValFromFile(g_szScheme, reinterpret_cast<KeyVal*>(pArray.get()), nRecords) == SNS_SUCCESS);
    const size_t nFilled = strFile.size() < nBytes ? strFile.size() : nBytes;
    FUZZ_CHECK(memcmp(pArray.get(), strFile.data(), nFilled) == 0);
    for (size_t i = nFilled; i < nBytes; ++i) FUZZ_CHECK(pArray[i] == kMarker);

    FUZZ_CHECK(keyValToFile(g_szScheme, reinterpret_cast<KeyVal*>(pArray.get()), nRecords) == SNS_SUCCESS);
    FUZZ_CHECK(readRaw(g_szScheme) == std::string(reinterpret_cast<char*>(pArray.get()), nBytes));

    writeRaw(kVersionFile, strFile);
    u32 nVersion = 0;
    const int nRet = getVersion(&nVersion);
    FUZZ_CHECK((nRet == 0) == (strFile.size() >= sizeof(u32)));
    if (nRet == 0) FUZZ_CHECK(memcmp(&nVersion, strFile.data(), sizeof(u32)) == 0);
    return 0;
}
