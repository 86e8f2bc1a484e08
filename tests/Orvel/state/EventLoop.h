#pragma once
// Running the main thread's event loop in tests, for work that hands its result back to it.

#include <QCoreApplication>

#include "tests/Orvel/state/ProcessUntil.h"

namespace orvel::testing {

// Gives queued main-thread work a chance to run, for checks that something did not happen.
inline void processPendingEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace orvel::testing
