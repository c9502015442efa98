// Style merge: input = style NUL diversity NUL detail text (the sample
// camera's detail when none is given). Any documents merge without a fault
// and leave a NUL-terminated heap text behind.
#include <string.h>

#include "FuzzSupport.h"
#include "SensorStyle.h"

namespace {

const char kSampleDetail[] = "(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    const std::vector<std::string> vecParts = fuzzsupport::splitInput(p_pData, p_nSize, 3);
    ModuleConfig stModule;
    memset(&stModule, 0, sizeof(stModule));
    const std::string& strDetail = vecParts[2].empty() ? std::string(kSampleDetail) : vecParts[2];
    strncpy(stModule.szDetail, strDetail.c_str(), sizeof(stModule.szDetail) - 1);
    char* szStyle = strdup(vecParts[0].c_str());
    std::string strDiversity = vecParts[1];

    FUZZ_CHECK(mergeStyle(1, &stModule, &szStyle, &strDiversity[0]) == 0);
    FUZZ_CHECK(szStyle != nullptr);
    FUZZ_CHECK(strlen(szStyle) < (size_t)1 << 30);
    free(szStyle);
    return 0;
}
