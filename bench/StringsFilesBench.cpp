#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/StringsFiles.h"

using namespace orvel;

namespace {

StringsFiles::SimpleTable sampleTable(int count) {
    StringsFiles::SimpleTable table;
    for (int i = 0; i < count; ++i) {
        table.emplace("Settings.section" + std::to_string(i % 97) + ".item" + std::to_string(i) + ".title",
                      "Übersetzter Text Nummer " + std::to_string(i) +
                          " mit \"Anführungszeichen\"\nund %@ (" + std::to_string(i * 7) + ")");
    }
    return table;
}

void writeAndReadStrings(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "orvel-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const auto path = std::filesystem::path(folder) / "de.lproj" / "Localizable.strings";
    const auto table = sampleTable(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        StringsFiles::writeStrings(table, path);
        const auto read = StringsFiles::readStrings(path);
        if (read.size() != table.size())
            state.SkipWithError("the file did not read back whole");
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(writeAndReadStrings)->Arg(50000)->Unit(benchmark::kMillisecond);
