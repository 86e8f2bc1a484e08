// Every system and user message compared byte for byte with its expected text.

#include <gtest/gtest.h>

#include <string>

#include "TemporaryNotesFolder.h"
#include "engine/model/JudgeRequest.h"
#include "engine/model/PluralExamples.h"
#include "engine/model/ReviewRequest.h"
#include "engine/model/TermsRequest.h"
#include "engine/model/TranslateRequest.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

using Terms = TranslationStyle::Terms;
using Address = TranslationStyle::Address;
using Term = AppManifest::Term;

std::string expected(const std::string& name) {
    return testing::readBytes(std::filesystem::path(ORVEL_TEST_FIXTURES) / "model" / "prompts" / name);
}

AppProfile fullApp() {
    AppManifest manifest;
    manifest.description = "Lumen Desk controls the brightness of external displays.";
    manifest.context = "It lives in the menu bar; most strings are short labels.";
    manifest.glossary = std::vector<Term>{
        {"Lumen Desk", "the app's name", false},
        {"Sync Mode", "keeps every display at the same brightness", std::nullopt},
        {"", "ignored", std::nullopt},
        {"DDC", std::nullopt, false},
    };
    return AppProfile("Lumen Desk", "en", manifest, "\n  Users are photographers and designers.\n\n");
}

AppProfile bareApp() {
    return AppProfile("Tiny", "en");
}

// A description that is empty is skipped; a context of one space is not trimmed and so is kept.
AppProfile frenchApp() {
    AppManifest manifest;
    manifest.description = "";
    manifest.context = " ";
    return AppProfile("Météo", "en", manifest, "Shows the weather.");
}

const std::vector<Term> personGlossary{{"Preset", "a saved set of brightness values", true},
                                       {"HDR", std::nullopt, std::nullopt}};
const AppNotes fullNotes{" \n Prefer short words.\nNo exclamation marks.\n  ", personGlossary};
const AppNotes noNotes{};
const Prompt::TermMap fullTerms{{"display", "Display"}, {"Zoom", "Zoom"}, {"brightness", "Helligkeit"}};
const Prompt::TermMap frenchTerms{{"display", "écran"}};
const std::vector<Prompt::TermPair> germanPairs{
    {"display", "Display"}, {"brightness", "Helligkeit"}, {"HDR", "HDR"}, {"zoom", "Zoom"}};

class PromptGoldenTests : public ::testing::Test {
    // No note file may add a STYLE section to a language that has no built-in notes.
    test::TemporaryNotesFolder m_notes;
};

TEST_F(PromptGoldenTests, TranslateSystemMessages) {
    EXPECT_EQ(Prompt::translateSystem(fullApp(), "de", fullNotes, {Terms::keepCommon, Address::informal},
                                      fullTerms, true),
              expected("translate_system_de.txt"));
    EXPECT_EQ(
        Prompt::translateSystem(bareApp(), "ru", noNotes, {Terms::translateAll, Address::formal}, {}, false),
        expected("translate_system_ru.txt"));
    EXPECT_EQ(Prompt::translateSystem(frenchApp(), "fr", noNotes, {Terms::keepCommon, Address::formal},
                                      frenchTerms, false),
              expected("translate_system_fr.txt"));
}

TEST_F(PromptGoldenTests, TranslateUserMessages) {
    Prompt::Item open{.id = "1", .text = "Open Settings/Preferences…"};
    open.where =
        std::vector<std::string>{"Main window > Toolbar: button; row: button «Open» | button \"Close\""};
    Prompt::Item count{.id = "2", .text = "%lld displays"};
    count.plural = PluralExamples::describe("de");
    count.countable = true;
    count.where = std::vector<std::string>{"Menu bar: menu item", "Settings: label"};
    count.note = "count of displays";
    count.key = "displays.count";
    count.current = "%lld Displays";
    count.feedback = "use Bildschirme";
    count.problem = "the plural forms are missing";
    count.os = std::vector<std::string>{"Systemeinstellungen"};
    count.phrases = std::vector<std::string>{"Anzeige", "Monitor"};
    const Prompt::Item arrow{.id = "3", .text = "Brightness → 50 %"};
    EXPECT_EQ(Prompt::translateUser({open, count, arrow}, germanPairs), expected("translate_user_de.txt"));

    Prompt::Item files{.id = "1", .text = "%lld files"};
    files.plural = PluralExamples::describe("ru");
    EXPECT_EQ(Prompt::translateUser({files, {.id = "2", .text = "Quit"}}, {}),
              expected("translate_user_ru.txt"));
}

