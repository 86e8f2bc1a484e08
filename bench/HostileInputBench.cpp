// Readers and cleaners that take text from outside must cost time in proportion to it: a model answer of
// a megabyte or a property list of a few hundred bytes must not stall a run.

#include <benchmark/benchmark.h>

#include <string>

#include "core/PropertyList.h"
#include "engine/pipeline/Normalizer.h"
#include "engine/reference/PoEntries.h"

namespace {

// An answer of quoted words, as a model may send back for a source that quotes.
std::string quotedWords(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += "\"Wort\" ";
    return text;
}

void normalizeQuotedAnswer(benchmark::State& state) {
    const std::string answer = quotedWords(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(orvel::Normalizer::normalize(answer, "Press \"Save\".", "de"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
// Linear: 1 MB within a few times the cost of 64 KB per byte.
BENCHMARK(normalizeQuotedAnswer)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void readPoCatalogue(benchmark::State& state) {
    std::string po;
    for (int i = 0; i < state.range(0); ++i)
        po += "#: src/file.c:" + std::to_string(i) + "\n  msgid   \"Open file " + std::to_string(i) +
              "\"  \n  msgstr  \"Datei \"\n   \"" + std::to_string(i) + " \u00F6ffnen\"   \n\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(orvel::SoftwareFormats::poEntries(po));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * po.size()));
}
BENCHMARK(readPoCatalogue)->Arg(20000)->Unit(benchmark::kMillisecond);

// Twenty levels whose arrays refer twice to the level below: a million nodes once expanded.
std::string sharedChildren(int levels) {
    std::string objects;
    std::string offsets;
    const auto offset = [&] { offsets += static_cast<char>(8 + objects.size()); };
    offset();
    objects += "\x51x";
    for (int i = 1; i <= levels; ++i) {
        offset();
        objects += "\xA2";
        objects += static_cast<char>(i - 1);
        objects += static_cast<char>(i - 1);
    }
    std::string out = "bplist00" + objects;
    const auto table = static_cast<char>(out.size());
    out += offsets;
    out += std::string(6, '\0') + "\x01\x01" + std::string(7, '\0') + static_cast<char>(levels + 1) +
           std::string(7, '\0') + static_cast<char>(levels) + std::string(7, '\0') + table;
    return out;
}

void refuseSharedChildren(benchmark::State& state) {
    const std::string bytes = sharedChildren(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(orvel::PropertyList::parseWithinLimits(bytes));
}
// The measure stops at the node budget: every depth beyond it costs the same.
BENCHMARK(refuseSharedChildren)->Arg(21)->Arg(30)->Arg(60)->Unit(benchmark::kMillisecond);

} // namespace
