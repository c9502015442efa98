// A live controller of the sample camera driven by host text: each input
// line is one request, its first character the operation, the rest its
// text. Numbers the host names go to the image-algorithm library as
// commands, so the dictionary holds the commands that carry records.
//   s TEXT  setParameters(TEXT, true)     S TEXT  setParameters(TEXT, false)
//   g IDS   getParameters(IDS)            c IDS   SensorCheck(IDS)
//   p N     getParameter(N)               t K,V   setParameter(K, V, true)
//   r N     getSensorParamRange(N)
#include <filesystem>

#include "FuzzSupport.h"
#include "ISensorController.h"
#include "PlatformSim.h"

namespace {

// Built once: init parses the style documents, far slower than a request.
ISensorController& controller()
{
    static ISensorController* s_pCtrl = [] {
        std::filesystem::copy(SNS_SAMPLE_FLASH_DIR, platformsim::flashRoot(),
                              std::filesystem::copy_options::recursive);
        ModuleConfigure objModule;
        objModule.setModuleId(1);
        objModule.setDetail("(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)");
        ISensorController* pCtrl = new ISensorController();
        pCtrl->setChannelID(1);
        pCtrl->init(objModule);
        // The sensor thread passes once a second from now on, as on a camera.
        platformsim::setSleepScale(1);
        return pCtrl;
    }();
    return *s_pCtrl;
}

void runRequest(ISensorController& p_objCtrl, char p_cOp, const std::string& p_strText)
{
    std::string strOut;
    int nValue = 0;
    int nKey = 0;
    switch (p_cOp) {
    case 's': p_objCtrl.setParameters(p_strText, true); break;
    case 'S': p_objCtrl.setParameters(p_strText, false); break;
    case 'g': p_objCtrl.getParameters(p_strText, strOut); break;
    case 'c': {
        std::string strCheck = p_strText;
        p_objCtrl.SensorCheck(strCheck);
        break;
    }
    case 'p': p_objCtrl.getParameter(atoi(p_strText.c_str()), nValue); break;
    case 't':
        if (sscanf(p_strText.c_str(), "%d,%d", &nKey, &nValue) == 2) p_objCtrl.setParameter(nKey, nValue, true);
        break;
    case 'r': p_objCtrl.getSensorParamRange(atoi(p_strText.c_str()), nValue, strOut); break;
    default: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    ISensorController& objCtrl = controller();
    const std::string strInput(reinterpret_cast<const char*>(p_pData), p_nSize);
    size_t nStart = 0;
    while (nStart < strInput.size()) {
        size_t nEnd = strInput.find('\n', nStart);
        if (nEnd == std::string::npos) nEnd = strInput.size();
        if (nEnd > nStart) runRequest(objCtrl, strInput[nStart], strInput.substr(nStart + 1, nEnd - nStart - 1));
        nStart = nEnd + 1;
    }
    FUZZ_CHECK(objCtrl.getSensorStatus());
    return 0;
}