TEST_F(PromptGoldenTests, TermsMessages) {
    EXPECT_EQ(Prompt::termsSystem(fullApp(), "de", fullNotes, {Terms::translateAll, Address::informal}, true),
              expected("terms_system_de.txt"));
    EXPECT_EQ(Prompt::termsSystem(bareApp(), "ru", noNotes, {Terms::keepCommon, Address::informal}, false),
              expected("terms_system_ru.txt"));
    EXPECT_EQ(Prompt::termsSystem(frenchApp(), "fr", noNotes, {Terms::translateAll, Address::formal}, true),
              expected("terms_system_fr.txt"));

    const Prompt::TermItem display{.term = "display",
                                   .examples = {"Brightness of the display", "All displays"},
                                   .os = "Bildschirme",
                                   .evidence = "Bildschirm (120), Display (30)"};
    EXPECT_EQ(Prompt::termsUser({display, {.term = "Sync Mode"}}), expected("terms_user.txt"));
}

TEST_F(PromptGoldenTests, ReviewMessages) {
    EXPECT_EQ(
        Prompt::reviewSystem(fullApp(), "de", fullNotes, {Terms::keepCommon, Address::formal}, fullTerms),
        expected("review_system_de.txt"));
    EXPECT_EQ(Prompt::reviewSystem(bareApp(), "ru", noNotes, {Terms::translateAll, Address::informal}, {}),
              expected("review_system_ru.txt"));
    EXPECT_EQ(
        Prompt::reviewSystem(frenchApp(), "fr", noNotes, {Terms::translateAll, Address::formal}, frenchTerms),
        expected("review_system_fr.txt"));

    const Prompt::ReviewItem label{.id = "1",
                                   .source = "Brightness",
                                   .translation = "Helligkeit",
                                   .where = std::vector<std::string>{"Main: label"}};
    const Prompt::ReviewItem count{
        .id = "2",
        .source = "%lld displays",
        .plural = std::map<std::string, std::string>{{"one", "%lld Display"}, {"other", "%lld Displays"}},
        .problem = "the form for one is wrong"};
    EXPECT_EQ(Prompt::reviewUser({label, count}, germanPairs), expected("review_user_de.txt"));

    // Plural forms are listed in the order of the categories, not of their names.
    const Prompt::ReviewItem files{
        .id = "1",
        .source = "%lld files",
        .plural = std::map<std::string, std::string>{
            {"other", "%lld файла"}, {"many", "%lld файлов"}, {"few", "%lld файла"}, {"one", "%lld файл"}}};
    EXPECT_EQ(Prompt::reviewUser({files}, {}), expected("review_user_ru.txt"));
}

TEST_F(PromptGoldenTests, JudgeMessages) {
    EXPECT_EQ(
        Prompt::judgeSystem(fullApp(), "de", fullNotes, {Terms::translateAll, Address::formal}, fullTerms),
        expected("judge_system_de.txt"));
    EXPECT_EQ(Prompt::judgeSystem(bareApp(), "ru", noNotes, {Terms::keepCommon, Address::informal}, {}),
              expected("judge_system_ru.txt"));
    EXPECT_EQ(
        Prompt::judgeSystem(frenchApp(), "fr", noNotes, {Terms::keepCommon, Address::informal}, frenchTerms),
        expected("judge_system_fr.txt"));

    const Prompt::JudgeItem mode{.id = "1",
                                 .source = "Sync Mode",
                                 .a = "Sync-Modus",
                                 .b = "Synchronisierung",
                                 .where = std::vector<std::string>{"Settings > General: toggle"}};
    const Prompt::JudgeItem quit{.id = "2", .source = "Quit", .a = "Beenden", .b = "Beenden"};
    EXPECT_EQ(Prompt::judgeUser({mode, quit}), expected("judge_user.txt"));
}

} // namespace
} // namespace orvel
