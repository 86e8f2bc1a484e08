#include <gtest/gtest.h>

#include "../model/TemporaryNotesFolder.h"
#include "core/Unicode.h"
#include "engine/pipeline/Validation.h"

using namespace orvel;

namespace {

using Forms = Validation::PluralForms;
using TermMap = std::map<std::string, std::string>;
using Glossary = std::set<std::string, std::less<>>;

SourceString source(std::string text) {
    SourceString string;
    string.table = "Localizable";
    string.key = text;
    string.text = std::move(text);
    return string;
}

struct Check {
    std::string language = "de";
    TermMap terms{};
    Glossary glossary{};
    std::optional<AppleReference> reference{};

    std::optional<std::string> operator()(const std::string& english, std::optional<std::string> text,
                                          std::optional<Forms> plural = std::nullopt) const {
        return Validation::termProblem(source(english), text, plural, language, terms, glossary, reference);
    }
};

const std::string fileWord = "\"file\" is «Datei» everywhere in this app";

} // namespace

TEST(TermProblem, ChecksEveryTextOfTheAnswer) {
    const Check check{.terms = {{"file", "Datei"}}, .glossary = {"file"}};
    EXPECT_EQ(check("Delete the file", std::nullopt), fileWord) << "no answer reads as the empty text";
    EXPECT_EQ(check("%d files", std::nullopt, Forms{{"one", "%d Datei"}, {"other", "%d Ordner"}}), fileWord);
    EXPECT_FALSE(check("%d files", std::nullopt, Forms{{"one", "%d Datei"}, {"other", "%d Dateien"}}));
    EXPECT_FALSE(check("Delete the file", std::nullopt, Forms{})) << "an empty forms map alone has no texts";
    EXPECT_EQ(check("Delete the file", "Ordner löschen", Forms{}), fileWord)
        << "an empty forms map beside a text: the text is the answer";
}

TEST(TermProblem, DemandsTheChosenWordsOfGlossaryTerms) {
    Check check{.terms = {{"file", "Datei"}, {"Dock", "Leiste"}}, .glossary = {"file", "dock"}};
    EXPECT_FALSE(check("Delete Files", "Dateien löschen")) << "plural source, inflected translation";
    EXPECT_EQ(check("Delete Files", "Ordner löschen"), fileWord);
    EXPECT_FALSE(check("Profile", "Ordner")) << "whole words only";
    EXPECT_FALSE(check("Delete `file`", "Löschen")) << "code is not text";
    EXPECT_FALSE(check("dock the window", "Fenster anheften")) << "a capitalised term matches its case only";
    EXPECT_EQ(check("Show the Dock", "Zeige die Andockstelle"),
              "\"Dock\" is «Leiste» everywhere in this app");

    check.glossary = {};
    EXPECT_FALSE(check("Delete Files", "Ordner löschen")) << "only glossary terms are enforced";
}

TEST(TermProblem, ChosenWordsAreMetAsTheLanguageWritesThem) {
    struct Case {
        std::string language;
        std::string source;
        std::string word;
        std::string translation;
        bool met;
    };
    const std::vector<Case> cases{
        {"de", "Open file", "de la", "Öffne de la", true},
        {"de", "Open file", "de la", "Öffne Datei", false},
        {"fr", "Tap the button", "OK", "Touchez OK", true},
        {"zh-Hans", "Open Settings", "系统设置", "打开系统设置", true},
        {"zh-Hans", "Open Settings", "系统设置", "打开设置", false},
        {"ja", "Open Settings", "設定", "設定を開く", true},
        // Articles and one-letter prepositions written joined to the chosen word.
        {"ar", "Delete file", "ملف", "حذف الملف", true},
        {"ar", "Save to file", "ملف", "حفظ في الملف", true},
        {"ar", "Open with file", "ملف", "فتح بالملف", true},
        {"ar", "Open with file", "ملف", "افتح للملفات", true},
        {"ar-EG", "Delete file", "ملف", "وحذف الملفات", true},
        {"he", "Delete file", "קובץ", "מחק את הקובץ", true},
        {"he", "Open from file", "קובץ", "פתח מהקובץ", true},
        {"he", "Save in network", "רשת", "שמור ברשת", true},
        // A word that only ends with the chosen word's letters is another word.
        {"ar", "Show flag", "علم", "تعلم اللغة", false},
        {"ar", "Show flag", "علم", "اعرض المعلم", false},
        {"he", "Show network", "רשת", "הצג את פרשת השבוע", false},
        {"de", "Delete file", "ملف", "حذف الملف", false},
        {"fa", "Delete file", "فایل", "حذف الفایل", false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.source + " / " + row.translation);
        const std::string term = row.source.substr(row.source.rfind(' ') + 1);
        const Check check{
            .language = row.language, .terms = {{term, row.word}}, .glossary = {text::lowercased(term)}};
        EXPECT_EQ(check(row.source, row.translation),
                  row.met ? std::nullopt
                          : std::optional("\"" + term + "\" is «" + row.word + "» everywhere in this app"));
    }
}

