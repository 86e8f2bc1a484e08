#include "Orvel/views/ChecklistPresenter.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

// A fresh language of an app of 300 strings: nothing translated, seen or noted, no problems.
ChecklistFacts fresh() {
    return ChecklistFacts{.appName = "Notes", .language = "de", .translatable = 300, .problemCount = 0};
}

TEST(ChecklistPresenter, DerivesTheStateOfEachStep) {
    using enum StepState;
    struct Row {
        const char* name;
        void (*change)(ChecklistFacts&);
        std::array<StepState, kChecklistSteps> states;
    };
    const std::vector<Row> rows = {
        {"fresh", [](ChecklistFacts&) {}, {Done, ToCome, ToCome, Current, ToCome, ToCome}},
        {"no strings at all",
         [](ChecklistFacts& f) { f.translatable = 0; },
         {Done, ToCome, ToCome, Current, ToCome, ToCome}},
        {"seen and noted",
         [](ChecklistFacts& f) { f.seen = 4, f.notes = 1; },
         {Done, Done, Done, Current, ToCome, ToCome}},
        {"half translated",
         [](ChecklistFacts& f) { f.translated = 150; },
         {Done, ToCome, ToCome, Current, ToCome, ToCome}},
        {"translated, problems being computed",
         [](ChecklistFacts& f) { f.translated = 300, f.problemCount.reset(); },
         {Done, ToCome, ToCome, Done, Done, Current}},
        {"translated with problems",
         [](ChecklistFacts& f) { f.translated = 300, f.problemCount = 2; },
         {Done, ToCome, ToCome, Done, Current, Current}},
        {"translated without problems",
         [](ChecklistFacts& f) { f.translated = 300; },
         {Done, ToCome, ToCome, Done, Done, Current}},
        {"live",
         [](ChecklistFacts& f) { f.translated = 300, f.live = true; },
         {Done, ToCome, ToCome, Done, Done, Done}},
        {"live before the end",
         [](ChecklistFacts& f) { f.translated = 3, f.live = true; },
         {Done, ToCome, ToCome, Current, ToCome, Done}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChecklistFacts facts = fresh();
        row.change(facts);
        EXPECT_EQ(checklistStates(facts), row.states);
        const ChecklistPresentation shown = presentChecklist(facts);
        for (int step = 0; step < kChecklistSteps; ++step)
            EXPECT_EQ(shown.cards[step].state, row.states[step]) << "step " << step + 1;
    }
}

TEST(ChecklistPresenter, EnablesTheActionsOnlyWhenTheyCanWork) {
    struct Row {
        const char* name;
        void (*change)(ChecklistFacts&);
        TranslateCardAction translate;
        const char* translateText;
        bool showProblems;
        bool live;
        const char* reviewCount;
    };
    const std::vector<Row> rows = {
        {"fresh", [](ChecklistFacts&) {}, TranslateCardAction::translate, "Translate 300 Strings", false,
         false, ""},
        {"running", [](ChecklistFacts& f) { f.translating = true, f.translated = 5; },
         TranslateCardAction::stop, "Stop", false, true, ""},
        {"no strings", [](ChecklistFacts& f) { f.translatable = 0; }, TranslateCardAction::none, "", false,
         false, ""},
        {"problems but strings remain", [](ChecklistFacts& f) { f.translated = 299, f.problemCount = 2; },
         TranslateCardAction::translate, "Translate 1 Strings", false, true, ""},
        {"problems being computed", [](ChecklistFacts& f) { f.translated = 300, f.problemCount.reset(); },
         TranslateCardAction::none, "", false, true, ""},
        {"no problems", [](ChecklistFacts& f) { f.translated = 300; }, TranslateCardAction::none, "", false,
         true, "0 problems"},
        {"problems", [](ChecklistFacts& f) { f.translated = 300, f.problemCount = 12000; },
         TranslateCardAction::none, "", true, true, "12000 problems"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChecklistFacts facts = fresh();
        row.change(facts);
        const ChecklistPresentation shown = presentChecklist(facts);
        EXPECT_EQ(shown.translateAction, row.translate);
        EXPECT_EQ(shown.translateActionText, QString::fromUtf8(row.translateText));
        EXPECT_EQ(shown.showProblemsEnabled, row.showProblems);
        EXPECT_EQ(shown.liveEnabled, row.live);
        EXPECT_EQ(shown.card(ChecklistStep::review).count, QString::fromUtf8(row.reviewCount));
    }
}

TEST(ChecklistPresenter, ShowProblemsLeavesAProblemsFilterAlone) {
    const std::vector<std::pair<WorkspaceFilter, std::optional<WorkspaceFilter>>> rows = {
        {WorkspaceFilter::all, WorkspaceFilter::problems},
        {WorkspaceFilter::untranslated, WorkspaceFilter::problems},
        {WorkspaceFilter::changed, WorkspaceFilter::problems},
        {WorkspaceFilter::edited, WorkspaceFilter::problems},
        {WorkspaceFilter::problems, std::nullopt},
    };
    for (const auto& [current, set] : rows) {
        SCOPED_TRACE(std::string(rawValue(current)));
        EXPECT_EQ(showProblemsFilter(current), set);
    }
}

// Counts go grouped into "%@" places and as plain digits into "%lld" places.
TEST(ChecklistPresenter, FormatsCountsByTheirPlaceholder) {
    struct Row {
        const char* name;
        void (*change)(ChecklistFacts&);
        ChecklistStep step;
        const char* count;
    };
    const std::vector<Row> rows = {
        {"seen", [](ChecklistFacts& f) { f.seen = 12345, f.translatable = 23456; }, ChecklistStep::context,
         "12\u202F345 of 23456 strings seen"},
        {"seen below five digits", [](ChecklistFacts& f) { f.seen = 9999; }, ChecklistStep::context,
         "9999 of 300 strings seen"},
        {"notes", [](ChecklistFacts& f) { f.notes = 10000; }, ChecklistStep::glossary, "10000 notes"},
        {"translated", [](ChecklistFacts& f) { f.translated = 10000, f.translatable = 20000; },
         ChecklistStep::translate, "10\u202F000 of 20000 strings"},
        {"run",
         [](ChecklistFacts& f) {
             f.progress = TranslationJob::Progress{10000, 20000, 0};
         },
         ChecklistStep::translate, "10\u202F000 of 20\u202F000"},
        {"custom model without a name", [](ChecklistFacts& f) { f.provider = "Custom"; },
         ChecklistStep::model, "Custom"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChecklistFacts facts = fresh();
        row.change(facts);
        EXPECT_EQ(presentChecklist(facts).card(row.step).count, QString::fromUtf8(row.count));
    }
}

TEST(ChecklistPresenter, PutsTheNamesIntoTheTexts) {
    struct Row {
        std::optional<std::string> language;
        const char* title;
        const char* liveExplanation;
    };
    const std::vector<Row> rows = {
        {"de", "Notes in Deutsch", "Show Deutsch in Notes right away"},
        {std::nullopt, "Notes in ", "Show  in Notes right away"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.language.value_or("none"));
        ChecklistFacts facts = fresh();
        facts.language = row.language;
        const ChecklistPresentation shown = presentChecklist(facts);
        EXPECT_EQ(shown.title, QString::fromUtf8(row.title));
        EXPECT_EQ(shown.card(ChecklistStep::live).explanation, QString::fromUtf8(row.liveExplanation));
        EXPECT_EQ(shown.card(ChecklistStep::live).title, QStringLiteral("Live in Notes"));
    }
}

} // namespace
} // namespace orvel
