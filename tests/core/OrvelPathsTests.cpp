#include <gtest/gtest.h>

#include <cstdlib>

#include "core/OrvelPaths.h"
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
    EXPECT_EQ(OrvelPaths::languages(folder.path()),
              (std::vector<std::string>{"Base", "pt-BR", "pt-PT", "zh-Hans", "zh-Hant"}));
    EXPECT_TRUE(OrvelPaths::languages(folder.path() / "missing").empty());
}

} // namespace
} // namespace orvel
