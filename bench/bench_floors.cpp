// The floors: what one diagnostic site costs when the operator's control
// file is absent (one existence test), one call of the image-algorithm entry
// without the controller around it, and one read of a parameter file.
#include "BenchOps.h"
#include "FlashLayout.h"
#include "IaInterface.h"
#include "PKFile.h"
#include "SensorKeys.h"
#include "SensorTypes.h"

namespace bench {

namespace {

void existenceTest(long) { keep(PKFile::isExist(SNS_PATH_DEBUG_SIGN)); }

void iaCall(long p_nRun)
{
    u32 nVal = static_cast<u32>(p_nRun & 1);
    keep(ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_SET, &nVal));
}

// Open, read and close one scheme file: the least a mandated file access costs.
void fileRead(long)
{
    static const std::string s_strPath = schemeFilePath(1, 0);
    KeyVal arrRecords[4];
    PKFile objFile;
    if (objFile.open(s_strPath.c_str(), PKFile::modeRead))
        keep(objFile.read(reinterpret_cast<char*>(arrRecords), sizeof(arrRecords)));
}

}  // namespace

const std::vector<Operation>& floors()
{
    static const std::vector<Operation> vecFloors = {
        {"floor:existence_test", nullptr, existenceTest, nullptr},
        {"floor:ia_ioctrl_v2", nullptr, iaCall, nullptr},
        {"floor:file_read", nullptr, fileRead, nullptr},
    };
    return vecFloors;
}

}  // namespace bench
