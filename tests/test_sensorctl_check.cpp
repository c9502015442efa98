// sensorctl check on broken copies of the sample camera: each tree breaks one
// rule and must give that check's FAIL or WARN line and the exit status.
#include <nlohmann/json.hpp>
#include <vector>

#include "PlatformSim.h"
#include "SensorctlRun.h"

#ifdef SNS_SENSORCTL_PATH

namespace {

namespace fs = std::filesystem;
const size_t npos = std::string::npos;
using testsupport::hasCheckLine;

const char kStyle[] = "hd1/moduleConfig/sensorConfig/style/Style.xml";
const char kDiversity[] = "hd1/moduleConfig/sensorConfig/styleDiversity/StyleDiversity.xml";
const char kModules[] = "hd1/moduleConfig/moduleConfig.xml";
const char kMachine[] = "mnt/mtd/code/factory_setting/machineinfo.ini";
const char kScheme0[] = "mnt/mtd/code/config_file/sensor1_0.cfg";
const char kVersion[] = "mnt/mtd/code/config_file/snsversion.cfg";

// One edit of a file of the tree: replace the first `from` by `to`; an
// empty `from` writes `to` as the whole file; a null `to` removes the file.
struct Edit {
    const char* szFile;
    std::string strFrom;
    const char* szTo;
};

struct BrokenTree {
    const char* szName;
    std::vector<Edit> vecEdits;
    const char* szStatus;  // "FAIL" or "WARN"
    const char* szCheck;
    const char* szMessage;  // part of the line
    int nExit = -1;         // -1: 1 for a FAIL, 0 for a WARN
    const char* szArgs = "";
};

// More items than the factory table holds, all of them known keys.
std::string manyItems()
{
    std::string strTab = "<Tab key=\"Extra\">";
    for (int i = 0; i < 20; ++i) strTab += "<Slider id=\"9102\" value=\"0\" min=\"0\" max=\"9\" />";
    return strTab + "</Tab></SensorStyle>";
}

const BrokenTree kBrokenTrees[] = {
    {"no machine information", {{kMachine, "", nullptr}}, "FAIL", "machine-info", "missing"},
    {"device type not accepted", {{kMachine, "device_type=1", "device_type=2"}}, "FAIL", "machine-info",
     "device type 2 is not one the library accepts"},
    {"no module for the machine", {{kMachine, "hardware_code=A01", "hardware_code=Z99"}}, "FAIL", "module-match",
     "no module"},
    {"too many schemes", {{kModules, "(max_scheme=4)(lensId=3)", "(max_scheme=40)(lensId=3)"}}, "FAIL",
     "detail-fields", "max_scheme reads as 40; expected 1 to 32"},
    {"detail value too long", {{kModules, "(sensor=SIM2M)", "(sensor=SIM2M-LONGER)"}}, "FAIL", "detail-fields",
     "longer than 9 characters"},
    {"style does not parse", {{kStyle, "</SensorStyle>", "</SensorStyl>"}}, "FAIL", "style-document",
     "does not parse"},
    {"diversity document missing", {{kDiversity, "", nullptr}}, "FAIL", "diversity-document", "missing"},
    {"library reports the missing diversity document", {{kDiversity, "", nullptr}}, "FAIL", "library-reports",
     "failed assertion: doc_style_div.LoadMem"},
    {"condition names no detail field", {{kDiversity, "<Variant lightZones=\"3\">", "<Variant lightzones=\"3\">"}},
     "WARN", "variant-conditions", "condition lightzones names no detail field"},
    {"operation on a missing tab", {{kDiversity, "<AddAfter tab_key=\"WhiteLight\">", "<AddAfter tab_key=\"WhiteLamp\">"}},
     "FAIL", "merge-operations", "no tab with key 'WhiteLamp' exists at this point of the merge"},
    {"operation on a tab no model has", {{kDiversity, "<Delete tab_key=\"Lens\" />", "<Delete tab_key=\"Lenses\" />"}},
     "FAIL", "merge-operations", "no tab with key 'Lenses' in the style or in any replacement tab"},
    {"edit that changes nothing",
     {{kDiversity, "<Variant sensor=\"SIM2M,SIM4M\">",
       "<Variant sensor=\"SIM2M,SIM4M\"><Modify tab_key=\"Debug\"><Tab key=\"Debug\" name=\"Debug\">"
       "<Slider id=\"190\" value=\"0\" name=\"TestParam1\" min=\"0\" max=\"255\" step=\"1\" />"
       "<Slider id=\"191\" value=\"0\" name=\"TestParam2\" min=\"0\" max=\"255\" step=\"1\" />"
       "<Slider id=\"192\" value=\"0\" name=\"TestParam3\" min=\"0\" max=\"255\" step=\"1\" />"
       "<Slider id=\"193\" value=\"0\" name=\"TestParam4\" min=\"0\" max=\"255\" step=\"1\" />"
       "</Tab></Modify>"}},
     "WARN", "merge-operations", "the edit changes nothing: the replacement equals the tab"},
    {"unknown operation", {{kDiversity, "<Delete tab_key=\"Lens\" />", "<Remove tab_key=\"Lens\" />"}}, "WARN",
     "merge-operations", "unknown operation <Remove>"},
    {"id the library does not know", {{kStyle, "<ComboBox id=\"96\"", "<ComboBox id=\"4711\""}}, "FAIL",
     "style-ids-known", "id 4711 is not a key the library knows"},
    {"id twice", {{kStyle, "<ComboBox id=\"96\"", "<ComboBox id=\"16\""}}, "FAIL", "style-ids-unique",
     "id 16 appears again"},
    {"default out of range", {{kStyle, "id=\"65\" value=\"60\"", "id=\"65\" value=\"160\""}}, "FAIL",
     "style-defaults", "default 160 is not allowed (allowed range: 0 ... 100)"},
    {"scheme keys not first", {{kStyle, "<Tab key=\"Scheme\" name=\"ParameterScheme\">",
                                "<Tab key=\"Scheme\" name=\"ParameterScheme\" id=\"34\" value=\"50\">"}},
     "FAIL", "scheme-keys-first", "factory record 0: KEY_BRIGHTNESS (34) where KEY_SCHEME_MODE (8000) belongs"},
    {"more factory records than the table holds", {{kStyle, "</SensorStyle>", nullptr}}, "FAIL",
     "factory-capacity", "the library keeps 160 factory records"},
    {"damaged scheme file", {{kScheme0, "", "1234567"}}, "FAIL", "scheme-file", "7 bytes"},
    // The saved (here: damaged) scheme file is what the reset would lose.
    {"old version file", {{kScheme0, "", "1234567"}, {kVersion, "", "\x07\x00\x00\x00"}}, "WARN", "version-file",
     "init would reset the saved schemes of channel 1", 1},
    {"live init refused by the library", {{kMachine, "device_type=1", "device_type=2"}}, "FAIL", "live-init",
     "failed assertion", -1, "--live"},
    // The simulated sensor offers white balance mode 5; the style no longer does.
    {"sensor item the style lacks", {{kStyle, "<Item index=\"5\" name=\"Fluorescent\" />", ""}}, "FAIL", "live-ranges",
     "command 768: the sensor offers item 5 that the style's menu lacks", -1, "--live"},
};

using CheckRun = testsupport::ToolRun;

class CheckTest : public testsupport::SensorctlTest {
protected:
    std::string tree() const { return m_strRoot + "/flash"; }

