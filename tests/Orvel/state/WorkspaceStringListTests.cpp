#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/DisplayOrder.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

using Filter = Workspace::Filter;
using Keys = std::vector<std::string>;
using Origin = StringTranslation::Origin;

using testing::sourceString;

std::string idOf(const std::string& key) {
    return SourceString::id("Main", key);
}

Keys keysOf(const std::vector<const SourceString*>& rows) {
    Keys keys;
    for (const SourceString* row : rows)
        keys.push_back(row->key);
    return keys;
}

Keys keysOf(const std::vector<SourceString>& strings) {
    Keys keys;
    for (const SourceString& s : strings)
        keys.push_back(s.key);
    return keys;
}

class WorkspaceStringListTest : public testing::WorkspaceTest {
  protected:
    std::unique_ptr<Workspace> openWith(std::vector<SourceString> strings) {
        engine.scriptedStrings = std::move(strings);
        return open(makeApp());
    }

    static TranslationProject projectWith(std::map<std::string, StringTranslation> translations) {
        TranslationProject project;
        project.app = bundleID;
        project.language = "de";
        project.translations = std::move(translations);
        return project;
    }

    // Open and Edit translated (Edit by the person), Quit stored as an empty record, Hidden not to be
    // translated; Close added by an update and Print changed by it (the update also lists Hidden).
    std::unique_ptr<Workspace> openSampleApp() {
        auto workspace = openWith({sourceString("Open", "Open"), sourceString("Save", "Save"),
                                   sourceString("Quit", "Quit"), sourceString("Edit", "Edit"),
                                   sourceString("Hidden", "Hidden", false), sourceString("Close", "Close"),
                                   sourceString("Print", "Print")});
        workspace->setLanguage("de");
        workspace->setProject(projectWith({{idOf("Open"), testing::translated("Öffnen")},
                                           {idOf("Quit"), StringTranslation{}},
                                           {idOf("Edit"), testing::translated("Bearbeiten", Origin::person)},
                                           {idOf("Hidden"), testing::translated("Versteckt", Origin::person)},
                                           {idOf("Print"), testing::translated("Drucken")}}));
        StringChanges changes;
        changes.added = {*workspace->source(idOf("Close")), *workspace->source(idOf("Hidden"))};
        changes.changed = {StringChanges::Change{.string = *workspace->source(idOf("Print")),
                                                 .oldText = "Print…",
                                                 .oldID = idOf("Print"),
                                                 .translation = testing::translated("Drucken")}};
        workspace->setChanges(changes);
        return workspace;
    }
};

TEST(DisplayOrder, SortKeyDropsPlaceholdersAndWhatComesBeforeTheFirstLetter) {
    struct Case {
        const char* text;
        const char* key;
    };
    for (const Case& c :
         {Case{"Apps", "Apps"}, Case{"%d files", "files"}, Case{"%@", ""}, Case{"%1$@ of %2$lld", "of  "},
          Case{"  - Zoom…", "Zoom…"}, Case{"100%% done", "done"}, Case{"%.2f%%", ""}, Case{"…", ""},
          Case{"", ""}, Case{"Élan", "Élan"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DisplayOrder::sortKey(sourceString("k", c.text)), c.key);
    }
}

TEST_F(WorkspaceStringListTest, StringsAreInDisplayOrderWithLetterlessOnesLastInReadingOrder) {
    struct Case {
        const char* name;
        std::vector<std::string> texts;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"placeholders are left out", {"%@", "%d files", "Apps"}, {"Apps", "%d files", "%@"}},
        {"digits compare by value, case aside",
         {"File 10", "File 9", "file 1"},
         {"file 1", "File 9", "File 10"}},
        {"letterless keep their order", {"…", "Save", "123", "Open"}, {"Open", "Save", "…", "123"}},
        {"equal keys keep their order", {"%@ Apps", "Apps", "- Apps"}, {"%@ Apps", "Apps", "- Apps"}},
        {"moves of several lengths at once",
         {"Golf", "Delta", "Bravo", "Echo", "Alpha", "Charlie", "Foxtrot"},
         {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SourceString> strings;
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            strings.push_back(sourceString(c.texts[i] + "#" + std::to_string(i), c.texts[i]));
        const auto workspace = openWith(strings);
        std::vector<std::string> texts;
        for (const SourceString& s : workspace->strings())
            texts.push_back(s.text);
        EXPECT_EQ(texts, c.expected);
    }
}

TEST_F(WorkspaceStringListTest, EachFilterShowsItsTranslatableStrings) {
    struct Case {
        Filter filter;
        Keys expected;
    };
    const std::vector<Case> cases{
        {Filter::all, {"Close", "Edit", "Open", "Print", "Quit", "Save"}},
        {Filter::untranslated, {"Close", "Quit", "Save"}},
        {Filter::changed, {"Close", "Print"}},
        {Filter::problems, {}},
        {Filter::edited, {"Edit"}},
    };
    const auto workspace = openSampleApp();
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.filter));
        workspace->setFilter(c.filter);
        EXPECT_EQ(keysOf(workspace->visibleStrings()), c.expected);
    }
}

