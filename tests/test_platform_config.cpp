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

const char MACHINE_INFO[] = "/mnt/mtd/code/factory_setting/machineinfo.ini";
const char MODULE_CONFIG[] = "/hd1/moduleConfig/moduleConfig.xml";

TEST_F(PlatformConfig, MachineInfoSkipsCommentsSectionsAndBlanks)
{
    MachineInfo objInfo;
    EXPECT_EQ(1, objInfo.getDeviceType());
    EXPECT_FALSE(SystemInfoParser::parseMachineInfo(MACHINE_INFO, objInfo));

    writeFlashFile(MACHINE_INFO,
                   "\xEF\xBB\xBF# device_type=99\r\n"
                   "[machine]\r\n"
                   "\r\n"
                   "; hardware_model=WRONG\n"
                   "  hardware_model =  SIM-IPC-2M \n"
                   "hardware_code=A01\n"
                   "device_type = 013\n"
                   "serial=device_type=5\n");
    ASSERT_TRUE(SystemInfoParser::parseMachineInfo(MACHINE_INFO, objInfo));
    EXPECT_EQ(13, objInfo.getDeviceType());
    EXPECT_EQ("SIM-IPC-2M", objInfo.getHardwareModel());
    EXPECT_EQ("A01", objInfo.getHardwareCode());

    // Without a usable device type nothing of the file is taken.
    for (const char* szText :
         {"hardware_model=X\n", "device_type=12abc\nhardware_model=X\n", "device_type=\n"}) {
        writeFlashFile(MACHINE_INFO, szText);
        MachineInfo objOther;
        EXPECT_FALSE(SystemInfoParser::parseMachineInfo(MACHINE_INFO, objOther)) << szText;
        EXPECT_EQ(1, objOther.getDeviceType());
        EXPECT_EQ("", objOther.getHardwareModel());
    }
}

const char MODULE_DOC[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<ModuleConfig>\n"
    "  <Module id=\"1\" hardware_model=\"SIM-IPC-2M\" hardware_code=\"A01\">\n"
    "    <Detail>(max_scheme=4)(lensId=3)</Detail>\n"
    "    <Parameters>(34,50)</Parameters>\n"
    "  </Module>\n"
    "  <Module id=\"2\" hardware_model=\"SIM-IPC-2M\" hardware_code=\"B02\">\n"
    "    <Detail>(max_scheme=2)</Detail>\n"
    "  </Module>\n"
    "  <Module id=\"3\" hardware_model=\"\">\n"
    "    <Parameters>(1,1)</Parameters>\n"
    "  </Module>\n"
    "  <Module hardware_model=\"SIM-IPC-2M\"><Detail>(no id)</Detail></Module>\n"
    "  <Other id=\"4\"/>\n"
    "</ModuleConfig>\n";

std::vector<int> ids(const std::list<ModuleConfigure>& p_lstModules)
{
    std::vector<int> vecIds;
    for (const ModuleConfigure& objModule : p_lstModules) vecIds.push_back(objModule.getModuleId());
    return vecIds;
}

TEST_F(PlatformConfig, ModuleConfigMatchesModelAndCodeInDocumentOrder)
{
    std::list<ModuleConfigure> lstModules;
    EXPECT_FALSE(ModuleConfigureParser::parse(MODULE_CONFIG, "SIM-IPC-2M", "A01", lstModules));
    writeFlashFile(MODULE_CONFIG, MODULE_DOC);

    ASSERT_TRUE(ModuleConfigureParser::parse(MODULE_CONFIG, "SIM-IPC-2M", "A01", lstModules));
    ASSERT_EQ((std::vector<int>{1, 3}), ids(lstModules));
    EXPECT_EQ("(max_scheme=4)(lensId=3)", lstModules.front().getDetail());
    EXPECT_EQ("(34,50)", lstModules.front().getParameters());
    EXPECT_EQ("", lstModules.back().getDetail());
    EXPECT_EQ("(1,1)", lstModules.back().getParameters());

    ASSERT_TRUE(ModuleConfigureParser::parse(MODULE_CONFIG, "SIM-IPC-2M", "B02", lstModules));
    EXPECT_EQ((std::vector<int>{1, 3, 2, 3}), ids(lstModules));  // appended
    EXPECT_EQ("", lstModules.back().getDetail());

    lstModules.clear();
    ASSERT_TRUE(ModuleConfigureParser::parse(MODULE_CONFIG, "OTHER", "A01", lstModules));
    EXPECT_EQ((std::vector<int>{3}), ids(lstModules));

    for (const char* szBad : {"<ModuleConfig><Module id=\"1\"></ModuleConfig>", "", "<Other/>"}) {
        writeFlashFile(MODULE_CONFIG, szBad);
        EXPECT_FALSE(ModuleConfigureParser::parse(MODULE_CONFIG, "", "", lstModules)) << szBad;
        EXPECT_EQ((std::vector<int>{3}), ids(lstModules));
    }
}

TEST_F(PlatformConfig, SplitKeepsEmptyPieces)
{
    std::vector<std::string> vecOut = {"kept"};
    StringHandler::split("a,,b,", vecOut, ",");
    EXPECT_EQ((std::vector<std::string>{"kept", "a", "", "b", ""}), vecOut);

    vecOut.clear();
    StringHandler::split("", vecOut, ",");
    EXPECT_TRUE(vecOut.empty());
    StringHandler::split("whole", vecOut, ",");
    StringHandler::split("x::y", vecOut, "::");
    StringHandler::split("a,b", vecOut, "");
    EXPECT_EQ((std::vector<std::string>{"whole", "x", "y", "a,b"}), vecOut);
}

}  // namespace