    void copySample()
    {
        platformsim::setFlashRoot(tree());
        testsupport::copySampleFlash();
        platformsim::setFlashRoot(m_strRoot);
    }

    void apply(const Edit& p_stEdit)
    {
        const std::string strFile = "/flash/" + std::string(p_stEdit.szFile);
        if (p_stEdit.szTo == nullptr && p_stEdit.strFrom.empty())
            testsupport::removeTree(m_strRoot + strFile);
        else if (p_stEdit.strFrom.empty())  // the version file's bytes hold zeros
            testsupport::writeFlashFile(
                strFile, std::string(p_stEdit.szTo, strFile.find(kVersion) != npos ? 4 : strlen(p_stEdit.szTo)));
        else
            testsupport::replaceInFlashFile(strFile, p_stEdit.strFrom, p_stEdit.szTo ? p_stEdit.szTo : manyItems());
    }

    // The tool's scratch copy goes below the test's own root.
    CheckRun check(const std::string& p_strArgs = "")
    {
        fs::create_directories(m_strRoot + "/tmp");
        const CheckRun stRun = run(
            "check --flash " + onDisk("/flash") + " " + p_strArgs, "", "", "TMPDIR=" + onDisk("/tmp"));
        EXPECT_TRUE(fs::is_empty(m_strRoot + "/tmp")) << "the scratch copy was left behind";
        return stRun;
    }
};

TEST_F(CheckTest, EachBrokenTreeGivesItsOwnLineAndExitStatus)
{
    for (const BrokenTree& stTree : kBrokenTrees) {
        SCOPED_TRACE(stTree.szName);
        fs::remove_all(tree());
        copySample();
        for (const Edit& stEdit : stTree.vecEdits) apply(stEdit);
        const CheckRun stRun = check(stTree.szArgs);
        EXPECT_TRUE(hasCheckLine(stRun.m_strOut, stTree.szStatus, stTree.szCheck, stTree.szMessage)) << stRun.m_strOut;
        const int nExit = stTree.nExit >= 0 ? stTree.nExit : std::string(stTree.szStatus) == "FAIL" ? 1 : 0;
        EXPECT_EQ(nExit, stRun.m_nExit) << stRun.m_strOut;
        EXPECT_EQ(nExit == 1, hasCheckLine(stRun.m_strOut, "FAIL", "\\S+")) << stRun.m_strOut;
    }
}

TEST_F(CheckTest, SampleCameraPassesWithoutTouchingTheTree)
{
    copySample();
    const auto mapBefore = flashFiles("/flash", true);
    const CheckRun stRun = check();
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strOut;
    EXPECT_FALSE(hasCheckLine(stRun.m_strOut, "FAIL", "\\S+")) << stRun.m_strOut;
    EXPECT_TRUE(std::regex_search(stRun.m_strOut, std::regex("\\n\\d+ passed, 0 failed, 0 warnings\\n$")))
        << stRun.m_strOut;
    EXPECT_EQ(mapBefore, flashFiles("/flash", true));
}

TEST_F(CheckTest, JsonCarriesTheSameLinesAndSummary)
{
    copySample();
    apply({kDiversity, "<AddAfter tab_key=\"WhiteLight\">", "<AddAfter tab_key=\"WhiteLamp\">"});
    const CheckRun stText = check();
    const CheckRun stJson = check("--json");
    EXPECT_EQ(1, stJson.m_nExit);
    const nlohmann::json objDoc = nlohmann::json::parse(stJson.m_strOut);
    size_t nLines = 0;
    for (const auto& objLine : objDoc["checks"]) {
        ++nLines;
        EXPECT_TRUE(hasCheckLine(stText.m_strOut, objLine["status"].get<std::string>(),
                                 objLine["check"].get<std::string>()));
    }
    EXPECT_EQ(std::count(stText.m_strOut.begin(), stText.m_strOut.end(), '\n') - 1, static_cast<long>(nLines));
    EXPECT_EQ(1, objDoc["summary"]["failed"].get<int>());
    EXPECT_EQ(tree(), objDoc["flash"].get<std::string>());
}

TEST_F(CheckTest, LiveChecksPassOnTheSampleWithoutTouchingTheTree)
{
    copySample();
    const auto mapBefore = flashFiles("/flash", true);
    const CheckRun stRun = check("--live");
    EXPECT_EQ(0, stRun.m_nExit) << stRun.m_strOut;
    for (const char* szCheck : {"live-init", "live-ranges", "live-dynamic-style", "live-keys", "live-schemes",
                                "live-persistence"})
        EXPECT_TRUE(hasCheckLine(stRun.m_strOut, "OK", szCheck)) << szCheck << "\n" << stRun.m_strOut;
    EXPECT_EQ(mapBefore, flashFiles("/flash", true));
}

TEST_F(CheckTest, MissingTreeAndBadArgumentsAreRefused)
{
    EXPECT_EQ(1, check().m_nExit);
    EXPECT_FALSE(fs::exists(tree())) << "check must never create a tree";
    copySample();
    EXPECT_EQ(2, check("--colour").m_nExit);
}

}  // namespace

#endif
