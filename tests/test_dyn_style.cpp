// Dynamic style: defaults and items from the image-algorithm library, the
// style-chosen defaults of 49/50/1537, the optional entries 10 and 11, and
// the tree operations by id.
#include <numeric>
#include <string>
#include <vector>

#include "IaInterface.h"
#include "IaSim.h"
#include "SensorLib.h"
#include "SensorStyle.h"
#include "TestSupport.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::string combo(int p_nId, int p_nValue, const std::vector<int>& p_vecItems)
{
    std::string strOut =
        "<C id=\"" + std::to_string(p_nId) + "\" value=\"" + std::to_string(p_nValue) + "\">";
    for (int nItem : p_vecItems) strOut += "<I index=\"" + std::to_string(nItem) + "\"/>";
    return strOut + "</C>";
}

class DynStyleTest : public testsupport::FlashTest {
protected:
    // Runs getDnaStyle on the body (plus the entries 10 and 11) and keeps the result.
    void dynamic(const std::string& p_strBody, bool p_bWdr = false, bool p_bBeaway = false)
    {
        g_bShoWBeawayFalg = p_bBeaway;
        const std::string strStyle =
            "<S><T key=\"t\">" + p_strBody + "<E id=\"10\" value=\"0\"/><E id=\"11\" value=\"0\"/></T></S>";
        std::string strOut;
        EXPECT_EQ(0, getDnaStyle(1, strStyle.c_str(), strOut, p_bWdr));
        m_objDoc.Clear();
        m_objDoc.Parse(strOut.c_str(), 0, TIXML_ENCODING_UTF8);
    }
    // "value:item item ..." of the last element with the id, "-" when absent.
    std::string entry(int p_nId)
    {
        TiXmlElement* pNode = nullptr;
        getNodebyCmdId(m_objDoc.RootElement(), p_nId, pNode);
        if (pNode == nullptr) return "-";
        std::string strOut = std::string(pNode->Attribute("value")) + ":";
        for (TiXmlElement* pItem = pNode->FirstChildElement(); pItem; pItem = pItem->NextSiblingElement())
            strOut += std::string(pItem->Attribute("index") ? pItem->Attribute("index") : "?") + " ";
        return strOut;
    }
    TiXmlDocument m_objDoc;
};

TEST_F(DynStyleTest, DefaultIsWrittenItemsArePrunedAndFlagsRemoveEntries)
{
    iasim::setDynamicCommands({2368, 768, 7});
    iasim::setListAttr(2368, 1, {0, 1, 2});
    iasim::setListAttr(768, 3, {});
    iasim::setListAttr(7, 3, {3});
    dynamic(combo(2368, 0, {0, 1, 2, 3}) + combo(768, 0, {0, 1}) + combo(34, 50, {5, 6}));
    EXPECT_EQ("1:0 1 2 |3:|50:5 6 |0:|0:",
              entry(2368) + "|" + entry(768) + "|" + entry(34) + "|" + entry(10) + "|" + entry(11));
    dynamic("", true, false);
    EXPECT_EQ("-|0:", entry(10) + "|" + entry(11));
    dynamic("", false, true);
    EXPECT_EQ("0:|-", entry(10) + "|" + entry(11));
}

TEST_F(DynStyleTest, StyleValuesOfShutterAndNearLimitChooseTheDefault)
{
    iasim::setDynamicCommands({49, 50, 1537});
    iasim::setListAttr(49, 8, {1, 2, 4, 8});
    iasim::setListAttr(50, 4, {1, 2, 4, 8});
    iasim::setListAttr(1537, 100, {10, 50, 100});
    const struct {
        int nShutter, nFix, nNear;
        const char *szShutter, *szFix, *szNear;
    } arrCases[] = {
        {100, 2, 50, "8:1 ", "2:1 2 ", "50:10 50 "},             // 100: library default
        {4, 250, 100, "4:1 ", "4:1 2 ", "100:10 50 "},           // 250 on 50: not an item
        {203, 200, 30, "3:1 3 5 7 9 ", "4:1 2 ", "100:10 50 "},  // 200 + n only for 49
        {200, 2, 50, "0:1 3 5 7 9 ", "2:1 2 ", "50:10 50 "},
    };
    for (const auto& stCase : arrCases) {
        CaptureStdout();
        dynamic(combo(49, stCase.nShutter, {1, 3, 5, 7, 9}) + combo(50, stCase.nFix, {1, 2, 3}) +
                combo(1537, stCase.nNear, {10, 50}));
        const std::string strOut = GetCapturedStdout();
        EXPECT_EQ(stCase.szShutter, entry(49)) << stCase.nShutter;
        EXPECT_EQ(stCase.szFix, entry(50)) << stCase.nFix;
        EXPECT_EQ(stCase.szNear, entry(1537)) << stCase.nNear;
        EXPECT_EQ(stCase.nShutter != 100,
                  strOut.find("dnaCmdList.cmd_list[0] = dnaParamList.items_cnt(4)\n") != std::string::npos);
    }
}

