// Module detail fields and the merge of the style diversity document.
#include <stdlib.h>
#include <string.h>

#include <string>

#include "SensorLib.h"
#include "SensorStyle.h"
#include "TestSupport.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(DetailField, SubstringSearchAndUntouchedOutputOnFailure)
{
    u32 nVal = 99;
    EXPECT_EQ(0, getDetailFieldTou32("(lensId=3)(max_schemes=6)(max_scheme=2)", "max_scheme", &nVal));
    EXPECT_EQ(6u, nVal);  // the first occurrence, inside a longer name
    EXPECT_EQ(0, getDetailFieldTou32("(max_scheme=abc)", "max_scheme", &nVal));
    EXPECT_EQ(0u, nVal);
    nVal = 5;
    EXPECT_EQ(-1, getDetailFieldTou32("(max_scheme)", "max_scheme", &nVal));
    EXPECT_EQ(-1, getDetailFieldTou32("(max_scheme=5", "max_scheme", &nVal));
    EXPECT_EQ(5u, nVal);

    char szVal[12];
    memset(szVal, '#', sizeof(szVal));
    szVal[9] = '\0';
    EXPECT_EQ(0, getDetailFieldToStr("(sensor=ABCDEFGHIJKL)", "sensor", szVal));
    EXPECT_STREQ("ABCDEFGHI", szVal);  // cut to 9
    EXPECT_EQ('#', szVal[10]);
}

const char kStyle[] =
    "<Style><Tab key=\"A\"><P id=\"1\" value=\"1\"/></Tab><Tab key=\"B\"><P id=\"2\" value=\"2\"/></Tab>"
    "<Tab key=\"B\"><P id=\"3\" value=\"3\"/></Tab><Tab><P id=\"4\" value=\"4\"/></Tab></Style>";

class StyleMergeTest : public testsupport::FlashTest {
protected:
    void TearDown() override
    {
        free(m_szStyle);
        FlashTest::TearDown();
    }
    // Merges on channel 1 and lists the ids of the result in document order.
    std::string mergedIds(const char* p_szDetail, std::string p_strDiv, const char* p_szStyle = kStyle)
    {
        ModuleConfig stModule = {};
        strncpy(stModule.szDetail, p_szDetail, sizeof(stModule.szDetail) - 1);
        free(m_szStyle);
        m_szStyle = p_szStyle != nullptr ? strdup(p_szStyle) : nullptr;
        EXPECT_EQ(0, mergeStyle(1, &stModule, &m_szStyle, &p_strDiv[0]));
        const std::string strStyle = m_szStyle;
        std::string strIds;
        for (size_t nPos = strStyle.find("id=\""); nPos != std::string::npos;
             nPos = strStyle.find("id=\"", nPos + 1))
            strIds += strStyle.substr(nPos + 4, strStyle.find('"', nPos + 4) - nPos - 4) + " ";
        return strIds;
    }
    char* m_szStyle = nullptr;
};

TEST_F(StyleMergeTest, ConditionsMatchOnFiveCharactersAndAnyAttribute)
{
    const char* szDelete = "<V lens=\"A1234,B5678\"><Delete tab_key=\"A\"/></V>";
    EXPECT_EQ("2 3 4 ", mergedIds("(lens=B5678)", szDelete));
    EXPECT_EQ("2 3 4 ", mergedIds("(lens=B56789)", szDelete));
    EXPECT_EQ("1 2 3 4 ", mergedIds("(lens=B567)", szDelete));
    EXPECT_EQ("1 2 3 4 ", mergedIds("(ir=1)", szDelete));
    // Variants apply in document order; one matching attribute is enough.
    EXPECT_EQ("1 8 2 3 4 ",
              mergedIds("(ir=1)",
                        "<V missing=\"1\" ir=\"0,1\"><AddAfter tab_key=\"A\"><Tab key=\"N\">"
                        "<P id=\"9\" value=\"9\"/></Tab></AddAfter></V><V ir=\"1\"><Modify tab_key=\"N\">"
                        "<Tab key=\"N\"><P id=\"8\" value=\"8\"/></Tab></Modify></V>"
                        "<V ir=\"2\"><Delete tab_key=\"A\"/></V>"));
}

