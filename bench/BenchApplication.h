#pragma once
// The one application object of the benchmark program, which every benchmark that needs Qt runs under.

#include <QApplication>

#include <chrono>

#include "Orvel/state/Background.h"
#include "bench/ProgramEnd.h"
#include "core/FreedMemory.h"

namespace orvel::bench {

// Made on first use and kept until the benchmarks are over: one with widgets, so that the views can be
// measured too, drawn offscreen. Made before the objects that the benchmarks keep (call it first), its end
// step runs after theirs: the work they left is waited for, none runs on into the program's statics, and
// the application goes before main() returns, while everything its end uses still exists.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "orvel_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* const instance = [] {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The allocator as the program sets it up.
        FreedMemory::limitPools();
        auto* made = new QApplication(argc, argv);
        atProgramEnd([made] {
            finishProgram(0, std::chrono::seconds(10));
            delete made;
        });
        return made;
    }();
    return *instance;
}

} // namespace orvel::bench
