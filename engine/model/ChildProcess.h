#pragma once
// Running a tool as a child process, bounded in time and cancellable.

#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace orvel::ChildProcess {

struct Options {
    // Collect standard output through a pipe; otherwise the child shares this process's output.
    bool captureOutput = false;
    // Kill the child when it has not ended by then.
    std::optional<std::chrono::milliseconds> timeLimit;
};

struct Result {
    // The exit status, or the number of the signal that ended the child.
    int status = 0;
    std::string output;
};

// The child outlived its time limit and was killed.
class TimedOut : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Runs `program` with `arguments`, its standard error going to the null device, and waits for it.
// Throws std::system_error when it cannot be launched, TimedOut, or CancellationError when a stop is
// requested. A child that is given up on is killed together with any process it started.
Result run(const std::filesystem::path& program, const std::vector<std::string>& arguments,
           const Options& options, std::stop_token stop);

} // namespace orvel::ChildProcess
