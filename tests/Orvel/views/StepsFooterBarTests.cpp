#include "Orvel/views/CapsuleLabel.h"
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
#include <QProgressBar>
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

// A run of a large app.
FooterFacts running(int done, const std::string& provider = "OpenAI") {
    return FooterFacts{.hasLanguage = true,
                       .translating = true,
                       .progress = TranslationJob::Progress{.done = done, .total = 20923},
                       .translatable = 20923,
                       .translated = done,
                       .seen = 1204,
                       .problemCount = 2,
                       .provider = provider};
}

// The bar presenting `facts`, in a page of `width` as the strings screen holds it.
struct NarrowBar {
    explicit NarrowBar(int width, const FooterFacts& facts = running(3050)) {
        auto* column = new QVBoxLayout(&page);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(bar);
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
    bool countShown(const char* step) const {
        const auto* capsule = bar->findChild<QWidget*>(step)->findChild<CapsuleLabel*>();
        return capsule->isVisibleTo(bar);
    }
    bool namesWhole() const {
        return std::ranges::all_of(bar->findChildren<StepLabel*>(), [](const StepLabel* step) {
            return step->shownName() == step->accessibleName();
        });
    }

    QWidget page;
    StepsFooterBar* bar = new StepsFooterBar;
};

TEST(StepsFooterBar, GivesWayStepByStepAndKeepsEachPillAtItsSize) {
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

TEST(StepsFooterBar, CountsGiveWayBeforeTheStepNames) {
    const int full = NarrowBar(2000).bar->sizeHint().width();
    const int minimum = NarrowBar(2000).bar->minimumSizeHint().width();
    // Every width between the narrowest and the widest: each part shows only while the parts that give
    // way after it show whole.
    int levelsSeen = 0;
    int lastGivenWay = -1;
    for (int width = full; width >= minimum; width -= 4) {
        SCOPED_TRACE(width);
        NarrowBar narrow(width);
        const auto* picker = narrow.bar->findChild<PillButton*>("modelPicker");
        const std::vector<bool> parts = {narrow.countShown("contextStep"),
                                         narrow.countShown("reviewStep"),
                                         narrow.shown("translateBar"),
                                         narrow.countShown("translateStep"),
                                         narrow.shown("stepSeparator"),
                                         picker->shownLabel() == picker->label(),
                                         narrow.namesWhole()};
        for (std::size_t first = 0; first + 1 < parts.size(); ++first) {
            if (parts[first]) {
                EXPECT_TRUE(parts[first + 1]) << "part " << first << " shows while part " << first + 1
                                              << " gave way";
            }
        }
        const int givenWay = static_cast<int>(std::ranges::count(parts, false));
        EXPECT_EQ(narrow.bar->partsGivenWay(), givenWay);
        levelsSeen += givenWay != lastGivenWay;
        lastGivenWay = givenWay;
    }
    EXPECT_EQ(levelsSeen, StepsFooterBar::kParts + 1);
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

// What a presentation makes the bar do: layout passes asked of the bar, and widgets in it shown or
// hidden (each repaints what lies around it).
class LayoutWatch : public QObject {
  public:
    explicit LayoutWatch(StepsFooterBar& bar) : m_bar(&bar) {
        bar.installEventFilter(this);
        for (QWidget* widget : bar.findChildren<QWidget*>())
            widget->installEventFilter(this);
    }
    int layouts = 0;
    int shownOrHidden = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_bar && event->type() == QEvent::LayoutRequest)
            ++layouts;
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            ++shownOrHidden;
        return false;
    }

  private:
    StepsFooterBar* m_bar;
};

TEST(StepsFooterBar, LaysItselfOutAgainOnlyWhenWhatItShowsChangesSize) {
    struct Row {
        const char* name;
        FooterFacts before;
        FooterFacts after;
        bool laidOut;
    };
    FooterFacts ended = running(20923);
    ended.translating = false;
    ended.progress.reset();
    const std::vector<Row> rows = {
        {"the same again", running(3050), running(3050), false},
        {"the next batch", running(3050), running(3075), false},
        {"a batch that adds a digit", running(9990), running(10015), true},
        {"the run ends", running(20900), ended, true},
        {"another model", running(3050), running(3075, "Apple Intelligence, on this Mac"), true},
    };
    // Room for all, and so narrow that the step names share what is left.
    for (const int width : {2000, 560}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(width));
            NarrowBar narrow(width, row.before);
            // The page's first layout reaches the bar level by level.
            for (int pass = 0; pass < 5; ++pass)
                QCoreApplication::processEvents();
            LayoutWatch watch(*narrow.bar);
            narrow.bar->present(presentFooter(row.after));
            QCoreApplication::processEvents();
            EXPECT_EQ(watch.layouts > 0, row.laidOut);
            if (!row.laidOut) {
                EXPECT_EQ(watch.shownOrHidden, 0);
            }
            auto* bar = narrow.bar->findChild<QProgressBar*>("translateBar");
            if (row.after.progress) {
                EXPECT_EQ(bar->value(), row.after.progress->done) << "the progress is updated in place";
            }
        }
    }
}

} // namespace
} // namespace orvel
