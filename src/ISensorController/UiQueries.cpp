// What the host's user interface asks for: the dynamic style document, the
// UI texts by id and the ranges of the range-capable parameters.
#define SNS_SOURCE_FILE "ISensorController"

#include <stdio.h>
#include <string.h>

#include "AtomicWord.h"
#include "IaInterface.h"
#include "ISensorController.h"
#include "ISensorController/ControllerMemo.h"
#include "PKMutexManager.h"
#include "PelkorTime.h"
#include "SensorDebug.h"
#include "SensorStyle.h"
#include "VideoLink.h"

namespace {

const char kRangeSignature[] =
    "bool ISensorController::getSensorParamRange(int, int&, std::__cxx11::string&)";
const int kBusyPolls = 30;
const long kBusyPauseMicroseconds = 50000;

// Parameters whose default and items the host may ask for.
const int kRangeCapableCmds[] = {KEY_MAX_SHUTTER, KEY_FIX_SHUTTER, KEY_IRIS_POSITION,
                                 KEY_AUTO_FOCUS_NEAR_LIMIT};

// Gives the video module up to 30 pauses to finish what it is doing.
void waitWhileVideoBusy(const VideoStreamModule* p_pVideo)
{
    for (int i = 0; i < kBusyPolls; ++i) {
        if (!videolink::isBusy(p_pVideo)) return;
        PelkorTime(0, kBusyPauseMicroseconds).wait();
    }
}

// The entry with the id, else the first entry; null for an empty table.
const UIFile* findUIFile(const SysConfig& p_stConf, int p_nId)
{
    if (p_stConf.pstUIFile == nullptr || p_stConf.nUIFileSum == 0) return nullptr;
    for (u32 i = 0; i < p_stConf.nUIFileSum; ++i)
        if (p_stConf.pstUIFile[i].nId == p_nId) return &p_stConf.pstUIFile[i];
    return &p_stConf.pstUIFile[0];
}

// An empty table or a null text gives the empty string.
std::string uiText(const SysConfig& p_stConf, int p_nId, char* UIFile::*p_pField)
{
    const UIFile* pEntry = findUIFile(p_stConf, p_nId);
    if (pEntry == nullptr || pEntry->*p_pField == nullptr) return std::string();
    return std::string(pEntry->*p_pField);
}

bool isRangeCapable(int p_nCmd)
{
    for (int nCmd : kRangeCapableCmds)
        if (nCmd == p_nCmd) return true;
    return false;
}

bool isListed(const ia_dynamic_params_cmds_st& p_stList, int p_nCmd)
{
    for (int32_t i = 0; i < p_stList.cmd_cnt && i < IA_DYNAMIC_CMDS_MAX; ++i)
        if (p_stList.cmd_list[i] == p_nCmd) return true;
    return false;
}

void appendRangeText(const ia_dynamic_params_attr_st& p_stAttr, std::string& p_strRange)
{
    const int32_t nItems = p_stAttr.items_cnt < IA_DYNAMIC_ITEMS_MAX ? p_stAttr.items_cnt
                                                                      : IA_DYNAMIC_ITEMS_MAX;
    for (int32_t i = 0; i < nItems; ++i) {
        if (i > 0) p_strRange += " ";
        p_strRange += std::to_string(p_stAttr.item[i]);
    }
}

}  // namespace

std::string ISensorController::getUIStyleFile()
{
    // Waiting before the lock keeps the controller's other operations free meanwhile.
    waitWhileVideoBusy(m_pVideoStreamModule);
    SNS_LOCK_GUARD(m_objMutex);
    std::string strTmp;
    const char* szStyle = m_stSysConf.szUIStyle != nullptr ? m_stSysConf.szUIStyle : "";
    // getDnaStyle, which always succeeds, through the channel's memo.
    m_pMemo->objDnaStyle.build(m_nCameraID, szStyle, atomicGet(m_bShowWDRFalg), &strTmp, nullptr);
    return strTmp;
}

std::string ISensorController::getUICommonFile(int p_nId)
{
    SNS_LOCK_GUARD(m_objMutex);
    return uiText(m_stSysConf, p_nId, &UIFile::szCommon);
}

std::string ISensorController::getUILanguageFile(int p_nId)
{
    SNS_LOCK_GUARD(m_objMutex);
    return uiText(m_stSysConf, p_nId, &UIFile::szLanguage);
}

bool ISensorController::getSensorParamRange(int p_nCmd, int& p_nDefault, std::string& p_strRange)
{
    ia_dynamic_params_cmds_st dnaCmdList;
    memset(&dnaCmdList, 0, sizeof(dnaCmdList));
    const int nListRet = ia_ioctrl_v2(iaChannelOf(m_nCameraID), IA_CMD_DYNAMIC_PARAMS_CMDS_GET,
                                      IA_CMD_OPT_GET, &dnaCmdList);
    SNS_ASSERT(SNS_AT(2464).as(kRangeSignature), SNS_SUCCESS == nListRet,
               "SNS_SUCCESS == ia_ioctrl_v2(m_nCameraID-1, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "
               "IA_CMD_OPT_GET, (void*)(&dnaCmdList))",
               "");
    if (nListRet != SNS_SUCCESS) dnaCmdList.cmd_cnt = 0;
    if (!isRangeCapable(p_nCmd) || !isListed(dnaCmdList, p_nCmd)) return false;

    ia_dynamic_params_attr_st stDynamicParam;
    memset(&stDynamicParam, 0, sizeof(stDynamicParam));
    const int nAttrRet = doIaCmd(p_nCmd, IA_CMD_OPT_GET_PARAM_RNAGE, &stDynamicParam);
    SNS_ASSERT(SNS_AT(2472).as(kRangeSignature), SNS_SUCCESS == nAttrRet,
               "SNS_SUCCESS == doIaCmd(p_nCmd, IA_CMD_OPT_GET_PARAM_RNAGE, (void*)(&stDynamicParam))", "");
    // The record is undefined after a failed query: answer nothing from it.
    if (nAttrRet != SNS_SUCCESS) return false;
    if (stDynamicParam.attr_type != 0) return true;

    p_nDefault = stDynamicParam.default_value;
    appendRangeText(stDynamicParam, p_strRange);
    printf("cmd=%d DefaltParam=%d strParamRange=%s\n", p_nCmd, p_nDefault, p_strRange.c_str());
    return true;
}