TEST_F(WorkspaceStringListTest, CountsFollowTheFiltersAndTheChangedCountTakesTheChangesAsTheyCome) {
    struct Case {
        Filter filter;
        std::optional<int> withProject;
        std::optional<int> withoutProject;
    };
    const std::vector<Case> cases{
        {Filter::all, 6, 6},     {Filter::untranslated, 3, 6},
        {Filter::changed, 3, 3}, {Filter::problems, std::nullopt, std::nullopt},
        {Filter::edited, 1, 0},
    };
    const auto workspace = openSampleApp();
    ContextMap context;
    const Occurrence button{.screen = "Main", .role = "button"};
    context.occurrences = {
        {idOf("Open"), {button}}, {idOf("Save"), {}}, {idOf("Hidden"), {button}}, {idOf("Gone"), {button}}};
    workspace->setContext(context);
    EXPECT_EQ(workspace->translatableCount(), 6);
    EXPECT_EQ(workspace->translatedCount(), 3);
    EXPECT_EQ(workspace->seenCount(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.filter));
        EXPECT_EQ(workspace->count(c.filter), c.withProject);
    }
    workspace->setProject(std::nullopt);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.filter)) + " without a project");
        EXPECT_EQ(workspace->count(c.filter), c.withoutProject);
        workspace->setFilter(c.filter);
        if (c.filter != Filter::changed && c.withoutProject) {
            EXPECT_EQ(static_cast<int>(workspace->visibleStrings().size()), *c.withoutProject);
        }
    }
}

TEST_F(WorkspaceStringListTest, SearchIgnoresCaseDiacriticsAndWidthInTheEnglishKeyAndTranslation) {
    struct Case {
        const char* search;
        Filter filter;
        Keys expected;
    };
    const std::vector<Case> cases{
        {" ok ", Filter::all, {"ok.button", "Okonomie", "tap", "toolbar.okay", "wide"}},
        {"ÖK", Filter::all, {"ok.button", "Okonomie", "tap", "toolbar.okay", "wide"}},
        {" \t ",
         Filter::all,
         {"cancel", "delete", "files", "ok.button", "Okonomie", "tap", "toolbar.okay", "wide"}},
        {"loschen", Filter::all, {"delete"}},
        {"DATEIEN", Filter::all, {"files"}},
        {"\tcancel", Filter::all, {"cancel"}},
        {"ok\n", Filter::all, {}},
        {"loschen", Filter::untranslated, {}},
        {"hidden", Filter::all, {}},
    };
    const auto workspace = openWith({sourceString("ok.button", "OK"), sourceString("tap", "Tap ok to go on"),
                                     sourceString("Okonomie", "Ökonomie"), sourceString("cancel", "Cancel"),
                                     sourceString("toolbar.okay", "Fine"), sourceString("delete", "Delete"),
                                     sourceString("files", "Files"), sourceString("wide", "ＯＫ"),
                                     sourceString("hidden", "Hidden ok", false)});
    StringTranslation pluralOnly;
    pluralOnly.plural = std::map<std::string, std::string>{{"one", "Datei"}, {"other", "Dateien"}};
    workspace->setProject(
        projectWith({{idOf("delete"), testing::translated("Löschen")}, {idOf("files"), pluralOnly}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search);
        workspace->setFilter(c.filter);
        workspace->setSearch(c.search);
        Keys keys = keysOf(workspace->visibleStrings());
        std::sort(keys.begin(), keys.end());
        Keys expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(keys, expected);
    }
}

TEST_F(WorkspaceStringListTest, SearchFindsATranslationAfterItChanges) {
    const auto workspace = openWith({sourceString("save", "Save")});
    workspace->setProject(projectWith({{idOf("save"), testing::translated("Sichern")}}));
    workspace->setSearch("speichern");
    EXPECT_TRUE(workspace->visibleStrings().empty());
    workspace->setProject(projectWith({{idOf("save"), testing::translated("Speichern")}}));
    EXPECT_EQ(keysOf(workspace->visibleStrings()), Keys{"save"});
}

TEST_F(WorkspaceStringListTest, LookUpsByStringID) {
    const auto workspace = openSampleApp();
    ContextMap context;
    context.occurrences[idOf("Open")] = {Occurrence{.screen = "Main", .role = "button"},
                                         Occurrence{.screen = "Menu bar > File", .role = "menu item"}};
    workspace->setContext(context);

    struct Case {
        std::string id;
        std::optional<std::string> sourceText;
        std::optional<std::string> translation;
        std::optional<std::string> previousSource;
        std::vector<std::string> seenOn;
    };
    const std::vector<Case> cases{
        {idOf("Open"), "Open", "Öffnen", std::nullopt, {"Main", "Menu bar > File"}},
        {idOf("Print"), "Print", "Drucken", "Print…", {}},
        {idOf("Save"), "Save", std::nullopt, std::nullopt, {}},
        {idOf("Gone"), std::nullopt, std::nullopt, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const SourceString* source = workspace->source(c.id);
        EXPECT_EQ(source ? std::optional(source->text) : std::nullopt, c.sourceText);
        const StringTranslation* translation = workspace->translation(c.id);
        EXPECT_EQ(translation ? translation->text : std::nullopt, c.translation);
        EXPECT_EQ(workspace->previousSource(c.id), c.previousSource);
        std::vector<std::string> seenOn;
        for (const Occurrence& occurrence : workspace->occurrences(c.id))
            seenOn.push_back(occurrence.screen);
        EXPECT_EQ(seenOn, c.seenOn);
    }
}

TEST_F(WorkspaceStringListTest, TheFirstOfTwoStringsWithOneIDIsTheOneLookedUp) {
    const auto workspace = openWith({sourceString("same", "Alpha"), sourceString("same", "Beta")});
    ASSERT_EQ(keysOf(workspace->strings()), (Keys{"same", "same"}));
    ASSERT_NE(workspace->source(idOf("same")), nullptr);
    EXPECT_EQ(workspace->source(idOf("same"))->text, "Alpha");
}

} // namespace
} // namespace orvel