TEST_F(DynStyleTest, BadItemsAndFailedQueriesAreReportedAndLeaveTheRest)
{
    iasim::setDynamicCommands({2368, 768});
    iasim::setListAttr(2368, 2, {0, 2});
    iasim::setListAttr(768, 1, {1});
    CaptureStdout();
    // An item without index stops its command's element; the later one is never reached.
    dynamic("<C id=\"2368\" value=\"0\"><I index=\"1\"/><I/><I index=\"5\"/></C>" + combo(2368, 0, {0, 7}) +
            combo(768, 0, {0, 1}));
    EXPECT_NE(std::string::npos, GetCapturedStdout().find("line:496\nSNS_SUCCESS == doDnaStyle("));
    TiXmlElement* pFirst = m_objDoc.RootElement()->FirstChildElement()->FirstChildElement();
    EXPECT_STREQ("2", pFirst->Attribute("value"));
    EXPECT_EQ(nullptr, pFirst->FirstChildElement()->Attribute("index"));  // item 1 pruned before the stop
    EXPECT_EQ("0:0 7 |1:1 ", entry(2368) + "|" + entry(768));

    iasim::failCommand(2368, -1, -1, IA_CMD_OPT_GET_PARAM_RNAGE);
    iasim::failCommand(IA_CMD_DYNAMIC_PARAMS_CMDS_GET, 1);
    CaptureStdout();
    dynamic(combo(2368, 0, {0, 2}) + combo(768, 0, {0, 1}));
    EXPECT_EQ("0:0 1 ", entry(768));  // no list: nothing changes
    dynamic(combo(2368, 0, {0, 2}) + combo(768, 0, {0, 1}));
    EXPECT_EQ("0:0 2 |1:1 ", entry(2368) + "|" + entry(768));
    std::string strDna = "x";
    EXPECT_EQ(0, getDnaStyle(1, "<S><T>", strDna, true));
    EXPECT_EQ("", strDna);
    const std::string strOut = GetCapturedStdout();
    for (const char* szLine : {"line:441\n", "line:453\n", "line:445\n"})
        EXPECT_NE(std::string::npos, strOut.find(szLine)) << szLine;
}

TEST_F(DynStyleTest, TreeOperationsById)
{
    m_objDoc.Parse(
        "<S><T id=\"5\" value=\"1\"><P id=\"5\" value=\"2\"/></T><P id=\"5\"/><P id=\"5\" value=\"3\"/>"
        "</S>");
    TiXmlElement* pRoot = m_objDoc.RootElement();
    int nVal = -7;
    getDnaValbyCmdId(pRoot, 5, nVal);
    EXPECT_EQ(3, nVal);  // the last match with a value; matches are not searched inside
    TiXmlElement* pNode = nullptr;
    getNodebyCmdId(pRoot, 5, pNode);
    EXPECT_EQ(0, DeleteNode(pRoot, pNode));
    EXPECT_EQ(-1, DeleteNode(pRoot, nullptr));
    EXPECT_EQ(0, DeleteNode(pRoot, pRoot));  // its parent is the document: kept
    getDnaValbyCmdId(pRoot, 5, nVal);
    EXPECT_EQ(1, nVal);

    std::vector<int> vecItems(70);
    std::iota(vecItems.begin(), vecItems.end(), 1);
    m_objDoc.Clear();
    m_objDoc.Parse(("<S>" + combo(49, 230, vecItems) + "</S>").c_str());
    ia_dynamic_params_attr_st stAttr = {};
    CaptureStdout();
    EXPECT_EQ(0, doCustomizeStyle(m_objDoc.RootElement(), 49, &stAttr));
    EXPECT_NE(std::string::npos, GetCapturedStdout().find("nCount < IA_DYNAMIC_ITEMS_MAX"));
    EXPECT_EQ(64, stAttr.items_cnt);
    EXPECT_EQ(64, stAttr.max_value);
}

}  // namespace
