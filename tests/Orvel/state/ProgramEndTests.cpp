// The end of a program while its background work runs: nothing a worker does after the end of main may
// meet the application or a destroyed static, and the program ends with the status main() gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace orvel {
namespace {

struct Ending {
    int status = -1;
    std::string output, errors;
};

// Runs the probe to its end, its output and errors kept in `folder`. Spawned rather than forked: the
// thread sanitizer refuses threads in a process that forked while it had several.
Ending runProbe(const testing::ScratchFolder& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), ORVEL_PROGRAM_END_PROBE);
    const std::string output = (folder / "output").string(), errors = (folder / "errors").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    Ending ending;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
        waitpid(pid, &ending.status, 0) == pid) {
        ending.output = testing::readBytes(output);
        ending.errors = testing::readBytes(errors);
    }
    posix_spawn_file_actions_destroy(&actions);
    return ending;
}

TEST(ProgramEnd, BackgroundWorkNeverRunsIntoTheEndOfTheProgram) {
    struct Case {
        const char* name;
        int works, lengthMs, waitMs;
        // Reading works, which the end leaves behind.
        int readers = 0, readerLengthMs = 0;
        // On an end that waited for all of it, or for the works alone.
        bool allFinished;
        bool worksFinished = false;
    };
    const std::vector<Case> cases{
        {"work that ends within the wait", 8, 5, 20000, 0, 0, true},
        {"work that runs past the wait", 4, 2000, 50, 0, 0, false},
        // More works than the pool has threads: most are still waiting for one when the wait ends.
        {"work waiting for a thread past the wait", 200, 200, 50, 0, 0, false},
        // A read held by a slow desktop service: an idle end does not wait for it.
        {"a reader alone", 0, 0, 20000, 2, 3000, false},
        {"works beside readers: the works are waited for", 4, 300, 20000, 3, 3000, false, true},
    };
    const auto lines = [](const std::string& text, const std::string& line) {
        std::size_t count = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++count;
        return static_cast<int>(count);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder folder;
        const Ending ending =
            runProbe(folder, {std::to_string(c.works), std::to_string(c.lengthMs), std::to_string(c.waitMs),
                              std::to_string(c.readers), std::to_string(c.readerLengthMs)});
        ASSERT_TRUE(WIFEXITED(ending.status)) << ending.status << ending.errors;
        EXPECT_EQ(WEXITSTATUS(ending.status), 0) << ending.errors;
        EXPECT_EQ(ending.errors.find("after the end"), std::string::npos) << ending.errors;
        EXPECT_EQ(ending.errors.find("runtime error"), std::string::npos) << ending.errors;
        EXPECT_EQ(ending.errors.find("ERROR:"), std::string::npos) << ending.errors;
        EXPECT_EQ(ending.errors.find("WARNING: ThreadSanitizer"), std::string::npos) << ending.errors;
        if (c.allFinished || c.worksFinished) {
            EXPECT_EQ(lines(ending.output, "work ended"), c.works) << ending.output;
        }
        if (c.allFinished) {
            EXPECT_NE(ending.output.find("statics ended"), std::string::npos) << ending.output;
        }
        // Each reader runs far longer than the works and far shorter than the wait: one that ended was
        // waited for.
        if (c.readers > 0) {
            EXPECT_EQ(lines(ending.output, "reader ended"), 0) << ending.output;
        }
    }
}

} // namespace
} // namespace orvel
