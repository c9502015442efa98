// Dynamic style and factory defaults: input = style NUL raw attribute record
// that the image-algorithm library answers for command 49 (missing bytes
// zero). Whatever the style and the library's answer, the dynamic style is
// built and the factory records stay within their array.
#include <string.h>

#include <memory>

#include "FuzzSupport.h"
#include "IaSim.h"
#include "SensorKeys.h"
#include "SensorStyle.h"

namespace {

const u32 kFactoryCapacity = 160;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    const std::vector<std::string> vecParts = fuzzsupport::splitInput(p_pData, p_nSize, 2);
    iasim::reset();
    if (!vecParts[1].empty()) {
        ia_dynamic_params_attr_st stAttr;
        memset(&stAttr, 0, sizeof(stAttr));
        memcpy(&stAttr, vecParts[1].data(), vecParts[1].size() < sizeof(stAttr) ? vecParts[1].size() : sizeof(stAttr));
        iasim::setAttr(KEY_MAX_SHUTTER, stAttr);
    }
    const bool bShowWdr = (p_nSize & 1) != 0;
    std::string strStyle = vecParts[0];

    std::string strDna;
    FUZZ_CHECK(getDnaStyle(1, strStyle.c_str(), strDna, bShowWdr) == 0);
    std::unique_ptr<KeyVal[]> pFactory(new KeyVal[kFactoryCapacity]);
    u32 nCount = 0;
    FUZZ_CHECK(getFctData(1, &strStyle[0], pFactory.get(), &nCount, bShowWdr, kFactoryCapacity) == 0);
    FUZZ_CHECK(nCount <= kFactoryCapacity);
    return 0;
}
