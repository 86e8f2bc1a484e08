// The string list of a large app: reading its strings into display order, and what one keystroke in the
// search field, one click on a filter or one translation the person enters costs (the rows and the five
// counts), which must stay well under a frame (16 ms).

#include "bench/LargeWorkspace.h"

#include <benchmark/benchmark.h>

namespace {

using orvel::bench::Fixture;
using orvel::bench::fixture;

int rowsAndCounts(const orvel::Workspace& workspace) {
    int total = static_cast<int>(workspace.visibleStrings().size());
    for (orvel::WorkspaceFilter filter : orvel::allFilters)
        total += workspace.count(filter).value_or(0);
    return total;
}

void BM_WorkspaceReloadStrings(benchmark::State& state) {
    Fixture& shared = fixture();
    std::vector<orvel::SourceString> original = shared.engine.strings;
    std::vector<orvel::SourceString> edited = original;
    edited.front().text = "Reworded";
    bool flip = false;
    for (auto _ : state) {
        // Alternating versions, so that every read replaces and re-indexes the strings.
        shared.engine.strings = (flip = !flip) ? edited : original;
        shared.workspace->reloadStrings();
        benchmark::DoNotOptimize(rowsAndCounts(*shared.workspace));
    }
    shared.engine.strings = original;
    shared.workspace->reloadStrings();
}
BENCHMARK(BM_WorkspaceReloadStrings)->Unit(benchmark::kMillisecond);

void BM_WorkspaceSearchKeystroke(benchmark::State& state) {
    Fixture& shared = fixture();
    shared.workspace->setFilter(orvel::WorkspaceFilter::all);
    const std::vector<std::string> typed{"o", "op", "ope", "open", "ope", "op"};
    // The first search folds the texts once; every keystroke after it is what is measured.
    shared.workspace->setSearch("x");
    rowsAndCounts(*shared.workspace);
    std::size_t next = 0;
    for (auto _ : state) {
        shared.workspace->setSearch(typed[next++ % typed.size()]);
        benchmark::DoNotOptimize(rowsAndCounts(*shared.workspace));
    }
    shared.workspace->setSearch("");
}
BENCHMARK(BM_WorkspaceSearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_WorkspaceFilterSwitch(benchmark::State& state) {
    Fixture& shared = fixture();
    std::size_t next = 0;
    for (auto _ : state) {
        shared.workspace->setFilter(orvel::allFilters[next++ % orvel::allFilters.size()]);
        benchmark::DoNotOptimize(rowsAndCounts(*shared.workspace));
    }
    shared.workspace->setFilter(orvel::WorkspaceFilter::all);
}
BENCHMARK(BM_WorkspaceFilterSwitch)->Unit(benchmark::kMillisecond);

void BM_WorkspacePersonEdit(benchmark::State& state) {
    Fixture& shared = fixture();
    const std::string id = shared.workspace->strings().front().id();
    const std::optional<std::string> original = shared.workspace->translation(id)
                                                    ? std::optional(shared.workspace->translation(id)->displayText())
                                                    : std::nullopt;
    bool flip = false;
    for (auto _ : state) {
        // Alternating texts, so that every edit changes the translation.
        shared.workspace->setText((flip = !flip) ? "Erste Fassung" : "Zweite Fassung", id);
        benchmark::DoNotOptimize(rowsAndCounts(*shared.workspace));
    }
    shared.workspace->setText(original.value_or(""), id);
}
BENCHMARK(BM_WorkspacePersonEdit)->Unit(benchmark::kMillisecond);

} // namespace
