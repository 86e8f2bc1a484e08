#include "Orvel/views/ChecklistCard.h"
#include "Orvel/views/ChecklistPanel.h"
#include "Orvel/views/LivePill.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/StepLabel.h"
#include "Orvel/views/StepsFooterBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>

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

namespace orvel {
namespace {

// A run of a large app, in a page of `width` as the strings screen holds the bar.
struct NarrowBar {
    explicit NarrowBar(int width) {
        auto* column = new QVBoxLayout(&page);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(bar);
        FooterFacts facts{.hasLanguage = true,
                          .translating = true,
                          .progress = TranslationJob::Progress{.done = 3050, .total = 20923},
                          .translatable = 20923,
                          .translated = 3050,
                          .seen = 1204,
                          .problemCount = 2,
                          .provider = "OpenAI"};
        bar->present(presentFooter(facts));
        page.resize(width, StepsFooterBar::kHeight);
        page.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    bool shown(const char* name) const {
        const QWidget* widget = bar->findChild<QWidget*>(name);
        return widget && widget->isVisibleTo(bar);
    }

    QWidget page;
    StepsFooterBar* bar = new StepsFooterBar;
};

TEST(StepsFooterBar, GivesWayStepByStepAndKeepsThePickerAndTheActionWhole) {
    const int full = NarrowBar(2000).bar->sizeHint().width();
    const int minimum = NarrowBar(2000).bar->minimumSizeHint().width();
    ASSERT_LT(minimum, full);
    struct Row {
        const char* name;
        int width;
        int givenWay;
    };
    const std::vector<Row> rows = {
        {"room for all", full, 0},
        {"a little short", full - 1, 1},
        {"at its narrowest", minimum, StepsFooterBar::kParts},
        {"narrower than that", minimum - 40, StepsFooterBar::kParts},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NarrowBar narrow(row.width);
        StepsFooterBar& bar = *narrow.bar;
        EXPECT_EQ(bar.partsGivenWay(), row.givenWay);
        // The page is a window here, which never gets narrower than the bar's minimum.
        EXPECT_EQ(bar.width(), std::max(row.width, minimum));
        for (const char* name : {"modelPicker", "stopButton"}) {
            SCOPED_TRACE(name);
            auto* pill = bar.findChild<PillButton*>(name);
            EXPECT_TRUE(pill->isVisibleTo(&bar));
            EXPECT_EQ(pill->width(), pill->sizeHint().width());
        }
        EXPECT_LE(bar.findChild<PillButton*>("stopButton")->geometry().right(), bar.width());
        EXPECT_EQ(narrow.shown("translateBar"), row.givenWay < 3);
    }
}

TEST(StepsFooterBar, StepNamesElideBeforeTheyGoAndSayWhatTheyStandFor) {
    const int minimum = NarrowBar(2000).bar->minimumSizeHint().width();
    struct Row {
        const char* name;
        int extra;
        bool whole;
    };
    const std::vector<Row> rows = {{"no room", 0, false}, {"some room", 90, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NarrowBar narrow(minimum + row.extra);
        auto* step = narrow.bar->findChild<StepLabel*>("translateStep");
        ASSERT_NE(step, nullptr);
        const QString shown = step->shownName();
        EXPECT_NE(shown, QStringLiteral("Translate"));
        if (row.extra > 0) {
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
        }
        EXPECT_EQ(step->toolTip(), escapedToolTip(QStringLiteral("Translate")));
    }
}

} // namespace
} // namespace orvel
