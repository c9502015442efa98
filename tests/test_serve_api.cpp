// The HTTP API of `sensorctl serve`: every endpoint's answer, and every
// refusal with its status and the parameter files left as they were.
#include <openssl/evp.h>

#include "ServeAuth.h"
#include "ServeFixture.h"

namespace {

class ServeApiTest : public ServeTest {
protected:
    void SetUp() override
    {
        ServeTest::SetUp();
        startServer();
    }
};

TEST_F(ServeApiTest, ReadsChannelsStyleParamsAndRanges)
{
    const json objInfo = ok("GET", "/api/info");
    EXPECT_EQ(true, objInfo["simulator"]);
    EXPECT_EQ(json::array({1}), objInfo["channels"]);

    const json objChannel = ok("GET", "/api/channels")["channels"][0];
    EXPECT_EQ(1, objChannel["channel"]);
    EXPECT_EQ("normal", objChannel["device"]);
    EXPECT_EQ(4, objChannel["scheme_count"]);
    EXPECT_EQ(0, objChannel["current_scheme"]);
    EXPECT_EQ(false, objChannel["dirty"]);
    ASSERT_EQ(4u, objChannel["windows"].size());
    EXPECT_EQ(json({{"scheme", 0}, {"start", "06:00"}, {"end", "18:00"}}), objChannel["windows"][0]);

    const json objStyle = ok("GET", "/api/channels/1/style");
    json objBrightness, objGamma;
    for (const json& objTab : objStyle["tabs"])
        for (const json& objItem : objTab["items"]) {
            if (objItem["id"] == 34) objBrightness = objItem;
            if (objItem["id"] == 2528) objGamma = objItem;
        }
    EXPECT_EQ("KEY_BRIGHTNESS", objBrightness["key"]);
    EXPECT_EQ("range", objBrightness["kind"]);
    EXPECT_EQ("Picture", objBrightness["group"]);
    EXPECT_EQ(50, objBrightness["default"]);
    EXPECT_EQ(100, objBrightness["max"]);
    EXPECT_EQ("menu", objGamma["kind"]);
    EXPECT_EQ(json({{"value", 3}, {"name", "Auto"}}), objGamma["menu"][3]);
    // Served twice from one document, the answer does not change.
    EXPECT_EQ(objStyle, ok("GET", "/api/channels/1/style"));

    const json objParams = ok("GET", "/api/channels/1/params");
    EXPECT_EQ(0, objParams["scheme"]);
    EXPECT_EQ(json({{"key", 34}, {"name", "KEY_BRIGHTNESS"}, {"value", 50}}), objParams["params"][5]);

    const json objRange = ok("GET", "/api/channels/1/ranges/KEY_MAX_SHUTTER");
    EXPECT_EQ(49, objRange["key"]);
    EXPECT_EQ(25, objRange["default"]);
    EXPECT_EQ(1, objRange["values"][0]);
    EXPECT_EQ(10000, objRange["values"].back());
}

TEST_F(ServeApiTest, PatchAppliesEveryKeyInOneTextAndAnswersTheValuesInForce)
{
    const json objAnswer = ok("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 60, "2337": 40})");
    EXPECT_EQ(json::array({{{"key", 34}, {"name", "KEY_BRIGHTNESS"}, {"value", 60}},
                           {{"key", 2337}, {"name", "KEY_SATURATION"}, {"value", 40}}}),
              objAnswer["params"]);
    EXPECT_EQ(60, value(34));
    EXPECT_EQ(true, ok("GET", "/api/channels")["channels"][0]["dirty"]);
    // Not saved: the file still holds the factory value.
    const std::string strScheme0 = paramFiles()["sensor1_0.cfg"];
    ok("PATCH", "/api/channels/1/params", R"({"brightness": 50, "KEY_SATURATION": 50})");
    EXPECT_EQ(false, ok("GET", "/api/channels")["channels"][0]["dirty"]);
    EXPECT_EQ(strScheme0, paramFiles()["sensor1_0.cfg"]);
}

TEST_F(ServeApiTest, SchemesSaveModeAndFactoryReset)
{
    EXPECT_EQ(json({{"channel", 1}, {"current_scheme", 2}}), ok("POST", "/api/channels/1/schemes/2"));
    ok("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 77})");
    const std::string strBefore = paramFiles()["sensor1_2.cfg"];
    // A save cut before the file is replaced says so, and the file keeps what it held.
    platformsim::failBeforeRename(true);
    const auto stCut = send("POST", "/api/channels/1/save");
    platformsim::resetWriteFaults();
    EXPECT_EQ(500, stCut.first);
    EXPECT_EQ(false, stCut.second["saved"]);
    EXPECT_EQ(strBefore, paramFiles()["sensor1_2.cfg"]);
    EXPECT_EQ(json({{"saved", true}, {"scheme", 2}}), ok("POST", "/api/channels/1/save"));
    EXPECT_NE(strBefore, paramFiles()["sensor1_2.cfg"]);

    json objChannel = ok("PUT", "/api/channels/1/mode",
                         R"({"mode": 0, "windows": [{"scheme": 2, "start": "06:30", "end": "18:00"}]})");
    EXPECT_EQ(json({{"scheme", 2}, {"start", "06:30"}, {"end", "18:00"}}), objChannel["windows"][2]);
    EXPECT_EQ(true, objChannel["dirty"]);

    ok("POST", "/api/channels/1/schemes/0");
    objChannel = ok("PUT", "/api/channels/1/mode", R"({"mode": 2})");
    EXPECT_EQ(2, objChannel["scheme_mode"]);
    // The other scheme's window as saved: the change was not.
    EXPECT_EQ("06:00", objChannel["windows"][2]["start"]);

    EXPECT_EQ(json({{"reset", true}}), ok("POST", "/api/channels/1/reset", R"({"confirm": "factory-reset"})"));
    EXPECT_EQ(50, value(34));
    ok("POST", "/api/channels/1/schemes/2");
    EXPECT_EQ(50, value(34));
}

TEST_F(ServeApiTest, SimulatorClockDayNightAndCalls)
{
    EXPECT_EQ(json({{"time", "07:45"}, {"real_time", false}, {"daynight", "day"}}),
              ok("POST", "/api/sim/clock", R"({"time": "07:45"})"));
    EXPECT_EQ("night", ok("POST", "/api/sim/daynight", R"({"state": "night"})")["daynight"]);
    EXPECT_EQ(true, ok("POST", "/api/sim/clock", R"({"time": "real"})")["real_time"]);

    const long long nNext = ok("GET", "/api/channels/1/calls")["next"];
    ok("PATCH", "/api/channels/1/params", R"({"KEY_MIRROR": 1})");
    const json objCalls = ok("GET", "/api/channels/1/calls?since=" + std::to_string(nNext))["calls"];
    // The mirror goes to the video module first, then to the image-algorithm library.
    std::string strSeen;
    for (const json& objCall : objCalls)
        if (objCall["option"] != "get") strSeen += objCall["kind"].get<std::string>() + " ";
    EXPECT_NE(std::string::npos, strSeen.find("notify ia")) << objCalls.dump();
    EXPECT_GE(objCalls[0]["id"].get<long long>(), nNext);
}

struct Refusal {
    const char* szMethod;
    const char* szPath;
    const char* szBody;
    bool bToken;
    int nStatus;
    const char* szErrorPart;
};

TEST_F(ServeApiTest, RefusedRequestsChangeNothingOnFlash)
{
    ok("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 61})");
    const std::map<std::string, std::string> mapBefore = paramFiles();
    const Refusal kRefusals[] = {
        {"PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNES": 60})", true, 422, "unknown key"},
        {"PATCH", "/api/channels/1/params", R"({"4000": 1})", true, 422, "4000"},
        {"PATCH", "/api/channels/1/params", R"({"KEY_SATURATION": 40, "34": "60"})", true, 422, "integer"},
        {"PATCH", "/api/channels/1/params", R"({"34": 60.5})", true, 422, "integer"},
        {"PATCH", "/api/channels/1/params", R"({"KEY_SATURATION": 40, "34": 101})", true, 422, "0 ... 100"},
        {"PATCH", "/api/channels/1/params", R"({"KEY_GAMMA": 7})", true, 422, "0, 1, 2, 3"},
        {"PATCH", "/api/channels/1/params", R"({"34": 60, "KEY_BRIGHTNESS": 62})", true, 422, "twice"},
        {"PATCH", "/api/channels/1/params", R"([34, 60])", true, 400, "object"},
        {"PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 60})", false, 403, "X-Sensorctl-Token"},
        {"PATCH", "/api/channels/9/params", R"({"KEY_BRIGHTNESS": 60})", true, 404, "no channel 9"},
        {"POST", "/api/channels/1/schemes/5", "", true, 422, "no scheme 5"},
        {"POST", "/api/channels/1/save", "", false, 403, "X-Sensorctl-Token"},
        {"POST", "/api/channels/1/reset", R"({"confirm": "yes"})", true, 422, "factory-reset"},
        {"PUT", "/api/channels/1/mode", R"({"mode": 3})", true, 422, "mode must be"},
        {"PUT", "/api/channels/1/mode", R"({"mode": 0, "windows": [{"scheme": 1, "start": "06:00", "end": "07:00"}]})",
         true, 422, "make scheme 1 current"},
        {"PUT", "/api/channels/1/mode", R"({"mode": 0, "windows": [{"scheme": 0, "start": "20:00", "end": "06:00"}]})",
         true, 422, "start before it ends"},
        {"PUT", "/api/channels/1/mode", R"({"mode": 0, "windows": [{"scheme": 0, "start": "24:00", "end": "25:00"}]})",
         true, 422, "hours 0-23"},
        {"POST", "/api/sim/clock", R"({"time": "12:60"})", true, 422, "HH:MM"},
        {"GET", "/api/channels/1/ranges/KEY_BRIGHTNESS", "", true, 404, "no range"},
        {"GET", "/api/nothing", "", true, 404, "no such"},
    };
    for (const Refusal& stCase : kRefusals) {
        const auto stAnswer = send(stCase.szMethod, stCase.szPath, stCase.szBody, stCase.bToken);
        EXPECT_EQ(stCase.nStatus, stAnswer.first) << stCase.szMethod << " " << stCase.szPath << " " << stCase.szBody;
        const std::string strError = stAnswer.second.value("error", "");
        EXPECT_NE(std::string::npos, strError.find(stCase.szErrorPart)) << strError;
    }
    EXPECT_EQ(61, value(34));
    EXPECT_EQ(50, value(2337));
    EXPECT_EQ(mapBefore, paramFiles());

