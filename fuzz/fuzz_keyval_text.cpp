// Parameter text codec: any text parses within the record buffer (its size
// taken from the first byte), and the records read survive a round trip
// through their printed form.
#include <string.h>

#include <memory>

#include "FuzzSupport.h"
#include "SensorLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    if (p_nSize == 0) return 0;
    const u32 nCapacity = p_pData[0];
    const std::string strText(reinterpret_cast<const char*>(p_pData + 1), p_nSize - 1);
    // Exactly nCapacity records on the heap: a write past them is caught.
    std::unique_ptr<KeyVal[]> pFirst(new KeyVal[nCapacity]);
    u32 nFirst = 0;
    keyval_str2st(strText, pFirst.get(), &nFirst, nCapacity);
    FUZZ_CHECK(nFirst <= nCapacity);

    std::string strPrinted;
    keyval_st2str(strPrinted, pFirst.get(), nFirst);
    std::unique_ptr<KeyVal[]> pSecond(new KeyVal[nCapacity]);
    u32 nSecond = 0;
    keyval_str2st(strPrinted, pSecond.get(), &nSecond, nCapacity);
    FUZZ_CHECK(nSecond == nFirst);
    FUZZ_CHECK(nFirst == 0 || memcmp(pFirst.get(), pSecond.get(), nFirst * sizeof(KeyVal)) == 0);

    std::string strAgain;
    keyval_st2str(strAgain, pSecond.get(), nSecond);
    FUZZ_CHECK(strAgain == strPrinted);
    return 0;
}
