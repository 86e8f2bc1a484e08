#include "Orvel/views/ChecklistPresenter.h"
#include "Orvel/views/StepsFooterPresenter.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

// 300 strings, all translated, problems computed and none found.
FooterFacts settled() {
    return FooterFacts{.hasLanguage = true, .translatable = 300, .translated = 300, .problemCount = 0};
}

TEST(StepsFooterPresenter, OffersTheFirstMainActionThatApplies) {
    struct Row {
        const char* name;
        void (*change)(FooterFacts&);
        MainAction action;
        const char* text;
        bool stop;
        bool more;
    };
    const std::vector<Row> rows = {
        {"all done", [](FooterFacts&) {}, MainAction::none, "", false, true},
        {"no language", [](FooterFacts& f) { f.hasLanguage = false, f.translated = 0; }, MainAction::none, "",
         false, false},
        {"running", [](FooterFacts& f) { f.translating = true, f.translated = 10; }, MainAction::none, "",
         true, false},
        {"checklist open", [](FooterFacts& f) { f.checklistOpen = true, f.translated = 10; },
         MainAction::none, "", false, true},
        {"changes win over untranslated",
         [](FooterFacts& f) { f.pendingChanges = 2, f.translated = 288, f.problemCount = 3; },
         MainAction::translateChanges, "Translate Changes", false, true},
        {"untranslated win over problems", [](FooterFacts& f) { f.translated = 288, f.problemCount = 3; },
         MainAction::translateStrings, "Translate 12 Strings", false, true},
        {"more translated than translatable", [](FooterFacts& f) { f.translated = 301; }, MainAction::none,
         "", false, true},
        {"problems", [](FooterFacts& f) { f.problemCount = 3; }, MainAction::fixProblems, "Fix 3 Problems",
         false, true},
        {"problems not computed yet", [](FooterFacts& f) { f.problemCount.reset(); }, MainAction::none, "",
         false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FooterFacts facts = settled();
        row.change(facts);
        const FooterPresentation shown = presentFooter(facts);
        EXPECT_EQ(shown.mainAction, row.action);
        EXPECT_EQ(shown.mainActionText, QString::fromUtf8(row.text));
        EXPECT_EQ(shown.showStop, row.stop);
        EXPECT_EQ(shown.showMore, row.more);
        EXPECT_EQ(shown.stepsEnabled, facts.hasLanguage);
    }
}

TEST(StepsFooterPresenter, MarksTheCurrentStepAndTheBadges) {
    using enum StepState;
    struct Row {
        const char* name;
        void (*change)(FooterFacts&);
        FooterStep current;
        StepState context, translate, review;
        bool reviewBusy;
        CountTint reviewTint;
    };
    const std::vector<Row> rows = {
        {"all done, nothing seen", [](FooterFacts&) {}, FooterStep::allDone, ToCome, Done, Done, false,
         CountTint::none},
        {"seen strings", [](FooterFacts& f) { f.seen = 1; }, FooterStep::allDone, Done, Done, Done, false,
         CountTint::none},
        {"untranslated", [](FooterFacts& f) { f.translated = 299; }, FooterStep::translate, ToCome, Current,
         ToCome, false, CountTint::none},
        {"pending changes", [](FooterFacts& f) { f.pendingChanges = 1; }, FooterStep::translate, ToCome,
         Current, ToCome, false, CountTint::none},
        {"a run", [](FooterFacts& f) { f.translating = true; }, FooterStep::translate, ToCome, Current,
         ToCome, false, CountTint::none},
        {"three problems", [](FooterFacts& f) { f.problemCount = 3; }, FooterStep::review, ToCome, Done,
         Current, false, CountTint::orange},
        {"problems being computed", [](FooterFacts& f) { f.problemCount.reset(); }, FooterStep::allDone,
         ToCome, Done, Done, true, CountTint::none},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FooterFacts facts = settled();
        row.change(facts);
        const FooterPresentation shown = presentFooter(facts);
        EXPECT_EQ(shown.currentStep, row.current);
        EXPECT_EQ(shown.contextBadge, row.context);
        EXPECT_EQ(shown.translateBadge, row.translate);
        EXPECT_EQ(shown.reviewBadge, row.review);
        EXPECT_EQ(shown.reviewBusy, row.reviewBusy);
        EXPECT_EQ(shown.reviewTint, row.reviewTint);
    }
}

TEST(StepsFooterPresenter, ShowsTheRunOrTheTranslatedCountWithABarOfTotalAtLeastOne) {
    struct Row {
        const char* name;
        void (*change)(FooterFacts&);
        const char* count;
        CountTint tint;
        std::optional<std::pair<int, int>> bar;
    };
    const std::vector<Row> rows = {
        {"run at 120 of 300",
         [](FooterFacts& f) {
             f.translating = true, f.progress = TranslationJob::Progress{120, 300, 0};
         },
         "120 of 300", CountTint::accent, std::pair{120, 300}},
        {"run of nothing",
         [](FooterFacts& f) { f.translating = true, f.progress = TranslationJob::Progress{}; }, "0 of 0",
         CountTint::accent, std::pair{0, 1}},
        {"current without a run", [](FooterFacts& f) { f.translated = 12345, f.translatable = 99999; },
         "12\u202F345 of 99\u202F999", CountTint::accent, std::pair{12345, 99999}},
        {"nothing to translate",
         [](FooterFacts& f) { f.translated = 0, f.translatable = 0, f.pendingChanges = 1; }, "0 of 0",
         CountTint::accent, std::pair{0, 1}},
        {"done", [](FooterFacts& f) { f.translated = 9999, f.translatable = 9999; }, "9999 of 9999",
         CountTint::none, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FooterFacts facts = settled();
        row.change(facts);
        const FooterPresentation shown = presentFooter(facts);
        EXPECT_EQ(shown.translateCount, QString::fromUtf8(row.count));
        EXPECT_EQ(shown.translateTint, row.tint);
        ASSERT_EQ(shown.translateBar.has_value(), row.bar.has_value());
        if (row.bar) {
            EXPECT_EQ(shown.translateBar->value, row.bar->first);
            EXPECT_EQ(shown.translateBar->total, row.bar->second);
        }
    }
}

TEST(StepsFooterPresenter, NamesTheModelShortInThePickerAndFullInTheChecklist) {
    struct Row {
        std::string provider;
        std::string model;
        const char* pickerName;
        const char* checklistLabel;
        bool presetChecked;
    };
    const std::vector<Row> rows = {
        {"Custom", "", "Custom", "Custom", false},
        {"Custom", "qwen3:14b", "qwen3:14b", "qwen3:14b", false},
        {"Google Gemini", "gemini-2.5-flash", "Gemini", "Google Gemini", true},
        {"ChatGPT through Apple Intelligence", "", "ChatGPT", "ChatGPT through Apple Intelligence", true},
        {"Apple Intelligence, on this Mac", "", "Apple Intelligence", "Apple Intelligence, on this Mac",
         true},
        {"OpenRouter", "some/model", "OpenRouter", "OpenRouter", true},
        {"Mistral", "", "Mistral", "Mistral", false},
        {"openai", "", "openai", "openai", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.provider + " / " + row.model);
        EXPECT_EQ(modelShortName(row.provider, row.model), QString::fromUtf8(row.pickerName));
        EXPECT_EQ(modelLabel(row.provider, row.model), QString::fromUtf8(row.checklistLabel));
        EXPECT_EQ(checkedPresetRow(row.provider).has_value(), row.presetChecked);
    }
}

} // namespace
} // namespace orvel

