// What the frequent calls cost: no heap allocation per parameter call, one
// existence test per diagnostic site while the control file is absent, and
// the factory defaults read from the dynamic document without a second parse.
#define SNS_SOURCE_FILE "unit"

#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <list>
#include <new>
#include <string>
#include <vector>

#include "IaInterface.h"
#include "IaSim.h"
#include "SensorDebug.h"
#include "SensorKeys.h"
#include "SensorStyle.h"
#include "TestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Counted on the test's own thread only: the controller's sensor thread runs
// beside it.
thread_local bool t_bCounting = false;
thread_local int t_nAllocations = 0;
thread_local int t_nExistenceTests = 0;

template <class Fn>
Fn nextSymbol(const char* p_szName)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, p_szName));
}

struct CallCost {
    int nAllocations;
    int nExistenceTests;
};

template <class Body>
CallCost costOf(Body p_body)
{
    t_nAllocations = 0;
    t_nExistenceTests = 0;
    t_bCounting = true;
    p_body();
    t_bCounting = false;
    return CallCost{t_nAllocations, t_nExistenceTests};
}

}  // namespace

// Every allocation of the library goes through these in this test program.
// Kept out of line: inlined, the compiler would see free() meet a pointer
// from operator new and warn about a mismatch that is none.
__attribute__((noinline)) void* operator new(size_t p_nSize)
{
    if (t_bCounting) ++t_nAllocations;
    if (void* p = malloc(p_nSize == 0 ? 1 : p_nSize)) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept { free(p); }
__attribute__((noinline)) void operator delete(void* p, size_t) noexcept { free(p); }

// The existence test of the base library is one access() call.
extern "C" int access(const char* p_szPath, int p_nMode) noexcept
{
    typedef int (*AccessFn)(const char*, int);
    static const AccessFn s_pReal = nextSymbol<AccessFn>("access");
    if (t_bCounting) ++t_nExistenceTests;
    return s_pReal(p_szPath, p_nMode);
}

// The simulator's own bookkeeping allocates; only the library is measured.
extern "C" int32_t ia_ioctrl_v2(int32_t p_nChannel, int32_t p_nCmd, int32_t p_nOpt, void* p_pData)
{
    typedef int32_t (*IaFn)(int32_t, int32_t, int32_t, void*);
    static const IaFn s_pSim = nextSymbol<IaFn>("ia_ioctrl_v2");
    const bool bCounting = t_bCounting;
    t_bCounting = false;
    const int32_t nRet = s_pSim(p_nChannel, p_nCmd, p_nOpt, p_pData);
    t_bCounting = bCounting;
    return nRet;
}

namespace {

class HotPathTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        // Resolved before anything is counted (dlsym may allocate).
        costOf([] {});
        access("/", F_OK);
        int nVal = 0;
        ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_GET, &nVal);
    }

    void initSampleCamera(ISensorController& p_objCtrl)
    {
        testsupport::copySampleFlash();
        MachineInfo objMachine;
        ASSERT_TRUE(SystemInfoParser::parseMachineInfo("/mnt/mtd/code/factory_setting/machineinfo.ini",
                                                       objMachine));
        std::list<ModuleConfigure> lstModules;
        ASSERT_TRUE(ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml",
                                                 objMachine.getHardwareModel(), objMachine.getHardwareCode(),
                                                 lstModules));
        ASSERT_FALSE(lstModules.empty());
        p_objCtrl.setChannelID(1);
        p_objCtrl.setVideoStreamModule(&m_objVideo);
        CaptureStdout();
        ASSERT_TRUE(p_objCtrl.init(lstModules.front()));
        GetCapturedStdout();
    }

    testsupport::RecordingVideo m_objVideo;
};

