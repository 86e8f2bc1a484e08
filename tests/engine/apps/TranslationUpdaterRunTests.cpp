#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/apps/TranslationUpdater.h"

namespace orvel {
namespace {

using TranslationUpdater::Failures;
using TranslationUpdater::Feedback;
using TranslationUpdater::Translations;

SourceString string(std::string key, std::string text, bool translate = true) {
    SourceString s;
    s.table = "Main";
    s.key = std::move(key);
    s.text = std::move(text);
    s.translate = translate;
    return s;
}

std::string id(const std::string& key) {
    return SourceString::id("Main", key);
}

StringChanges::Change change(std::string key, std::string oldText, std::string newText, std::string oldID,
                             std::string translated) {
    StringChanges::Change c;
    c.string = string(std::move(key), std::move(newText));
    c.oldText = oldText;
    c.oldID = std::move(oldID);
    c.translation.text = std::move(translated);
    c.translation.source = std::move(oldText);
    return c;
}

const std::string revise =
    ". Revise the current translation to match the new English, and keep its wording where the meaning did "
    "not change.";

TEST(TranslationUpdaterRun, FeedbackNamesBothEnglishTexts) {
    struct Case {
        std::string oldText, newText, expected;
    };
    const std::vector<Case> cases{
        {"Open file", "Open a file", "The English changed from \"Open file\" to \"Open a file\"" + revise},
        {"", "Open", "The English changed from \"\" to \"Open\"" + revise},
        {"Say \"hi\"", "", "The English changed from \"Say \"hi\"\" to \"\"" + revise},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oldText + " -> " + c.newText);
        EXPECT_EQ(TranslationUpdater::feedback(change("k", c.oldText, c.newText, id("k"), "x")), c.expected);
    }
}

// What the pipeline was handed by one run.
struct Handed {
    std::vector<std::string> ids;
    Translations existing;
    Feedback feedback;
};

TEST(TranslationUpdaterRun, HandsAddedThenChangedWithTheirOldTranslations) {
    struct Case {
        std::string name;
        std::vector<SourceString> added;
        std::vector<StringChanges::Change> changed;
        std::vector<std::string> expectedIds;
        // Id to the old translation's text and the old English named in the feedback.
        std::map<std::string, std::pair<std::string, std::string>> expectedRevisions;
    };
    const std::vector<Case> cases{
        {"nothing", {}, {}, {}, {}},
        {"added strings go without current translation or feedback",
         {string("b", "Bold"), string("a", "All")},
         {},
         {id("b"), id("a")},
         {}},
        {"added before changed, keyed by the new id",
         {string("new", "New")},
         {change("open", "Open file", "Open a file", id("openOld"), "Datei öffnen"),
          change("close", "Close", "Close all", id("close"), "Schließen")},
         {id("new"), id("open"), id("close")},
         {{id("open"), {"Datei öffnen", "Open file"}}, {id("close"), {"Schließen", "Close"}}}},
        {"the later change of one id wins",
         {},
         {change("open", "Open file", "Open it", id("x"), "Erste"),
          change("open", "Open files", "Open it", id("y"), "Zweite")},
         {id("open"), id("open")},
         {{id("open"), {"Zweite", "Open files"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Handed handed;
        const Failures rejected{{id("any"), "kept English"}};
        const auto runJob = [&](const TranslationJob&, const std::vector<SourceString>& strings,
                                const Translations& existing, const Feedback& feedback,
                                const TranslationUpdater::BatchCallback& onBatch, const std::stop_token&) {
            for (const auto& s : strings)
                handed.ids.push_back(s.id());
            handed.existing = existing;
            handed.feedback = feedback;
            onBatch({{id("done"), {}}}, {1, 1, 0});
            return rejected;
        };
        int batches = 0;
        const TranslationJob job(AppProfile("Notes", "en"), "de", {}, {}, {}, {}, {}, false, true);
        const Failures failed = TranslationUpdater::run(
            c.added, c.changed, job, [&](const Translations&, const TranslationJob::Progress&) { ++batches; },
            {}, runJob);

        EXPECT_EQ(failed, rejected);
        EXPECT_EQ(batches, 1);
        EXPECT_EQ(handed.ids, c.expectedIds);
        ASSERT_EQ(handed.existing.size(), c.expectedRevisions.size());
        ASSERT_EQ(handed.feedback.size(), c.expectedRevisions.size());
        for (const auto& [stringId, revision] : c.expectedRevisions) {
            EXPECT_EQ(handed.existing.at(stringId).text, revision.first);
            EXPECT_EQ(
                handed.feedback.at(stringId).rfind("The English changed from \"" + revision.second + "\"", 0),
                0u);
        }
    }
}

TEST(TranslationProjectRecordSource, RecordsTheEnglishOfStringsToTranslate) {
    struct Case {
        std::string name;
        std::vector<SourceString> strings;
        std::optional<std::string> version;
        std::map<std::string, std::string> expected;
    };
    const std::vector<Case> cases{
        {"nothing", {}, std::nullopt, {}},
        {"strings not to translate are left out",
         {string("a", "All"), string("n", "Notes", false)},
         "2.0",
         {{id("a"), "All"}}},
        {"the first of equal ids wins", {string("a", "All"), string("a", "Any")}, "3", {{id("a"), "All"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TranslationProject project;
        project.sourceText = std::map<std::string, std::string>{{id("old"), "Old"}};
        project.appVersion = "1.0";
        project.recordSource(c.strings, c.version);
        EXPECT_EQ(project.sourceText, c.expected);
        EXPECT_EQ(project.appVersion, c.version);
    }
}

} // namespace
} // namespace orvel
