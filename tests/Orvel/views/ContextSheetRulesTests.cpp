#include "Orvel/views/ContextSheetRules.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

using Term = AppManifest::Term;

TEST(ContextSheetRules, ComposesTheDeveloperText) {
    struct Case {
        const char* name;
        std::optional<AppManifest> manifest;
        std::optional<std::string> contextText;
        std::optional<QString> expected;
    };
    AppManifest full;
    full.description = "About";
    full.context = "Menus";
    full.glossary = std::vector<Term>{{.term = "Jotter", .note = "The name", .translate = false},
                                      {.term = "note", .note = std::nullopt, .translate = std::nullopt},
                                      {.term = "pin", .note = "Keep on top", .translate = true}};
    AppManifest emptyDescription;
    emptyDescription.description = "";
    const std::vector<Case> cases = {
        {"nothing shipped", std::nullopt, std::nullopt, std::nullopt},
        {"a manifest without texts or glossary", AppManifest{}, std::nullopt, std::nullopt},
        {"an empty description counts", emptyDescription, std::nullopt, QString()},
        {"the context file alone", std::nullopt, "Plain text", QStringLiteral("Plain text")},
        {"everything, in order", full, "File",
         QStringLiteral(
             "About\n\nMenus\n\nFile\n\nJotter (kept as is): The name\n\nnote\n\npin: Keep on top")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        app.manifest = c.manifest;
        app.contextText = c.contextText;
        EXPECT_EQ(developerText(app), c.expected);
    }
}

TEST(ContextSheetRules, EachPickerKeepsTheOtherValue) {
    TranslationProject project;
    project.style = {TranslationStyle::Terms::translateAll, TranslationStyle::Address::formal};
    struct Case {
        const char* name;
        std::optional<TranslationProject> project;
        TranslationStyle fromTerms;
        TranslationStyle fromAddress;
    };
    const std::vector<Case> cases = {
        {"a project",
         project,
         {TranslationStyle::Terms::keepCommon, TranslationStyle::Address::formal},
         {TranslationStyle::Terms::translateAll, TranslationStyle::Address::informal}},
        {"no project",
         std::nullopt,
         {TranslationStyle::Terms::keepCommon, TranslationStyle::Address::informal},
         {TranslationStyle::Terms::keepCommon, TranslationStyle::Address::informal}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(styleWithTerms(c.project, TranslationStyle::Terms::keepCommon), c.fromTerms);
        EXPECT_EQ(styleWithAddress(c.project, TranslationStyle::Address::informal), c.fromAddress);
    }
}

TEST(ContextSheetRules, EditsGlossaryRowsAndDropsGonePositions) {
    AppNotes notes;
    notes.glossary = {{.term = "pin", .note = "n", .translate = true}};
    struct Case {
        const char* name;
        std::optional<AppNotes> edited;
        std::optional<Term> expected;
    };
    const std::vector<Case> cases = {
        {"keep on", withKeepAsIs(notes, 0, true), Term{"pin", "n", false}},
        {"keep off leaves the flag absent", withKeepAsIs(*withKeepAsIs(notes, 0, true), 0, false),
         Term{"pin", "n", std::nullopt}},
        {"an empty note is no note", withGlossaryNote(notes, 0, ""), Term{"pin", std::nullopt, true}},
        {"a new term", withGlossaryTerm(notes, 0, "tag"), Term{"tag", "n", true}},
        {"a gone position", withGlossaryTerm(notes, 1, "tag"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.edited.has_value(), c.expected.has_value());
        if (c.edited) {
            EXPECT_EQ(c.edited->glossary.at(0), *c.expected);
        }
    }
    EXPECT_EQ(glossaryTerm(notes, 3), "");
    EXPECT_FALSE(keepsAsIs(notes, 3));
}

TEST(ContextSheetRules, DoneDropsBlankTermsOnly) {
    struct Case {
        const char* term;
        bool kept;
    };
    const std::vector<Case> cases = {{"", false}, {"  \t ", false}, {"\n", true}, {" pin ", true}};
    AppNotes notes;
    for (const Case& c : cases)
        notes.glossary.push_back({.term = c.term, .note = std::nullopt, .translate = std::nullopt});
    std::vector<std::string> expected;
    for (const Case& c : cases)
        if (c.kept)
            expected.emplace_back(c.term);
    std::vector<std::string> kept;
    for (const Term& term : withoutBlankTerms(notes).glossary)
        kept.push_back(term.term);
    EXPECT_EQ(kept, expected);
}

} // namespace
} // namespace orvel
