#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/OrvelPaths.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::WorkspaceTest;
using Forms = std::map<std::string, std::string>;
using Terms = std::map<std::string, std::string>;
using Origin = StringTranslation::Origin;

constexpr const char* openID = "Main\x1FOpen";
constexpr Date earlier{std::chrono::milliseconds{1'000'000'000'000}};

StringTranslation byModel(std::string text) {
    StringTranslation translation = testing::translated(std::move(text));
    translation.model = "small";
    translation.source = "Open";
    translation.updated = earlier;
    return translation;
}

StringTranslation byPerson(std::optional<std::string> text, std::optional<Forms> plural = std::nullopt) {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.plural = std::move(plural);
    translation.origin = Origin::person;
    translation.source = "Open";
    translation.updated = testing::workspaceStart;
    return translation;
}

StringTranslation kept(StringTranslation translation) {
    translation.origin = Origin::person;
    return translation;
}

class WorkspaceEditsTest : public WorkspaceTest {
  protected:
    // A fresh app whose German project holds `translations` and `terms`, opened in German.
    std::unique_ptr<Workspace> openGerman(const TranslatableApp& app,
                                          const std::map<std::string, StringTranslation>& translations,
                                          const Terms& terms = {}) {
        TranslationProject project;
        project.app = bundleID;
        project.language = "de";
        project.translations = translations;
        project.terms = terms;
        project.save(app);
        defaults.set(std::string("language.") + bundleID, std::string("de"));
        return open(app);
    }

    void freshHome() { fs::remove_all(scratch.path() / "home"); }
};