    const json objAllowed = send("PATCH", "/api/channels/1/params", R"({"34": -1})").second;
    EXPECT_EQ(json({{"min", 0}, {"max", 100}}), objAllowed["allowed"]);
    EXPECT_EQ(34, objAllowed["key"]);
}

TEST_F(ServeApiTest, OversizedBodyWrongHostAndThePage)
{
    // A change not saved yet: an oversized save must not write it.
    ok("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 61})");
    const std::map<std::string, std::string> mapBefore = paramFiles();
    const std::string strHuge = "{\"KEY_BRIGHTNESS\": 60, \"pad\": \"" + std::string(70 * 1024, 'x') + "\"}";
    const auto stHuge = send("PATCH", "/api/channels/1/params", strHuge);
    EXPECT_EQ(413, stHuge.first);
    EXPECT_TRUE(stHuge.second.contains("error"));
    EXPECT_EQ(413, send("POST", "/api/channels/1/save", strHuge).first);
    EXPECT_EQ(61, value(34));
    EXPECT_EQ(mapBefore, paramFiles());

    httplib::Headers mapRebound = {{"Host", "evil.example:80"}};
    EXPECT_EQ(403, m_pClient->Get("/api/channels", mapRebound)->status);
    const httplib::Headers mapWrongToken = {{"X-Sensorctl-Token", std::string(32, '0')}};
    EXPECT_EQ(403, m_pClient->Patch("/api/channels/1/params", mapWrongToken, R"({"34": 70})", "application/json")->status);
    EXPECT_EQ(61, value(34));

    const httplib::Result objPage = m_pClient->Get("/");
    ASSERT_TRUE(objPage);
    EXPECT_NE(std::string::npos,
              objPage->body.find("<meta name=\"sensorctl-token\" content=\"" + m_pServer->token() + "\">"));
    EXPECT_EQ("text/javascript; charset=utf-8", m_pClient->Get("/js/app.js")->get_header_value("Content-Type"));
    EXPECT_EQ(404, m_pClient->Get("/js")->status);  // a folder is no file
    EXPECT_EQ(404, m_pClient->Get("/../flash/hd1/moduleConfig/moduleConfig.xml")->status);
    EXPECT_EQ(404, m_pClient->Get("/js/../../flash/hd1/moduleConfig/moduleConfig.xml")->status);
}

