// The whole main window as the application composes it: it keeps the size it was given whatever its
// strings screen shows, the inspector keeps its width, and its title names the chosen app.
#include "Orvel/app/MainContent.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/shots/InertPlatform.h"
#include "Orvel/state/Library.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/StepLabel.h"
#include "Orvel/views/StepsFooterBar.h"
#include "Orvel/views/StringsView.h"
#include "engine/model/ModelSettings.h"
#include "tests/Orvel/state/LibraryFixture.h"

#include <QLayout>
#include <QSplitter>

#include <gtest/gtest.h>

#include <functional>

namespace orvel {
namespace {

class MainWindowLayoutTest : public testing::LibraryTest {
  protected:
    // A library of `apps`, the first chosen, in the window at its first size.
    void open(std::vector<TranslatableApp> apps) {
        preferences.setAutoUpdate(false);
        engine.install(std::move(apps));
        library = makeLibrary();
        settle();
        window = std::make_unique<MainWindow>(defaults);
        window->setContent(makeMainContent(
            *library, preferences, desktop, [] {}, [](const QUrl&) {}));
        window->show();
        settle();
    }

    void TearDown() override {
        window.reset();
        library.reset();
        settle();
    }

    // `count` strings "Text <n>", and a German project that translated the first `translated`.
    TranslatableApp largeApp(const std::string& identifier, const std::string& name, int count,
                             int translated) {
        TranslatableApp record = app(identifier, "1", name);
        std::vector<SourceString> strings;
        TranslationProject project;
        project.app = identifier;
        project.language = "de";
        project.sourceText.emplace();
        for (int i = 0; i < count; ++i) {
            strings.push_back(testing::sourceString("k" + std::to_string(i), "Text " + std::to_string(i)));
            (*project.sourceText)[strings.back().id()] = strings.back().text;
            if (i < translated) {
                StringTranslation translation;
                translation.text = "Text " + std::to_string(i) + " (de)";
                translation.source = strings.back().text;
                project.translations[strings.back().id()] = translation;
            }
        }
        engine.scriptedStrings = strings;
        project.save(record);
        defaults.set("language." + identifier, std::string("de"));
        return record;
    }

    Workspace& chosen() { return library->workspace(library->apps().front()); }
    template <class Widget> Widget* find(const char* name) { return window->findChild<Widget*>(name); }

