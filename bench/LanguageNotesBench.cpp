#include <benchmark/benchmark.h>

#include "engine/model/LanguageNotes.h"

using namespace orvel;

// Every system message and every checked translation asks for the notes: after the first request
// this must stay a lookup under a short lock.
static void cachedNotesLookup(benchmark::State& state) {
    LanguageNotes::notes("ro-RO");
    for (auto _ : state)
        benchmark::DoNotOptimize(LanguageNotes::notes("ro-RO"));
}
BENCHMARK(cachedNotesLookup)->Threads(1)->Threads(8);

// A clean translation goes through every avoid rule.
static void avoidRuleSearchOnCleanText(benchmark::State& state) {
    const auto notes = LanguageNotes::notes("ro");
    const std::string translation =
        "Dă clic pentru a deschide setările ecranului integrat, apoi apasă %@ o dată.";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            notes->firstMatch(translation, "Click to open the built-in display settings"));
}
BENCHMARK(avoidRuleSearchOnCleanText);
