// Work the controller does not repeat: a kept merge or dynamic style must
// give the same texts, files, reports and image-algorithm calls as doing the
// work anew; key lookups must find the first record also in rows that do not
// follow the factory order.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ControllerFixtures.h"
#include "SensorStyle.h"
#include "SensorFile/StyleMemo.h"

namespace {

// Everything a run leaves behind that someone could look at.
struct Trace {
    std::string strResult;
    std::string strOut;
    std::string strCalls;
    bool operator==(const Trace& o) const { return strResult == o.strResult && strOut == o.strOut && strCalls == o.strCalls; }
};

std::ostream& operator<<(std::ostream& p_os, const Trace& p_stTrace)
{
    return p_os << p_stTrace.strResult << "\n--- out ---\n" << p_stTrace.strOut << "\n--- calls ---\n" << p_stTrace.strCalls;
}

std::string savedByTinyXml(const std::string& p_strText, const std::string& p_strPath)
{
    TiXmlDocument objDoc;
    objDoc.Parse(p_strText.c_str(), nullptr, TIXML_ENCODING_UTF8);
    objDoc.SaveFile(p_strPath.c_str());
    std::ifstream objIn(p_strPath);
    std::stringstream objText;
    objText << objIn.rdbuf();
    return objText.str();
}

class RepeatedWorkTest : public InitFixture {
protected:
    // Every report is printed.
    static void printAll() { testsupport::writeFlashFile(SNS_PATH_DEBUG_SIGN, "7\n0\n"); }
    static Trace traced(const std::function<std::string()>& p_fnRun)
    {
        iasim::clearCalls();
        Trace stTrace;
        stTrace.strOut = output([&] { stTrace.strResult = p_fnRun(); });
        for (const iasim::IaCall& stCall : iasim::calls())
            stTrace.strCalls += std::to_string(stCall.cmd) + "/" + std::to_string(stCall.opt) + " ";
        return stTrace;
    }
    Trace merge(const std::string& p_strStyle, std::string p_strDiv, const char* p_szDetail, DnaStyleMemo* p_pMemo)
    {
        return traced([&] {
            ModuleConfig stModule = {};
            strncpy(stModule.szDetail, p_szDetail, sizeof(stModule.szDetail) - 1);
            char* szStyle = strdup(p_strStyle.c_str());
            mergeStyle(1, &stModule, &szStyle, &p_strDiv[0], p_pMemo);
            const std::string strOut = std::string(szStyle) + "|" + testsupport::readFlashFile(mergedStylePath(1));
            free(szStyle);
            return strOut;
        });
    }
};

// Text beside elements and CDATA print differently through TinyXML's printer
// and its SaveFile; the merged file is SaveFile's text, also with a byte order mark.
TEST_F(RepeatedWorkTest, KeptMergeGivesTheSameTextFileAndReports)
{
    const std::string strStyle =
        "<Style><Tab key=\"A\">mixed<P id=\"1\" value=\"1\"/>tail<![CDATA[ <raw> ]]></Tab>"
        "<Tab key=\"B\"><P id=\"2\" value=\"2\"/></Tab></Style>";
    const std::string strDiv = "<V m=\"1\"><Delete tab_key=\"B\"/></V><V m=\"9\"/><V m=\"1\"></V>";
    printAll();
    DnaStyleMemo objMemo;
    const Trace stFirst = merge(strStyle, strDiv, "(m=1)", &objMemo);
    EXPECT_TRUE(objMemo.isMergeOf(strStyle.c_str(), strDiv.c_str(), "(m=1)"));
    expectParts(stFirst.strOut, {"line:148", "line:173", "line:181", "line:182", "line:190", "[sensor info]"});
    EXPECT_EQ(stFirst, merge(strStyle, strDiv, "(m=1)", &objMemo));
    EXPECT_EQ(stFirst, merge(strStyle, strDiv, "(m=1)", nullptr));
    const std::string strSaved = savedByTinyXml(strStyle, m_strRoot + "/saved.xml");
    EXPECT_NE(std::string::npos, stFirst.strResult.find("mixed"));
    EXPECT_EQ(stFirst.strResult.substr(stFirst.strResult.find('|') + 1),
              savedByTinyXml("<Style><Tab key=\"A\">mixed<P id=\"1\" value=\"1\"/>tail<![CDATA[ <raw> ]]></Tab></Style>",
                             m_strRoot + "/saved.xml"));
    // Other details: the edit is not applied, and the memo follows.
    const Trace stOther = merge(strStyle, strDiv, "(m=2)", &objMemo);
    EXPECT_EQ(merge(strStyle, strDiv, "(m=2)", nullptr), stOther);
    EXPECT_EQ(strSaved + "|" + strSaved, stOther.strResult);
    const std::string strBom = "\xEF\xBB\xBF<S><T key=\"A\"/></S>";
    EXPECT_EQ(savedByTinyXml(strBom, m_strRoot + "/saved.xml") + "|" + savedByTinyXml(strBom, m_strRoot + "/saved.xml"),
              merge(strBom, "<V/>", "", &objMemo).strResult);
}

// The kept dynamic style answers like getDnaStyle whatever changed between
// calls: nothing, one command's answer, a flag, the command list, a failure.
TEST_F(RepeatedWorkTest, KeptDynamicStyleFollowsEveryInput)
{
    const std::string strStyle =
        "<Style><Tab key=\"a\"><P id=\"49\" value=\"4\"><I index=\"1\"/><I index=\"3\"/></P>"
        "<P id=\"768\" value=\"5\"><I index=\"0\"/><I index=\"2\"/><I/></P><P id=\"2368\" value=\"0\">"
        "<I index=\"0\"/><I index=\"1\"/></P><P id=\"10\"/><P id=\"11\"/></Tab></Style>";
    iasim::setDynamicCommands({KEY_MAX_SHUTTER, KEY_WB_MODE, KEY_WDR_MODE});
    iasim::setListAttr(KEY_MAX_SHUTTER, 8, {1, 2, 4, 8});
    iasim::setListAttr(KEY_WB_MODE, 2, {0, 2});
    printAll();
    DnaStyleMemo objMemo;
    auto kept = [&](bool p_bWdr) {
        return traced([&] {
            std::string strOut;
            objMemo.build(1, strStyle.c_str(), p_bWdr, &strOut, nullptr);
            return strOut;
        });
    };
    auto anew = [&](bool p_bWdr) {
        return traced([&] {
            std::string strOut;
            getDnaStyle(1, strStyle.c_str(), strOut, p_bWdr);
            return strOut;
        });
    };
    const Trace stFirst = kept(true);
    expectParts(stFirst.strOut, {"line:358", "line:375", "line:496", "nVal = 4"});
    EXPECT_EQ(anew(true), stFirst);
    EXPECT_EQ(stFirst, kept(true));
    iasim::setListAttr(KEY_WB_MODE, 0, {0});
    EXPECT_EQ(anew(true), kept(true));
    EXPECT_EQ(anew(false), kept(false));
    setshowBeawayFalg(false);
    EXPECT_EQ(anew(false), kept(false));
    setshowBeawayFalg(true);
    iasim::setDynamicCommands({KEY_MAX_SHUTTER, KEY_WB_MODE});
    EXPECT_EQ(anew(false), kept(false));
    iasim::failCommand(KEY_MAX_SHUTTER, 2, -1, IA_CMD_OPT_GET_PARAM_RNAGE);
    EXPECT_EQ(anew(false), kept(false));
    EXPECT_EQ(anew(false), kept(false));
}

// A link planted at the merged style's path is replaced by the file; what it
// pointed to is left as it was.
TEST_F(RepeatedWorkTest, MergedStyleReplacesALinkAtItsPath)
{
    testsupport::writeFlashFile("/victim", "untouched");
    testsupport::writeFlashFile("/tmp/placeholder", "");
    const std::string strLink = m_strRoot + mergedStylePath(1);
    ASSERT_EQ(0, symlink((m_strRoot + "/victim").c_str(), strLink.c_str()));
    start();
    struct stat stInfo;
    ASSERT_EQ(0, lstat(strLink.c_str(), &stInfo));
    EXPECT_TRUE(S_ISREG(stInfo.st_mode));
    EXPECT_EQ("untouched", testsupport::readFlashFile("/victim"));
    EXPECT_EQ(access().sysConf().szUIStyle, testsupport::readFlashFile(mergedStylePath(1)));
}

// Scheme 1's file lists its keys in another order and one key twice (in
// place of 2416): its lookups take the first record, and a switch compares
// key by key.
TEST_F(RepeatedWorkTest, RowsOutOfFactoryOrderFindTheFirstRecord)
{
    start();
    std::vector<KeyVal> vecRow = records(schemeFile(1, 1));
    std::reverse(vecRow.begin() + 5, vecRow.end());
    vecRow[6] = KeyVal{34, 77};  // 34 is also at the end
    testsupport::writeRecords(schemeFile(1, 1), vecRow);
    ctrl().uinit();
    ctrl().init(testsupport::moduleWithDetail(""));
    access().sensorThread()->stop();
    timeline();
    EXPECT_EQ("50 77 50 50 50", rows(34));
    ASSERT_TRUE(ctrl().setParamScheme(1));
    EXPECT_EQ(V({"ia 34=77"}), timeline());
    ASSERT_TRUE(ctrl().setParamScheme(0));
    EXPECT_EQ(V({"ia 34=50", "video 2416=0", "ia 2416=0"}), timeline());
}

}  // namespace
