#include <benchmark/benchmark.h>

#include <string>

#include "engine/reference/AndroidStrings.h"

namespace {

// A resource file of `count` quoted strings of about 200 characters each, as translated files write them.
std::string resources(int count) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n";
    for (int i = 0; i < count; ++i)
        xml += "  <string name=\"key_" + std::to_string(i) + "\">\"" + std::string(200, 'x') +
               " <xliff:g id=\"n\">%1$s</xliff:g> \\u2026\"</string>\n";
    return xml + "</resources>\n";
}

void readResourceFile(benchmark::State& state) {
    const std::string xml = resources(2000);
    for (auto _ : state)
        benchmark::DoNotOptimize(orvel::SoftwareFormats::androidStrings(xml));
}
BENCHMARK(readResourceFile)->Unit(benchmark::kMillisecond);

// One very long quoted value: telling whether the quotes enclose it must not split it all into characters.
void readLongQuotedValue(benchmark::State& state) {
    const std::string xml =
        "<resources><string name=\"a\">\"" + std::string(5'000'000, 'x') + "\"</string></resources>";
    for (auto _ : state)
        benchmark::DoNotOptimize(orvel::SoftwareFormats::androidStrings(xml));
}
BENCHMARK(readLongQuotedValue)->Unit(benchmark::kMillisecond);

} // namespace