namespace orvel {
namespace {

TEST(StepsFooterPresenter, TheReviewStepCountsOnlyWithALanguage) {
    struct Row {
        const char* name;
        bool hasLanguage;
        std::optional<int> problemCount;
        bool busy;
        bool counted;
        QString count;
    };
    const std::vector<Row> rows = {
        {"problems being computed", true, std::nullopt, true, false, {}},
        {"none found", true, 0, false, true, "0"},
        {"five-digit count", true, 12345, false, true, QStringLiteral("12\u202F345")},
        // Nothing is ever counted without a language: no spinner that turns for ever.
        {"no language", false, std::nullopt, false, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FooterFacts facts;
        facts.hasLanguage = row.hasLanguage;
        facts.problemCount = row.problemCount;
        const FooterPresentation shown = presentFooter(facts);
        EXPECT_EQ(shown.reviewBusy, row.busy);
        EXPECT_EQ(shown.reviewCounted, row.counted);
        EXPECT_EQ(shown.reviewCount, row.count);
    }
}

TEST(StepsFooterPresenter, CaptureContextNamesTheAppInItsHelp) {
    const std::vector<std::pair<std::string, QString>> rows = {
        {"Notes", "Read the open windows of Notes to learn where each string appears"},
        {"<b>A&B</b> %@", "Read the open windows of <b>A&B</b> %@ to learn where each string appears"},
    };
    for (const auto& [app, help] : rows) {
        SCOPED_TRACE(app);
        FooterFacts facts;
        facts.appName = app;
        EXPECT_EQ(presentFooter(facts).captureHelp, help);
    }
}

} // namespace
} // namespace orvel