TEST_F(WorkspaceEditsTest, TranslationEditsBecomeThePersonsAndAreWrittenBack) {
    struct Case {
        const char* name;
        std::optional<StringTranslation> before;
        std::function<void(Workspace&)> edit;
        std::optional<StringTranslation> after;
        bool writtenBack;
    };
    const std::vector<Case> cases{
        {"a text replaces a model translation", byModel("Offnen"),
         [](Workspace& w) { w.setText("Öffnen", openID); }, byPerson("Öffnen"), true},
        {"an empty text removes the translation", byModel("Offnen"),
         [](Workspace& w) { w.setText("", openID); }, std::nullopt, true},
        {"an id without a string is ignored", byModel("Offnen"),
         [](Workspace& w) { w.setText("Neu", "Main\x1FNowhere"); }, byModel("Offnen"), false},
        {"a form of a plain translation keeps the text as other", byModel("Offnen"),
         [](Workspace& w) { w.setPluralForm("Eins", "one", openID); },
         byPerson(std::nullopt, Forms{{"one", "Eins"}, {"other", "Offnen"}}), true},
        {"a form joins the existing forms", byPerson(std::nullopt, Forms{{"other", "Viele"}}),
         [](Workspace& w) { w.setPluralForm("Eins", "one", openID); },
         byPerson(std::nullopt, Forms{{"one", "Eins"}, {"other", "Viele"}}), true},
        {"clearing one form keeps the others",
         byPerson(std::nullopt, Forms{{"one", "Eins"}, {"other", "Viele"}}),
         [](Workspace& w) { w.setPluralForm("", "one", openID); },
         byPerson(std::nullopt, Forms{{"other", "Viele"}}), true},
        {"clearing the last form removes the translation", byPerson(std::nullopt, Forms{{"one", "Eins"}}),
         [](Workspace& w) { w.setPluralForm("", "one", openID); }, std::nullopt, true},
        {"a form of no translation starts one", std::nullopt,
         [](Workspace& w) { w.setPluralForm("Viele", "other", openID); },
         byPerson(std::nullopt, Forms{{"other", "Viele"}}), true},
        {"a category that is none is ignored", byModel("Offnen"),
         [](Workspace& w) { w.setPluralForm("x", "several", openID); }, byModel("Offnen"), false},
        {"keep makes a model translation the person's as it stands", byModel("Offnen"),
         [](Workspace& w) { w.keep(openID); }, kept(byModel("Offnen")), true},
        {"keep without a translation does nothing", std::nullopt, [](Workspace& w) { w.keep(openID); },
         std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshHome();
        const TranslatableApp app = makeApp();
        std::map<std::string, StringTranslation> translations;
        if (c.before)
            translations.emplace(openID, *c.before);
        const auto workspace = openGerman(app, translations);
        const int firedBefore = timers.fired;

        c.edit(*workspace);
        const StringTranslation* now = workspace->translation(openID);
        EXPECT_EQ(now ? std::optional(*now) : std::nullopt, c.after);
        const bool byThePerson = c.after && c.after->origin == Origin::person;
        EXPECT_EQ(workspace->count(Workspace::Filter::edited), byThePerson ? 1 : 0);
        EXPECT_EQ(workspace->count(Workspace::Filter::untranslated), c.after ? 0 : 1);

        timers.advance(Workspace::writeBackDelay);
        EXPECT_EQ(timers.fired - firedBefore, c.writtenBack ? 1 : 0);
        const auto& stored = TranslationProject::load(app, "de").translations;
        const auto found = stored.find(openID);
        EXPECT_EQ(found == stored.end() ? std::nullopt : std::optional(found->second), c.after);
    }
}

TEST_F(WorkspaceEditsTest, TermAndStyleEditsSaveTheProjectFileAtOnceAndOnlyWhenTheyChangeIt) {
    struct Case {
        const char* name;
        Terms before;
        std::function<void(Workspace&)> edit;
        Terms terms;
        TranslationStyle style;
        bool saved;
    };
    const TranslationStyle formal{TranslationStyle::Terms::translateAll, TranslationStyle::Address::formal};
    const std::vector<Case> cases{
        {"a chosen term",
         {},
         [](Workspace& w) { w.setTerm("Folder", "Ordner"); },
         {{"Folder", "Ordner"}},
         {},
         true},
        {"an empty translation removes the term",
         {{"File", "Datei"}, {"Folder", "Ordner"}},
         [](Workspace& w) { w.setTerm("Folder", ""); },
         {{"File", "Datei"}},
         {},
         true},
        {"another style", {}, [&](Workspace& w) { w.setStyle(formal); }, {}, formal, true},
        {"the style the project has",
         {},
         [](Workspace& w) { w.setStyle(TranslationStyle{}); },
         {},
         {},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshHome();
        const TranslatableApp app = makeApp();
        const auto workspace = openGerman(app, {}, c.before);
        const fs::path file = TranslationProject::fileURL(app, "de");
        fs::remove(file);

        c.edit(*workspace);
        ASSERT_TRUE(workspace->project());
        EXPECT_EQ(workspace->project()->terms, c.terms);
        EXPECT_EQ(workspace->project()->style, c.style);
        ASSERT_EQ(fs::exists(file), c.saved);
        if (c.saved) {
            const TranslationProject stored = TranslationProject::load(app, "de");
            EXPECT_EQ(stored.terms, c.terms);
            EXPECT_EQ(stored.style, c.style);
        }
        // Only translation edits reach the overlay.
        timers.advance(std::chrono::seconds(1));
        EXPECT_FALSE(fs::exists(OrvelPaths::lproj("de", app.dataFolder())));
    }
}

TEST_F(WorkspaceEditsTest, SortedTermsGoByTheLowerCasedTermKeepingTiesInStoredOrder) {
    struct Case {
        const char* name;
        std::optional<Terms> terms;
        std::vector<std::pair<std::string, std::string>> expected;
    };
    const std::vector<Case> cases{
        {"without a project", std::nullopt, {}},
        {"mixed case",
         Terms{{"beta", "b"}, {"Zeta", "z"}, {"alpha", "a"}, {"Alpha", "A"}},
         {{"Alpha", "A"}, {"alpha", "a"}, {"beta", "b"}, {"Zeta", "z"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshHome();
        const TranslatableApp app = makeApp();
        const auto workspace = openGerman(app, {}, c.terms.value_or(Terms{}));
        if (!c.terms)
            workspace->selectLanguage(std::nullopt);
        EXPECT_EQ(workspace->sortedTerms(), c.expected);
    }
}

} // namespace
} // namespace orvel
