#include <gtest/gtest.h>

#include <cstdlib>

#include "core/OrvelPaths.h"
#include "core/UnsafeNameError.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

TEST(OrvelPaths, DataFoldersEndWithTheBundleIdentifier) {
    const fs::path home = "/home/ana";
    EXPECT_EQ(OrvelPaths::dataFolder("com.example.Notes", false, home),
              "/home/ana/Library/Application Support/Orvel/com.example.Notes");
    EXPECT_EQ(OrvelPaths::dataFolder("com.example.Notes", true, home),
              "/home/ana/Library/Containers/com.example.Notes/Data/Library/Application Support/Orvel/"
              "com.example.Notes");
    EXPECT_EQ(OrvelPaths::manifestFolder("/Applications/Notes.app"),
              "/Applications/Notes.app/Contents/Resources/Orvel");
    EXPECT_EQ(OrvelPaths::lproj("pt-BR", "/data"), "/data/pt-BR.lproj");
}

TEST(OrvelPaths, HomeOverrideWins) {
    OrvelPaths::setHomeOverride(fs::path("/tmp/someone"));
    EXPECT_EQ(OrvelPaths::home(), "/tmp/someone");
    EXPECT_EQ(OrvelPaths::dataFolder("a.b", false), "/tmp/someone/Library/Application Support/Orvel/a.b");
    setenv("ORVEL_HOME", "/tmp/scripted", 1);
    EXPECT_EQ(OrvelPaths::home(), "/tmp/someone");
    OrvelPaths::setHomeOverride(std::nullopt);
    EXPECT_EQ(OrvelPaths::home(), "/tmp/scripted");
    unsetenv("ORVEL_HOME");
    EXPECT_NE(OrvelPaths::home(), "/tmp/scripted");
}

TEST(OrvelPaths, LanguagesAreLprojFoldersWithStringFiles) {
    testing::ScratchFolder folder;
    folder.write("pt-PT.lproj/Localizable.strings", "");
    folder.write("pt-BR.lproj/Plurals.stringsdict", "");
    folder.write("zh-Hant.lproj/Main.strings", "");
    folder.write("zh-Hans.lproj/Main.strings", "");
    folder.write("Base.lproj/Main.strings", "");
    folder.write("fr.lproj/language.json", "{}");
    folder.write("it.LPROJ/Main.strings", "");
    folder.write("ja.lproj", "a plain file");
    folder.makeFolder("ko.lproj");
    folder.write("notes.txt", "");
    // Links are not followed: neither a linked folder nor a folder holding only linked tables counts.
    const auto elsewhere = folder.write("elsewhere/Main.strings", "");
    fs::create_directory_symlink(elsewhere.parent_path(), folder / "de.lproj");
    folder.makeFolder("es.lproj");
    fs::create_symlink(elsewhere, folder / "es.lproj/Main.strings");
    EXPECT_EQ(OrvelPaths::languages(folder.path()),
              (std::vector<std::string>{"Base", "pt-BR", "pt-PT", "zh-Hans", "zh-Hant"}));
    EXPECT_TRUE(OrvelPaths::languages(folder.path() / "missing").empty());
}

// Whatever identifier a caller hands in, the folder stays inside "Application Support/Orvel".
TEST(OrvelPaths, RefusesIdentifiersThatAreNotOnePathComponent) {
    const std::vector<std::string> identifiers{"", ".", "..", "../x", "a/b", "/etc", std::string("a\0b", 3)};
    for (const auto& identifier : identifiers) {
        SCOPED_TRACE(identifier);
        for (bool sandboxed : {false, true}) {
            EXPECT_THROW(OrvelPaths::dataFolder(identifier, sandboxed, "/home/ana"), UnsafeNameError);
            EXPECT_THROW(OrvelPaths::appOwnedFolder(identifier, sandboxed, "/home/ana"), UnsafeNameError);
        }
        EXPECT_THROW(OrvelPaths::ownDataFolder(identifier), UnsafeNameError);
    }
    EXPECT_EQ(OrvelPaths::appOwnedFolder("a.b", true, "/home/ana"), "/home/ana/Library/Containers/a.b/Data");
    EXPECT_EQ(OrvelPaths::appOwnedFolder("a.b", false, "/home/ana"),
              OrvelPaths::dataFolder("a.b", false, "/home/ana"));
}

} // namespace
} // namespace orvel
