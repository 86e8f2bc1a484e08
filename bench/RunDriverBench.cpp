// A whole run of 2,000 strings against a model that answers every request after a fixed 200 ms: with
// batches running side by side the run should take little more than the batches per window slot times
// the answer time, whatever the window.

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "bench/SlowModel.h"
#include "engine/pipeline/TranslationJob.h"
#include "tests/support/LoopbackServer.h"

namespace {

using namespace std::chrono_literals;

constexpr int stringCount = 2000;
constexpr int batchSize = 50;
constexpr auto answerTime = 200ms;

std::vector<orvel::SourceString> strings() {
    std::vector<orvel::SourceString> made;
    for (int i = 0; i < stringCount; ++i) {
        orvel::SourceString string;
        string.table = "Localizable";
        string.key = "key" + std::to_string(i);
        string.text = "Open the document number " + std::to_string(i);
        made.push_back(std::move(string));
    }
    return made;
}

void BM_RunAgainstASlowModel(benchmark::State& state) {
    orvel::testing::LoopbackServer server;
    server.respond([](const orvel::testing::RecordedRequest& request) {
        return orvel::bench::answerAfter(request, answerTime);
    });
    orvel::ModelSettings settings;
    settings.endpoint = server.url("/v1");
    settings.model = "bench";
    settings.jsonMode = true;
    settings.timeout = 60;
    settings.batchSize = batchSize;
    settings.concurrency = static_cast<int>(state.range(0));
    const orvel::TranslationJob job(orvel::AppProfile("Bench", "en"), "de", settings, {}, {}, {}, {}, false,
                                    false);
    const auto given = strings();

    const int batches = (stringCount + batchSize - 1) / batchSize;
    const int rounds = (batches + settings.concurrency - 1) / settings.concurrency;
    const double bound = std::chrono::duration<double>(answerTime).count() * rounds;
    double wall = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto failed = job.run(given, {}, {}, {});
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!failed.empty())
            state.SkipWithError("strings failed");
    }
    state.counters["bound_s"] = bound;
    // The goal is at most 1.05.
    state.counters["wall_over_bound"] = wall / bound;
}

BENCHMARK(BM_RunAgainstASlowModel)
    ->Arg(1)
    ->Arg(2)
    ->Arg(8)
    ->Arg(32)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
