// decode: parameter files and the version file pulled from a camera's flash,
// read without a controller.
#include <stdint.h>
#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "CommandHandlers.h"
#include "FlashDir.h"
#include "KeyArgs.h"
#include "SensorKeys.h"
#include "ToolCommon.h"

namespace {

// Records are KeyVal images {u32 key, u32 value}; the version is one u32;
// both little-endian.
const size_t kRecordSize = sizeof(KeyVal);
const size_t kVersionSize = sizeof(u32);

u32 littleEndianAt(const std::string& p_strBytes, size_t p_nOffset)
{
    u32 nValue = 0;
    for (size_t i = 0; i < 4; ++i)
        nValue |= static_cast<u32>(static_cast<unsigned char>(p_strBytes[p_nOffset + i]))
                  << (8 * i);
    return nValue;
}

bool readWhole(const std::string& p_strPath, std::string& p_strBytes)
{
    std::error_code ec;
    if (std::filesystem::is_directory(p_strPath, ec)) return false;
    std::ifstream in(p_strPath, std::ios::binary);
    if (!in) return false;
    p_strBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int decodeVersion(const std::string& p_strPath, const std::string& p_strBytes)
{
    if (p_strBytes.size() < kVersionSize) {
        toolError("%s: damaged version file: %zu bytes, the version needs %zu", p_strPath.c_str(),
                  p_strBytes.size(), kVersionSize);
        return EXIT_FAILED;
    }
    toolPrint("%s: parameter file layout version %u\n", p_strPath.c_str(),
              littleEndianAt(p_strBytes, 0));
    return EXIT_DONE;
}

// The first five records of a scheme are its switching mode and time window.
void printSchemeHead(const std::string& p_strBytes)
{
    if (p_strBytes.size() < 5 * kRecordSize) return;
    u32 nHead[5];
    for (u32 i = 0; i < 5; ++i) {
        if (littleEndianAt(p_strBytes, i * kRecordSize) != KEY_SCHEME_MODE + i) return;
        nHead[i] = littleEndianAt(p_strBytes, i * kRecordSize + 4);
    }
    toolPrint("scheme mode %u, time window %02u:%02u-%02u:%02u\n", nHead[0], nHead[1], nHead[2],
              nHead[3], nHead[4]);
}

int decodeParameters(const std::string& p_strPath, const std::string& p_strBytes)
{
    const size_t nRecords = p_strBytes.size() / kRecordSize;
    toolPrint("%s: %zu records\n", p_strPath.c_str(), nRecords);
    printSchemeHead(p_strBytes);
    toolPrint("%6s  %-34s %s\n", "KEY", "NAME", "VALUE");
    for (size_t i = 0; i < nRecords; ++i) {
        const u32 nKey = littleEndianAt(p_strBytes, i * kRecordSize);
        const u32 nValue = littleEndianAt(p_strBytes, i * kRecordSize + 4);
        toolPrint("%6u  %-34s %d\n", nKey, keyName(nKey).c_str(), static_cast<int32_t>(nValue));
    }
    const size_t nLeft = p_strBytes.size() % kRecordSize;
    if (nLeft == 0) return EXIT_DONE;
    toolError(
        "%s: damaged parameter file: %zu bytes is not a multiple of %zu (%zu whole records, "
        "%zu bytes left over)",
        p_strPath.c_str(), p_strBytes.size(), kRecordSize, nRecords, nLeft);
    return EXIT_FAILED;
}

}  // namespace

int runDecode(Session*, const Args& p_vecArgs)
{
    int nExit = EXIT_DONE;
    for (const std::string& strPath : p_vecArgs) {
        std::string strBytes;
        int nResult = EXIT_DONE;
        if (!readWhole(strPath, strBytes)) {
            toolError("%s: cannot read the file", strPath.c_str());
            nResult = EXIT_FAILED;
        } else if (std::filesystem::path(strPath).filename() ==
                   std::filesystem::path(SNS_PATH_VERSION_FILE).filename()) {
            nResult = decodeVersion(strPath, strBytes);
        } else {
            nResult = decodeParameters(strPath, strBytes);
        }
        if (nResult != EXIT_DONE) nExit = nResult;
    }
    return nExit;
}
