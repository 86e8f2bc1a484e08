#pragma once
// What the benchmarks of the application's state share: the one application object they run under, a
// wait for the work a state object handed off the main thread, and an engine whose strings are scripted
// and whose model answers at once.

#include <QApplication>
#include <QElapsedTimer>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/state/InertEngine.h"
#include "bench/ProgramEnd.h"
#include "core/FreedMemory.h"
#include "tests/Orvel/state/ScriptedModel.h"

namespace orvel::bench {

// Made on first use and kept for the whole benchmark program: one with widgets, so that the views can be
// measured too, drawn offscreen. Made before the state objects that the benchmarks keep, its end step runs
// after theirs: the work they left is waited for, and none runs on into the program's statics.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "orvel_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The allocator as the program sets it up.
    [[maybe_unused]] static const bool pools = (FreedMemory::limitPools(), true);
    static QApplication instance(argc, argv);
    [[maybe_unused]] static const bool ends = [] {
        atProgramEnd([] { finishProgram(0, std::chrono::seconds(10)); });
        return true;
    }();
    return instance;
}

// Lets the main thread take what the workers hand back until they are all done: a workspace reads its
// strings and project off the main thread, and a measure made before they are in measures nothing.
inline void settle() {
    QElapsedTimer timer;
    timer.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!waitForBackgroundWork(std::chrono::milliseconds(0)) && timer.elapsed() < 60000);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Serves scripted strings; its model answers at once and supports every language.
class ScriptedEngine : public InertEngine {
  public:
    TranslationUpdater::Pipeline pipeline() const override { return testing::ScriptedModel::pipeline(model); }
    bool modelSupports(const std::string&, AppleModels::Kind) const override { return true; }

    std::shared_ptr<testing::ScriptedModel> model = std::make_shared<testing::ScriptedModel>();
};

} // namespace orvel::bench