TEST_F(StyleMergeTest, OperationsEditOnlyTheFirstTabWithTheKey)
{
    const std::string strNew = "<Tab key=\"B\"><P id=\"7\" value=\"7\"/></Tab>";
    EXPECT_EQ("1 7 3 4 ", mergedIds("(m=1)", "<V m=\"1\"><Modify tab_key=\"B\">" + strNew + "</Modify></V>"));
    EXPECT_EQ("1 2 7 3 4 ",
              mergedIds("(m=1)", "<V m=\"1\"><AddAfter tab_key=\"B\">" + strNew + "</AddAfter></V>"));
    EXPECT_EQ("1 3 4 ", mergedIds("(m=1)", "<V m=\"1\"><Delete tab_key=\"B\"/></V>"));
    // Unknown operation, no tab_key, no replacement tab, unknown tab: no edit.
    EXPECT_EQ("1 2 3 4 ", mergedIds("(m=1)",
                                    "<V m=\"1\"><Rename tab_key=\"A\"><Tab key=\"X\"/></Rename><Delete/>"
                                    "<Modify tab_key=\"A\"/><AddAfter tab_key=\"B\"/>"
                                    "<Delete tab_key=\"Z\"/></V>"));
    EXPECT_EQ(testsupport::readFlashFile(mergedStylePath(1)), m_szStyle);
}

TEST_F(StyleMergeTest, BrokenDocumentsAreReportedAndNeverHalfApplied)
{
    const char* szDelete = "<V m=\"1\"><Delete tab_key=\"A\"/></V>";
    CaptureStdout();
    EXPECT_EQ("", mergedIds("(m=1)", szDelete, "<Style><Tab key=\"A\">"));
    EXPECT_STREQ("", m_szStyle);
    EXPECT_EQ("", mergedIds("(m=1)", szDelete, "<?xml version=\"1.0\" ?>"));  // no root: an empty style
    EXPECT_EQ("", mergedIds("(m=1)", szDelete, nullptr));
    EXPECT_EQ("1 2 3 4 ", mergedIds("(m=1)", "<V m=\"1\"><Delete tab_key=\"A\"/><Delete tab_key="));
    EXPECT_EQ("1 2 3 4 ", mergedIds("(m=1)", "<V m=\"1\"></V>"));
    EXPECT_EQ("", mergedIds("(m=1)", szDelete, "<Style/>"));
    const std::string strOut = GetCapturedStdout();
    // The merge's helpers report as the merge; updateStyleTab as itself.
    for (const char* szLine : {"fun:mergeStyle line:139\n", "fun:mergeStyle line:140\n", "fun:mergeStyle line:142\n",
                               "fun:mergeStyle line:182\n", "fun:updateStyleTab line:105\n",
                               "fun:mergeStyle line:209\n"})
        EXPECT_NE(std::string::npos, strOut.find(std::string("file:SensorFile ") + szLine)) << szLine;

    testsupport::writeFlashFile("/tmp/Debug.sign", "6\n");
    CaptureStdout();
    mergedIds("(m=1)", "<V x=\"1\" m=\"1\"><Delete tab_key=\"A\"/></V>");
    const std::string strTraces = GetCapturedStdout();
    for (const char* szLine : {"line:148\n", "line:173\n", "line:181\n", "line:185\n", "line:190\n"})
        EXPECT_NE(std::string::npos, strTraces.find(std::string("file:SensorFile fun:mergeStyle ") + szLine)) << szLine;

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testsupport::writeFlashFile("/tmp/Debug.sign", "0\n1\n");
    EXPECT_DEATH(mergedIds("(m=1)", "<V m=\"1\"></V>"), "int mergeStyle\\(int, ModuleConfig\\*, char\\*\\*, char\\*\\)");
}

}  // namespace
