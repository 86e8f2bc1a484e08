#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "Orvel/platform/AtspiElement.h"
#include "Orvel/platform/AtspiMessages.h"
#include "bench/BenchApplication.h"
#include "engine/capture/AXReader.h"
#include "tests/Orvel/platform/desktop/AccessibleDesktop.h"
#include "tests/Orvel/platform/desktop/AccessibleWindow.h"
#include "tests/Orvel/platform/desktop/NodeCount.h"

namespace {

using namespace orvel;

// The window and its labels: the node budget of one capture read.
constexpr int nodeBudget = 5000;
constexpr int tableCount = 10;

// One desktop for the whole process (libatspi connects once), under the program's one application and
// taken down before it at the program's end.
testing::AccessibleDesktop& desktop() {
    bench::application();
    static testing::AccessibleDesktop& instance = bench::untilProgramEnd<testing::AccessibleDesktop>();
    return instance;
}

// A window of the window program on that desktop; nothing when the desktop's tools are missing or the
// window never registers what `registered` waits for.
struct Window {
    pid_t pid = 0;
    std::string unavailable;

    Window(const QStringList& arguments, const std::function<bool(int)>& registered) {
        auto shown = desktop().show(arguments);
        if (!shown) {
            unavailable = desktop().unavailable();
            return;
        }
        pid = *shown;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!registered(testing::nodeCount(AXReader::windows(desktop().platform(), pid, nodeBudget)))) {
            if (std::chrono::steady_clock::now() > deadline) {
                unavailable = "the window did not register its elements";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }
};

// The window of 5,000 showing labels, shown once for every benchmark that reads it.
const Window& labelsWindow() {
    static const Window labels({testing::elementCountArgument, QString::number(nodeBudget - 1)},
                               [](int read) { return read >= nodeBudget; });
    return labels;
}

void read(benchmark::State& state, const Window& window) {
    if (!window.unavailable.empty()) {
        state.SkipWithError(window.unavailable.c_str());
        return;
    }
    int read = 0;
    for (auto _ : state) {
        AXReader::WindowList windows = AXReader::windows(desktop().platform(), window.pid, nodeBudget);
        read = testing::nodeCount(windows);
        benchmark::DoNotOptimize(windows);
    }
    state.counters["nodes"] = read;
}

// A capture's window read of a Qt window of 5,000 showing elements in another process, over a private
// accessibility bus on a virtual display.
void BM_AtspiWindowRead(benchmark::State& state) {
    read(state, labelsWindow());
}
BENCHMARK(BM_AtspiWindowRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor under the read above: the one question of it that the other process's bridge answers
// slowest, the list of the window's 5,000 children, asked alone. The read's time over this one is what
// the reader adds.
void BM_AtspiBridgeChildrenFloor(benchmark::State& state) {
    const Window& labels = labelsWindow();
    if (!labels.unavailable.empty()) {
        state.SkipWithError(labels.unavailable.c_str());
        return;
    }
    std::lock_guard guard(atspiLock());
    AtspiAccessible* desktopElement = atspi_get_desktop(0);
    AtspiAccessible* window = nullptr;
    for (gint i = 0; i < atspi_accessible_get_child_count(desktopElement, nullptr) && !window; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktopElement, i, nullptr);
        if (application &&
            atspi_accessible_get_process_id(application, nullptr) == static_cast<guint>(labels.pid))
            window = atspi_accessible_get_child_at_index(application, 0, nullptr);
        if (application)
            g_object_unref(application);
    }
    g_object_unref(desktopElement);
    if (!window) {
        state.SkipWithError("the window is not on the accessibility bus");
        return;
    }
    std::size_t children = 0;
    for (auto _ : state) {
        AtspiExchange exchange(60000);
        std::vector<AtspiExchange::Question> questions;
        questions.push_back(AtspiMessages::method(window, AtspiMessages::accessibleInterface, "GetChildren"));
        std::vector<DBusMessagePtr> answers = exchange.ask(std::move(questions));
        DBusMessageIter iter;
        DBusMessageIter entries;
        children = 0;
        if (AtspiMessages::firstArgument(answers.front().get(), false, iter) &&
            dbus_message_iter_get_arg_type(&iter) == DBUS_TYPE_ARRAY) {
            dbus_message_iter_recurse(&iter, &entries);
            for (; dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_STRUCT;
                 dbus_message_iter_next(&entries))
                ++children;
        }
    }
    g_object_unref(window);
    state.counters["children"] = static_cast<double>(children);
}
BENCHMARK(BM_AtspiBridgeChildrenFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same read of a window of ten tables of 600 rows and five columns each, of which only a few rows
// show: the showing cells of every table are read, the rows scrolled out of view are not asked about.
void BM_AtspiTablesWindowRead(benchmark::State& state) {
    static const Window tables(
        {testing::tableCountArgument, QString::number(tableCount)},
        [last = 0](int read) mutable { return std::exchange(last, read) == read && read > 1; });
    read(state, tables);
}
BENCHMARK(BM_AtspiTablesWindowRead)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
