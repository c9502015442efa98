#include "Session.h"

#include <stdio.h>

#include <filesystem>
#include <list>

#include "FlashDir.h"
#include "IaSim.h"
#include "KeyArgs.h"
#include "PlatformSim.h"
#include "SensorLib.h"
#include "ToolCommon.h"

namespace {

// The module meant for this channel: the one whose id is the channel number,
// else the first that matches the machine (as the library's factory reset takes it).
const ModuleConfigure& moduleForChannel(const std::list<ModuleConfigure>& p_lstModules,
                                        int p_nChannel)
{
    for (const ModuleConfigure& objModule : p_lstModules)
        if (objModule.getModuleId() == p_nChannel) return objModule;
    return p_lstModules.front();
}

}  // namespace

int ToolVideo::notifySensorParam(int channel, int key, int value) const
{
    ++m_nNotes;
    if (!m_bEcho.load()) return 0;
    toolPrint("video: channel %d key %d (%s) value %d\n", channel, key,
              keyName(static_cast<u32>(key)).c_str(), value);
    return 0;
}

bool ToolVideo::isBusy() const
{
    return false;
}

// One main stream: the PC has no encoder whose limits would hide options.
void ToolVideo::getStreamList(std::vector<AVStreamParam>& streams) const
{
    AVStreamParam objMain;
    objMain.setVideoEncoderType(0);
    objMain.setVideoHeight(1080);
    streams.assign(1, objMain);
}

void ToolVideo::getLimitedFramesWDRModeParam(int, LimitedFramesWDRModeParam& param) const
{
    param = LimitedFramesWDRModeParam();
}

Session::Session(const ToolOptions& p_stOptions) : m_stOptions(p_stOptions) {}

Session::~Session()
{
    close();
}

std::string Session::open()
{
    std::string strError = prepareFlashDir(m_stOptions.m_strFlashDir, m_bCreatedFromSample);
    if (!strError.empty()) return strError;
    m_strFlashDir =
        std::filesystem::absolute(m_stOptions.m_strFlashDir).lexically_normal().string();
    platformsim::setFlashRoot(m_strFlashDir);
    warnDamagedFiles();
    strError = readModuleConfigure();
    if (!strError.empty()) return strError;

    // The simulated sensor starts from its default profile (dynamic ranges, version text).
    iasim::reset();
    m_pController = std::make_unique<ISensorController>();
    m_pController->setChannelID(m_stOptions.m_nChannel);
    m_pController->setVideoStreamModule(&m_objVideo);
    // init applies every value of the scheme; its notifications would bury
    // the command's answer.
    m_objVideo.setEcho(false);
    m_pController->init(m_objModule);
    m_objVideo.setEcho(true);
    m_bOpen = true;
    if (!m_pController->getSensorStatus()) return "the controller did not come up (init failed)";
    return "";
}

void Session::close()
{
    if (!m_bOpen) return;
    m_bOpen = false;
    m_pController->uinit();
}

std::string Session::readModuleConfigure()
{
    if (!SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, m_objMachineInfo))
        toolNote("no machine information in %s; only modules without hardware model and code match",
                 SNS_PATH_MACHINE_INFO);
    std::list<ModuleConfigure> lstModules;
    if (!ModuleConfigureParser::parse(SNS_PATH_MODULE_CONFIG, m_objMachineInfo.getHardwareModel(),
                                      m_objMachineInfo.getHardwareCode(), lstModules))
        return formatText("cannot read the module configuration %s%s", m_strFlashDir.c_str(),
                          SNS_PATH_MODULE_CONFIG);
    if (lstModules.empty())
        return formatText("no module in %s%s matches the machine (hardware model '%s', code '%s')",
                          m_strFlashDir.c_str(), SNS_PATH_MODULE_CONFIG,
                          m_objMachineInfo.getHardwareModel().c_str(),
                          m_objMachineInfo.getHardwareCode().c_str());
    m_objModule = moduleForChannel(lstModules, m_stOptions.m_nChannel);
    m_nSchemeCount = static_cast<int>(schemeSumOf(m_objModule.getDetail().c_str()));
    return "";
}

// The library reads such a file short and goes on with what it got; say so first.
void Session::warnDamagedFiles() const
{
    for (const std::string& strFile : damagedParameterFiles(m_strFlashDir))
        toolError(
            "warning: damaged parameter file %s: its size is not a multiple of 8 bytes; the "
            "library will report it and keep what it can read (`sensorctl decode` shows it)",
            strFile.c_str());
}