class ServeOptionsTest : public ServeTest {};

TEST_F(ServeOptionsTest, CredentialsAreAskedOfEveryRequestWhenGiven)
{
    writeFile(m_strDir + "/users", "# who may\nanna:s3cret\nbert:pw:with:colons\n");
    m_stConfig.m_strAuthFile = m_strDir + "/users";
    startServer();
    const httplib::Result objNone = m_pClient->Get("/api/info");
    EXPECT_EQ(401, objNone->status);
    EXPECT_EQ(0u, objNone->get_header_value("WWW-Authenticate").find("Digest realm=\"sensorctl\""));
    EXPECT_NE(std::string::npos, json::parse(objNone->body).value("error", "").find("credentials"));

    // The token without the right credentials changes nothing.
    const std::map<std::string, std::string> mapBefore = paramFiles();
    m_pClient->set_basic_auth("anna", "s3cre7");
    EXPECT_EQ(401, send("PATCH", "/api/channels/1/params", R"({"KEY_BRIGHTNESS": 70})").first);
    EXPECT_EQ(401, send("POST", "/api/channels/1/save").first);
    m_pClient->set_basic_auth("bert", "pw:with:colons");
    EXPECT_EQ(50, value(34));
    EXPECT_EQ(mapBefore, paramFiles());

    auto pDigest = newClient();
    pDigest->set_digest_auth("anna", "s3cret");
    const httplib::Headers mapToken = {{"X-Sensorctl-Token", m_pServer->token()}};
    EXPECT_EQ(200, pDigest->Patch("/api/channels/1/params", mapToken, R"({"34": 70})", "application/json")->status);
    pDigest->set_digest_auth("anna", "wrong");
    EXPECT_EQ(401, pDigest->Get("/api/channels/1/params")->status);
    EXPECT_EQ(70, value(34));
}