TEST_F(HotPathTest, AbsentControlFileCostsOneExistenceTestPerSite)
{
    CaptureStdout();
    const CallCost stSilent = costOf([] { SNS_DBG_AT(1, "%s\n", "dbg"); });
    EXPECT_EQ(0, stSilent.nAllocations);
    EXPECT_EQ(1, stSilent.nExistenceTests);
    const CallCost stLazy = costOf([] { SNS_INFO_LAZY_AT(2, "%s\n", std::string(40, 'x').c_str()); });
    EXPECT_EQ(0, stLazy.nAllocations);  // the message is not even built
    EXPECT_EQ(1, stLazy.nExistenceTests);
    EXPECT_EQ("", GetCapturedStdout());

    // Once printed, the lazy dump is the ordinary one, refreshed once.
    testsupport::writeFlashFile("/tmp/Debug.sign", "7\n");
    CaptureStdout();
    SNS_INFO_AT(3, "%s\n", "dump");
    SNS_INFO_LAZY_AT(3, "%s\n", std::string("dump").c_str());
    const std::string strOut = GetCapturedStdout();
    const std::string strOne = "\033[0m\033[35m[sensor info] file:unit fun:TestBody line:3\ndump\n\033[0m";
    EXPECT_EQ(strOne + strOne, strOut);
}

TEST_F(HotPathTest, ParameterCallsAllocateNothing)
{
    ISensorController objCtrl;
    initSampleCamera(objCtrl);
    CaptureStdout();
    ASSERT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 40, true));  // first output buffers stdout
    int nVal = -1;
    const CallCost stNew = costOf([&] { EXPECT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 41, true)); });
    const CallCost stSame = costOf([&] { EXPECT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 41, true)); });
    const CallCost stGet = costOf([&] { EXPECT_TRUE(objCtrl.getParameter(KEY_BRIGHTNESS, nVal)); });
    GetCapturedStdout();
    EXPECT_EQ(41, nVal);
    EXPECT_EQ(0, stNew.nAllocations);
    EXPECT_EQ(0, stSame.nAllocations);
    EXPECT_EQ(0, stGet.nAllocations);
    // The entry trace and the trace of the handler call; nothing else looks at files.
    EXPECT_EQ(2, stNew.nExistenceTests);
    EXPECT_EQ(1, stSame.nExistenceTests);
    EXPECT_EQ(1, stGet.nExistenceTests);
    objCtrl.uinit();
}

// The factory defaults come from the dynamic document itself; they must be
// what its printed text gives, escaped attribute values included.
TEST_F(HotPathTest, FactoryDataEqualsTheRecordsOfThePrintedDynamicStyle)
{
    iasim::setDynamicCommands({KEY_MAX_SHUTTER, KEY_WB_MODE});
    iasim::setListAttr(KEY_MAX_SHUTTER, 8, {1, 2, 4, 8});
    iasim::setListAttr(KEY_WB_MODE, 2, {0, 2});
    std::string strStyle =
        "<Style><Tab key=\"a&amp;b\" id=\"&#51;4\" value=\" 7\"><P id=\"49\" value=\"4\"><I index=\"1\"/>"
        "<I index=\"3\"/></P><P id=\"768\" value=\"5\"><I index=\"2\"/></P><P id=\"11\" value=\"&#x31;2\"/>"
        "<P id=\"2337\" value=\"&#x2D;1\"/></Tab></Style>";
    CaptureStdout();
    std::vector<KeyVal> vecDirect(16);
    u32 nDirect = 0;
    ASSERT_EQ(0, getFctData(1, &strStyle[0], vecDirect.data(), &nDirect, false, 16));

    std::string strDna;
    ASSERT_EQ(0, getDnaStyle(1, strStyle.c_str(), strDna, false));
    TiXmlDocument objDoc;
    objDoc.Parse(strDna.c_str(), nullptr, TIXML_ENCODING_UTF8);
    std::vector<KeyVal> vecPrinted(16);
    u32 nPrinted = 0;
    ASSERT_EQ(0, style2KeyVal(objDoc.RootElement(), vecPrinted.data(), &nPrinted, 16));
    EXPECT_EQ(std::string::npos, GetCapturedStdout().find("[sensor assert]"));

    ASSERT_EQ(nPrinted, nDirect);
    ASSERT_EQ(4u, nDirect);  // the beaway entry (id 11) is removed
    for (u32 i = 0; i < nDirect; ++i) {
        EXPECT_EQ(vecPrinted[i].key, vecDirect[i].key) << i;
        EXPECT_EQ(vecPrinted[i].value, vecDirect[i].value) << i;
    }
    EXPECT_EQ(34u, vecDirect[0].key);
    EXPECT_EQ(4u, vecDirect[1].value);
    EXPECT_EQ(static_cast<u32>(-1), vecDirect[3].value);
}

}  // namespace
