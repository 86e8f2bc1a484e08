#include "Orvel/app/TranslatorApp.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "Orvel/app/MainWindow.h"
#include "Orvel/state/Library.h"
#include "tests/Orvel/state/LibraryFixture.h"
#include "tests/Orvel/state/RecordingAlerts.h"

namespace orvel {
namespace {

class TranslatorAppTest : public testing::LibraryTest {
  protected:
    std::unique_ptr<TranslatorApp> makeApp() {
        return std::make_unique<TranslatorApp>(services(), preferences, alerts);
    }

    testing::RecordingAlerts alerts;
};

QStringList menuTexts(MainWindow& window) {
    QStringList texts;
    const QList<QAction*> menus = window.menuBar()->actions();
    if (menus.isEmpty())
        return texts;
    for (QAction* action : menus.first()->menu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

TEST_F(TranslatorAppTest, MainWindowOpensAtItsFirstSizeThenAsLeft) {
    struct Case {
        const char* name;
        std::function<void()> before;
        QSize expected;
    };
    const std::vector<Case> cases = {
        {"first time", [] {}, {MainWindow::defaultWidth, MainWindow::defaultHeight}},
        {"after the person resized it",
         [&] {
             auto app = makeApp();
             app->showMainWindow();
             app->mainWindow().resize(900, 600);
             app->mainWindow().close();
         },
         {900, 600}},
        {"damaged saved place",
         [&] { defaults.set(MainWindow::geometryKey, std::string("not a geometry")); },
         {MainWindow::defaultWidth, MainWindow::defaultHeight}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.remove(MainWindow::geometryKey);
        c.before();
        auto app = makeApp();
        app->showMainWindow();
        EXPECT_EQ(app->mainWindow().size(), c.expected);
        EXPECT_EQ(app->mainWindow().windowTitle(), QStringLiteral("Orvel"));
        EXPECT_TRUE(app->mainWindow().isVisible());
    }
}

TEST_F(TranslatorAppTest, BringingTheWindowForwardRestoresItFromTheMinimizedState) {
    struct Case {
        const char* name;
        std::function<void(QWidget& window)> leave;
        Qt::WindowStates expected;
    };
    const std::vector<Case> cases = {
        {"minimized", [](QWidget& window) { window.showMinimized(); }, Qt::WindowNoState},
        {"minimized from maximized",
         [](QWidget& window) {
             window.showMaximized();
             window.setWindowState(window.windowState() | Qt::WindowMinimized);
         },
         Qt::WindowMaximized},
        {"behind another window", [](QWidget&) {}, Qt::WindowNoState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.remove(MainWindow::geometryKey);
        const TranslatableApp notes = app("com.example.Notes");
        engine.install({notes});
        auto translator = makeApp();
        translator->showMainWindow();
        settle();
        MainWindow& window = translator->mainWindow();
        c.leave(window);
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

        // A later start hands over its link and asks for the window.
        translator->open(QStringLiteral("orvel://translate?app=com.example.Notes&language=de"));
        translator->showMainWindow();
        settle();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowState() & ~Qt::WindowActive, c.expected);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(translator->library().selection(), notes.bundleIdentifier);
    }
}

TEST_F(TranslatorAppTest, ApplicationMenuOffersTheCommandsRightAfterAbout) {
    auto app = makeApp();
    app->showMainWindow();
    const QStringList texts = menuTexts(app->mainWindow());
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts.mid(0, 3),
              (QStringList{QStringLiteral("About Orvel"), QStringLiteral("Check for Updates\u2026"),
                           QStringLiteral("Install Command Line Tool\u2026")}));
}

TEST_F(TranslatorAppTest, MenuCommandsReachTheirActions) {
    struct Case {
        const char* action;
        QString expectedMessage;
    };
    const std::vector<Case> cases = {
        {"checkForUpdates", QStringLiteral("Updates come with the system's packages")},
        // The test binary has no command line tool beside it.
        {"installCommandLineTool", QStringLiteral("Couldn't install the command line tool")},
        {"about", QStringLiteral("Orvel")},
    };
    auto app = makeApp();
    app->showMainWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        alerts.shown.clear();
        auto* action = app->mainWindow().findChild<QAction*>(QString::fromLatin1(c.action));
        ASSERT_NE(action, nullptr);
        action->trigger();
        ASSERT_EQ(alerts.shown.size(), 1u);
        EXPECT_EQ(alerts.shown.front().message, c.expectedMessage);
    }
}

TEST_F(TranslatorAppTest, SettingsOpenInOneWindowOfTheirOwn) {
    auto app = makeApp();
    app->showMainWindow();
    auto* settings = app->mainWindow().findChild<QAction*>(QStringLiteral("settings"));
    ASSERT_NE(settings, nullptr);
    settings->trigger();
    settings->trigger();
    const QList<QWidget*> windows = app->mainWindow().findChildren<QWidget*>(QStringLiteral("settings"));
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isWindow());
    EXPECT_TRUE(windows.front()->isVisible());
}

// Ctrl+Q and the other commands answer from whichever window of the program has the focus.
TEST_F(TranslatorAppTest, TheCommandsAnswerFromEveryWindow) {
    struct Case {
        const char* name;
        // Opens the window to press the keys in, over the shown main window.
        std::function<QWidget*(TranslatorApp&)> open;
    };
    const std::vector<Case> cases = {
        {"main window", [](TranslatorApp& app) -> QWidget* { return &app.mainWindow(); }},
        {"settings",
         [](TranslatorApp& app) -> QWidget* {
             app.showSettings();
             return app.mainWindow().findChild<QWidget*>(QStringLiteral("settings"));
         }},
        {"a sheet over the main window",
         [](TranslatorApp& app) -> QWidget* {
             auto* sheet = new QDialog(&app.mainWindow());
             sheet->setAttribute(Qt::WA_DeleteOnClose);
             sheet->open();
             return sheet;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto app = makeApp();
        app->showMainWindow();
        auto* quit = app->mainWindow().findChild<QAction*>(QStringLiteral("quit"));
        ASSERT_NE(quit, nullptr);
        QSignalSpy quitting(quit, &QAction::triggered);
        QWidget* window = c.open(*app);
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_EQ(quitting.count(), 1);
    }
}

TEST_F(TranslatorAppTest, OpenedLinksReachTheLibraryMadeWithTheWindow) {
    const TranslatableApp notes = app("com.example.Notes");
    engine.install({app("com.example.First", "1", "First"), notes});
    auto translator = makeApp();
    translator->showMainWindow();
    settle();
    // The main window's library scanned the apps at once.
    ASSERT_EQ(translator->library().apps().size(), 2u);
    translator->open(QStringLiteral("orvel://translate?app=com.example.Notes&language=de"));
    settle();
    EXPECT_EQ(translator->library().selection(), notes.bundleIdentifier);
    EXPECT_EQ(translator->library().workspace(notes).language(), "de");
}

} // namespace
} // namespace orvel
