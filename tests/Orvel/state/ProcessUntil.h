#pragma once
// The state's tests wait for work that comes back to the main thread by processing its events.

#include <QCoreApplication>
#include <QElapsedTimer>

namespace orvel::testing {

// Processes main-thread events until `done` holds or a generous limit passes; returns `done()`.
template <class Predicate> bool processUntil(Predicate done, int limitMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace orvel::testing
