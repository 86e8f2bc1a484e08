#include <benchmark/benchmark.h>

#include <string>

#include "core/OrvelPaths.h"
#include "engine/apps/OverlayWriter.h"
#include "tests/support/ScratchFolder.h"

namespace {

using namespace orvel;

// 20 tables of 1,000 strings each; every tenth string is a plural.
struct GeneratedProject {
    std::vector<SourceString> strings;
    TranslationProject project;
};

GeneratedProject generatedProject() {
    GeneratedProject generated;
    generated.project.app = "com.example.Bench";
    generated.project.language = "de";
    const Date now = Dates::now();
    for (int table = 0; table < 20; ++table) {
        for (int i = 0; i < 1000; ++i) {
            SourceString source;
            source.table = "Table" + std::to_string(table);
            source.key = "screen." + std::to_string(i % 37) + ".item" + std::to_string(i);
            StringTranslation translation;
            translation.origin = StringTranslation::Origin::model;
            translation.model = "bench-model";
            translation.updated = now;
            if (i % 10 == 0) {
                source.text = "%lld items in \"" + source.key + "\"";
                source.plural =
                    std::map<std::string, std::string>{{"one", "%lld item"}, {"other", source.text}};
                translation.plural = std::map<std::string, std::string>{
                    {"one", "%lld Objekt"}, {"other", "%lld Objekte in „" + source.key + "“"}};
            } else {
                source.text = "Show the item " + std::to_string(i) + " of %@";
                translation.text = "Objekt " + std::to_string(i) + " von %@ zeigen";
            }
            translation.source = source.text;
            generated.project.translations.emplace(source.id(), std::move(translation));
            generated.strings.push_back(std::move(source));
        }
    }
    return generated;
}

void publishTwentyThousandTranslations(benchmark::State& state) {
    testing::ScratchFolder home;
    OrvelPaths::setHomeOverride(home.path());
    TranslatableApp app;
    app.bundleIdentifier = "com.example.Bench";
    const auto generated = generatedProject();
    for (auto _ : state)
        OverlayWriter::publish(generated.project, generated.strings, app, "Orvel");
    if (OverlayWriter::existingTables(OrvelPaths::lproj("de", app.dataFolder())).size() != 20)
        state.SkipWithError("not every table was written");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(generated.strings.size()));
    OrvelPaths::setHomeOverride(std::nullopt);
}
BENCHMARK(publishTwentyThousandTranslations)->Unit(benchmark::kMillisecond);

// What a workspace pays, off the main thread, on loading a project to learn whether its overlay is level
// with it: every table made again and compared with its file, which a level overlay makes the whole way.
void checkTwentyThousandTranslationsPublished(benchmark::State& state) {
    testing::ScratchFolder home;
    OrvelPaths::setHomeOverride(home.path());
    TranslatableApp app;
    app.bundleIdentifier = "com.example.Bench";
    const auto generated = generatedProject();
    OverlayWriter::publish(generated.project, generated.strings, app, "Orvel");
    bool level = false;
    for (auto _ : state) {
        level = OverlayWriter::isPublished(generated.project, generated.strings, app);
        benchmark::DoNotOptimize(level);
    }
    if (!level)
        state.SkipWithError("the overlay just published was not level");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(generated.strings.size()));
    OrvelPaths::setHomeOverride(std::nullopt);
}
BENCHMARK(checkTwentyThousandTranslationsPublished)->Unit(benchmark::kMillisecond);

} // namespace
