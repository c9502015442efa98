// Inputs found by fuzzing that once made the library misbehave, kept as
// regression cases.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

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

}  // namespace
