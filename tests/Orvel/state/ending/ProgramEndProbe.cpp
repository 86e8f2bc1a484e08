// A program that ends while its background work still runs, as Orvel and the benchmark program may.
// Arguments: how many works, how long each runs (ms), how long the end waits for them (ms). Each work
// keeps handing calls to the main thread while it runs and reports on standard error, with status 3, if
// it ever runs after the program's statics started to go. On a normal end it prints how many works
// finished and, from a static's end, "statics ended".

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <unistd.h>

#include "Orvel/state/Background.h"

namespace {

using namespace std::chrono_literals;

// Trivially destructible, so still readable by a worker once the statics are gone.
std::atomic<bool> staticsGone{false};
std::atomic<int> finished{0};

// Takes a while to end, as the statics of a real program may: a worker still running meets it.
struct SlowStatic {
    ~SlowStatic() {
        staticsGone = true;
        std::this_thread::sleep_for(100ms);
        std::puts("statics ended");
        std::fflush(stdout);
    }
} slowStatic;

void work(std::chrono::milliseconds length, QObject* receiver) {
    const auto end = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < end) {
        if (staticsGone) {
            constexpr char message[] = "a worker ran after the end of main\n";
            [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
            std::_Exit(3);
        }
        orvel::onMainThread(receiver, [] {});
        std::this_thread::sleep_for(1ms);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const int works = std::stoi(argv[1]);
    const std::chrono::milliseconds length(std::stoi(argv[2]));
    const std::chrono::milliseconds wait(std::stoi(argv[3]));
    QCoreApplication application(argc, argv);
    QObject receiver;
    for (int i = 0; i < works; ++i)
        orvel::runInBackground(&receiver, [length, &receiver]() -> std::function<void()> {
            work(length, &receiver);
            ++finished;
            return [] {};
        });
    const int status = orvel::finishProgram(0, wait);
    std::printf("finished %d of %d\n", finished.load(), works);
    return status;
}
