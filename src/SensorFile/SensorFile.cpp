// Parameter file store: whole-file length, read and write of raw bytes, the
// parameter files (KeyVal records back to back, no header) and the version
// file. No state is kept between calls.
#define SNS_SOURCE_FILE "SensorFile"

#include <string.h>

#include "PKFile.h"
#include "SensorFile/FileStore.h"
#include "SensorDebug.h"

// Records are written as their memory image, which the file format fixes as
// little-endian.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "parameter files are little-endian");

namespace {

const char kVersionFile[] = SNS_PATH_VERSION_FILE;
const u32 kLayoutVersion = 8;
const int kModeCreate = PKFile::modeWrite | PKFile::modeTruncate;

// Byte count handed to PKFile (its low 32 bits, as the file class takes
// them); a negative length or a missing buffer moves nothing.
unsigned int transferLength(const void* p_pData, INT64 p_nLen)
{
    if (p_pData == nullptr || p_nLen < 0) return 0;
    return static_cast<unsigned int>(p_nLen);
}

const char* printable(const char* p_szName)
{
    return p_szName != nullptr ? p_szName : "";
}

bool openFile(PKFile& p_objFile, const char* p_szName, int p_nMode)
{
    return p_szName != nullptr && p_objFile.open(p_szName, p_nMode);
}

}  // namespace

INT64 getFileLen(const char* file_name)
{
    PKFile file;
    SNS_ASSERT(SNS_HERE, openFile(file, file_name, PKFile::modeRead), "file.open(file_name)", "file_name(%s)",
               printable(file_name));
    return file.getLength();
}

void traceFileLoad(const char* file_name)
{
    const SnsSite stSite = {SNS_SOURCE_FILE, "loadFromFile", 50, "int loadFromFile(const char*, char*, INT64)"};
    snsTrace(stSite, SNS_LEVEL_TRACE, SNS_COLOUR_WHITE, SNS_TAG_DBG, "open file:%s\n", printable(file_name));
}

int loadFromFile(const char* file_name, char* data, INT64 file_len)
{
    traceFileLoad(file_name);
    if (file_len < 0 || (data == nullptr && file_len > 0)) return -1;
    PKFile file;
    if (!openFile(file, file_name, PKFile::modeRead)) return -1;
    const int nSize = file.read(data, transferLength(data, file_len));
    if (static_cast<INT64>(nSize) != file_len) return -1;
    file.close();
    return nSize;
}

int saveToFile(char* file_name, char* data, INT64 file_len)
{
    PKFile file;
    SNS_ASSERT(SNS_HERE, openFile(file, file_name, kModeCreate),
               "file.open(file_name, PKFile::modeWrite | PKFile::modeTruncate)", "file_name(%s)\n",
               printable(file_name));
    int nSize = 0;
    SNS_ASSERT(
        SNS_HERE, file_len == static_cast<INT64>(nSize = file.write(data, transferLength(data, file_len))),
        "file_len == (nSize=file.write(data, file_len))", "file_len(%d)\n", static_cast<int>(file_len));
    // The content is on flash only once the file is closed: a failed flush,
    // sync or rename there is a failed write (a short write is reported above).
    const bool bClosed = file.close();
    SNS_ASSERT(SNS_HERE, bClosed || static_cast<INT64>(nSize) != file_len, "file.close()", "file_name(%s)\n",
               printable(file_name));
    return bClosed ? nSize : -1;
}

int keyValFromFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValNum)
{
    PKFile file;
    SNS_ASSERT(SNS_HERE, openFile(file, file_name, PKFile::modeRead), "file.open(file_name)",
               "file_name(%s)\n", printable(file_name));
    const INT64 nWanted = static_cast<INT64>(sizeof(KeyVal)) * p_nKeyValNum;
    const int nSize = file.read(reinterpret_cast<char*>(p_pKeyVal), transferLength(p_pKeyVal, nWanted));
    SNS_ASSERT(SNS_HERE, static_cast<INT64>(nSize) == nWanted, "nSize == sizeof(KeyVal)*p_nKeyValNum",
               "file_name(%s) nSize(%d) sizeof(KeyVal) = %d, p_nKeyValNum(%d)\n", printable(file_name), nSize,
               static_cast<int>(sizeof(KeyVal)), static_cast<int>(p_nKeyValNum));
    file.close();
    return SNS_SUCCESS;
}

int keyValToFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValSum)
{
    PKFile file;
    SNS_ASSERT(SNS_HERE, openFile(file, file_name, kModeCreate),
               "file.open(file_name, PKFile::modeWrite | PKFile::modeTruncate)", "file_name(%s)\n",
               printable(file_name));
    const INT64 nWanted = static_cast<INT64>(sizeof(KeyVal)) * p_nKeyValSum;
    const int nSize = file.write(reinterpret_cast<char*>(p_pKeyVal), transferLength(p_pKeyVal, nWanted));
    SNS_ASSERT(SNS_HERE, static_cast<INT64>(nSize) == nWanted, "nSize == sizeof(KeyVal)*p_nKeyValSum",
               "nSize(%d) sizeof(KeyVal) = %d, p_nKeyValNum(%d)\n", nSize, static_cast<int>(sizeof(KeyVal)),
               static_cast<int>(p_nKeyValSum));
    const bool bClosed = file.close();
    SNS_ASSERT(SNS_HERE, bClosed || static_cast<INT64>(nSize) != nWanted, "file.close()", "file_name(%s)\n",
               printable(file_name));
    return SNS_SUCCESS;
}

u32 paramFileLayoutVersion()
{
    return kLayoutVersion;
}

int getVersion(u32* p_pnVersion)
{
    if (p_pnVersion == nullptr) return -1;
    return loadFromFile(kVersionFile, reinterpret_cast<char*>(p_pnVersion), sizeof(u32)) > 0 ? 0 : -1;
}

int setVersion(u32 p_nVersion)
{
    u32 nVersion = p_nVersion;
    char szPath[sizeof(kVersionFile)];
    memcpy(szPath, kVersionFile, sizeof(kVersionFile));
    return saveToFile(szPath, reinterpret_cast<char*>(&nVersion), sizeof(u32)) > 0 ? 0 : -1;
}
