#include <benchmark/benchmark.h>

#include "core/SourceString.h"
#include "core/StringCatalog.h"

namespace {

// A catalog shaped like a large app's: comments everywhere, every tenth entry a plural.
std::string generatedCatalog(int entries) {
    orvel::json::Json strings = orvel::json::Json::object();
    for (int i = 0; i < entries; ++i) {
        orvel::json::Json source = orvel::json::Json::object();
        if (i % 10 == 0) {
            source["variations"]["plural"]["one"]["stringUnit"] = {{"state", "new"}, {"value", "%lld item"}};
            source["variations"]["plural"]["other"]["stringUnit"] = {{"state", "new"},
                                                                     {"value", "%lld items"}};
        } else {
            source["stringUnit"] = {{"state", "translated"},
                                    {"value", "Open document number " + std::to_string(i)}};
        }
        strings["Key " + std::to_string(i)] = {
            {"comment", "Shown in the toolbar of window " + std::to_string(i % 7)},
            {"localizations", {{"en", source}}}};
    }
    return orvel::json::dump(
        orvel::json::Json{{"sourceLanguage", "en"}, {"version", "1.0"}, {"strings", strings}});
}

void BM_DecodeAndExtractCatalog(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const std::string text = generatedCatalog(entries);
    for (auto _ : state) {
        auto strings = orvel::SourceString::extract(orvel::StringCatalog::decode(text), "Localizable");
        benchmark::DoNotOptimize(strings);
    }
    state.SetItemsProcessed(state.iterations() * entries);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK(BM_DecodeAndExtractCatalog)->Arg(20000)->Unit(benchmark::kMillisecond);
