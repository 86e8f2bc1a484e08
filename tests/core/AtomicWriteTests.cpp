#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <regex>

#include <sys/resource.h>
#include <unistd.h>

#include "core/StringsFiles.h"
#include "tests/support/ScratchFolder.h"

using orvel::testing::readBytes;
using orvel::testing::ScratchFolder;
using orvel::testing::writeBytes;

using namespace orvel;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(AtomicWrite, CreatesMissingFoldersAndWritesExactBytes) {
    ScratchFolder folder;
    const auto target = folder / "a" / "b" / "c" / "file.json";
    const std::string bytes("binary\0\xFF data\n", 14);
    StringsFiles::writeAtomically(bytes, target);
    EXPECT_EQ(readBytes(target), bytes);

    StringsFiles::writeAtomically("", folder / "empty");
    EXPECT_TRUE(fs::is_regular_file(folder / "empty"));
    EXPECT_EQ(fs::file_size(folder / "empty"), 0u);
}

TEST(AtomicWrite, ReplacesAnExistingFileWithoutLeavingATemporaryFile) {
    ScratchFolder folder;
    const auto target = folder / "language.json";
    StringsFiles::writeAtomically(std::string(10000, 'o'), target);
    StringsFiles::writeAtomically("new", target);
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"language.json"});
}

TEST(AtomicWrite, TemporaryNamesAreHiddenAndFresh) {
    const std::regex form(
        R"(\.Main\.strings\.[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\.tmp)");
    const auto first = StringsFiles::temporaryName("Main.strings");
    const auto second = StringsFiles::temporaryName("Main.strings");
    EXPECT_TRUE(std::regex_match(first, form)) << first;
    EXPECT_TRUE(std::regex_match(second, form)) << second;
    EXPECT_NE(first, second);
    // What a later write takes for a leftover is exactly what a write makes.
    EXPECT_TRUE(StringsFiles::isTemporaryName(first)) << first;
}

TEST(AtomicWrite, AFailedRenameRemovesTheTemporaryFile) {
    ScratchFolder folder;
    // A folder in the target's place cannot be replaced by a file.
    const auto target = folder / "occupied";
    fs::create_directory(target);
    fs::create_directory(target / "inside");
    EXPECT_THROW(StringsFiles::writeAtomically("data", target), fs::filesystem_error);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"occupied"});
    EXPECT_TRUE(fs::is_directory(target / "inside"));
}

TEST(AtomicWrite, AParentThatIsAFileFailsCleanly) {
    ScratchFolder folder;
    std::ofstream(folder / "plain") << "keep";
    EXPECT_THROW(StringsFiles::writeAtomically("data", folder / "plain" / "file"), fs::filesystem_error);
    EXPECT_EQ(readBytes(folder / "plain"), "keep");
}

TEST(AtomicWrite, AFailedWriteKeepsTheOldTargetAndRemovesTheTemporaryFile) {
    ScratchFolder folder;
    const auto target = folder / "project.json";
    StringsFiles::writeAtomically("old", target);

    // A file size limit makes the write itself fail part-way, also for root.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        StringsFiles::writeAtomically(std::string(100000, 'x'), target);
    } catch (const fs::filesystem_error&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"project.json"});
}

TEST(AtomicWrite, AReadOnlyFolderFailsAndKeepsTheOldTarget) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    ScratchFolder folder;
    const auto target = folder / "notes.json";
    StringsFiles::writeAtomically("old", target);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(StringsFiles::writeAtomically("new", target), fs::filesystem_error);
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"notes.json"});
}
