// The host's text entry points: set parameters from a parameter string, read
// selected keys, read the whole current scheme.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>
#include <stdlib.h>

#include "HostOps.h"
#include "IaInterface.h"
#include "ISensorController.h"
#include "ISensorController/ControllerDetail.h"
#include "ISensorController/ControllerMemo.h"
#include "PKMutexManager.h"
#include "SensorDebug.h"
#include "SensorStyle.h"
#include "StringHandler.h"
#include "ISensorController/SchemeFiles.h"
#include "SensorFile/XmlDoc.h"

namespace {

const int kGetParametersFailLine = 1905;
const char kAllSignature[] = "bool ISensorController::getAllParameters(std::__cxx11::string&)";
// A style value of key 49 above this selects the stored scheme file.
const int kStyleShutterStoredAbove = 199;

}  // namespace

bool ISensorController::parseSensorParameter(const std::string& p_strIds,
                                             std::vector<std::string>& p_vecOut)
{
    if (p_strIds.empty() || p_strIds.find('(') != 0) return false;
    const size_t nClose = p_strIds.find(')');
    if (nClose == std::string::npos || nClose != p_strIds.size() - 1 || nClose < 2) return false;
    StringHandler::split(p_strIds.substr(1, nClose - 1), p_vecOut, ",");
    return !p_vecOut.empty();
}

int ISensorController::setParameters(const std::string& p_strParams, bool p_bSave)
{
    SNS_LOCK_GUARD(m_objMutex);
    snsDbg(SNS_HERE, "p_Parameters1111111111(%s)\n", p_strParams.c_str());
    u32 nCount = 0;
    // The scratch buffer holds m_nKeyValSum records; further pairs are dropped.
    keyval_str2st(p_strParams, m_pstKeyValTmp, &nCount, m_nKeyValSum);
    return setParameters(m_pstKeyValTmp, nCount, p_bSave);
}

bool ISensorController::getParameters(const std::string& p_strIds, std::string& p_strOut)
{
    std::vector<std::string> vecIds;
    if (!parseSensorParameter(p_strIds, vecIds)) {
        hostops::printIdListFailure(kGetParametersFailLine, p_strIds);
        return false;
    }
    p_strOut.clear();
    int nValue = 0;
    for (const std::string& strId : vecIds) {
        const int nKey = atoi(strId.c_str());
        if (!getParameter(nKey, nValue)) continue;
        const KeyVal stPair = {static_cast<u32>(nKey), static_cast<u32>(nValue)};
        keyval_st2str(p_strOut, &stPair, 1);
    }
    printf("@@ out_Parameters = %s @@\n", p_strOut.c_str());
    return true;
}

// The merged style is read on every call; it is parsed again only when its
// bytes differ from those parsed last. False when it does not load.
bool SensorControllerDetail::readStyleShutter(const char* p_szFile, int& p_nShutter)
{
    auto& stMemo = memo().stAllParams;
    std::string strBytes;
    const bool bRead = xmldoc::readFile(p_szFile, strBytes);
    if (!bRead || !stMemo.bValid || strBytes != stMemo.strBytes) {
        TiXmlDocument objStyleXmlDoc;
        stMemo.bLoaded = bRead && xmldoc::loadFileBytes(objStyleXmlDoc, strBytes);
        stMemo.nShutter = p_nShutter;
        if (objStyleXmlDoc.RootElement() != nullptr)
            getDnaValbyCmdId(objStyleXmlDoc.RootElement(), KEY_MAX_SHUTTER, stMemo.nShutter);
        stMemo.bValid = bRead;
        stMemo.strBytes.swap(strBytes);
    }
    p_nShutter = stMemo.nShutter;
    return stMemo.bLoaded;
}

bool ISensorController::getAllParameters(std::string& p_strOut)
{
    SNS_LOCK_GUARD(m_objMutex);
    char szStyleFile[100] = {0};
    mergedStylePath(szStyleFile, sizeof(szStyleFile), m_nCameraID);
    int nShutter = 200;
    SNS_ASSERT(SNS_HERE.as(kAllSignature), detail(*this).readStyleShutter(szStyleFile, nShutter),
               "objStyleXmlDoc.LoadFile(filename, TIXML_ENCODING_UTF8)", "");

    const u32 nScheme = static_cast<u32>(m_nCurScheme);
    if (nShutter > kStyleShutterStoredAbove) {
        // The factory scheme has no file, and before the first switch there is none either.
        if (!detail(*this).isUserScheme(nScheme)) return true;
        char szTmp[100] = {0};
        schemeFilePath(szTmp, sizeof(szTmp), m_nCameraID, m_nCurScheme, m_bIsThermal);
        SNS_ASSERT(SNS_HERE.as(kAllSignature),
                   SNS_SUCCESS == keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum),
                   "SNS_SUCCESS == keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum)",
                   "szTmp(%s), m_nKeyValSum(%d)\n", szTmp, m_nKeyValSum);
        keyval_st2str(p_strOut, m_pstKeyValTmp, m_nKeyValSum);
        return true;
    }
    // No current scheme yet (-1): there is no row to report.
    if (!detail(*this).hasSchemeRow(nScheme) || m_ppUserKeyVal == nullptr) return true;
    SNS_ASSERT(SNS_HERE.as(kAllSignature),
               SNS_SUCCESS == keyval_correct(iaChannelOf(m_nCameraID), m_ppUserKeyVal[nScheme], m_nKeyValSum),
               "SNS_SUCCESS == keyval_correct(m_nCameraID - 1, m_ppUserKeyVal[m_nCurScheme], m_nKeyValSum)",
               "m_nCurScheme(%d) m_nKeyValSum(%d)\n", m_nCurScheme, m_nKeyValSum);
    keyval_st2str(p_strOut, m_ppUserKeyVal[nScheme], m_nKeyValSum);
    return true;
}
