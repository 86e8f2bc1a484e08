#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/Markers.h"
#include "engine/capture/ContextAnalyzer.h"

namespace {

using namespace orvel;

constexpr int stringCount = 20000;
constexpr int screenCount = 50;
constexpr int elementsPerScreen = 300;

std::string key(int i) {
    return "key." + std::to_string(i);
}

std::string english(int i) {
    return "Action number " + std::to_string(i) + " of the app";
}

const std::vector<SourceString>& strings() {
    static const std::vector<SourceString> made = [] {
        std::vector<SourceString> out(stringCount);
        for (int i = 0; i < stringCount; ++i) {
            out[i].table = "Main";
            out[i].key = key(i);
            out[i].text = english(i);
        }
        return out;
    }();
    return made;
}

// Every other element carries a marker, the rest are found by their text or not at all; elements
// stand five to a line under a heading every twenty, half of each window inside a scroll area.
AXNode screen(int s, ContextAnalyzer::MarkerTable& markers) {
    AXNode window{.role = "AXWindow", .title = "Screen " + std::to_string(s)};
    AXNode scroll{.role = "AXScrollArea"};
    for (int e = 0; e < elementsPerScreen; ++e) {
        const int string = (s * elementsPerScreen + e) % stringCount;
        const double x = (e % 5) * 120.0;
        const double y = (e / 5) * 24.0;
        AXNode element{.role = e % 20 == 0 ? "AXHeading" : (e % 3 ? "AXButton" : "AXStaticText"),
                       .frame = std::vector<double>{x, y, 110, 22}};
        std::string text = e % 7 == 6 ? "Unclaimed words " + std::to_string(e) : english(string);
        if (e % 2) {
            markers[std::to_string(string)] = {"Main", key(string)};
            text = Markers::encode(string) + text;
        }
        if (element.role == "AXStaticText")
            element.value = text;
        else
            element.title = text;
        element.help =
            e % 11 == 0 ? std::optional<std::string>("Tooltip of " + std::to_string(e)) : std::nullopt;
        (e < elementsPerScreen / 2 ? window.children : scroll.children).push_back(std::move(element));
    }
    window.children.push_back(std::move(scroll));
    return window;
}

void analyseCapture(benchmark::State& state) {
    ContextAnalyzer::MarkerTable markers;
    AXReader::WindowList windows;
    for (int s = 0; s < screenCount; ++s)
        windows.emplace_back("Screen " + std::to_string(s), screen(s, markers));
    const ContextAnalyzer::EnglishTexts englishTexts = ContextAnalyzer::englishTexts(strings());
    for (auto _ : state) {
        const ContextAnalyzer::TextIndex index = ContextAnalyzer::textIndex(strings(), nullptr);
        const ContextAnalyzer::Tables tables{markers, englishTexts, index};
        auto occurrences = ContextAnalyzer::analyze(windows, std::nullopt, "Bench", tables, Date{});
        auto unkeyed = ContextAnalyzer::unkeyedTexts(windows, index, "Bench");
        benchmark::DoNotOptimize(occurrences);
        benchmark::DoNotOptimize(unkeyed);
    }
}
BENCHMARK(analyseCapture)->Unit(benchmark::kMillisecond);

} // namespace
