#pragma once
// Running the main thread's event loop in tests, for work that hands its result back to it.

#include <QCoreApplication>
#include <QElapsedTimer>

namespace orvel::testing {

// Processes main-thread events until `done` holds or a generous limit passes.
template <class Predicate> bool processUntil(Predicate done, int limitMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Gives queued main-thread work a chance to run, for checks that something did not happen.
inline void processPendingEvents() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace orvel::testing
