#include "ChannelSetup.h"

#include <filesystem>
#include <list>

#include <tinyxml.h>

#include "FlashLayout.h"
#include "HostFlash.h"
#include "IaObserver.h"
#include "PlatformSim.h"
#include "SensorKeys.h"
#include "SensorLib.h"
#include "SensorStyle.h"

namespace sensorhost {

namespace {

// Room for the factory set: the controller's capacity for it.
const u32 kFactoryRoom = SNS_KEY_TABLE_CAPACITY;

std::string styleProblem(const char* p_szStyle)
{
    if (p_szStyle == nullptr || p_szStyle[0] == '\0')
        return "the UI style document of this camera is missing or empty";
    TiXmlDocument objDoc;
    objDoc.Parse(p_szStyle, nullptr, TIXML_ENCODING_UTF8);
    if (objDoc.Error())
        return "the UI style document is not valid XML (line " + std::to_string(objDoc.ErrorRow()) +
               ": " + objDoc.ErrorDesc() + ")";
    return "the UI style document lists no parameters";
}

}  // namespace

std::vector<u32> ChannelSetup::factoryKeys() const
{
    std::vector<u32> vecOut;
    for (const KeyVal& stRecord : m_vecFactory) vecOut.push_back(stRecord.key);
    return vecOut;
}

std::string ChannelSetup::schemeFile(int p_nScheme) const
{
    int nCamera = m_nChannel;
    bool bThermal = false;
    channelIdentity(m_nChannel, m_objMachine.getDeviceType(), &nCamera, &bThermal);
    return schemeFilePath(nCamera, p_nScheme, bThermal);
}

std::string readChannelSetup(int p_nChannel, ChannelSetup& p_stOut)
{
    p_stOut.m_nChannel = p_nChannel;
    p_stOut.m_bMachineRead = SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, p_stOut.m_objMachine);
    std::list<ModuleConfigure> lstModules;
    if (!ModuleConfigureParser::parse(SNS_PATH_MODULE_CONFIG, p_stOut.m_objMachine.getHardwareModel(),
                                      p_stOut.m_objMachine.getHardwareCode(), lstModules))
        return std::string("cannot read the module configuration ") + SNS_PATH_MODULE_CONFIG;
    if (lstModules.empty())
        return std::string("no module in ") + SNS_PATH_MODULE_CONFIG + " matches the machine (hardware model '" +
               p_stOut.m_objMachine.getHardwareModel() + "', code '" +
               p_stOut.m_objMachine.getHardwareCode() + "')";
    p_stOut.m_objModule = lstModules.front();
    for (const ModuleConfigure& objModule : lstModules)
        if (objModule.getModuleId() == p_nChannel) {
            p_stOut.m_objModule = objModule;
            break;
        }
    return "";
}

void loadFactorySet(ChannelSetup& p_stSetup)
{
    SysConfig stConf = SysConfig();
    initSysConf(p_stSetup.m_nChannel, p_stSetup.m_objModule, &stConf);
    // As many schemes as a controller keeps of the module's count.
    p_stSetup.m_nSchemeCount = static_cast<int>(keptSchemeSum(stConf.nSchemeSum));
    std::vector<KeyVal> vecFactory(kFactoryRoom);
    u32 nCount = 0;
    if (stConf.szUIStyle != nullptr)
        getFctData(p_stSetup.m_nChannel, stConf.szUIStyle, vecFactory.data(), &nCount, true, kFactoryRoom);
    vecFactory.resize(nCount);
    p_stSetup.m_vecFactory = vecFactory;
    p_stSetup.m_strStyleProblem = nCount == 0 ? styleProblem(stConf.szUIStyle) : "";
    uinitSysConf(&stConf);
}

std::vector<u32> factoryKeysOf(const std::string& p_strRoot, int p_nChannel, std::string& p_strWhy)
{
    const std::string strScratch = makeScratchDir("sensorhost");
    if (strScratch.empty()) {
        p_strWhy = "no scratch folder for the factory set";
        return {};
    }
    const std::string strSavedRoot = platformsim::flashRoot();
    p_strWhy = copyTree(p_strRoot, strScratch + "/flash");
    ChannelSetup stSetup;
    if (p_strWhy.empty()) {
        platformsim::setFlashRoot(strScratch + "/flash");
        iaObserver().restart();
        p_strWhy = readChannelSetup(p_nChannel, stSetup);
        if (p_strWhy.empty()) loadFactorySet(stSetup);
        if (p_strWhy.empty()) p_strWhy = stSetup.m_strStyleProblem;
        platformsim::setFlashRoot(strSavedRoot);
    }
    std::error_code ec;
    std::filesystem::remove_all(strScratch, ec);
    return stSetup.factoryKeys();
}

}  // namespace sensorhost
