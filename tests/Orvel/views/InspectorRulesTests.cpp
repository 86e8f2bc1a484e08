#include "Orvel/views/InspectorRules.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

SourceString stringOf(std::string key, std::string text, std::optional<std::string> comment) {
    SourceString string;
    string.table = "Main";
    string.key = std::move(key);
    string.text = std::move(text);
    string.comment = std::move(comment);
    return string;
}

TEST(InspectorRules, ShowsKeyAndDeveloperNoteRowsOnlyWhenTheyAddSomething) {
    struct Case {
        const char* name;
        SourceString string;
        bool key;
        bool note;
    };
    const std::vector<Case> cases = {
        {"key equal to the English", stringOf("Open", "Open", std::nullopt), false, false},
        {"key differing in letter case", stringOf("open", "Open", std::nullopt), true, false},
        {"present but empty comment", stringOf("Open", "Open", ""), false, false},
        {"a comment", stringOf("menu.open", "Open", "Menu item"), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InspectorParts parts = inspectorParts(c.string, false, false, 0);
        EXPECT_EQ(parts.key, c.key);
        EXPECT_EQ(parts.developerNote, c.note);
    }
}

TEST(InspectorRules, ChoosesThePluralEditorAndItsRows) {
    StringTranslation plainStored;
    plainStored.text = "Öffnen";
    StringTranslation pluralStored;
    pluralStored.plural = std::map<std::string, std::string>{{"other", "%lld Notizen"}};
    SourceString pluralString = stringOf("%lld notes", "%lld notes", std::nullopt);
    pluralString.plural = std::map<std::string, std::string>{{"one", "%lld note"}, {"other", "%lld notes"}};
    struct Case {
        const char* name;
        SourceString string;
        const StringTranslation* stored;
        std::optional<std::string> language;
        bool plural;
        std::vector<std::string> labels;
    };
    const SourceString plainString = stringOf("Open", "Open", std::nullopt);
    const std::vector<Case> cases = {
        {"plain string, no translation", plainString, nullptr, "de", false, {}},
        {"plain string, plain translation", plainString, &plainStored, "de", false, {}},
        {"plain string whose translation has forms",
         plainString,
         &pluralStored,
         "de",
         true,
         {"One", "Other"}},
        {"plural string without a language", pluralString, nullptr, std::nullopt, true, {"One", "Other"}},
        {"four categories", pluralString, nullptr, "ru", true, {"One", "Few", "Many", "Other"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(usesPluralEditor(c.string, c.stored), c.plural);
        if (!c.plural)
            continue;
        std::vector<std::string> labels;
        for (const std::string& category : pluralEditorCategories(c.language))
            labels.emplace_back(pluralLabelKey(category));
        EXPECT_EQ(labels, c.labels);
    }
}

TEST(InspectorRules, ReadsTheStoredFormsAndText) {
    StringTranslation stored;
    stored.text = "Text";
    stored.plural = std::map<std::string, std::string>{{"one", "eine"}};
    struct Case {
        const char* name;
        const StringTranslation* translation;
        std::string category;
        std::string form;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"no translation", nullptr, "one", "", ""},
        {"a stored form", &stored, "one", "eine", "Text"},
        {"a category without a form", &stored, "other", "", "Text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(storedPluralForm(c.translation, c.category), c.form);
        EXPECT_EQ(storedText(c.translation), c.text);
    }
}

TEST(InspectorRules, ComposesOccurrenceLines) {
    struct Case {
        const char* name;
        Occurrence occurrence;
        OccurrenceLines expected;
    };
    const std::vector<Case> cases = {
        {"no section, no row parts", {.screen = "Main", .role = "button"}, {"Main", "button"}},
        {"one row part shows the role",
         {.screen = "Main", .section = "Toolbar", .role = "button", .row = {"«Open»"}},
         {"Main > Toolbar", "button"}},
        {"two row parts",
         {.screen = "Main", .section = "Toolbar", .role = "button", .row = {"New", "«Open»"}},
         {"Main > Toolbar", "New · «Open»"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(occurrenceLines(c.occurrence), c.expected);
    }
}

} // namespace
} // namespace orvel
