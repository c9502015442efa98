// Module detail fields: input = name NUL detail text. Both parsers agree,
// the text value fits its 10-byte buffer, and a missing field leaves the
// output untouched.
#include <string.h>

#include <memory>

#include "FuzzSupport.h"
#include "SensorLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    const std::vector<std::string> vecParts = fuzzsupport::splitInput(p_pData, p_nSize, 2);
    const char* szName = vecParts[0].c_str();
    const char* szDetail = vecParts[1].c_str();

    const u32 kUntouched = 0xA5A5A5A5u;
    u32 nValue = kUntouched;
    const int nNumRet = getDetailFieldTou32(szDetail, szName, &nValue);
    // The caller's zero-filled 10 bytes, exactly, on the heap.
    std::unique_ptr<char[]> pText(new char[10]());
    const int nTextRet = getDetailFieldToStr(szDetail, szName, pText.get());

    FUZZ_CHECK(nNumRet == nTextRet);
    FUZZ_CHECK(nNumRet == 0 || nNumRet == -1);
    if (nNumRet != 0) {
        FUZZ_CHECK(nValue == kUntouched);
        FUZZ_CHECK(strnlen(pText.get(), 10) == 0);
        return 0;
    }
    FUZZ_CHECK(pText[9] == '\0');
    FUZZ_CHECK(nValue == static_cast<u32>(atoi(pText.get())));
    return 0;
}
