// Inputs found by fuzzing that once made the library misbehave, kept as
// regression cases.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "ControllerFixtures.h"
#include "SensorStyle.h"
#include "TestSupport.h"

namespace {

class HostileInputTest : public testsupport::FlashTest {};

// A diversity text that ends inside a UTF-8 sequence (lead byte 0xD3 of a
// two-byte sequence, then the terminator). The bytes after the terminator
// would close the document and delete tab "a" if the parser read on behind
// the text's end; the text itself is broken and must change nothing.
TEST_F(HostileInputTest, TextEndingInsideAUtf8SequenceIsReadNoFurther)
{
    const char kBehindTheEnd[] = "<V sensor=\"SIM2M\xD3\0\"><Delete tab_key=\"a\"/></V>";
    char szDiversity[sizeof(kBehindTheEnd)];
    memcpy(szDiversity, kBehindTheEnd, sizeof(kBehindTheEnd));
    ModuleConfig stModule = {};
    strncpy(stModule.szDetail, "(sensor=SIM2M)", sizeof(stModule.szDetail) - 1);
    char* szStyle = strdup("<S><T key=\"a\"/><T key=\"b\"/></S>");

    testing::internal::CaptureStdout();
    EXPECT_EQ(0, mergeStyle(1, &stModule, &szStyle, szDiversity));
    const std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("doc_style_div.LoadMem(ui_styleDiversity, TIXML_ENCODING_UTF8)"
                                             "   ~~~Assertion failed."))
        << strOut;
    EXPECT_NE(std::string::npos, std::string(szStyle).find("key=\"a\"")) << szStyle;
    free(szStyle);

    // The same cut in the style text: the dynamic style is empty, not the
    // document that the bytes behind the end would complete.
    const char kStyleBehind[] = "<S><P id=\"34\" value=\"5\xD3\0\"/></S>";
    char szCut[sizeof(kStyleBehind)];
    memcpy(szCut, kStyleBehind, sizeof(kStyleBehind));
    std::string strDna;
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, getDnaStyle(1, szCut, strDna, true));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ("", strDna);
}

using HostileHostTest = InitFixture;

// Commands that carry records (camera version, sensor check, dynamic command
// list) named by the host as keys: what the library answers lies in the first
// word, and nothing around the host's value is touched.
TEST_F(HostileHostTest, RecordCommandsNamedByTheHostStayInTheirRoom)
{
    startStill();
    struct {
        int nValue;
        int anGuard[80];
    } stRead;
    for (const int nCmd : {IA_CMD_CAMERA_VERSION, IA_CMD_SENSOR_CHECK, IA_CMD_DYNAMIC_PARAMS_CMDS_GET}) {
        for (int& nGuard : stRead.anGuard) nGuard = 0x5a5a5a5a;
        output([&] { EXPECT_TRUE(ctrl().getParameter(nCmd, stRead.nValue)) << nCmd; });
        for (int nGuard : stRead.anGuard) ASSERT_EQ(0x5a5a5a5a, nGuard) << nCmd;
    }
    EXPECT_EQ(6, stRead.nValue);  // the count of the default profile's dynamic commands

    std::string strOut;
    output([&] { EXPECT_TRUE(ctrl().getParameters("(34,4112)", strOut)); });
    EXPECT_EQ("(34,50)(4112,6)", strOut);
    // A set of the sensor check sends the value as the record's first input.
    output([&] { EXPECT_EQ(0, set(IA_CMD_SENSOR_CHECK, 1)); });
    std::string strMany;
    for (int i = 0; i < 400; ++i) strMany += "(2816,1)";
    output([&] { EXPECT_EQ(0, ctrl().setParameters(strMany, false)); });
    EXPECT_EQ(std::vector<uint32_t>(1 + kSmallStyleRecords, 1), iasim::setValuesOf(IA_CMD_SENSOR_CHECK));
}

// A channel number whose IA channel would overflow: the calls go to a
// channel the library refuses, and the controller still comes up.
TEST_F(HostileHostTest, ChannelNumberAtTheBottomOfInt)
{
    m_vecCtrls.emplace_back(new ISensorController());
    ctrl().setChannelID(INT_MIN);
    ctrl().setVideoStreamModule(&m_objVideo);
    iasim::clearCalls();
    output([&] { EXPECT_TRUE(ctrl().init(testsupport::moduleWithDetail(""))); });
    ASSERT_FALSE(iasim::calls().empty());
    EXPECT_EQ(INT_MAX, iasim::calls().front().channel);
    EXPECT_TRUE(ctrl().getSensorStatus());
}

}  // namespace
