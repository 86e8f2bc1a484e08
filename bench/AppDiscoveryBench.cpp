#include <benchmark/benchmark.h>

#include <string>

#include "engine/apps/AppDiscovery.h"
#include "tests/support/ScratchFolder.h"

namespace {

// A catalog of `count` plain entries, about the size of a small app's table.
std::string catalog(int count) {
    std::string json = R"({"sourceLanguage": "en", "version": "1.0", "strings": {)";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            json += ",";
        const std::string key = "Key number " + std::to_string(i);
        json += "\"" + key +
                "\": {\"comment\": \"A button\", \"localizations\": {\"en\": {\"stringUnit\": "
                "{\"state\": \"translated\", \"value\": \"" +
                key + "\"}}}}";
    }
    return json + "}}";
}

void scanTwoHundredBundles(benchmark::State& state) {
    orvel::testing::ScratchFolder folder;
    const std::string table = catalog(200);
    for (int i = 0; i < 200; ++i) {
        const std::string name = "App " + std::to_string(i) + ".app";
        folder.write(name + "/Contents/Info.plist",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                     "<key>CFBundleIdentifier</key><string>com.example.app" +
                         std::to_string(i) +
                         "</string><key>CFBundleShortVersionString</key><string>1.0</string>"
                         "<key>CFBundleVersion</key><string>7</string></dict></plist>");
        folder.write(name + "/Contents/Resources/Orvel/Localizable.xcstrings", table);
        folder.write(name + "/Contents/Resources/Orvel/app.json", R"({"description": "A generated app"})");
    }
    const std::vector<std::filesystem::path> folders{folder.path()};
    for (auto _ : state) {
        auto apps = orvel::AppDiscovery::scan(folders);
        if (apps.size() != 200)
            state.SkipWithError("not every bundle was found");
        benchmark::DoNotOptimize(apps);
    }
}
BENCHMARK(scanTwoHundredBundles)->Unit(benchmark::kMillisecond);

} // namespace
