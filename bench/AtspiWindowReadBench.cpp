#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "engine/capture/AXReader.h"
#include "tests/Orvel/platform/desktop/AccessibleDesktop.h"
#include "tests/Orvel/platform/desktop/AccessibleWindow.h"

namespace {

using namespace orvel;

// The window and its labels: the node budget of one capture read.
constexpr int nodeCount = 5000;

int nodes(const AXNode& node) {
    int out = 1;
    for (const AXNode& child : node.children)
        out += nodes(child);
    return out;
}

int nodes(const AXReader::WindowList& windows) {
    int out = 0;
    for (const auto& [title, tree] : windows)
        out += nodes(tree);
    return out;
}

// One desktop for the whole process (libatspi connects once), with the large window on it; nothing when
// the desktop's tools are missing or the window never registers all of its labels.
struct LargeWindow {
    std::unique_ptr<testing::AccessibleDesktop> desktop = std::make_unique<testing::AccessibleDesktop>();
    pid_t pid = 0;
    std::string unavailable;

    LargeWindow() {
        auto shown = desktop->show({testing::elementCountArgument, QString::number(nodeCount - 1)});
        if (!shown) {
            unavailable = desktop->unavailable();
            return;
        }
        pid = *shown;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (nodes(AXReader::windows(desktop->platform(), pid, nodeCount)) < nodeCount) {
            if (std::chrono::steady_clock::now() > deadline) {
                unavailable = "the large window did not register its labels";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }
};

LargeWindow& largeWindow() {
    static LargeWindow window;
    return window;
}

// A capture's window read of a Qt window of 5,000 elements in another process, over a private
// accessibility bus on a virtual display.
void BM_AtspiWindowRead(benchmark::State& state) {
    LargeWindow& window = largeWindow();
    if (!window.unavailable.empty()) {
        state.SkipWithError(window.unavailable.c_str());
        return;
    }
    int read = 0;
    for (auto _ : state) {
        AXReader::WindowList windows = AXReader::windows(window.desktop->platform(), window.pid, nodeCount);
        read = nodes(windows);
        benchmark::DoNotOptimize(windows);
    }
    state.counters["nodes"] = read;
}
BENCHMARK(BM_AtspiWindowRead)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
