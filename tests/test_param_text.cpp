// Parameter text: the codec, id lists, and the controller's text entry points.
#include <gtest/gtest.h>

#include <algorithm>

#include "HandBuiltController.h"

namespace {

// Parses into a buffer of the given capacity and writes the records back.
std::string roundTrip(const std::string& p_strText, u32 p_nCapacity = 8)
{
    std::vector<KeyVal> vecBuf(p_nCapacity + 1, KeyVal{777, 777});
    u32 nCount = 99;
    keyval_str2st(p_strText, vecBuf.data(), &nCount, p_nCapacity);
    EXPECT_EQ(777u, vecBuf[p_nCapacity].key) << "written beyond the capacity";
    std::string strOut;
    keyval_st2str(strOut, vecBuf.data(), nCount);
    return strOut;
}

}  // namespace

TEST(KeyValText, OddInputs)
{
    std::string strOut = "x";
    const KeyVal astPairs[] = {{34, 50}, {2337, 0xFFFFFFFFu}};
    keyval_st2str(strOut, astPairs, 2);
    EXPECT_EQ("x(34,50)(2337,-1)", strOut);
    EXPECT_EQ("(34,50)(2337,-1)", roundTrip("(34,50)(2337,-1)"));
    EXPECT_EQ("(34,50)(16,1)", roundTrip("abc(34,50) x (16,1)"));
    EXPECT_EQ("(34,50)(35,50)", roundTrip("(34,50)(35,x)"));  // the value that fails keeps the last one
    EXPECT_EQ("(34,50)", roundTrip("(34,50)("));
    EXPECT_EQ("", roundTrip("(34,50"));
    EXPECT_EQ("(34,50)", roundTrip("x)(34,50)"));  // a stray ")" is skipped
    EXPECT_EQ("(1,1)(2,2)", roundTrip("(1,1)(2,2)(3,3)", 2));
}

class ParamTextTest : public HandBuiltControllerTest {};

TEST_F(ParamTextTest, IdLists)
{
    std::vector<std::string> vecPieces = {"first"};
    EXPECT_TRUE(ctrl().parseSensorParameter("(34,2337)", vecPieces));
    EXPECT_EQ((std::vector<std::string>{"first", "34", "2337"}), vecPieces);
    for (const char* szBad : {"", "34,2337", "(34,2337", "(34)(35)", "()", "(34) ", "x(34)", ")"})
        EXPECT_FALSE(ctrl().parseSensorParameter(szBad, vecPieces)) << szBad;

    prepare({{34, 50}});
    iasim::failCommand(2337, -1);
    std::string strOut = "old";
    EXPECT_TRUE(ctrl().getParameters("(34,2337)", strOut));
    EXPECT_EQ("(34,50)", strOut);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ctrl().getParameters("34", strOut));
    EXPECT_EQ("ISensorController1905 getParameters fail p_strIds = 34 \n", testing::internal::GetCapturedStdout());
    EXPECT_EQ("(34,50)", strOut);
}

TEST_F(ParamTextTest, SetParametersInTextOrderWithinTheBuffer)
{
    prepare({{34, 50}, {2337, 128}});
    EXPECT_EQ(0, ctrl().setParameters(std::string("(2337,100)(34,60)"), true));
    EXPECT_EQ((SetList{{2337, 100}, {34, 60}}), sets());
    EXPECT_EQ(60, cached(34));
    // The buffer holds seven records: the eighth and ninth pairs are dropped.
    iasim::clearCalls();
    EXPECT_EQ(0, ctrl().setParameters(std::string("(34,1)(34,2)(34,3)(34,4)(34,5)(34,6)(34,7)(34,8)(34,9)"), false));
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7}), iasim::setValuesOf(34));
}

TEST_F(ParamTextTest, AllParametersWithoutCurrentSchemeIsEmpty)
{
    prepare({{49, 3}});
    testsupport::writeFlashFile("/tmp/merge_style_ch1.xml", "<r><p id=\"49\" value=\"100\"/></r>");
    access().curScheme() = -1;
    std::string strOut = "keep";
    EXPECT_TRUE(ctrl().getAllParameters(strOut));
    EXPECT_EQ("keep", strOut);
    EXPECT_TRUE(iasim::calls().empty());
}

// A real init on the sample camera: the merged style it writes decides, by
// its value of key 49, between the stored scheme file and the corrected row.
class AllParametersTest : public testsupport::FlashTest {
protected:
    void SetUp() override
    {
        FlashTest::SetUp();
        testsupport::copySampleFlash();
        m_pCtrl.reset(new ISensorController());
        m_pCtrl->setChannelID(1);
        m_pCtrl->setVideoStreamModule(&m_objVideo);
        ASSERT_TRUE(m_pCtrl->init(testsupport::moduleWithDetail("(max_scheme=4)(lensId=3)(isInfrared=1)")));
        ASSERT_EQ(0, m_pCtrl->setParameter(34, 60, true));  // unsaved
    }
    void TearDown() override
    {
        m_pCtrl->uinit();
        m_pCtrl.reset();
        FlashTest::TearDown();
    }
    void setStyleShutter(int p_nValue)
    {
        const char szFile[] = "/tmp/merge_style_ch1.xml";
        const std::string strKey = "id=\"49\" value=\"";
        std::string strStyle = testsupport::readFlashFile(szFile);
        const size_t nPos = strStyle.find(strKey) + strKey.size();
        ASSERT_LT(strKey.size(), nPos);
        strStyle.replace(nPos, strStyle.find('"', nPos) - nPos, std::to_string(p_nValue));
        testsupport::writeFlashFile(szFile, strStyle);
    }
    // Whole scheme listed, in row order, window keys first.
    std::string all()
    {
        std::string strOut;
        EXPECT_TRUE(m_pCtrl->getAllParameters(strOut));
        if (strOut.empty()) return strOut;
        EXPECT_EQ(0u, strOut.find("(8000,0)(8001,6)(8002,0)(8003,18)(8004,0)"));
        EXPECT_EQ(SensorControllerTestAccess(*m_pCtrl).keyValSum(),
                  static_cast<u32>(std::count(strOut.begin(), strOut.end(), '(')));
        return strOut;
    }
    testsupport::RecordingVideo m_objVideo;
    std::unique_ptr<ISensorController> m_pCtrl;
};

TEST_F(AllParametersTest, StyleValueUpTo199ReportsTheCorrectedCache)
{
    ASSERT_EQ(0, m_pCtrl->setParameter(KEY_MAX_SHUTTER, 3, true));  // no shutter item: corrected to 2
    std::string strAll = all();
    EXPECT_NE(std::string::npos, strAll.find("(34,60)"));
    EXPECT_NE(std::string::npos, strAll.find("(49,2)"));
    setStyleShutter(199);
    EXPECT_EQ(strAll, all());
}

TEST_F(AllParametersTest, StyleValueFrom200ReportsTheSavedFile)
{
    setStyleShutter(200);
    EXPECT_NE(std::string::npos, all().find("(34,50)"));
    ASSERT_EQ(0, m_pCtrl->flush());
    EXPECT_NE(std::string::npos, all().find("(34,60)"));
    ASSERT_TRUE(m_pCtrl->setParamScheme(4));  // the factory scheme has no file
    EXPECT_EQ("", all());
}
