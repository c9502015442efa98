// Id lists: an accepted list is "(" pieces ")" with no other ")", and its
// pieces joined by "," give back what stood between the parentheses.
#include "FuzzSupport.h"
#include "ISensorController.h"

namespace {

// One controller for the whole run: the parser needs no init.
ISensorController& controller()
{
    static ISensorController* s_pCtrl = new ISensorController();
    return *s_pCtrl;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    const std::string strIds(reinterpret_cast<const char*>(p_pData), p_nSize);
    std::vector<std::string> vecPieces;
    const bool bAccepted = controller().parseSensorParameter(strIds, vecPieces);
    if (!bAccepted) return 0;
    FUZZ_CHECK(!vecPieces.empty());
    FUZZ_CHECK(strIds.size() >= 3 && strIds.front() == '(' && strIds.find(')') == strIds.size() - 1);
    std::string strJoined;
    for (size_t i = 0; i < vecPieces.size(); ++i) strJoined += (i ? "," : "") + vecPieces[i];
    FUZZ_CHECK(strJoined == strIds.substr(1, strIds.size() - 2));
    return 0;
}
