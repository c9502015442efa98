// The live checks: a controller on the copy of the tree, started as a host
// starts it, over the image-algorithm library (the simulator on a PC, the
// chip's own on a camera).
#include "LiveSupport.h"

#include <stdlib.h>

#include "Checks.h"
#include "ConsoleCapture.h"
#include "KeyArgs.h"
#include "SensorKeys.h"

int CheckVideo::notifySensorParam(int, int key, int value) const
{
    std::lock_guard<std::mutex> objGuard(m_objLock);
    m_vecNotes.push_back(Note{key, value});
    return 0;
}

std::vector<CheckVideo::Note> CheckVideo::takeNotes()
{
    std::lock_guard<std::mutex> objGuard(m_objLock);
    std::vector<Note> vecOut;
    vecOut.swap(m_vecNotes);
    return vecOut;
}

sensorhost::SessionOptions liveSessionOptions(const CheckContext& p_stCtx, const CheckVideo& p_objVideo)
{
    sensorhost::SessionOptions stOptions;
    stOptions.m_strFlashDir = p_stCtx.m_strWorkDir;
    stOptions.m_nChannel = p_stCtx.m_stOptions.m_nChannel;
    stOptions.m_bMayCreate = false;
    // The copy may lose its saved schemes: the tree itself is never touched.
    stOptions.m_bLossAccepted = true;
    stOptions.m_pVideo = &p_objVideo;
    // The checker restarts the library once, before the first init; uinit
    // and init do not restart a camera's library either.
    stOptions.m_bResetSimulator = false;
    return stOptions;
}

std::map<u32, int> currentValues(ISensorController& p_objCtrl, const std::vector<KeyVal>& p_vecFactory)
{
    std::map<u32, int> mapOut;
    for (const KeyVal& stRecord : p_vecFactory) {
        int nValue = 0;
        if (p_objCtrl.getParameter(static_cast<int>(stRecord.key), nValue)) mapOut[stRecord.key] = nValue;
    }
    return mapOut;
}

std::vector<std::string> valueDifferences(const std::map<u32, int>& p_mapExpected,
                                          const std::map<u32, int>& p_mapActual, size_t p_nMax)
{
    std::vector<std::string> vecOut;
    for (const auto& stExpected : p_mapExpected) {
        const auto it = p_mapActual.find(stExpected.first);
        if (it != p_mapActual.end() && it->second == stExpected.second) continue;
        if (vecOut.size() >= p_nMax) break;
        vecOut.push_back(sensorhost::keyLabel(stExpected.first) +
                         (it == p_mapActual.end() ? std::string(" cannot be read") : " reads " + std::to_string(it->second)) +
                         ", expected " + std::to_string(stExpected.second));
    }
    return vecOut;
}

bool dayNightSwitching(ISensorController& p_objCtrl)
{
    int nScheme = -1;
    int nMode = 0;
    p_objCtrl.getParamScheme(nScheme);
    if (!p_objCtrl.setParamScheme(0) || !p_objCtrl.getParameter(KEY_SCHEME_MODE, nMode)) nMode = SCHEME_MODE_NONE;
    if (nScheme >= 0) p_objCtrl.setParamScheme(nScheme);
    return nMode == SCHEME_MODE_DAY_NIGHT;
}

bool isDayNightKey(u32 p_nKey)
{
#define SNS_DN_ROW(name, key, cmd, handler, roles) (p_nKey == (key) && ((roles) & SNS_ROLE_DAY_NIGHT) != 0) ||
#define SNS_DN_NONE(name, key, roles) (p_nKey == (key) && ((roles) & SNS_ROLE_DAY_NIGHT) != 0) ||
    return SNS_KEYS(SNS_DN_ROW, SNS_DN_NONE) false;
#undef SNS_DN_ROW
#undef SNS_DN_NONE
}

std::map<u32, std::vector<int>> styleItems(const std::string& p_strStyle)
{
    std::map<u32, std::vector<int>> mapOut;
    const XmlFile stStyle = parseXmlText(p_strStyle);
    if (!stStyle.m_bParsed) return mapOut;
    std::vector<const TiXmlElement*> vecStack{stStyle.m_pDoc->RootElement()};
    while (!vecStack.empty()) {
        const TiXmlElement* pElement = vecStack.back();
        vecStack.pop_back();
        const char* szId = pElement->Attribute("id");
        if (szId != nullptr && mapOut.find(static_cast<u32>(atoi(szId))) == mapOut.end()) {
            std::vector<int>& vecItems = mapOut[static_cast<u32>(atoi(szId))];
            for (const TiXmlElement* pItem = pElement->FirstChildElement(); pItem != nullptr;
                 pItem = pItem->NextSiblingElement())
                if (pItem->Attribute("index") != nullptr) vecItems.push_back(atoi(pItem->Attribute("index")));
        }
        std::vector<const TiXmlElement*> vecChildren;
        for (const TiXmlElement* pChild = pElement->FirstChildElement(); pChild != nullptr;
             pChild = pChild->NextSiblingElement())
            vecChildren.push_back(pChild);
        vecStack.insert(vecStack.end(), vecChildren.rbegin(), vecChildren.rend());
    }
    return mapOut;
}

void runLiveChecks(CheckContext& p_stCtx, CheckReport& p_objReport)
{
    CheckVideo objVideo;
    sensorhost::HostSession objSession;
    p_stCtx.m_pIa->restart();
    Check objInit(p_objReport, "live-init", "init");
    const std::string strError = objSession.open(liveSessionOptions(p_stCtx, objVideo));
    if (!strError.empty()) {
        objInit.fail("", "the controller did not start: " + strError);
        return;
    }
    failLibraryReports(objInit, objSession.reportMark(), "");
    objInit.done("init ran without an assertion report, scheme count " + std::to_string(objSession.schemeCount()));
    checkLiveRanges(objSession, p_stCtx, p_objReport);
    checkLiveDynamicStyle(objSession, p_stCtx, p_objReport);
    checkLiveKeys(objSession, p_stCtx, objVideo, p_objReport);
    checkLiveSchemes(objSession, p_stCtx, p_objReport);
    checkLivePersistence(objSession, p_stCtx, objVideo, p_objReport);
    objSession.close();
}
