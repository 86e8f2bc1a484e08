#include "Orvel/views/ChecklistCard.h"
#include "Orvel/views/ChecklistPanel.h"
#include "Orvel/views/LivePill.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/StepsFooterBar.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

namespace orvel {
namespace {

FooterFacts withLanguage() {
    return FooterFacts{.hasLanguage = true, .translatable = 300, .translated = 288, .problemCount = 0};
}

TEST(StepsFooterBar, ShowsAndEnablesTheControlsOfTheMoment) {
    struct Row {
        const char* name;
        void (*change)(FooterFacts&);
        bool stepsEnabled;
        bool stop;
        bool mainAction;
        bool more;
        bool captureEnabled;
    };
    const std::vector<Row> rows = {
        {"idle", [](FooterFacts&) {}, true, false, true, true, true},
        {"no language", [](FooterFacts& f) { f.hasLanguage = false; }, false, false, false, false, true},
        {"a run hides More", [](FooterFacts& f) { f.translating = true; }, true, true, false, false, true},
        {"capturing", [](FooterFacts& f) { f.capturing = true; }, true, false, true, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FooterFacts facts = withLanguage();
        row.change(facts);
        StepsFooterBar bar;
        bar.present(presentFooter(facts));
        bar.show();
        EXPECT_EQ(bar.findChild<QWidget*>("footerSteps")->isEnabled(), row.stepsEnabled);
        EXPECT_TRUE(bar.findChild<PillButton*>("modelPicker")->isEnabled());
        EXPECT_EQ(bar.findChild<PillButton*>("stopButton")->isVisible(), row.stop);
        EXPECT_EQ(bar.findChild<PillButton*>("mainActionButton")->isVisible(), row.mainAction);
        EXPECT_EQ(bar.findChild<PillButton*>("moreButton")->isVisible(), row.more);
        EXPECT_EQ(bar.findChild<QAction*>("captureContextAction")->isEnabled(), row.captureEnabled);
    }
}

TEST(StepsFooterBar, MarksOnlyThePresetOfTheProviderWithACheckMark) {
    const std::vector<std::pair<std::string, int>> rows = {{"OpenAI", 1}, {"Ollama", 1}, {"Custom", 0}};
    for (const auto& [provider, marked] : rows) {
        SCOPED_TRACE(provider);
        FooterFacts facts = withLanguage();
        facts.provider = provider;
        StepsFooterBar bar;
        bar.present(presentFooter(facts));
        int markedRows = 0;
        for (QAction* action : bar.findChild<PillButton*>("modelPicker")->menu()->actions()) {
            SCOPED_TRACE(action->text().toStdString());
            // A checkable row draws a check box on every row, ticked or not.
            EXPECT_FALSE(action->isCheckable());
            if (!action->icon().isNull()) {
                ++markedRows;
                EXPECT_EQ(action->text(), QString::fromStdString(provider));
            }
        }
        EXPECT_EQ(markedRows, marked);
    }
}

TEST(ChecklistPanel, ShowsTheActionsOfTheMoment) {
    struct Row {
        const char* name;
        void (*change)(ChecklistFacts&);
        bool captureEnabled;
        bool stop;
        bool translate;
        bool liveEnabled;
    };
    const std::vector<Row> rows = {
        {"fresh", [](ChecklistFacts&) {}, true, false, true, false},
        {"capturing", [](ChecklistFacts& f) { f.capturing = true; }, false, false, true, false},
        {"running", [](ChecklistFacts& f) { f.translating = true, f.translated = 1; }, true, true, false,
         true},
        {"done", [](ChecklistFacts& f) { f.translated = 300; }, true, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChecklistFacts facts{.appName = "Notes", .language = "de", .translatable = 300, .problemCount = 0};
        row.change(facts);
        ChecklistPanel panel;
        panel.present(presentChecklist(facts));
        panel.show();
        EXPECT_EQ(panel.findChild<QPushButton*>("captureContextButton")->isEnabled(), row.captureEnabled);
        EXPECT_EQ(panel.findChild<QPushButton*>("checklistStopButton")->isVisible(), row.stop);
        EXPECT_EQ(panel.findChild<QPushButton*>("checklistTranslateButton")->isVisible(), row.translate);
        EXPECT_EQ(panel.findChild<LivePill*>("checklistLivePill")->isEnabled(), row.liveEnabled);
    }
}

} // namespace
} // namespace orvel
