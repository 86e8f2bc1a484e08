// The pieces the messages are built from, and the sections that come and go with their inputs.

#include <gtest/gtest.h>

#include "TemporaryNotesFolder.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/model/JudgeRequest.h"
#include "engine/model/ReviewRequest.h"
#include "engine/model/TermsRequest.h"
#include "engine/model/TranslateRequest.h"

namespace orvel {
namespace {

using Term = AppManifest::Term;
using Lines = std::vector<std::string>;
using Terms = TranslationStyle::Terms;
using Address = TranslationStyle::Address;

const TranslationStyle keepInformal{Terms::keepCommon, Address::informal};

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t found = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++found;
    return found;
}

class PromptContextTests : public ::testing::Test {
  protected:
    test::TemporaryNotesFolder m_notes;
};

TEST_F(PromptContextTests, BareRequestHasOnlyFirstLineAndRules) {
    const std::string message =
        Prompt::translateSystem(AppProfile("A", "en"), "ru", {}, keepInformal, {}, false);
    const auto gap = message.find("\n\n");
    EXPECT_EQ(message.substr(0, gap),
              "You translate the interface of the Mac app \"A\" from English into Russian (ru).");
    EXPECT_EQ(message.substr(gap + 2, 6), "RULES\n");
    EXPECT_EQ(count(message, "\n\n"), 2u); // the one between the parts and the one before ANSWER
    EXPECT_TRUE(Prompt::contextSections(AppProfile("A", "en"), "ru", {}, keepInformal, {}).empty());
}

TEST_F(PromptContextTests, AboutTheAppTrimsOnlyTheContextText) {
    EXPECT_EQ(Prompt::aboutApp(AppProfile("A", "en", std::nullopt, " \n\t\n")), std::nullopt);
    AppManifest manifest;
    manifest.description = " ";
    EXPECT_EQ(Prompt::aboutApp(AppProfile("A", "en", manifest, "\n x \n")), " \nx");
    manifest.description = "";
    manifest.context = "ctx";
    EXPECT_EQ(Prompt::aboutApp(AppProfile("A", "en", manifest)), "ctx");
}

TEST_F(PromptContextTests, PersonsNotesAreTrimmedAndWhiteSpaceAloneAddsNothing) {
    const auto sections =
        Prompt::contextSections(AppProfile("A", "en"), "ru", {"\n  be brief \n\n", {}}, keepInformal, {});
    EXPECT_EQ(sections,
              (Lines{"NOTES FROM THE PERSON THIS TRANSLATION IS FOR (these come first)\nbe brief"}));
    EXPECT_TRUE(
        Prompt::contextSections(AppProfile("A", "en"), "ru", {" \n\u3000", {}}, keepInformal, {}).empty());
}

TEST_F(PromptContextTests, NamesAndMeaningsLines) {
    AppManifest manifest;
    manifest.glossary =
        std::vector<Term>{{"Orbit", "the app", false}, {"", "skipped", false}, {"Dock", "", false}};
    const std::vector<Term> person{{"Sync", "keeps in step", true},
                                   {"Tab", std::nullopt, std::nullopt},
                                   {"Pane", "side panel", std::nullopt},
                                   {"Orbit", "the app", false}};
    EXPECT_EQ(Prompt::namesAndMeanings(AppProfile("A", "en", manifest), person),
              (Lines{"- Orbit: a name, keep it exactly as written. the app",
                     "- Dock: a name, keep it exactly as written", "- Sync: keeps in step", "- Tab",
                     "- Pane: side panel", "- Orbit: a name, keep it exactly as written. the app"}));
    EXPECT_TRUE(Prompt::namesAndMeanings(AppProfile("A", "en"), {}).empty());
}

TEST_F(PromptContextTests, TermLinesSortByLowerCasedTerm) {
    EXPECT_EQ(Prompt::termLines({{"beta", "b"}, {"Alpha", "a"}, {"Gamma", "g"}, {"delta", "d"}}),
              (Lines{"- Alpha → a", "- beta → b", "- delta → d", "- Gamma → g"}));
}

TEST_F(PromptContextTests, SectionDropsEmptyLines) {
    EXPECT_EQ(Prompt::section("T", {"", "a", "", "b"}), "T\na\nb");
    EXPECT_EQ(Prompt::section("T", {"", ""}), std::nullopt);
    EXPECT_EQ(Prompt::section("T", {}), std::nullopt);
}

TEST_F(PromptContextTests, StyleSectionComesFromNoteFilesToo) {
    m_notes.writeNote(
        "ru", R"({"always": ["Use «ё» where it belongs."], "formal": ["Address the reader with «вы»."]})");
    const auto sections =
        Prompt::contextSections(AppProfile("A", "en"), "ru", {}, {Terms::keepCommon, Address::formal}, {});
    EXPECT_EQ(sections,
              (Lines{"RUSSIAN STYLE\n- Use «ё» where it belongs.\n- Address the reader with «вы»."}));
}

TEST_F(PromptContextTests, StyleSentencesNameTheLanguage) {
    EXPECT_EQ(
        Prompt::styleLines("de", {Terms::translateAll, Address::formal}),
        (Lines{
            "The reader may not know English computer words. Use plain German words that anyone understands, "
            "also where younger people would say the English word.",
            "When a text speaks to the reader, use the polite, formal form of address of German."}));
    const auto unknown = Prompt::styleLines("xx", keepInformal);
    EXPECT_EQ(unknown[0],
              "Where people who speak xx use an English computer word in daily life, keep that English "
              "word. Where they use a xx word, use it.");
    EXPECT_EQ(unknown[1], "When a text speaks to the reader, use the informal form of address of xx.");
}

TEST_F(PromptContextTests, UnnamedLanguageIsNamedByItsCodeEverywhere) {
    const std::string message =
        Prompt::translateSystem(AppProfile("A", "en"), "xx", {}, keepInformal, {}, true);
    EXPECT_NE(message.find("from English into xx (xx)."), std::string::npos);
    EXPECT_NE(message.find("a native xx speaker"), std::string::npos);
    EXPECT_NE(message.find("that has no one xx translation"), std::string::npos);
    EXPECT_EQ(message.find("[["), std::string::npos);
}

TEST_F(PromptContextTests, PluralShapeFollowsTheLanguagesCategories) {
    const auto fr = Prompt::translateSystem(AppProfile("A", "en"), "fr", {}, keepInformal, {}, false);
    EXPECT_EQ(count(fr, "{\"one\": \"…\", \"many\": \"…\", \"other\": \"…\"}"), 2u);
    EXPECT_NE(fr.find("return \"plural\" forms for one (0, 1), many (1 000 000), other (2 and up)."),
              std::string::npos);
    const auto ja = Prompt::translateSystem(AppProfile("A", "en"), "ja", {}, keepInformal, {}, false);
    EXPECT_EQ(count(ja, "\"plural\": {\"other\": \"…\"}"), 2u);
}

TEST_F(PromptContextTests, PhrasesRuleStandsBetweenRuleTwelveAndAnswer) {
    const std::string rule12End = "come first for ordinary words.";
    const auto without = Prompt::translateSystem(AppProfile("A", "en"), "de", {}, keepInformal, {}, false);
    EXPECT_NE(without.find(rule12End + "\n\nANSWER\n"), std::string::npos);
    const auto with = Prompt::translateSystem(AppProfile("A", "en"), "de", {}, keepInformal, {}, true);
    EXPECT_NE(with.find(rule12End + "\n13. \"phrases\" shows"), std::string::npos);
    EXPECT_NE(with.find("leave the word out when the meaning stays clear without it.\n\nANSWER\n"),
              std::string::npos);
}

TEST_F(PromptContextTests, TermBlockLimitsAndKeepLines) {
    std::vector<Prompt::TermPair> pairs;
    for (int i = 0; i < 25; ++i)
        pairs.emplace_back("t" + std::to_string(i), "w" + std::to_string(i));
    const std::string block = Prompt::termWords(pairs);
    EXPECT_EQ(count(block, "\n- "), 20u);
    EXPECT_NE(block.find("- t19 → w19\n\n"), std::string::npos);
    EXPECT_EQ(block.find("t20"), std::string::npos);

    EXPECT_EQ(Prompt::termWords({{"HDR", "HDR"}, {"Dock", "dock"}}),
              "Use these words for the terms in these strings:\n- HDR: keep as is\n- Dock → dock\n\n");
    EXPECT_EQ(Prompt::termWords({}), "");
    // A word spelled with a combining accent is the same word as its composed form.
    EXPECT_EQ(Prompt::termWords({{"caf\u00E9", "cafe\u0301"}}),
              "Use these words for the terms in these strings:\n- caf\u00E9: keep as is\n\n");
    EXPECT_EQ(Prompt::translateUser(
                  {{.id = "1", .text = "a"}, {.id = "2", .text = "b"}, {.id = "3", .text = "c"}}, {})
                  .substr(0, 27),
              "Translate these 3 strings:\n");
}

TEST_F(PromptContextTests, WherePathTakesTheFirstThreePlaces) {
    std::vector<Occurrence> occurrences{
        {.screen = "A", .section = "B", .role = "C", .row = {"D", "E"}},
        {.screen = "Menu bar > File", .role = "menu item", .row = {"«Open»"}},
        {.screen = "S", .role = "R", .row = {}},
        {.screen = "fourth", .role = "r", .row = {}},
        {.screen = "fifth", .role = "r", .row = {}},
    };
    EXPECT_EQ(Prompt::wherePath(occurrences),
              (Lines{"A > B: C; row: D | E", "Menu bar > File: menu item", "S: R"}));
    EXPECT_EQ(Prompt::wherePath({}), std::nullopt);
}

TEST_F(PromptContextTests, TermsRequestNeverListsChosenTerms) {
    const auto message = Prompt::termsSystem(AppProfile("A", "en"), "de", {}, keepInformal, false);
    EXPECT_EQ(message.find("TERMS (always"), std::string::npos);
    EXPECT_NE(message.find("Use it exactly, since the reader sees that name in macOS.\n\nANSWER\n"),
              std::string::npos);
    const auto evidence = Prompt::termsSystem(AppProfile("A", "en"), "pt-BR", {}, keepInformal, true);
    EXPECT_NE(evidence.find("in macOS.\n7. \"evidence\" shows"), std::string::npos);
    EXPECT_NE(evidence.find("The PORTUGUESE (BRAZIL) STYLE notes come first.\n\nANSWER\n"),
              std::string::npos);
}

TEST_F(PromptContextTests, ReviewAndJudgeFirstLinesAndStyle) {
    const TranslationStyle formal{Terms::translateAll, Address::formal};
    const auto review = Prompt::reviewSystem(AppProfile("A", "en"), "pt-BR", {}, formal, {{"x", "y"}});
    EXPECT_EQ(
        review.substr(0, review.find('\n')),
        "You review the Portuguese (Brazil) translation of the Mac app \"A\" as a native Portuguese (Brazil) "
        "speaker who uses a Mac every day.");
    EXPECT_NE(review.find("TERMS (always translate these words this way)\n- x → y"), std::string::npos);
    for (const auto& sentence : Prompt::styleLines("pt-BR", formal))
        EXPECT_NE(review.find(sentence), std::string::npos);

    const auto judge = Prompt::judgeSystem(AppProfile("A", "en"), "de", {}, formal, {});
    EXPECT_EQ(judge.substr(0, judge.find('\n')), "You check changes to the German translation of the Mac app "
                                                 "\"A\", as a native German speaker who uses "
                                                 "a Mac every day.");
    for (const auto& sentence : Prompt::styleLines("de", formal))
        EXPECT_EQ(judge.find(sentence), std::string::npos);
    EXPECT_NE(judge.find("\n\nGERMAN STYLE\n"), std::string::npos);
    EXPECT_NE(judge.find("judged against the English source"), std::string::npos);
}

TEST_F(PromptContextTests, CountLinesUseFixedPluralWords) {
    EXPECT_EQ(Prompt::reviewUser({{.id = "1", .source = "a"}, {.id = "2", .source = "b"}}, {}).substr(0, 29),
              "Review these 2 translations:\n");
    EXPECT_EQ(Prompt::judgeUser({{.id = "1", .source = "a", .a = "x", .b = "y"}}).substr(0, 23),
              "Check these 1 changes:\n");
    EXPECT_EQ(Prompt::termsUser({}), "Choose the words for these 0 terms:\n[\n\n]");
}

TEST_F(PromptContextTests, AppNameWithMarkersIsInsertedLiterally) {
    const auto message =
        Prompt::translateSystem(AppProfile("[[L]] \"Pro\"", "en"), "de", {}, keepInformal, {}, false);
    EXPECT_EQ(message.substr(0, message.find('\n')),
              "You translate the interface of the Mac app \"[[L]] \"Pro\"\" from English into German (de).");
}

TEST(AppProfileTests, ProfileOfAnAppCopiesItsFourFields) {
    TranslatableApp app;
    app.name = "Lumen";
    app.sourceLanguage = "fr";
    app.manifest = AppManifest{};
    app.manifest->description = "d";
    app.contextText = " c ";
    app.bundleIdentifier = "com.example.lumen";
    EXPECT_EQ(AppProfile(app), AppProfile("Lumen", "fr", app.manifest, " c "));
}

} // namespace
} // namespace orvel