TEST(TermProblem, MacOSNamesAreMetInScriptsWithoutSpacesAndABlankWordingAsksNothing) {
    struct Case {
        std::string name;
        AppleReference::Table table;
        std::string translation;
        std::optional<std::string> problem;
    };
    const std::string source = "Open System Settings";
    const std::vector<Case> cases{
        {"contained without word boundaries",
         {{"system settings", {{"系统设置", 100}}}},
         "打开系统设置",
         std::nullopt},
        {"missing",
         {{"system settings", {{"系统设置", 100}}}},
         "打开设置",
         "macOS calls \"System Settings\" «系统设置»: use that name"},
        {"a blank leading wording gives way to the next",
         {{"system settings", {{" ", 90}, {"系统设置", 80}}}},
         "打开设置",
         "macOS calls \"System Settings\" «系统设置»: use that name"},
        {"only blank wordings", {{"system settings", {{"", 100}}}}, "打开设置", std::nullopt},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const Check check{.language = "zh-Hans", .reference = AppleReference("zh-Hans", row.table)};
        EXPECT_EQ(check(source, row.translation), row.problem);
    }
}

TEST(TermProblem, KeepsNamesThatStayAsWritten) {
    const std::string keepFinder = "keep the name \"Finder\" exactly as written";
    const Check check{.terms = {{"Finder", "Finder"}, {"PDF", "PDF"}, {"Pro", "Pro"}},
                      .glossary = {"finder"}};
    EXPECT_FALSE(check("Finder is open. Finder windows close.", "Der Sucher ist offen."))
        << "a word that only begins sentences may be capitalised for that alone";
    EXPECT_EQ(check("Finder", "Sucher"), keepFinder);
    EXPECT_EQ(check("Open it in Finder", "Im Sucher öffnen"), keepFinder);
    EXPECT_FALSE(check("Open it in Finder", "Im FINDER öffnen")) << "compared without regard to case";
    EXPECT_EQ(check("Export as PDF", "Exportieren"), "keep the name \"PDF\" exactly as written")
        << "an abbreviation is kept even outside the glossary";
    EXPECT_FALSE(check("Export as PDF", "Als pdf exportieren"));
    EXPECT_FALSE(check("Upgrade to Pro", "Auf Profi upgraden")) << "neither glossary nor abbreviation";
    EXPECT_FALSE(check("Run `Finder` now", "Jetzt ausführen"));
}

TEST(TermProblem, KeepsAPlaceholderThatLeadsATwoWordLabel) {
    const Check check;
    EXPECT_EQ(check("%@ Settings", "Einstellungen: %@"), "keep %@ at the start, where the source has it");
    EXPECT_EQ(check("%1$@ Settings", "Einstellungen %1$@"),
              "keep %1$@ at the start, where the source has it");
    EXPECT_FALSE(check("%@ Settings", "%@-Einstellungen"));
    EXPECT_FALSE(check("%@ settings", "Einstellungen: %@")) << "second word in lower case";
    EXPECT_FALSE(check("Settings %@", "%@ Einstellungen"));
    EXPECT_FALSE(check("%@ Settings Window", "Fenster %@"));
}

