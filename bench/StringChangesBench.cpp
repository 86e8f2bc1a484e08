#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "engine/apps/StringChanges.h"

namespace {

// Two versions of an app of 20 tables: the first fully translated with its English recorded, the second
// with 5% of the strings reworded under new keys, 2% moved to new keys and 2% removed.
struct AppVersions {
    orvel::TranslationProject project;
    std::vector<orvel::SourceString> strings;
};

AppVersions generatedApp(int count) {
    static const std::vector<std::string> vocabulary = [] {
        std::vector<std::string> words;
        for (const char* stem :
             {"open",  "save",   "file",     "folder", "window", "show",     "hide",    "delete", "copy",
              "paste", "export", "import",   "print",  "share",  "settings", "account", "sync",   "the",
              "a",     "all",    "selected", "items",  "now",    "later",    "again",   "new"})
            for (const char* ending : {"", "s", "ed", "ing", "er"})
                words.push_back(std::string(stem) + ending);
        return words;
    }();
    std::mt19937 random(20000);
    auto sentence = [&](int words) {
        std::string text;
        for (int w = 0; w < words; ++w)
            text += (w ? " " : "") + vocabulary[random() % vocabulary.size()];
        return text;
    };

    AppVersions app;
    app.project.sourceText.emplace();
    for (int i = 0; i < count; ++i) {
        orvel::SourceString string;
        string.table = "Table" + std::to_string(i % 20);
        string.key = "key" + std::to_string(i);
        string.text = sentence(1 + static_cast<int>(random() % 7)) + " " + std::to_string(i);
        orvel::StringTranslation translation;
        translation.text = "translated " + string.text;
        translation.source = string.text;
        app.project.translations.emplace(string.id(), translation);
        (*app.project.sourceText)[string.id()] = string.text;

        const int fate = static_cast<int>(random() % 100);
        if (fate < 2)
            continue; // removed
        if (fate < 4) {
            string.key += "-moved";
        } else if (fate < 9) {
            string.key += "-reworded";
            string.text = sentence(1 + static_cast<int>(random() % 3)) + " " + string.text;
        }
        app.strings.push_back(std::move(string));
    }
    return app;
}

void BM_ComputeStringChanges(benchmark::State& state) {
    const AppVersions app = generatedApp(static_cast<int>(state.range(0)));
    std::size_t changed = 0;
    for (auto _ : state) {
        auto changes = orvel::StringChanges::compute(app.project, app.strings);
        changed = changes.changed.size();
        benchmark::DoNotOptimize(changes);
    }
    state.counters["changed"] = static_cast<double>(changed);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(app.strings.size()));
}

void BM_ApplyStringChanges(benchmark::State& state) {
    const AppVersions app = generatedApp(static_cast<int>(state.range(0)));
    const auto changes = orvel::StringChanges::compute(app.project, app.strings);
    for (auto _ : state) {
        state.PauseTiming();
        orvel::TranslationProject project = app.project;
        state.ResumeTiming();
        orvel::apply(project, changes.changed, changes.moved, changes.removed);
        benchmark::DoNotOptimize(project);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(app.strings.size()));
}

} // namespace

BENCHMARK(BM_ComputeStringChanges)->Arg(20000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyStringChanges)->Arg(20000)->Unit(benchmark::kMillisecond);
