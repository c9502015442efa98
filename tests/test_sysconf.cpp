// System configuration: scheme count, device type, the choice of style
// documents by device type and channel, and the sample camera's flash tree.
#include <list>
#include <map>
#include <string>
#include <vector>

#include "MachineInfo.h"
#include "ModuleConfigure.h"
#include "SensorLib.h"
#include "SensorStyle.h"
#include "TestSupport.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using testsupport::moduleWithDetail;
using testsupport::writeFlashFile;

class SysConfTest : public testsupport::FlashTest {
protected:
    void TearDown() override
    {
        uinitSysConf(&m_stConf);
        FlashTest::TearDown();
    }
    // Each family's style has one tab that its own diversity document
    // renames to the family name, so the result names both files read.
    std::string familyFor(int p_nChannel, int p_nType)
    {
        for (const std::string strFamily : {"", "_dome", "_Thermal"}) {
            writeFlashFile(SNS_PATH_STYLE_DIR "Style" + strFamily + ".xml",
                           "<S><T key=\"" + strFamily + "\"/></S>");
            writeFlashFile(
                SNS_PATH_DIVERSITY_DIR "StyleDiversity" + strFamily + ".xml",
                "<V m=\"1\"><Modify tab_key=\"" + strFamily + "\"><T key=\"is" + strFamily +
                    "\"/></Modify></V>");
        }
        writeFlashFile(SNS_PATH_MACHINE_INFO,
                       "device_type=" + std::to_string(p_nType));
        uinitSysConf(&m_stConf);
        EXPECT_EQ(0, initSysConf(p_nChannel, moduleWithDetail("(m=1)"), &m_stConf));
        const std::string strStyle = m_stConf.szUIStyle;
        const size_t nPos = strStyle.find("key=\"is");
        return nPos == std::string::npos ? "?"
                                         : strStyle.substr(nPos + 7, strStyle.find('"', nPos + 7) - nPos - 7);
    }
    SysConfig m_stConf = {};
};

TEST_F(SysConfTest, DocumentsFollowDeviceTypeAndChannel)
{
    const struct {
        int nChannel, nType;
        const char* szFamily;
    } arrCases[] = {{1, 1, ""},          {1, 4, "_dome"},  {1, 13, ""}, {2, 13, "_Thermal"},
                    {2, 19, "_Thermal"}, {1, 19, "_dome"}, {2, 16, ""}, {1, 104, "_dome"}, {3, 13, ""}};
    for (const auto& stCase : arrCases)
        EXPECT_EQ(stCase.szFamily, familyFor(stCase.nChannel, stCase.nType))
            << stCase.nChannel << "/" << stCase.nType;
    CaptureStdout();
    EXPECT_EQ("_dome", familyFor(2, 2));  // an unknown type is reported and takes the dome documents
    const std::string strOut = GetCapturedStdout();
    for (const char* szPart : {"line:57\nDeviceType::IPCAMERA == p_stSysConf->nDeviceType || "
                               "DeviceType::FACE_DETECT == p_stSysConf->nDeviceType || ",
                               "DeviceType::DOMECORE_THERMAL_DEVICE == p_stSysConf->nDeviceType   ~~~Assertion failed.",
                               "p_stSysConf->nDeviceType(2)\n"})
        EXPECT_NE(std::string::npos, strOut.find(szPart)) << szPart;
}

TEST_F(SysConfTest, CopiesTheModuleAndReadsTheSchemeCount)
{
    ModuleConfigure objModule = moduleWithDetail("(lensId=3)(max_scheme=6)");
    objModule.setParameters("(34,50)");
    CaptureStdout();
    EXPECT_EQ(0, initSysConf(1, objModule, &m_stConf));
    const std::string strOut = GetCapturedStdout();  // no machine information, no documents
    for (const char* szLine : {"line:39\n", "line:87\n", "line:116\n"})
        EXPECT_NE(std::string::npos, strOut.find(szLine)) << szLine;
    EXPECT_STREQ("", m_stConf.szUIStyle);
    EXPECT_EQ(6u, m_stConf.nSchemeSum);
    EXPECT_STREQ("(34,50)", m_stConf.moduleConfig.szParameters);
    EXPECT_STREQ("xxx", m_stConf.moduleConfig.szReserved2);

    uinitSysConf(&m_stConf);
    CaptureStdout();
    EXPECT_EQ(0, initSysConf(1, moduleWithDetail(std::string(600, 'd')), &m_stConf));
    const std::string strCut = GetCapturedStdout();
    EXPECT_NE(std::string::npos, strCut.find("file:sensor fun:initSysConf line:")) << strCut;
    EXPECT_NE(std::string::npos, strCut.find("detail cut to 511 characters"));
    EXPECT_EQ(4u, m_stConf.nSchemeSum);
}

// The camera as shipped loads its own flash tree without a single report.
TEST_F(SysConfTest, SampleFlashLoadsIntoFactoryRecords)
{
    testsupport::copySampleFlash();
    MachineInfo objInfo;
    ASSERT_TRUE(SystemInfoParser::parseMachineInfo(SNS_PATH_MACHINE_INFO, objInfo));
    std::list<ModuleConfigure> lstModules;
    ASSERT_TRUE(ModuleConfigureParser::parse(SNS_PATH_MODULE_CONFIG, objInfo.getHardwareModel(),
                                             objInfo.getHardwareCode(), lstModules));
    ASSERT_EQ(1u, lstModules.size());

    std::vector<KeyVal> vecFct(160);
    u32 nCount = 0;
    CaptureStdout();
    EXPECT_EQ(0, initSysConf(1, lstModules.front(), &m_stConf));
    EXPECT_EQ(0, getFctData(1, m_stConf.szUIStyle, vecFct.data(), &nCount, true, 156));
    EXPECT_EQ(std::string::npos, GetCapturedStdout().find("[sensor assert]"));
    EXPECT_FALSE(testsupport::flashFileExists(SNS_PATH_ERROR_LOG));

    ASSERT_GE(nCount, 100u);
    std::map<u32, u32> mapFct;
    for (u32 i = 0; i < nCount; ++i) mapFct[vecFct[i].key] = vecFct[i].value;
    EXPECT_EQ(nCount, mapFct.size()) << "a key occurs twice";
    for (u32 i = 0; i < 5; ++i) EXPECT_EQ(8000 + i, vecFct[i].key);
    EXPECT_EQ(25u, mapFct[49]);                          // style 100: the library's default
    EXPECT_EQ(150u, mapFct[1537]);                       // one of the library's items
    EXPECT_EQ(50u, mapFct[202]);                         // added by the sample's diversity document
    EXPECT_EQ(0u, mapFct.count(10) + mapFct.count(11));  // both flags set
}

}  // namespace
