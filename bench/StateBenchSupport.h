#pragma once
// What the benchmarks of the application's state share: the one application object they run under
// (BenchApplication.h), a wait for the work a state object handed off the main thread, and an engine
// whose strings are scripted and whose model answers at once.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/state/InertEngine.h"
#include "bench/BenchApplication.h"
#include "tests/Orvel/state/ScriptedModel.h"

namespace orvel::bench {

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
