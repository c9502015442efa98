// `sensorctl serve` on loopback against the library calls it wraps: a
// one-key PATCH against setParameter, GET .../style against getUIStyleFile,
// and a no-op PATCH on the same connection (the transport floor). Elapsed
// time, since a round trip's work is spread over the client and the server's
// threads; the table at the end gives each request as a multiple of its
// library call. The client keeps its connection, as a browser does.
#include <stdio.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <thread>

#include <benchmark/benchmark.h>
#include <httplib.h>

#include "ConsoleCapture.h"
#include "HostFlash.h"
#include "ISensorController.h"
#include "PlatformSim.h"
#include "SensorKeys.h"
#include "SensorServer.h"

namespace {

struct Bench {
    std::string m_strDir;
    std::unique_ptr<SensorServer> m_pServer;
    std::thread m_objRun;
    std::unique_ptr<httplib::Client> m_pClient;
    httplib::Headers m_mapToken;
};

Bench g_stBench;

// The library call itself, on the controller the server drives.
ISensorController& controller()
{
    return g_stBench.m_pServer->controller(1);
}

void setParameterCall(benchmark::State& p_objState)
{
    int nValue = 50;
    for (auto _ : p_objState) {
        nValue ^= 1;
        benchmark::DoNotOptimize(controller().setParameter(KEY_BRIGHTNESS, nValue, true));
    }
}

void patchRoundTrip(benchmark::State& p_objState)
{
    int nValue = 50;
    for (auto _ : p_objState) {
        nValue ^= 1;
        const httplib::Result objRes = g_stBench.m_pClient->Patch(
            "/api/channels/1/params", g_stBench.m_mapToken,
            "{\"KEY_BRIGHTNESS\": " + std::to_string(nValue) + "}", "application/json");
        if (!objRes || objRes->status != 200) p_objState.SkipWithError("PATCH failed");
    }
}

// The transport floor: the same connection, headers and token, a body the
// server refuses (422) before it touches the channel.
void noopRoundTrip(benchmark::State& p_objState)
{
    for (auto _ : p_objState) {
        const httplib::Result objRes = g_stBench.m_pClient->Patch("/api/channels/1/params", g_stBench.m_mapToken,
                                                                  "{}", "application/json");
        if (!objRes || objRes->status != 422) p_objState.SkipWithError("no-op PATCH not refused");
    }
}

void uiStyleCall(benchmark::State& p_objState)
{
    for (auto _ : p_objState) benchmark::DoNotOptimize(controller().getUIStyleFile());
}

void styleRoundTrip(benchmark::State& p_objState)
{
    for (auto _ : p_objState) {
        const httplib::Result objRes = g_stBench.m_pClient->Get("/api/channels/1/style");
        if (!objRes || objRes->status != 200) p_objState.SkipWithError("GET style failed");
    }
}

// Keeps the median of every benchmark, for the table of multiples.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& p_vecRuns) override
    {
        for (const Run& stRun : p_vecRuns)
            if (stRun.aggregate_name == "median" || stRun.run_type == Run::RT_Iteration)
                m_mapNs[stRun.run_name.function_name] =
                    stRun.GetAdjustedRealTime() * (stRun.time_unit == benchmark::kMicrosecond ? 1e3 : 1);
        ConsoleReporter::ReportRuns(p_vecRuns);
    }
    std::map<std::string, double> m_mapNs;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    g_stBench.m_strDir = sensorhost::makeScratchDir("serve-bench");
    if (g_stBench.m_strDir.empty() ||
        !sensorhost::copyTree(sensorhost::findSampleFlash(), g_stBench.m_strDir + "/flash").empty()) {
        fprintf(stderr, "serve_bench: no scratch copy of the sample camera\n");
        return 1;
    }
    // As `sensorctl serve` runs: the library's console captured into a log,
    // its failed checks collected for the answers.
    sensorhost::ConsoleCapture& objConsole = sensorhost::ConsoleCapture::instance();
    if (objConsole.start() == nullptr ||
        !objConsole.setLog(g_stBench.m_strDir + "/flash/sensorctl.log").empty()) {
        fprintf(stderr, "serve_bench: cannot capture the library's console\n");
        return 1;
    }
    // The sensor thread waits its real second between passes: it does not compete.
    platformsim::setSleepScale(1);
    ServeConfig stConfig;
    stConfig.m_strFlashDir = g_stBench.m_strDir + "/flash";
    stConfig.m_nPort = 0;
    g_stBench.m_pServer = std::make_unique<SensorServer>(stConfig);
    const std::string strError = g_stBench.m_pServer->start();
    if (!strError.empty()) {
        fprintf(stderr, "serve_bench: %s\n", strError.c_str());
        return 1;
    }
    g_stBench.m_objRun = std::thread([] { g_stBench.m_pServer->run(); });
    g_stBench.m_pClient = std::make_unique<httplib::Client>("127.0.0.1", g_stBench.m_pServer->port());
    g_stBench.m_pClient->set_keep_alive(true);
    g_stBench.m_pClient->set_tcp_nodelay(true);
    g_stBench.m_mapToken = {{"X-Sensorctl-Token", g_stBench.m_pServer->token()}};

    benchmark::RegisterBenchmark("setParameter", setParameterCall)->UseRealTime();
    benchmark::RegisterBenchmark("PATCH", patchRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("no-op PATCH", noopRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("getUIStyleFile", uiStyleCall)->UseRealTime()->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("GET style", styleRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);
    MedianReporter objReporter;
    objReporter.SetOutputStream(&std::cerr);
    objReporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&objReporter);
    benchmark::Shutdown();

    std::map<std::string, double>& mapNs = objReporter.m_mapNs;
    fprintf(stderr, "\n| Request | Time | Library call | Time | Multiple | Goal |\n|---|---:|---|---:|---:|---:|\n");
    const struct {
        const char* szRequest;
        const char* szCall;
        double dGoal;  // 0: none
    } kRows[] = {{"PATCH", "setParameter", 3}, {"no-op PATCH", "setParameter", 0}, {"GET style", "getUIStyleFile", 1.5}};
    for (const auto& stRow : kRows) {
        const double dMultiple = mapNs[stRow.szRequest] / mapNs[stRow.szCall];
        fprintf(stderr, "| %s | %.1f us | %s | %.1f us | %.1f | %s |\n", stRow.szRequest, mapNs[stRow.szRequest] / 1e3,
                stRow.szCall, mapNs[stRow.szCall] / 1e3, dMultiple,
                stRow.dGoal == 0 ? "-" : dMultiple <= stRow.dGoal ? "met" : "NOT met");
    }
    // What the server adds to the transport it cannot avoid: the handler and its library calls.
    fprintf(stderr, "\nPATCH above the no-op floor: %.1f us (%.1f x setParameter); the floor alone is %.1f x setParameter\n",
            (mapNs["PATCH"] - mapNs["no-op PATCH"]) / 1e3, (mapNs["PATCH"] - mapNs["no-op PATCH"]) / mapNs["setParameter"],
            mapNs["no-op PATCH"] / mapNs["setParameter"]);

    g_stBench.m_pClient.reset();
    g_stBench.m_pServer->stop();
    g_stBench.m_objRun.join();
    g_stBench.m_pServer.reset();
    objConsole.stop();
    std::filesystem::remove_all(g_stBench.m_strDir);
    return 0;
}
