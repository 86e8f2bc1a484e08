#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reference/AppleReference.h"

using namespace orvel;
using Lines = std::vector<std::string>;
using Pairs = std::vector<AppleReference::Pair>;

namespace {

// Folded English text to its leading wording and that wording's count.
AppleReference reference(const std::vector<std::tuple<std::string, std::string, std::int64_t>>& rows) {
    AppleReference::Table table;
    for (const auto& [english, wording, count] : rows)
        table[AppleReference::americanized(english)].push_back({wording, count});
    return AppleReference("de", std::move(table));
}

} // namespace

TEST(AppleReferenceHints, WritesOneLinePerPhraseFound) {
    const auto apple = reference({{"Tab Bar", "Tableiste", 50}});
    EXPECT_EQ(apple.hints("Hide the Tab Bar."), (Lines{"macOS calls \"Tab Bar\" «Tableiste»"}));
    EXPECT_EQ(apple.hints("Tab Bar."), (Lines{"macOS calls \"Tab Bar\" «Tableiste»"}))
        << "the line names the phrase without its trailing mark";
    EXPECT_EQ(apple.pairs("Hide the Tab Bar."), (Pairs{{"Tab Bar", "Tableiste"}}));
    EXPECT_TRUE(apple.hints("Tab").empty()) << "single words are never looked up outside a menu path";
    EXPECT_TRUE(apple.hints("").empty());
    EXPECT_TRUE(AppleReference("de", {}).hints("Hide the Tab Bar ▸ Tab Bar").empty());
}

TEST(AppleReferenceHints, TrustsRareWordingsOnlyWhenTheTextNamesTheSystem) {
    const auto apple = reference({{"Full Disk Access", "Festplattenvollzugriff", 10}});
    EXPECT_TRUE(apple.hints("Grant Full Disk Access to continue").empty());
    for (const char* mention : {"macOS", "Finder", "Privacy", "System Settings", "System Preferences", "▸"})
        EXPECT_EQ(apple.hints(std::string("Grant Full Disk Access in ") + mention).size(), 1u) << mention;
    EXPECT_TRUE(apple.hints("Grant Full Disk Access in macos").empty()) << "the mention is case-sensitive";
    EXPECT_TRUE(reference({{"Full Disk Access", "F", 1}}).hints("Full Disk Access in macOS").empty());
}

TEST(AppleReferenceHints, TakesTheLongestPhraseAndMovesPastIt) {
    const auto apple = reference({{"Full Disk Access Settings", "Einstellungen für Vollzugriff", 50},
                                  {"Disk Access", "Zugriff", 50},
                                  {"Access Settings", "Zugriffseinstellungen", 50}});
    EXPECT_EQ(apple.pairs("Full Disk Access Settings"),
              (Pairs{{"Full Disk Access Settings", "Einstellungen für Vollzugriff"}}));
    EXPECT_EQ(
        apple.pairs("Full Disk Access Settings Disk Access"),
        (Pairs{{"Full Disk Access Settings", "Einstellungen für Vollzugriff"}, {"Disk Access", "Zugriff"}}));
}

TEST(AppleReferenceHints, JoinsCapitalisedWordsWithAndOrAmpersandOnly) {
    const auto apple = reference({{"Files and Folders", "Dateien und Ordner", 50},
                                  {"Privacy & Security", "Datenschutz & Sicherheit", 50},
                                  {"and Folders", "x", 99},
                                  {"Files &", "y", 99},
                                  {"And More", "Und mehr", 50},
                                  {"Move to Trash", "In den Papierkorb legen", 99}});
    EXPECT_EQ(apple.pairs("Files and Folders"), (Pairs{{"Files and Folders", "Dateien und Ordner"}}));
    EXPECT_EQ(apple.pairs("Privacy & Security"), (Pairs{{"Privacy & Security", "Datenschutz & Sicherheit"}}));
    EXPECT_TRUE(apple.hints("and Folders").empty());
    EXPECT_TRUE(apple.hints("Files &").empty());
    EXPECT_EQ(apple.pairs("And More"), (Pairs{{"And More", "Und mehr"}})) << "\"And\" is an ordinary word";
    EXPECT_TRUE(apple.hints("Move to Trash").empty()) << "a lower-case word breaks the phrase";
    EXPECT_TRUE(reference({{"Open Recent", "Zuletzt", 99}}).hints("Open Recent").empty()) << "a command";
}

TEST(AppleReferenceHints, LooksUpEachPartOfAMenuPath) {
    const auto apple = reference({{"Paste and Match Style", "Einsetzen und Stil anpassen", 2},
                                  {"Edit", "Bearbeiten", 99},
                                  {"Move to Trash", "In den Papierkorb legen", 2},
                                  {"Sidebar", "Seitenleiste", 2},
                                  {"Show Sidebar", "Seitenleiste einblenden", 2},
                                  {"One Two Three Four Five", "Zu lang", 99}});
    EXPECT_EQ(apple.pairs("Edit ▸ Paste and Match Style"),
              (Pairs{{"Paste and Match Style", "Einsetzen und Stil anpassen"}}))
        << "the part before the first arrow is not looked up";
    EXPECT_EQ(apple.pairs("File > Move to Trash"), (Pairs{{"Move to Trash", "In den Papierkorb legen"}}));
    EXPECT_EQ(apple.pairs("View > Sidebar"), (Pairs{{"Sidebar", "Seitenleiste"}})) << "single words here";
    EXPECT_EQ(apple.pairs("View ▸ Show Sidebar."), (Pairs{{"Show Sidebar", "Seitenleiste einblenden"}}));
    EXPECT_EQ(apple.pairs("View ▸ “Show Sidebar”:"), (Pairs{{"Show Sidebar", "Seitenleiste einblenden"}}));
    EXPECT_TRUE(apple.hints("View ▸ sidebar").empty()) << "a part must begin with a capital";
    EXPECT_TRUE(apple.hints("View ▸ One Two Three Four Five").empty()) << "five words are too many";
    EXPECT_TRUE(apple.hints("View ▸ ▸").empty());
}

TEST(AppleReferenceHints, NamesEachFoldedPhraseOnce) {
    const auto apple = reference({{"Color Picker", "Farbauswahl", 50}});
    EXPECT_EQ(apple.hints("Open Colour Picker > Color Picker, Color Picker"),
              (Lines{"macOS calls \"Colour Picker\" «Farbauswahl»"}));
}

TEST(AppleReferencePairs, EndTheEnglishAtTheFirstQuote) {
    const auto apple = reference({{"Show \"Tab\" Bar", "Tableiste einblenden", 2}});
    EXPECT_EQ(apple.hints("View ▸ Show \"Tab\" Bar"),
              (Lines{"macOS calls \"Show \"Tab\" Bar\" «Tableiste einblenden»"}));
    EXPECT_EQ(apple.pairs("View ▸ Show \"Tab\" Bar"), (Pairs{{"Show ", "Tableiste einblenden"}}));
}