    InertPlatform desktop;
    std::unique_ptr<Library> library;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowLayoutTest, KeepsItsSizeAndTheInspectorItsWidthWhateverTheFooterShows) {
    struct Case {
        const char* name;
        std::function<void(Workspace&)> act;
        const char* action;
    };
    const std::vector<Case> cases{
        {"a large app to translate", [](Workspace&) {}, "mainActionButton"},
        {"a run of five-digit counts",
         [](Workspace& workspace) {
             workspace.setTranslating(true);
             workspace.setProgress(TranslationJob::Progress{.done = 3050, .total = 20923, .failed = 0});
         },
         "stopButton"},
        {"a long provider name",
         [this](Workspace&) { preferences.setProvider("Apple Intelligence, on this Mac"); },
         "mainActionButton"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.remove(MainWindow::geometryKey);
        open({largeApp("com.example.Large", "Large", 20923, 3050)});
        c.act(chosen());
        settle();

        EXPECT_EQ(window->size(), QSize(MainWindow::defaultWidth, MainWindow::defaultHeight));
        EXPECT_LE(window->minimumSizeHint().width(), MainWindow::defaultWidth);
        const QList<int> columns = find<QSplitter>("contentSplitter")->sizes();
        EXPECT_EQ(columns.value(0), 230) << "the sidebar keeps its width";
        const QList<int> inspector = find<QSplitter>("inspectorSplitter")->sizes();
        EXPECT_EQ(inspector.value(1), StringsView::kInspectorIdeal);

        // The footer fits its place, and its action stands whole inside it.
        auto* bar = find<StepsFooterBar>("stepsFooter");
        ASSERT_NE(bar, nullptr);
        auto* action = bar->findChild<PillButton*>(c.action);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(action->isVisible());
        EXPECT_EQ(action->width(), action->sizeHint().width());
        EXPECT_LE(action->geometry().right(), bar->width());
        EXPECT_LE(bar->layout()->sizeHint().width(), bar->width());
        TearDown();
    }
}

// At the window's first size, with the inspector open, every step name reads whole whatever the main
// action and whichever preset is chosen, the longest of each included.
TEST_F(MainWindowLayoutTest, AtItsFirstSizeEveryStepNameReadsWhole) {
    struct Case {
        const char* name;
        const char* provider;
        int count;
        int translated;
        // Strings whose English changed since the project was made.
        int reworded;
        std::function<void(Workspace&)> act;
        const char* action;
    };
    const auto none = [](Workspace&) {};
    std::vector<Case> cases{
        {"everything translated", "OpenAI", 42, 42, 0, none, nullptr},
        {"a few strings to translate", "OpenAI", 42, 40, 0, none, "Translate 2 Strings"},
        {"a run of five-digit counts", "Ollama", 20923, 3050, 0,
         [](Workspace& workspace) {
             workspace.setTranslating(true);
             workspace.setProgress(TranslationJob::Progress{.done = 3050, .total = 20923, .failed = 0});
         },
         nullptr},
        {"a custom model", "Custom", 42, 42, 0, none, nullptr},
        {"changes to translate", "OpenAI", 42, 42, 3, none, "Translate Changes"},
        {"five digits to translate", "OpenAI", 20923, 3050, 0, none, "Translate 17873 Strings"},
    };
    // Every preset with the longest main action.
    for (const ModelSettings::Preset& preset : ModelSettings::presets())
        cases.push_back(
            {preset.name.c_str(), preset.name.c_str(), 20923, 3050, 0, none, "Translate 17873 Strings"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.remove(MainWindow::geometryKey);
        preferences.setProvider(c.provider);
        preferences.setModel("gpt-4o");
        const TranslatableApp large = largeApp("com.example.Large", "Large", c.count, c.translated);
        for (int i = 0; i < c.reworded; ++i)
            (*engine.scriptedStrings)[static_cast<std::size_t>(i)].text += " again";
        open({large});
        c.act(chosen());
        settle();
        ASSERT_EQ(find<QSplitter>("inspectorSplitter")->sizes().value(1), StringsView::kInspectorIdeal);
        auto* bar = find<StepsFooterBar>("stepsFooter");
        auto* action = bar->findChild<PillButton*>("mainActionButton");
        EXPECT_EQ(action->isVisible(), c.action != nullptr);
        if (c.action) {
            EXPECT_EQ(action->label(), QString::fromUtf8(c.action));
            EXPECT_EQ(action->width(), action->sizeHint().width());
        }
        const QList<StepLabel*> steps = bar->findChildren<StepLabel*>();
        ASSERT_EQ(steps.size(), 3);
        for (const StepLabel* step : steps)
            EXPECT_EQ(step->shownName(), step->accessibleName());
        TearDown();
    }
}

TEST_F(MainWindowLayoutTest, TheTitleNamesTheChosenApp) {
    open({app("com.example.Alpha", "1", "Alpha"), app("com.example.Beta", "1", "Beta")});
    struct Step {
        const char* name;
        std::function<void()> act;
        QString title;
    };
    const std::vector<Step> steps{
        {"the first app", [] {}, "Alpha"},
        {"another app", [this] { library->setSelection("com.example.Beta"); }, "Beta"},
        {"an app that is not in the list", [this] { library->setSelection("com.example.Gone"); }, "Orvel"},
        {"an app again", [this] { library->setSelection("com.example.Alpha"); }, "Alpha"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        settle();
        EXPECT_EQ(window->windowTitle(), step.title);
    }
}

} // namespace
} // namespace orvel
