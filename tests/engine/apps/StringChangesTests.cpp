#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/apps/StringChanges.h"

namespace orvel {
namespace {

using Move = StringChanges::Move;

SourceString string(std::string key, std::string text, std::string table = "Main") {
    SourceString s;
    s.table = std::move(table);
    s.key = std::move(key);
    s.text = std::move(text);
    return s;
}

std::string id(const std::string& key, const std::string& table = "Main") {
    return SourceString::id(table, key);
}

StringTranslation madeFrom(std::string english, std::string text = "übersetzt") {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.source = std::move(english);
    return translation;
}

std::vector<std::string> ids(const std::vector<SourceString>& strings) {
    std::vector<std::string> out;
    for (const auto& s : strings)
        out.push_back(s.id());
    return out;
}

TranslationProject recorded(std::vector<std::string> recordedKeys) {
    TranslationProject project;
    project.sourceText.emplace();
    for (const auto& key : recordedKeys)
        (*project.sourceText)[id(key)] = "recorded";
    return project;
}

TEST(StringChanges, WorkedExampleOfAnUpdate) {
    TranslationProject project = recorded({"k1", "k2", "k3", "k4"});
    project.translations = {{id("k1"), madeFrom("Save", "Sichern")},
                            {id("k2"), madeFrom("Open the file", "Datei öffnen")},
                            {id("k3"), madeFrom("Quit", "Beenden")}};
    project.retired = {{id("k9"), madeFrom("Help", "Hilfe")}};
    const std::vector<SourceString> strings = {string("k1", "Save"),        string("k5", "Quit"),
                                               string("k6", "Open a file"), string("k4", "Print"),
                                               string("k9", "Help"),        string("k7", "Export")};

    const auto changes = StringChanges::compute(project, strings);
    EXPECT_EQ(ids(changes.added), std::vector<std::string>{id("k7")});
    ASSERT_EQ(changes.changed.size(), 1u);
    EXPECT_EQ(changes.changed[0],
              (StringChanges::Change{strings[2], "Open the file", id("k2"), project.translations[id("k2")]}));
    EXPECT_EQ(changes.changed[0].id(), id("k6"));
    EXPECT_EQ(changes.moved, (std::vector<Move>{{id("k9"), id("k9")}, {id("k3"), id("k5")}}));
    EXPECT_TRUE(changes.removed.empty());
    EXPECT_EQ(changes.unchanged, 1);
    EXPECT_FALSE(changes.isEmpty());
    EXPECT_EQ(ids(changes.toTranslate()), (std::vector<std::string>{id("k7"), id("k6")}));

    TranslationProject updated = project;
    apply(updated, changes.changed, changes.moved, changes.removed);
    std::vector<std::string> translated;
    for (const auto& [key, translation] : updated.translations)
        translated.push_back(key);
    EXPECT_EQ(translated, (std::vector<std::string>{id("k1"), id("k5"), id("k6"), id("k9")}));
    EXPECT_EQ(updated.translations[id("k5")], project.translations[id("k3")]);
    EXPECT_EQ(updated.translations[id("k6")], project.translations[id("k2")]);
    EXPECT_EQ(updated.translations[id("k9")], project.retired[id("k9")]);
    EXPECT_TRUE(updated.retired.empty());
}

TEST(StringChanges, UnchangedSkippedAndUntranslatableStrings) {
    TranslationProject project = recorded({"recordedOnly"});
    project.translations = {{id("same"), madeFrom("Caf\u00E9")}, {id("frozen"), madeFrom("Old")}};
    auto frozen = string("frozen", "New");
    frozen.translate = false;
    const auto changes =
        StringChanges::compute(project, {string("same", "Cafe\u0301"), frozen, string("recordedOnly", "X")});
    // Canonically equivalent English is the same English; a frozen string keeps its translation in place.
    EXPECT_EQ(changes.unchanged, 1);
    EXPECT_TRUE(changes.isEmpty());
}

TEST(StringChanges, KeyAndTableChanges) {
    TranslationProject project = recorded({});
    project.translations = {{id("oldKey"), madeFrom("Export")},
                            {id("elsewhere", "Other"), madeFrom("Share")}};
    const auto changes =
        StringChanges::compute(project, {string("newKey", "Export"), string("share", "Share", "Main")});
    EXPECT_EQ(changes.moved, (std::vector<Move>{{id("oldKey"), id("newKey")}}));
    // Same English in another table is a different string.
    EXPECT_EQ(ids(changes.added), std::vector<std::string>{id("share")});
    ASSERT_EQ(changes.removed.size(), 1u);
    EXPECT_TRUE(changes.removed.contains(id("elsewhere", "Other")));

    TranslationProject updated = project;
    apply(updated, changes.changed, changes.moved, changes.removed);
    EXPECT_FALSE(updated.translations.contains(id("oldKey")));
    EXPECT_EQ(updated.translations[id("newKey")], project.translations[id("oldKey")]);
    EXPECT_EQ(updated.retired[id("elsewhere", "Other")], project.translations[id("elsewhere", "Other")]);
}

TEST(StringChanges, PairingThresholdAndOrderOfScores) {
    TranslationProject project = recorded({});
    project.translations = {{id("half"), madeFrom("abcd")},
                            {id("tooFar"), madeFrom(std::string(100, 'a'))},
                            {id("gone"), madeFrom("Open the file")}};
    const auto changes =
        StringChanges::compute(project, {string("exactlyHalf", "abxy"),
                                         string("justBelow", std::string(49, 'a') + std::string(51, 'b')),
                                         string("reworded", "Open a file")});
    // The better pair comes first although its candidate comes last.
    ASSERT_EQ(changes.changed.size(), 2u);
    EXPECT_EQ(changes.changed[0].id(), id("reworded"));
    EXPECT_EQ(changes.changed[0].oldID, id("gone"));
    EXPECT_EQ(changes.changed[0].oldText, "Open the file");
    EXPECT_EQ(changes.changed[1].id(), id("exactlyHalf"));
    EXPECT_EQ(changes.changed[1].oldID, id("half"));
    // 0.49 stays apart.
    EXPECT_EQ(ids(changes.added), std::vector<std::string>{id("justBelow")});
    EXPECT_EQ(changes.removed.size(), 1u);
    EXPECT_TRUE(changes.removed.contains(id("tooFar")));
}

TEST(StringChanges, HigherScoreTakesTheOldTranslation) {
    TranslationProject project = recorded({});
    project.translations = {{id("gone"), madeFrom("Move the file to the bin")}};
    const auto changes = StringChanges::compute(
        project, {string("far", "Move the file away"), string("near", "Move the file to the trash")});
    ASSERT_EQ(changes.changed.size(), 1u);
    EXPECT_EQ(changes.changed[0].id(), id("near"));
    EXPECT_EQ(ids(changes.added), std::vector<std::string>{id("far")});
}

TEST(StringChanges, ChangedEnglishUnderTheSameIdAndReturnsFromRetirement) {
    TranslationProject project = recorded({});
    project.translations = {{id("reworded"), madeFrom("Open")}, {id("blank"), madeFrom("Help", "")}};
    project.retired = {{id("back"), madeFrom("Print")},
                       {id("backNew"), madeFrom("Close")},
                       {id("blank"), madeFrom("Help", "Hilfe")}};
    const auto changes =
        StringChanges::compute(project, {string("reworded", "Open…"), string("back", "Print"),
                                         string("backNew", "Close All"), string("blank", "Help")});
    // An empty current translation counts as none, so the string falls through to its retired entry.
    EXPECT_EQ(changes.moved, (std::vector<Move>{{id("back"), id("back")}, {id("blank"), id("blank")}}));
    ASSERT_EQ(changes.changed.size(), 2u);
    EXPECT_EQ(changes.changed[0].oldID, id("reworded"));
    EXPECT_EQ(changes.changed[0].oldText, "Open");
    EXPECT_EQ(changes.changed[1].translation, project.retired[id("backNew")]);

    TranslationProject updated = project;
    apply(updated, changes.changed, changes.moved, changes.removed);
    EXPECT_EQ(updated.translations[id("reworded")], project.translations[id("reworded")]);
    EXPECT_EQ(updated.translations[id("back")], project.retired[id("back")]);
    EXPECT_EQ(updated.translations[id("backNew")], project.retired[id("backNew")]);
    // The empty entry must not cost the real translation kept in retirement.
    EXPECT_EQ(updated.translations[id("blank")].text, "Hilfe");
    EXPECT_TRUE(updated.retired.empty());
}

TEST(StringChanges, WithoutRecordedEnglishNothingIsAdded) {
    TranslationProject project;
    project.translations = {{id("old"), madeFrom("Open the file")}, {id("moved"), madeFrom("Quit")}};
    const auto changes = StringChanges::compute(
        project, {string("new", "Brand new"), string("reworded", "Open a file"), string("quit", "Quit")});
    EXPECT_TRUE(changes.added.empty());
    EXPECT_EQ(changes.moved, (std::vector<Move>{{id("moved"), id("quit")}}));
    ASSERT_EQ(changes.changed.size(), 1u);
    EXPECT_EQ(changes.changed[0].id(), id("reworded"));
}

// Two new strings of one English must not both be promised one old translation: the second would end
// up with neither a translation nor a place among the strings to translate.
TEST(StringChanges, EachOldTranslationServesOneString) {
    TranslationProject project = recorded({});
    project.retired = {{id("retiredHelp"), madeFrom("Help")}};
    project.translations = {{id("goneQuit"), madeFrom("Quit")}};
    const std::vector<SourceString> strings = {string("help1", "Help"), string("help2", "Help"),
                                               string("quit1", "Quit"), string("quit2", "Quit")};
    const auto changes = StringChanges::compute(project, strings);
    EXPECT_EQ(changes.moved,
              (std::vector<Move>{{id("retiredHelp"), id("help1")}, {id("goneQuit"), id("quit1")}}));
    EXPECT_EQ(ids(changes.added), (std::vector<std::string>{id("help2"), id("quit2")}));

    TranslationProject updated = project;
    apply(updated, changes.changed, changes.moved, changes.removed);
    const auto pending = ids(changes.toTranslate());
    for (const auto& s : strings)
        EXPECT_TRUE(updated.translations.contains(s.id()) ||
                    std::find(pending.begin(), pending.end(), s.id()) != pending.end())
            << s.key;
}

TEST(StringChanges, EmptyCurrentEntryDoesNotShadowTheRetiredOneOnAMove) {
    TranslationProject project = recorded({});
    project.translations = {{id("old"), madeFrom("Print", "")}};
    project.retired = {{id("old"), madeFrom("Print", "Drucken")}};
    const auto changes = StringChanges::compute(project, {string("print", "Print")});
    EXPECT_EQ(changes.moved, (std::vector<Move>{{id("old"), id("print")}}));

    apply(project, changes.changed, changes.moved, changes.removed);
    EXPECT_EQ(project.translations[id("print")].text, "Drucken");
    EXPECT_FALSE(project.translations.contains(id("old")));
    EXPECT_TRUE(project.retired.empty());
}

TEST(StringChanges, ApplyingListsThatDoNotFitTheProject) {
    TranslationProject project;
    project.translations = {{id("kept"), madeFrom("Keep")}, {id("stale"), madeFrom("Old")}};
    project.retired = {{id("stale"), madeFrom("Older")}};
    const StringChanges::Change change{string("kept", "Keep it"), "Other", id("nowhere"), madeFrom("Other")};
    apply(project, {change}, {{id("missing"), id("target")}}, {{id("stale"), madeFrom("Old", "neu")}});
    EXPECT_FALSE(project.translations.contains(id("target")));
    // A non-empty translation in place stays until it is translated anew.
    EXPECT_EQ(project.translations[id("kept")].source, "Keep");
    EXPECT_FALSE(project.translations.contains(id("stale")));
    EXPECT_EQ(project.retired[id("stale")].text, "neu");
}

// A run's new translations followed row by row give what comparing the whole project again gives, or
// are refused where they could reach other rows.
TEST(StringChanges, NewTranslationsFollowedRowByRowMatchTheWholeComparison) {
    struct Case {
        const char* name;
        // The keys translated now (from their current English unless `otherEnglish`).
        std::vector<std::string> translatedKeys;
        bool followed;
        bool otherEnglish = false;
        bool emptyTranslation = false;
    };
    // k1 unchanged, k2 reworded, k3 new, k4 recorded but never translated, k5 back from retirement
    // unchanged, k6 back from retirement reworded, k7 takes k8's translation along (same English), k9
    // not to be translated, k10 new with no partner, k11 takes k12's translation along and was reworded.
    TranslationProject project = recorded({"k1", "k2", "k4", "k8", "k12"});
    project.translations = {{id("k1"), madeFrom("Save")},
                            {id("k2"), madeFrom("Open the file")},
                            {id("k8"), madeFrom("Export")},
                            {id("k12"), madeFrom("Show all windows")}};
    project.retired = {{id("k5"), madeFrom("Help")}, {id("k6"), madeFrom("Print it")}};
    std::vector<SourceString> strings = {string("k1", "Save"),    string("k2", "Open a file"),
                                         string("k3", "Quit"),    string("k4", "Close"),
                                         string("k5", "Help"),    string("k6", "Print"),
                                         string("k7", "Export"),  string("k9", "Debug"),
                                         string("k10", "Rename"), string("k11", "Show all the windows")};
    strings[7].translate = false;
    const std::vector<Case> cases{
        {"an unchanged translation replaced", {"k1"}, true},
        {"a reworded string translated again", {"k2"}, true},
        {"a new string", {"k3"}, true},
        {"a string never translated", {"k4"}, true},
        {"a string back from retirement", {"k5"}, true},
        {"a reworded string back from retirement", {"k6"}, true},
        {"several at once", {"k2", "k3", "k6", "k10"}, true},
        {"a string not to be translated", {"k9"}, true},
        {"a string that took another's translation along", {"k7"}, false},
        {"one of several took another's along", {"k3", "k7"}, false},
        // Its own translation leaves the old one to the removed strings.
        {"a string that took another's translation along and was reworded", {"k11"}, false},
        {"a translation made from other English", {"k3"}, false, true},
        {"an empty translation", {"k3"}, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StringChanges changes = StringChanges::compute(project, strings);
        const StringChanges before = changes;
        TranslationProject after = project;
        std::vector<StringChanges::Retranslation> rows;
        for (const std::string& key : c.translatedKeys) {
            const SourceString& source = *std::find_if(strings.begin(), strings.end(),
                                                       [&](const SourceString& s) { return s.key == key; });
            StringTranslation translation = madeFrom(c.otherEnglish ? "Other" : source.text, "neu");
            if (c.emptyTranslation)
                translation.text.reset();
            const auto old = project.translations.find(source.id());
            rows.push_back({source,
                            old == project.translations.end() ? std::nullopt : std::optional(old->second),
                            translation});
            after.translations.insert_or_assign(source.id(), translation);
        }

        ASSERT_EQ(changes.takeTranslations(rows), c.followed);
        if (!c.followed) {
            EXPECT_EQ(changes.toTranslate(), before.toTranslate());
            continue;
        }
        const StringChanges whole = StringChanges::compute(after, strings);
        EXPECT_EQ(ids(changes.added), ids(whole.added));
        EXPECT_EQ(changes.changed, whole.changed);
        EXPECT_EQ(changes.moved, whole.moved);
        EXPECT_EQ(changes.removed, whole.removed);
        EXPECT_EQ(changes.unchanged, whole.unchanged);
    }
}

} // namespace
} // namespace orvel
