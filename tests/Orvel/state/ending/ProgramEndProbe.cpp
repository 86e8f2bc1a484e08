// A program that ends while its background work still runs, as Orvel and the benchmark program may.
// Arguments: how many works, how long each runs (ms), how long the end waits for them (ms), and then
// how many reading works the end leaves and how long each runs (ms). Each work keeps handing calls to the
// main thread while it runs and reports on standard error, with status 3, if it ever runs after the
// program's statics started to go. Each work that ends prints "work ended" or "reader ended" at once (the
// end may leave through _Exit, after which nothing is printed), and a normal end, from a static's end,
// "statics ended".

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include <unistd.h>

#include "Orvel/state/Background.h"

namespace {

using namespace std::chrono_literals;

// Trivially destructible, so still readable by a worker once the statics are gone.
std::atomic<bool> staticsGone{false};

// Takes a while to end, as the statics of a real program may: a worker still running meets it.
struct SlowStatic {
    ~SlowStatic() {
        staticsGone = true;
        std::this_thread::sleep_for(100ms);
        std::puts("statics ended");
        std::fflush(stdout);
    }
} slowStatic;

// Straight to the file, so that what was said stays when the process leaves through _Exit.
void say(std::string_view line, int file = STDOUT_FILENO) {
    [[maybe_unused]] const ssize_t written = ::write(file, line.data(), line.size());
}

void work(std::chrono::milliseconds length, QObject* receiver) {
    const auto end = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < end) {
        if (staticsGone) {
            say("a worker ran after the end of main\n", STDERR_FILENO);
            std::_Exit(3);
        }
        orvel::onMainThread(receiver, [] {});
        std::this_thread::sleep_for(1ms);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6)
        return 2;
    const int works = std::stoi(argv[1]);
    const std::chrono::milliseconds length(std::stoi(argv[2]));
    const std::chrono::milliseconds wait(std::stoi(argv[3]));
    const int readers = std::stoi(argv[4]);
    const std::chrono::milliseconds readerLength(std::stoi(argv[5]));
    QCoreApplication application(argc, argv);
    QObject receiver;
    const auto hand = [&receiver](std::chrono::milliseconds runs, orvel::AtTheEnd atTheEnd) {
        orvel::runInBackground(
            &receiver,
            [runs, atTheEnd, &receiver]() -> std::function<void()> {
                work(runs, &receiver);
                say(atTheEnd == orvel::AtTheEnd::awaited ? "work ended\n" : "reader ended\n");
                return [] {};
            },
            atTheEnd);
    };
    // Readers first, so that a waited work queued behind them must still be waited for.
    for (int i = 0; i < readers; ++i)
        hand(readerLength, orvel::AtTheEnd::leftBehind);
    for (int i = 0; i < works; ++i)
        hand(length, orvel::AtTheEnd::awaited);
    return orvel::finishProgram(0, wait);
}