std::string md5Hex(const std::string& p_strText)
{
    unsigned char szHash[16];
    EVP_Digest(p_strText.data(), p_strText.size(), szHash, nullptr, EVP_md5(), nullptr);
    std::string strOut;
    for (unsigned char c : szHash) strOut += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
    return strOut;
}

// An expired nonce with the right password is "stale" (a browser retries
// without asking the user again); with a wrong one it is refused.
TEST_F(ServeOptionsTest, DigestOnAnExpiredNonceIsStaleOnlyWithTheRightPassword)
{
    writeFile(m_strDir + "/users", "anna:s3cret\n");
    Credentials objCredentials(0);
    ASSERT_EQ("", objCredentials.load(m_strDir + "/users"));
    const std::string strChallenge = objCredentials.challenges()[0];
    const size_t nAt = strChallenge.find("nonce=\"") + 7;
    const std::string strNonce = strChallenge.substr(nAt, strChallenge.find('"', nAt) - nAt);
    auto header = [&](const std::string& p_strPassword) {
        const std::string strResponse = md5Hex(md5Hex("anna:sensorctl:" + p_strPassword) + ":" + strNonce + ":" +
                                               md5Hex("GET:/api/info"));
        return "Digest username=\"anna\", realm=\"sensorctl\", nonce=\"" + strNonce +
               "\", uri=\"/api/info\", response=\"" + strResponse + "\"";
    };
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(AuthVerdict::kStaleNonce, objCredentials.check(header("s3cret"), "GET", "/api/info"));
    EXPECT_EQ(AuthVerdict::kRefused, objCredentials.check(header("s3cre7"), "GET", "/api/info"));
    EXPECT_EQ(AuthVerdict::kRefused, objCredentials.check(header("s3cret"), "GET", "/api/channels"));
    EXPECT_NE(std::string::npos, objCredentials.challenges(true)[0].find(", stale=true"));
}

TEST_F(ServeOptionsTest, FourChannelsAndARealLibraryWithoutSimulatorEndpoints)
{
    m_stConfig.m_nChannels = 4;
    m_stConfig.m_bSimulator = false;
    startServer();
    EXPECT_EQ(4u, ok("GET", "/api/channels")["channels"].size());
    ok("PATCH", "/api/channels/3/params", R"({"KEY_BRIGHTNESS": 70})");
    EXPECT_EQ(70, value(34, 3));
    EXPECT_EQ(50, value(34, 1));
    EXPECT_EQ(404, send("GET", "/api/sim").first);
    EXPECT_EQ(404, send("POST", "/api/sim/clock", R"({"time": "10:00"})").first);
    EXPECT_EQ(404, send("GET", "/api/channels/1/calls").first);
}

TEST_F(ServeOptionsTest, StartRefusedWhereInitWouldLoseSavedSchemes)
{
    startServer();
    stopServer();
    writeFile(m_strDir + "/flash" SNS_PATH_VERSION_FILE, "\x01");
    const std::map<std::string, std::string> mapBefore = paramFiles();
    SensorServer objServer(m_stConfig);
    const std::string strError = objServer.start();
    EXPECT_NE(std::string::npos, strError.find("--allow-reset")) << strError;
    EXPECT_EQ(mapBefore, paramFiles());
}

TEST(ServeConfigTest, OtherAddressesNeedCredentials)
{
    ServeConfig stConfig;
    EXPECT_EQ("", parseServeArgs({"--channels", "4", "--port", "0", "--bind", "127.0.0.2"}, stConfig));
    EXPECT_EQ(4, stConfig.m_nChannels);
    EXPECT_NE("", parseServeArgs({"--bind", "192.0.2.10"}, stConfig));
    EXPECT_NE("", parseServeArgs({"--bind", "127.evil.example", "--auth"}, stConfig));
    EXPECT_EQ("", parseServeArgs({"--bind", "192.0.2.10", "--auth", "users"}, stConfig));
    EXPECT_NE("", parseServeArgs({"--channels", "9"}, stConfig));
    EXPECT_NE("", parseServeArgs({"--port", "65536"}, stConfig));
}

}  // namespace
