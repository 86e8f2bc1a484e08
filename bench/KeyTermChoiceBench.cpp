// The key-term choice of a run of the large app (50,000 strings) in German, against a model that answers
// at once: what the program does itself before the first translate request can leave, the terms of the
// language's notes found in the strings, the candidate phrases counted and the examples of each picked.
// The requests themselves take a model's seconds; everything beside them must stay a fraction of one.

#include <benchmark/benchmark.h>

#include "bench/LargeWorkspace.h"
#include "bench/SlowModel.h"
#include "engine/pipeline/TermChoice.h"
#include "tests/support/LoopbackServer.h"

namespace {

void BM_KeyTermChoice(benchmark::State& state) {
    orvel::testing::LoopbackServer server;
    std::atomic<int> requests = 0;
    server.respond([&requests](const orvel::testing::RecordedRequest& request) {
        ++requests;
        return orvel::bench::answerAfter(request, std::chrono::milliseconds(0));
    });
    orvel::ModelSettings settings;
    settings.endpoint = server.url("/v1");
    settings.model = "bench";
    settings.jsonMode = true;
    settings.timeout = 60;
    const orvel::TranslationJob job(orvel::AppProfile("Large", "en"), "de", settings, {}, {}, {}, {}, false,
                                    false);
    const std::vector<orvel::SourceString> strings =
        orvel::bench::generatedApp(static_cast<int>(state.range(0))).strings;
    std::size_t chosen = 0;
    for (auto _ : state) {
        requests = 0;
        chosen = orvel::Terms::choose(strings, orvel::Workspace::keyTermLimit, job).size();
    }
    state.counters["terms"] = static_cast<double>(chosen);
    state.counters["requests"] = requests.load();
}
BENCHMARK(BM_KeyTermChoice)
    ->Arg(orvel::bench::stringCount)
    ->Arg(20'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
