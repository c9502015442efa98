// What the frequent calls cost: no heap allocation per parameter call, one
// existence test per diagnostic site while the control file is absent, and
// the factory defaults read from the dynamic document without a second parse.
#define SNS_SOURCE_FILE "unit"

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "IaInterface.h"
#include "IaSim.h"
#include "SensorDebug.h"
#include "SensorStyle.h"
#include "TestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// Counted on the test's own thread only: the controller's sensor thread runs
// beside it.
static thread_local bool t_bCounting = false;
static thread_local int t_nAllocations = 0;
static thread_local int t_nExistenceTests = 0;

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
    static const auto s_pReal = reinterpret_cast<int (*)(const char*, int)>(dlsym(RTLD_NEXT, "access"));
    if (t_bCounting) ++t_nExistenceTests;
    return s_pReal(p_szPath, p_nMode);
}

// The simulator's own bookkeeping allocates; only the library is measured.
extern "C" int32_t ia_ioctrl_v2(int32_t p_nChannel, int32_t p_nCmd, int32_t p_nOpt, void* p_pData)
{
    static const auto s_pSim = reinterpret_cast<int32_t (*)(int32_t, int32_t, int32_t, void*)>(
        dlsym(RTLD_NEXT, "ia_ioctrl_v2"));
    const bool bCounting = std::exchange(t_bCounting, false);
    const int32_t nRet = s_pSim(p_nChannel, p_nCmd, p_nOpt, p_pData);
    t_bCounting = bCounting;
    return nRet;
}

namespace {

const char kSampleDetail[] = "(max_scheme=4)(lensId=3)(isInfrared=1)(lightZones=3)(sensor=SIM2M)";

template <class Body>
std::string costOf(Body p_body)
{
    t_nAllocations = t_nExistenceTests = 0;
    t_bCounting = true;
    p_body();
    t_bCounting = false;
    return std::to_string(t_nAllocations) + " allocations, " + std::to_string(t_nExistenceTests) + " existence tests";
}

class HotPathTest : public testsupport::FlashTest {};

TEST_F(HotPathTest, AbsentControlFileCostsOneExistenceTestPerSite)
{
    EXPECT_EQ("0 allocations, 1 existence tests", costOf([] { snsDbg(SNS_AT(1), "%s\n", "dbg"); }));
    // The message of a silent lazy dump is not even built.
    EXPECT_EQ("0 allocations, 1 existence tests",
              costOf([] { snsInfo(SNS_AT(2), [] { return std::string(40, 'x'); }); }));

    // A printed dump builds its text once, after the level test.
    testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "7\n");
    CaptureStdout();
    snsInfo(SNS_AT(3), [] { return std::string("dump\n"); });
    const std::string strOne = "\033[0m\033[35m[sensor info] file:unit fun:TestBody line:3\ndump\n\033[0m";
    EXPECT_EQ(strOne, GetCapturedStdout());
}

TEST_F(HotPathTest, ParameterCallsAllocateNothing)
{
    testsupport::copySampleFlash();
    testsupport::RecordingVideo objVideo;
    ISensorController objCtrl;
    objCtrl.setVideoStreamModule(&objVideo);
    CaptureStdout();
    ASSERT_TRUE(objCtrl.init(testsupport::moduleWithDetail(kSampleDetail)));
    ASSERT_EQ(0, objCtrl.setParameter(KEY_BRIGHTNESS, 40, true));  // the first output buffers stdout
    int nVal = -1;
    // New value: the entry trace and the trace of the handler call; nothing else looks at files.
    EXPECT_EQ("0 allocations, 2 existence tests", costOf([&] { objCtrl.setParameter(KEY_BRIGHTNESS, 41, true); }));
    EXPECT_EQ("0 allocations, 1 existence tests", costOf([&] { objCtrl.setParameter(KEY_BRIGHTNESS, 41, true); }));
    EXPECT_EQ("0 allocations, 1 existence tests", costOf([&] { objCtrl.getParameter(KEY_BRIGHTNESS, nVal); }));
    GetCapturedStdout();
    EXPECT_EQ(41, nVal);
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
    std::vector<KeyVal> vecDirect(16), vecPrinted(16);
    u32 nDirect = 0, nPrinted = 0;
    std::string strDna;
    ASSERT_EQ(0, getFctData(1, &strStyle[0], vecDirect.data(), &nDirect, false, 16));
    ASSERT_EQ(0, getDnaStyle(1, strStyle.c_str(), strDna, false));
    TiXmlDocument objDoc;
    objDoc.Parse(strDna.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_EQ(0, style2KeyVal(objDoc.RootElement(), vecPrinted.data(), &nPrinted, 16));
    EXPECT_EQ(std::string::npos, GetCapturedStdout().find("[sensor assert]"));
    // The beaway entry (id 11) is removed; 768 takes the library's default.
    using testsupport::recordsText;
    EXPECT_EQ("34=7 49=4 768=2 2337=4294967295 ", recordsText(vecDirect.data(), nDirect));
    EXPECT_EQ(recordsText(vecPrinted.data(), nPrinted), recordsText(vecDirect.data(), nDirect));
}

}  // namespace
