// The footer's and the checklist's controls reach the workspace and the preferences, and both follow
// the workspace's changes.
#include "Orvel/views/ChecklistPanel.h"
#include "Orvel/views/ChecklistView.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/StepLabel.h"
#include "Orvel/views/StepsFooter.h"
#include "Orvel/views/StepsFooterBar.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace orvel::testing {
namespace {

// Public, so that the rows' functions reach it.
class FooterChecklistWiring : public WorkspaceTest {
  public:
    FooterChecklistWiring() {
        workspace = open(makeApp({{"Open", ""}, {"Close", ""}}));
        workspace->selectLanguage("de");
        footer = std::make_unique<StepsFooter>(
            *workspace, preferences, [this] { ++settingsOpened; }, [this] { ++contextShown; });
        checklist = std::make_unique<ChecklistView>(
            *workspace, preferences, [this] { ++settingsOpened; }, [this] { ++contextShown; });
    }

    const std::string& provider() const { return preferences.provider(); }

    template <class T> T* footerChild(const char* name) const {
        return footer->findChild<T*>(QString::fromLatin1(name));
    }
    template <class T> T* checklistChild(const char* name) const {
        return checklist->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<StepsFooter> footer;
    std::unique_ptr<ChecklistView> checklist;
    int settingsOpened = 0;
    int contextShown = 0;
};

TEST_F(FooterChecklistWiring, ControlsCallTheirOperations) {
    struct Row {
        const char* name;
        void (*act)(FooterChecklistWiring&);
        bool (*done)(const FooterChecklistWiring&);
    };
    const std::vector<Row> rows = {
        {"Review step", [](FooterChecklistWiring& t) { t.footerChild<StepLabel>("reviewStep")->click(); },
         [](const FooterChecklistWiring& t) { return t.workspace->filter() == Workspace::Filter::problems; }},
        {"Checklist", [](FooterChecklistWiring& t) { t.footerChild<QAction>("checklistAction")->trigger(); },
         [](const FooterChecklistWiring& t) { return t.workspace->checklistOpen(); }},
        {"Show Strings",
         [](FooterChecklistWiring& t) {
             t.workspace->setChecklistOpen(true);
             t.checklistChild<QPushButton>("showStringsButton")->click();
         },
         [](const FooterChecklistWiring& t) {
             return !t.workspace->checklistOpen() && t.workspace->filter() == Workspace::Filter::all;
         }},
        {"Show Problems",
         [](FooterChecklistWiring& t) {
             t.workspace->setChecklistOpen(true);
             emit t.checklist->panel().showProblemsRequested();
         },
         [](const FooterChecklistWiring& t) {
             return !t.workspace->checklistOpen() && t.workspace->filter() == Workspace::Filter::problems;
         }},
        {"Glossary and Notes…",
         [](FooterChecklistWiring& t) { t.footerChild<QAction>("glossaryAction")->trigger(); },
         [](const FooterChecklistWiring& t) { return t.contextShown == 1; }},
        {"Edit Glossary",
         [](FooterChecklistWiring& t) { t.checklistChild<QPushButton>("editGlossaryButton")->click(); },
         [](const FooterChecklistWiring& t) { return t.contextShown == 1; }},
        {"Model Settings…",
         [](FooterChecklistWiring& t) { t.footerChild<QAction>("modelSettingsAction")->trigger(); },
         [](const FooterChecklistWiring& t) { return t.settingsOpened == 1; }},
        {"Change…",
         [](FooterChecklistWiring& t) { t.checklistChild<QPushButton>("changeModelButton")->click(); },
         [](const FooterChecklistWiring& t) { return t.settingsOpened == 1; }},
        {"a preset row",
         [](FooterChecklistWiring& t) {
             for (QAction* action : t.footerChild<PillButton>("modelPicker")->menu()->actions())
                 if (action->text() == QStringLiteral("Ollama"))
                     action->trigger();
         },
         [](const FooterChecklistWiring& t) {
             return t.provider() == "Ollama" &&
                    t.footerChild<PillButton>("modelPicker")->label() == QStringLiteral("Ollama");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FooterChecklistWiring& test = *this;
        workspace->setFilter(Workspace::Filter::all);
        settingsOpened = contextShown = 0;
        row.act(test);
        EXPECT_TRUE(row.done(test));
    }
}

TEST_F(FooterChecklistWiring, FollowTheWorkspace) {
    footer->show();
    checklist->show();
    EXPECT_FALSE(footerChild<PillButton>("stopButton")->isVisible());
    workspace->setTranslating(true);
    EXPECT_TRUE(footerChild<PillButton>("stopButton")->isVisible());
    EXPECT_FALSE(footerChild<PillButton>("moreButton")->isVisible());
    EXPECT_TRUE(checklistChild<QPushButton>("checklistStopButton")->isVisible());
    workspace->setCapturing(true);
    EXPECT_FALSE(footerChild<QAction>("captureContextAction")->isEnabled());
    EXPECT_FALSE(checklistChild<QPushButton>("captureContextButton")->isEnabled());
    workspace->setLanguage(std::nullopt);
    EXPECT_FALSE(footerChild<QWidget>("footerSteps")->isEnabled());
    EXPECT_TRUE(footerChild<PillButton>("modelPicker")->isEnabled());
}

} // namespace
} // namespace orvel::testing
