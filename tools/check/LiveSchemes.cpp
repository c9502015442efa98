// Schemes on a running controller: switching to every scheme and back
// restores the values; a save survives uinit and init.
#include "FlashLayout.h"
#include "LiveSupport.h"
#include "ParamFile.h"
#include "SensorKeys.h"
#include "PlatformSim.h"
#include "ValueRules.h"

namespace {

const size_t kDifferencesShown = 3;

// The scheme's values as its parameter file holds them; empty when it has no file.
std::map<u32, int> fileValues(const std::string& p_strCameraPath)
{
    std::map<u32, int> mapOut;
    std::string strBytes;
    if (!sensorhost::readLimited(platformsim::resolvePath(p_strCameraPath), strBytes).empty()) return mapOut;
    size_t nLeftOver = 0;
    for (const KeyVal& stRecord : sensorhost::decodeRecords(strBytes, nLeftOver))
        mapOut.emplace(stRecord.key, static_cast<int>(stRecord.value));
    return mapOut;
}

void failDifferences(Check& p_objCheck, const std::string& p_strWhere, const std::map<u32, int>& p_mapExpected,
                     const std::map<u32, int>& p_mapActual)
{
    for (const std::string& strDifference : valueDifferences(p_mapExpected, p_mapActual, kDifferencesShown))
        p_objCheck.fail(p_strWhere, strDifference);
}

// A key of the style whose value can be changed to another allowed one, and that value.
bool pickChange(const std::vector<KeyVal>& p_vecFactory, const sensorhost::ValueRules& p_objRules, KeyVal& p_stOut)
{
    for (const KeyVal& stRecord : p_vecFactory) {
        const sensorhost::ValueRule* pRule = p_objRules.find(stRecord.key);
        if (pRule == nullptr || (stRecord.key >= KEY_SCHEME_MODE && stRecord.key <= KEY_SCHEME_END_MIN)) continue;
        const long long nValue = stRecord.value;
        long long nOther = nValue;
        if (pRule->m_eKind == sensorhost::ValueRule::kRange && pRule->m_nMax > pRule->m_nMin)
            nOther = nValue < pRule->m_nMax ? nValue + 1 : nValue - 1;
        if (pRule->m_eKind == sensorhost::ValueRule::kMenu && pRule->m_vecItems.size() > 1)
            nOther = pRule->m_vecItems[0] != nValue ? pRule->m_vecItems[0] : pRule->m_vecItems[1];
        if (nOther == nValue) continue;
        p_stOut = KeyVal{stRecord.key, static_cast<u32>(nOther)};
        return true;
    }
    return false;
}

}  // namespace

void checkLiveSchemes(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "live-schemes", "schemes");
    ISensorController& objCtrl = p_objSession.controller();
    const std::vector<KeyVal>& vecFactory = p_objSession.setup().m_vecFactory;
    objCtrl.setParamMode(0);
    if (!objCtrl.setParamScheme(0)) {
        objCheck.fail("scheme 0", "the library refused to switch to it");
        return;
    }
    const std::map<u32, int> mapStart = currentValues(objCtrl, vecFactory);
    for (int s = 1; s <= p_objSession.schemeCount(); ++s) {
        const std::string strScheme = "scheme " + std::to_string(s);
        if (!objCtrl.setParamScheme(s)) {
            objCheck.fail(strScheme, "the library refused to switch to it");
            continue;
        }
        const std::map<u32, int> mapFile = fileValues(schemeFilePath(p_stCtx.m_nCameraID, s, p_stCtx.m_bThermal));
        if (s < p_objSession.schemeCount()) failDifferences(objCheck, strScheme + " against its file", mapFile,
                                                            currentValues(objCtrl, vecFactory));
        if (!objCtrl.setParamScheme(0)) {
            objCheck.fail(strScheme, "the library refused to switch back to scheme 0");
            continue;
        }
        failDifferences(objCheck, "back from " + strScheme + " to scheme 0", mapStart, currentValues(objCtrl, vecFactory));
    }
    objCheck.done("every scheme (factory scheme included) switched to and back; scheme 0's values restored");
}

void checkLivePersistence(sensorhost::HostSession& p_objSession, const CheckContext& p_stCtx,
                          const CheckVideo& p_objVideo, CheckReport& p_objReport)
{
    Check objCheck(p_objReport, "live-persistence", schemeFilePath(p_stCtx.m_nCameraID, 0, p_stCtx.m_bThermal));
    ISensorController& objCtrl = p_objSession.controller();
    const std::vector<KeyVal> vecFactory = p_objSession.setup().m_vecFactory;
    KeyVal stChange = {0, 0};
    objCtrl.setParamMode(0);
    if (!objCtrl.setParamScheme(0) || !pickChange(vecFactory, p_objSession.valueRules(), stChange)) {
        objCheck.fail("scheme 0", "no scheme 0 with a value that can be changed");
        return;
    }
    const int nResult = objCtrl.setParameter(static_cast<int>(stChange.key), static_cast<int>(stChange.value), true);
    const sensorhost::SaveResult stSave = p_objSession.saveCurrentScheme();
    if (nResult != 0 || !stSave.ok()) {
        objCheck.fail("scheme 0", "setting " + std::to_string(stChange.key) + " and saving failed: " +
                                      (nResult != 0 ? "the library returned " + std::to_string(nResult) : stSave.m_strFailure));
        return;
    }
    const std::map<u32, int> mapSaved = currentValues(objCtrl, vecFactory);
    p_objSession.close();
    const std::string strError = p_objSession.open(liveSessionOptions(p_stCtx, p_objVideo));
    if (!strError.empty()) {
        objCheck.fail("", "init after uinit failed: " + strError);
        return;
    }
    p_objSession.controller().setParamMode(0);
    p_objSession.controller().setParamScheme(0);
    failDifferences(objCheck, "after save, uinit and init", mapSaved, currentValues(p_objSession.controller(), vecFactory));
    objCheck.done("key " + std::to_string(stChange.key) + " changed to " + std::to_string(stChange.value) +
                  ", saved; every value of scheme 0 survived uinit and init");
}
