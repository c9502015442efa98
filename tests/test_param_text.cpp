// Parameter text: the codec, id lists, and the controller's text entry points.
#include <algorithm>

#include "ControllerFixtures.h"

// Parses into a buffer of the given capacity and writes the records back.
std::string roundTrip(const std::string& p_strText, u32 p_nCapacity = 8)
{
    std::vector<KeyVal> vecBuf(p_nCapacity + 1, KeyVal{777, 777});
    u32 nCount = 99;
    keyval_str2st(p_strText, vecBuf.data(), &nCount, p_nCapacity);
    EXPECT_EQ(777u, vecBuf[p_nCapacity].key) << "written beyond the capacity";
    std::string strOut = "x";
    keyval_st2str(strOut, vecBuf.data(), nCount);
    return strOut;
}

TEST(KeyValText, OddInputs)
{
    EXPECT_EQ("x(34,50)(2337,-1)", roundTrip("(34,50)(2337,-1)"));
    EXPECT_EQ("x(34,50)(16,1)", roundTrip("abc(34,50) x (16,1)"));
    EXPECT_EQ("x(34,50)(35,50)", roundTrip("(34,50)(35,x)"));  // the value that fails keeps the last one
    EXPECT_EQ("x(34,50)", roundTrip("(34,50)("));
    EXPECT_EQ("x", roundTrip("(34,50"));
    EXPECT_EQ("x(34,50)", roundTrip("x)(34,50)"));  // a stray ")" is skipped
    EXPECT_EQ("x(1,1)(2,2)", roundTrip("(1,1)(2,2)(3,3)", 2));
}

using ParamTextTest = StillControllerTest;

TEST_F(ParamTextTest, IdListsAndSettingFromText)
{
    std::vector<std::string> vecPieces = {"first"};
    EXPECT_TRUE(ctrl().parseSensorParameter("(34,2337)", vecPieces));
    EXPECT_EQ((V{"first", "34", "2337"}), vecPieces);
    for (const char* szBad : {"", "34,2337", "(34,2337", "(34)(35)", "()", "(34) ", "x(34)", ")"})
        EXPECT_FALSE(ctrl().parseSensorParameter(szBad, vecPieces)) << szBad;
    iasim::failCommand(2353, -1);  // not in the row, and unreadable: left out
    std::string strOut = "old";
    EXPECT_TRUE(ctrl().getParameters("(2353,34)", strOut));
    EXPECT_EQ("(34,50)", strOut);
    EXPECT_EQ("ISensorController1905 getParameters fail p_strIds = 34 \n",
              output([&] { EXPECT_FALSE(ctrl().getParameters("34", strOut)); }));

    EXPECT_EQ(0, ctrl().setParameters(std::string("(2337,100)(34,60)"), true));
    EXPECT_EQ((V{"ia1 2353=0", "ia 2337=100", "ia 34=60"}), timeline());
    EXPECT_EQ(60, cached(KEY_BRIGHTNESS));
    // The scratch buffer holds one row of records: further pairs are dropped.
    std::string strText;
    for (size_t i = 1; i <= kSmallStyleRecords + 2; ++i) strText += "(34," + std::to_string(i) + ")";
    EXPECT_EQ(0, ctrl().setParameters(strText, false));
    EXPECT_EQ(kSmallStyleRecords, timeline().size());
    EXPECT_EQ(60, cached(KEY_BRIGHTNESS));
}

// The merged style that init wrote decides by its value of key 49 between
// the stored scheme file and the corrected row.
TEST_F(ParamTextTest, AllParametersFromTheCorrectedRowOrTheFile)
{
    auto all = [this] {
        std::string strOut;
        EXPECT_TRUE(ctrl().getAllParameters(strOut));
        return strOut;
    };
    auto styleShutter = [](int p_nValue) {
        const std::string strValue = std::to_string(p_nValue);
        testsupport::writeFlashFile(mergedStylePath(1), "<r><p id=\"49\" value=\"" + strValue + "\"/></r>");
    };
    const std::string strWindow = "(8000,0)(8001,0)(8002,0)(8003,24)(8004,0)";
    ASSERT_EQ(0, set(KEY_BRIGHTNESS, 60));
    ASSERT_EQ(0, set(KEY_MAX_SHUTTER, 3));  // not an item: corrected to 2
    const std::string strAll = all();
    EXPECT_EQ(0u, strAll.find(strWindow + "(34,60)(2337,60)(144,2)(49,2)"));
    EXPECT_EQ(kSmallStyleRecords, size_t(std::count(strAll.begin(), strAll.end(), '(')));
    styleShutter(199);
    EXPECT_EQ(strAll, all());
    styleShutter(200);
    EXPECT_EQ(0u, all().find(strWindow + "(34,50)"));
    ASSERT_EQ(0, ctrl().flush());
    EXPECT_EQ(0u, all().find(strWindow + "(34,60)"));
    ASSERT_TRUE(ctrl().setParamScheme(4));  // the factory scheme has no file
    EXPECT_EQ("", all());
    styleShutter(100);
    ISensorController objFresh;  // nor is there a row without a current scheme
    std::string strFresh = "x";
    EXPECT_TRUE(objFresh.getAllParameters(strFresh));
    EXPECT_EQ("x", strFresh);
}