TEST(TermProblem, FindsTextLeftInEnglish) {
    Check check{.language = "fr"};
    EXPECT_EQ(check("Open the file", "Open the file"), "it was left in English");
    EXPECT_EQ(check("Delete %@files now", "Delete %@files now"), "it was left in English")
        << "a placeholder does not hide the word it touches";
    EXPECT_FALSE(check("Type `go make all clean` Now", "Type `go make all clean` Now"))
        << "code is not English";
    EXPECT_FALSE(check("Open the file", "Ouvrir le fichier"));
    EXPECT_FALSE(check("OK", "OK"));
    EXPECT_FALSE(check("Open", "Open"));
    EXPECT_FALSE(check("Open %@ File", "Open %@ File")) << "one English-looking word";
    EXPECT_FALSE(check("Use --force to continue", "Use --force to continue"));
    EXPECT_FALSE(check("Open the file", std::nullopt, Forms{{"other", "Open the file"}})) << "no single text";
    EXPECT_EQ(check("Open the file", "Open the file", Forms{}), "it was left in English");
    for (const char* english : {"en", "en-GB", "EN_au"}) {
        check.language = english;
        EXPECT_FALSE(check("Open the file", "Open the file")) << english;
    }
}

TEST(TermProblem, UsesTheNamesMacOSUses) {
    AppleReference::Table table;
    table["tab bar"] = {{"Tableiste", 50}};
    Check check{.reference = AppleReference("de", table)};
    const std::string tabBar = "macOS calls \"Tab Bar\" «Tableiste»: use that name";
    EXPECT_EQ(check("Hide the Tab Bar", "Tab-Leiste ausblenden"), tabBar);
    EXPECT_FALSE(check("Hide the Tab Bar", "Tableisten ausblenden"));
    EXPECT_EQ(check("Hide the Tab Bar", std::nullopt, Forms{{"one", "Tableiste"}, {"other", "Leiste"}}),
              tabBar);

    check.terms = {{"Tab Bar", "Tab Bar"}};
    EXPECT_FALSE(check("Hide the Tab Bar", "Tab-Leiste ausblenden")) << "a name chosen to stay English";
    check.terms = {};
    check.reference.reset();
    EXPECT_FALSE(check("Hide the Tab Bar", "Tab-Leiste ausblenden"));
}

TEST(TermProblem, ReportsTheFirstProblemInOrder) {
    AppleReference::Table table;
    table["tab bar"] = {{"Tableiste", 50}};
    const Check check{.language = "fr",
                      .terms = {{"PDF", "PDF"}, {"file", "fichier"}},
                      .glossary = {"file"},
                      .reference = AppleReference("de", table)};
    const std::string english = "Tab Bar file PDF";
    EXPECT_EQ(check("Tab Bar file PDF", english), "macOS calls \"Tab Bar\" «Tableiste»: use that name");
    EXPECT_EQ(check("Tab Bar file PDF", "Tableiste file"), "keep the name \"PDF\" exactly as written");
    EXPECT_EQ(check("Tab Bar file PDF", "Tableiste file PDF"),
              "\"file\" is «fichier» everywhere in this app");
}

TEST(TermProblem, AppliesTheLanguagesAvoidRules) {
    const test::TemporaryNotesFolder notes;
    notes.writeNote("de", "{\"avoid\": ["
                          "{\"pattern\": \"Ordner(?!\\\\p{L})\", \"advice\": \"Say «Verzeichnis» here.\", "
                          "\"source\": \"director\"}, "
                          "{\"pattern\": \"klicke\", \"advice\": \"Say «klicken Sie».\"}]}");
    const Check check;
    EXPECT_EQ(check("Open the directory", "Den Ordner öffnen"), "Say «Verzeichnis» here.");
    EXPECT_FALSE(check("Open the folder", "Den Ordner öffnen")) << "the rule is for another source";
    EXPECT_EQ(check("Click here", "KLICKE hier"), "Say «klicken Sie».") << "case-insensitive";
    EXPECT_FALSE(check("Click here", "Hier `klicke`")) << "code is not text";
    EXPECT_FALSE(Check{.language = "sv"}("Click here", "klicke")) << "no notes, no rules";
}
