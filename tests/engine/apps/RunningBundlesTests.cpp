#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "engine/apps/RunningBundles.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

TEST(RunningBundles, EnclosingBundleIsTheInnermostApp) {
    using RunningBundles::enclosingBundle;
    EXPECT_EQ(enclosingBundle("/Applications/Notes.app/Contents/MacOS/Notes"),
              fs::path("/Applications/Notes.app"));
    EXPECT_EQ(enclosingBundle("/opt/Notes.app/Contents/Library/Helper.app/Contents/MacOS/Helper"),
              fs::path("/opt/Notes.app/Contents/Library/Helper.app"));
    EXPECT_EQ(enclosingBundle("/opt/Notes.app/Contents/MacOS/bin/tool"), fs::path("/opt/Notes.app"));
    EXPECT_FALSE(enclosingBundle("/usr/bin/ls"));
    EXPECT_FALSE(enclosingBundle("/opt/Notes.app/Contents/MacOS"));
    EXPECT_FALSE(enclosingBundle("/opt/Notes.app/Contents/Resources/tool"));
    EXPECT_FALSE(enclosingBundle("/opt/Notes/Contents/MacOS/Notes"));
}

TEST(RunningBundles, OrderedByStartTimeThenProcessId) {
    testing::ScratchFolder proc;
    const auto process = [&](const std::string& pid, const std::string& command, int started,
                             const fs::path& executable) {
        std::string stat = pid + " (" + command + ") S";
        for (int field = 4; field < 22; ++field)
            stat += " " + std::to_string(field);
        stat += " " + std::to_string(started) + " 23 24\n";
        proc.write(fs::path(pid) / "stat", stat);
        fs::create_symlink(executable, proc.path() / pid / "exe");
    };
    process("300", "Late", 900, "/Apps/Late.app/Contents/MacOS/Late");
    process("20", "Tie (b) x", 500, "/Apps/B.app/Contents/MacOS/B");
    process("10", "Tie a", 500, "/Apps/A.app/Contents/MacOS/A");
    process("40", "shell", 100, "/usr/bin/bash");
    process("self", "Self", 1, "/Apps/Self.app/Contents/MacOS/Self");
    proc.write("50/stat", "50 (NoExe) S");

    EXPECT_EQ(RunningBundles::list(proc.path()),
              (std::vector<fs::path>{"/Apps/A.app", "/Apps/B.app", "/Apps/Late.app"}));
    EXPECT_EQ(
        RunningBundles::applications(proc.path()),
        (std::vector<RunningApplication>{{10, "/Apps/A.app"}, {20, "/Apps/B.app"}, {300, "/Apps/Late.app"}}));
    EXPECT_TRUE(RunningBundles::list(proc.path() / "missing").empty());
}

TEST(RunningBundles, FindsARealProcessInsideABundle) {
    testing::ScratchFolder scratch;
    const fs::path bundle = scratch.makeFolder("Sleeper.app/Contents/MacOS").parent_path().parent_path();
    const fs::path executable = bundle / "Contents/MacOS/Sleeper";
    fs::copy_file("/bin/sleep", executable);

    const std::string path = executable.string();
    char* const arguments[] = {const_cast<char*>(path.c_str()), const_cast<char*>("30"), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, path.c_str(), nullptr, nullptr, arguments, environ), 0);

    bool found = false;
    for (int attempt = 0; attempt < 100 && !found; ++attempt) {
        for (const auto& running : RunningBundles::list())
            found = found || running == fs::canonical(bundle);
        if (!found)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(found);
}

} // namespace
} // namespace orvel
