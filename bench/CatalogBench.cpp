#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/FileIO.h"
#include "core/SourceString.h"
#include "core/StringCatalog.h"
#include "core/StringsFiles.h"

namespace {

namespace fs = std::filesystem;

// A catalog shaped like a large app's: comments everywhere, every tenth entry a plural, and the
// entries translated into `languages` languages besides English.
std::string generatedCatalog(int entries, int languages = 0, int first = 0) {
    orvel::json::Json strings = orvel::json::Json::object();
    for (int i = first; i < first + entries; ++i) {
        orvel::json::Json localizations = orvel::json::Json::object();
        for (int language = -1; language < languages; ++language) {
            const std::string code = language < 0 ? "en" : "l" + std::to_string(language);
            orvel::json::Json text = orvel::json::Json::object();
            if (i % 10 == 0) {
                text["variations"]["plural"]["one"]["stringUnit"] = {{"state", "new"},
                                                                     {"value", code + " %lld item"}};
                text["variations"]["plural"]["other"]["stringUnit"] = {{"state", "new"},
                                                                       {"value", code + " %lld items"}};
            } else {
                text["stringUnit"] = {{"state", "translated"},
                                      {"value", code + " Open document number " + std::to_string(i)}};
            }
            localizations[code] = text;
        }
        strings["Key " + std::to_string(i)] = {
            {"comment", "Shown in the toolbar of window " + std::to_string(i % 7)},
            {"localizations", localizations}};
    }
    return orvel::json::dump(
        orvel::json::Json{{"sourceLanguage", "en"}, {"version", "1.0"}, {"strings", strings}}, 2);
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

// The catalogs of a large app, 50,000 strings in 40 files of about 2 MB (80 MB in all), written once.
// With ORVEL_CATALOG_BENCH_FOLDER set they are written there and kept, so that other readers can be
// timed on the same files; otherwise they go to a temporary folder that is removed at the end.
struct CatalogFiles {
    CatalogFiles() {
        const char* kept = std::getenv("ORVEL_CATALOG_BENCH_FOLDER");
        keep = kept != nullptr;
        if (keep) {
            folder = kept;
        } else {
            char pattern[] = "/tmp/orvel-bench-catalogs-XXXXXX";
            folder = mkdtemp(pattern);
        }
        for (int table = 0; table < 40; ++table) {
            const fs::path file = folder / ("Table" + std::to_string(table) + ".xcstrings");
            if (!fs::exists(file))
                orvel::StringsFiles::writeAtomically(generatedCatalog(1250, 8, table * 1250), file);
            files.push_back(file);
            bytes += fs::file_size(file);
        }
    }
    ~CatalogFiles() {
        std::error_code ignored;
        if (!keep)
            fs::remove_all(folder, ignored);
    }

    fs::path folder;
    bool keep = false;
    std::vector<fs::path> files;
    std::int64_t bytes = 0;
};

CatalogFiles& catalogFiles() {
    static CatalogFiles shared;
    return shared;
}

// Reading an app's catalogs: each file read, decoded and its strings taken, with every language's
// localizations (0) or only the source language's, as an app's strings are loaded (1).
void BM_ReadCatalogFiles(benchmark::State& state) {
    const CatalogFiles& catalogs = catalogFiles();
    const auto languages =
        state.range(0) != 0 ? orvel::StringCatalog::Languages::source : orvel::StringCatalog::Languages::all;
    for (auto _ : state) {
        std::size_t strings = 0;
        for (const fs::path& file : catalogs.files)
            strings +=
                orvel::SourceString::extract(orvel::StringCatalog::load(file, languages), file.stem()).size();
        benchmark::DoNotOptimize(strings);
    }
    state.SetBytesProcessed(state.iterations() * catalogs.bytes);
}

// The same files through the strict decoding alone, the reading the quick one stands in for.
void BM_ReadCatalogFilesStrictly(benchmark::State& state) {
    const CatalogFiles& catalogs = catalogFiles();
    for (auto _ : state) {
        std::size_t strings = 0;
        for (const fs::path& file : catalogs.files) {
            const auto catalog =
                orvel::StringCatalog::fromJson(orvel::json::parse(orvel::FileIO::read(file)));
            strings += orvel::SourceString::extract(catalog, file.stem()).size();
        }
        benchmark::DoNotOptimize(strings);
    }
    state.SetBytesProcessed(state.iterations() * catalogs.bytes);
}

} // namespace

BENCHMARK(BM_DecodeAndExtractCatalog)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCatalogFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadCatalogFilesStrictly)->Unit(benchmark::kMillisecond)->UseRealTime();
