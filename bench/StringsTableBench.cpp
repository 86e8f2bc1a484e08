// The strings table of a large app: the rows read again and the first screenful drawn, as after a
// change of language or filter, and one keystroke in the filter field, which must stay under a frame
// (16 ms).

#include "Orvel/views/StringsTable.h"
#include "Orvel/views/StringsTableModel.h"
#include "bench/LargeWorkspace.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

using orvel::bench::fixture;

// The table at a window's size, drawn into an image as a screen would show it.
struct DrawnTable {
    DrawnTable() : table(*fixture().workspace), image(1000, 700, QImage::Format_ARGB32_Premultiplied) {
        table.resize(image.size());
        table.setAttribute(Qt::WA_DontShowOnScreen);
        table.show();
    }
    int draw() {
        table.render(&image);
        return table.rows()->rowCount();
    }
    orvel::StringsTable table;
    QImage image;
};

void BM_StringsTableResetAndFirstPaint(benchmark::State& state) {
    auto& workspace = *fixture().workspace;
    DrawnTable drawn;
    bool flip = false;
    for (auto _ : state) {
        // Each switch reads all rows again.
        workspace.setFilter((flip = !flip) ? orvel::WorkspaceFilter::untranslated
                                           : orvel::WorkspaceFilter::all);
        benchmark::DoNotOptimize(drawn.draw());
    }
    workspace.setFilter(orvel::WorkspaceFilter::all);
}
BENCHMARK(BM_StringsTableResetAndFirstPaint)->Unit(benchmark::kMillisecond);

void BM_StringsTableFilterKeystroke(benchmark::State& state) {
    auto& workspace = *fixture().workspace;
    DrawnTable drawn;
    const std::vector<std::string> typed{"o", "op", "ope", "open", "ope", "op"};
    workspace.setSearch("x");
    drawn.draw();
    std::size_t next = 0;
    for (auto _ : state) {
        workspace.setSearch(typed[next++ % typed.size()]);
        benchmark::DoNotOptimize(drawn.draw());
    }
    workspace.setSearch("");
}
BENCHMARK(BM_StringsTableFilterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
