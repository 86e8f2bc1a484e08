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
        // On an end that waited for all of it.
        bool allFinished;
    };
    const std::vector<Case> cases{
        {"work that ends within the wait", 8, 5, 20000, true},
        {"work that runs past the wait", 4, 2000, 50, false},
        // More works than the pool has threads: most are still waiting for one when the wait ends.
        {"work waiting for a thread past the wait", 200, 200, 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder folder;
        const Ending ending =
            runProbe(folder, {std::to_string(c.works), std::to_string(c.lengthMs), std::to_string(c.waitMs)});
        ASSERT_TRUE(WIFEXITED(ending.status)) << ending.status << ending.errors;
        EXPECT_EQ(WEXITSTATUS(ending.status), 0) << ending.errors;
        EXPECT_EQ(ending.errors.find("after the end"), std::string::npos) << ending.errors;
        EXPECT_EQ(ending.errors.find("runtime error"), std::string::npos) << ending.errors;
        EXPECT_EQ(ending.errors.find("ERROR:"), std::string::npos) << ending.errors;
        EXPECT_EQ(ending.errors.find("WARNING: ThreadSanitizer"), std::string::npos) << ending.errors;
        if (c.allFinished) {
            const std::string all = std::to_string(c.works);
            EXPECT_NE(ending.output.find("finished " + all + " of " + all), std::string::npos)
                << ending.output;
            EXPECT_NE(ending.output.find("statics ended"), std::string::npos) << ending.output;
        }
    }
}

} // namespace
} // namespace orvel
