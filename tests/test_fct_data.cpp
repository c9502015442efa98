// Factory defaults from the dynamic style, and the value correction.
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

class FctDataTest : public testsupport::FlashTest {
protected:
    // Factory records of the style as "key=value " text; the array has one
    // guard record behind the capacity.
    std::string fctData(std::string p_strStyle, u32 p_nCapacity)
    {
        std::vector<KeyVal> vecOut(p_nCapacity + 1, KeyVal{0xDEAD, 0xDEAD});
        u32 nCount = 77;
        EXPECT_EQ(0, getFctData(1, &p_strStyle[0], vecOut.data(), &nCount, false, p_nCapacity));
        EXPECT_EQ(0xDEADu, vecOut[p_nCapacity].key);
        return testsupport::recordsText(vecOut.data(), nCount);
    }
};

TEST_F(FctDataTest, RecordsFollowPreOrderAndStopAtTheCapacity)
{
    iasim::setDynamicCommands({768});
    iasim::setListAttr(768, 4, {4});
    const std::string strStyle =
        "<S><T id=\"1\" value=\"10\"><P id=\"2\" value=\"20\"><I id=\"3\" value=\"30\"/></P><P id=\"4\"/>"
        "<P value=\"5\"/></T><P id=\"768\" value=\"0\"/><P id=\"2\" value=\"21\"/></S>";
    CaptureStdout();
    EXPECT_EQ("1=10 2=20 3=30 768=4 2=21 ", fctData(strStyle, 5));
    EXPECT_EQ(std::string::npos, GetCapturedStdout().find("[sensor assert]"));

    CaptureStdout();
    EXPECT_EQ("1=10 2=20 3=30 ", fctData(strStyle, 3));
    EXPECT_EQ("", fctData("<S><P id=\"1\" value=\"1\"/>", 8));
    const std::string strOut = GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("line:562\nSNS_SUCCESS == style2KeyVal(pRootNode, p_pKeyVal, "
                                             "p_pnKeyValNum)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("p_pnKeyValNum(3)\n"));
    EXPECT_NE(std::string::npos, strOut.find("line:558\n"));
}

TEST_F(FctDataTest, CorrectionTakesTheFirstRecordOfEachListedCommand)
{
    iasim::setDynamicCommands({49, 2368, 50});
    iasim::setListAttr(49, 25, {25, 50, 100});
    iasim::setListAttr(2368, 0, {0, 1});
    KeyVal arrRows[] = {{34, 7}, {49, 60}, {2368, 9}, {49, 60}};
    CaptureStdout();
    EXPECT_EQ(0, keyval_correct(0, arrRows, 4));
    std::string strOut = GetCapturedStdout();
    EXPECT_EQ(50u, arrRows[1].value);
    EXPECT_EQ(1u, arrRows[2].value);
    EXPECT_EQ(60u, arrRows[3].value);  // only the first record of a key
    EXPECT_NE(std::string::npos,
              strOut.find("[sensor assert] file:SensorKeyVal fun:keyval_correct line:80\ncmd_list[2]=50\n"));
    EXPECT_TRUE(testsupport::flashFileExists(SNS_PATH_ERROR_LOG));

    iasim::failCommand(49, 1, -4, IA_CMD_OPT_CORRECT_PARAM);
    arrRows[1].value = 60;
    iasim::clearCalls();
    CaptureStdout();
    EXPECT_EQ(-1, keyval_correct(0, nullptr, 3));
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_EQ(0, keyval_correct(0, arrRows, 2));
    strOut = GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("line:50\nNULL != p_pKeyval"));
    EXPECT_NE(std::string::npos, strOut.find("line:74\n"));
    EXPECT_EQ(60u, arrRows[1].value);
}

}  // namespace
