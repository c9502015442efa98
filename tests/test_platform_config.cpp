// Machine information, module configuration document and text splitting.
#include <list>
#include <string>
#include <vector>

#include "MachineInfo.h"
#include "ModuleConfigure.h"
#include "StringHandler.h"
#include "TestSupport.h"

namespace {

using testsupport::writeFlashFile;

class PlatformConfig : public testsupport::FlashTest {};

const char kMachineInfo[] = SNS_PATH_MACHINE_INFO;
const char kModuleConfig[] = SNS_PATH_MODULE_CONFIG;

TEST_F(PlatformConfig, MachineInfoSkipsCommentsSectionsAndBlanks)
{
    MachineInfo objInfo;
    EXPECT_FALSE(SystemInfoParser::parseMachineInfo(kMachineInfo, objInfo));
    EXPECT_EQ(1, objInfo.getDeviceType());
    writeFlashFile(
        kMachineInfo,
        "\xEF\xBB\xBFhardware_code=A01\r\n# device_type=99\r\n[machine]\r\n\r\n; hardware_model=WRONG\n"
        "  hardware_model =  SIM-IPC-2M \ndevice_type = 013\nserial=device_type=5\n");
    ASSERT_TRUE(SystemInfoParser::parseMachineInfo(kMachineInfo, objInfo));
    EXPECT_EQ("13 SIM-IPC-2M A01", std::to_string(objInfo.getDeviceType()) + " " + objInfo.getHardwareModel() + " " +
                                       objInfo.getHardwareCode());

    // Without a usable device type nothing of the file is taken.
    for (const char* szText : {"hardware_model=X\n", "device_type=12abc\nhardware_model=X\n"}) {
        writeFlashFile(kMachineInfo, szText);
        MachineInfo objOther;
        EXPECT_FALSE(SystemInfoParser::parseMachineInfo(kMachineInfo, objOther) || objOther.getHardwareModel() != "")
            << szText;
    }
}

// "id:detail:parameters " of every module, in list order.
std::string summary(const std::list<ModuleConfigure>& p_lstModules)
{
    std::string strOut;
    for (const ModuleConfigure& objModule : p_lstModules)
        strOut += std::to_string(objModule.getModuleId()) + ":" + objModule.getDetail() + ":" +
                  objModule.getParameters() + " ";
    return strOut;
}

TEST_F(PlatformConfig, ModuleConfigAppendsMatchesInDocumentOrder)
{
    std::list<ModuleConfigure> lstModules;
    EXPECT_FALSE(ModuleConfigureParser::parse(kModuleConfig, "SIM-IPC-2M", "A01", lstModules));
    writeFlashFile(kModuleConfig,
                   "<ModuleConfig><Module id=\"1\" hardware_model=\"SIM-IPC-2M\" hardware_code=\"A01\">"
                   "<Detail>(max_scheme=4)</Detail><Parameters>(34,50)</Parameters></Module>"
                   "<Module id=\"2\" hardware_model=\"SIM-IPC-2M\" hardware_code=\"B02\"/>"
                   "<Module id=\"3\" hardware_model=\"\"><Parameters>(1,1)</Parameters></Module>"
                   "<Module hardware_model=\"SIM-IPC-2M\"><Detail>(no id)</Detail></Module><Other id=\"4\"/>"
                   "</ModuleConfig>");
    ASSERT_TRUE(ModuleConfigureParser::parse(kModuleConfig, "SIM-IPC-2M", "A01", lstModules));
    ASSERT_TRUE(ModuleConfigureParser::parse(kModuleConfig, "SIM-IPC-2M", "B02", lstModules));
    EXPECT_EQ("1:(max_scheme=4):(34,50) 3::(1,1) 2:: 3::(1,1) ", summary(lstModules));
    lstModules.clear();
    for (const char* szBad : {"<ModuleConfig><Module id=\"1\"></ModuleConfig>", "", "<Other/>"}) {
        writeFlashFile(kModuleConfig, szBad);
        EXPECT_FALSE(ModuleConfigureParser::parse(kModuleConfig, "", "", lstModules)) << szBad;
    }
    EXPECT_EQ("", summary(lstModules));
}

TEST_F(PlatformConfig, SplitAppendsAndKeepsEmptyPieces)
{
    std::vector<std::string> vecOut = {"kept"};
    StringHandler::split("a,,b,", vecOut, ",");
    StringHandler::split("", vecOut, ",");
    EXPECT_EQ((std::vector<std::string>{"kept", "a", "", "b", ""}), vecOut);
}

}  // namespace
