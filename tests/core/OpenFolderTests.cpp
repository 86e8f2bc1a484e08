#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/FolderWrites.h"
#include "core/OpenFolder.h"
#include "core/StringsFiles.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

TEST(OpenFolder, OpensBelowARootOnlyWithoutLinks) {
    struct Row {
        const char* name;
        // Prepares the scratch folder; the root is "data", the folder opened "data/de.lproj".
        std::function<void(const ScratchFolder&)> prepare;
        bool create;
        std::optional<std::errc> error;
    };
    const auto linkTo = [](const char* target, const char* link) {
        return [=](const ScratchFolder& scratch) {
            scratch.makeFolder(target);
            fs::create_directories((scratch / link).parent_path());
            fs::create_symlink(scratch / target, scratch / link);
        };
    };
    const std::vector<Row> rows = {
        {"both there", [](const ScratchFolder& s) { s.makeFolder("data/de.lproj"); }, false, std::nullopt},
        {"both made when missing", [](const ScratchFolder&) {}, true, std::nullopt},
        {"missing and not to be made", [](const ScratchFolder& s) { s.makeFolder("data"); }, false,
         std::errc::no_such_file_or_directory},
        {"the folder is a link", linkTo("elsewhere", "data/de.lproj"), true,
         std::errc::too_many_symbolic_link_levels},
        {"the root is a link", linkTo("elsewhere", "data"), true, std::errc::too_many_symbolic_link_levels},
        {"the folder is a file", [](const ScratchFolder& s) { s.write("data/de.lproj", "x"); }, true,
         std::errc::not_a_directory},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchFolder scratch;
        row.prepare(scratch);
        try {
            const OpenFolder folder =
                OpenFolder::openBelow(scratch / "data", scratch / "data/de.lproj", row.create);
            EXPECT_FALSE(row.error);
            folder.replaceFile("Localizable.strings", "text");
            EXPECT_EQ(testing::readBytes(scratch / "data/de.lproj/Localizable.strings"), "text");
        } catch (const fs::filesystem_error& error) {
            ASSERT_TRUE(row.error) << error.what();
            EXPECT_EQ(error.code(), std::make_error_code(*row.error)) << error.what();
        }
        EXPECT_FALSE(fs::exists(scratch / "elsewhere/Localizable.strings"));
    }
    ScratchFolder scratch;
    EXPECT_THROW(OpenFolder::openBelow(scratch / "data", scratch / "other", true), fs::filesystem_error);
}

// The check is the opening: what the folder's name points at afterwards no longer matters.
TEST(OpenFolder, AFolderSwappedForALinkAfterOpeningKeepsItsWrites) {
    ScratchFolder scratch;
    const OpenFolder folder = OpenFolder::openBelow(scratch / "data", scratch / "data/de.lproj", true);
    folder.replaceFile("Localizable.strings", "old");
    fs::rename(scratch / "data/de.lproj", scratch / "data/moved.lproj");
    scratch.makeFolder("elsewhere");
    fs::create_symlink(scratch / "elsewhere", scratch / "data/de.lproj");

    folder.replaceFile("Localizable.strings", "new");
    folder.replaceFile("language.json", "{}");
    FolderWrites removal(folder);
    removal.remove("Localizable.strings");
    removal.commit();
    folder.replaceFile("Localizable.strings", "newer");

    EXPECT_TRUE(fs::is_empty(scratch / "elsewhere"));
    EXPECT_EQ(testing::readBytes(scratch / "data/moved.lproj/Localizable.strings"), "newer");
    auto names = folder.entryNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Localizable.strings", "language.json"}));
}

TEST(OpenFolder, NamesThatWouldLeaveTheFolderAreRefused) {
    ScratchFolder scratch;
    const OpenFolder folder = OpenFolder::open(scratch.makeFolder("data"));
    for (const char* name : {"", ".", "..", "../escape", "a/b"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(folder.replaceFile(name, "x"), fs::filesystem_error);
    }
    EXPECT_TRUE(fs::is_empty(scratch / "data"));
    EXPECT_FALSE(fs::exists(scratch / "escape"));
}

} // namespace
} // namespace orvel
