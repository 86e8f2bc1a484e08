// The application's end: every workspace writes what it holds, and only edits that could not be written
// even then are told, once, naming the app, the language and the error, before the application ends; an
// end that the session makes tells nobody, since nobody may be there to answer.

#include "Orvel/app/TranslatorApp.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <optional>
#include <string>
#include <vector>

#include "Orvel/app/BlockedWindowCloses.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/state/Library.h"
#include "tests/Orvel/state/FullDisk.h"
#include "tests/Orvel/state/LibraryFixture.h"
#include "tests/Orvel/state/RecordingAlerts.h"

namespace orvel {
namespace {

constexpr const char* openID = "Main\x1FOpen";

class TranslatorAppEndTest : public testing::LibraryTest {
  protected:
    testing::RecordingAlerts alerts;
};

TEST_F(TranslatorAppEndTest, TheEndTellsOfEditsOnlyWhenItCannotWriteThem) {
    // The person's Quit; a termination signal or a logout; the main loop ending without either before.
    enum class End { quit, session, loopEnds };
    struct Case {
        const char* name;
        // The edit was written back onto a full disk before the end.
        bool failedBefore;
        // The edit still waits for its write-back when the application ends.
        bool waitingAtTheEnd;
        bool fullAtTheEnd;
        End end;
        bool told;
    };
    const std::vector<Case> cases{
        {"an edit written before the end", false, false, false, End::quit, false},
        {"an edit that waits, written at the end", false, true, false, End::quit, false},
        {"an edit that failed, written at the end", true, false, false, End::quit, false},
        {"an edit that waits, onto a disk full at the end", false, true, true, End::quit, true},
        {"an edit that failed and fails again at the end", true, false, true, End::quit, true},
        {"an edit that waits, written at the session's end", false, true, false, End::session, false},
        {"an edit that waits, onto a disk full at the session's end", false, true, true, End::session, false},
        {"an edit that failed and fails again at the end of the loop", true, false, true, End::loopEnds,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.shown.clear();
        const TranslatableApp notes = bundle("com.example.Notes", "1", "Notes", {{"Open", "Open"}});
        engine.install({notes});
        writeProject(notes, "de");
        defaults.set("language.com.example.Notes", std::string("de"));
        auto translator = std::make_unique<TranslatorApp>(services(), preferences, alerts);
        Workspace& workspace = translator->library().workspace(notes);
        settle();
        std::optional<testing::FullDisk> disk;
        if (c.failedBefore)
            disk.emplace();
        workspace.setText("Öffnen", openID);
        if (!c.waitingAtTheEnd)
            timers.advance(Workspace::writeBackDelay);
        disk.reset();
        if (c.fullAtTheEnd)
            disk.emplace();

        switch (c.end) {
        case End::quit:
            translator->quit();
            break;
        case End::session:
            translator->endSession();
            break;
        case End::loopEnds:
            break;
        }
        // The end of the main loop asks again; the person is told once.
        translator->flush();
        disk.reset();

        ASSERT_EQ(alerts.shown.size(), c.told ? 1u : 0u);
        const auto& stored = TranslationProject::load(notes, "de").translations;
        const auto found = stored.find(openID);
        EXPECT_EQ(found == stored.end() ? std::nullopt : found->second.text,
                  c.fullAtTheEnd ? std::nullopt : std::optional<std::string>("Öffnen"));
        if (c.told) {
            const Alert& alert = alerts.shown.front();
            EXPECT_EQ(alert.message, "Some edits could not be saved");
            EXPECT_TRUE(alert.informativeText.contains("Notes in German: "))
                << alert.informativeText.toStdString();
            EXPECT_TRUE(alert.informativeText.contains("No space left on device"))
                << alert.informativeText.toStdString();
        }
        translator.reset();
        settle();
    }
}

// A close of the main window ends the application as its Quit does, whatever other window is shown.
TEST_F(TranslatorAppEndTest, ClosingTheMainWindowEndsTheApplication) {
    enum class Shown { nothingElse, windowOfItsOwn, windowModalAlert, applicationModalAlert };
    struct Case {
        const char* name;
        Shown shown;
        // The window manager asks for the close, as a click on the window's close button does.
        bool byTheWindowManager;
    };
    const std::vector<Case> cases{
        {"the main window alone", Shown::nothingElse, false},
        {"beside a window of its own", Shown::windowOfItsOwn, false},
        {"by the window manager, over an alert of the window", Shown::windowModalAlert, true},
        {"by the window manager, over an alert waited for", Shown::applicationModalAlert, true},
    };
    const BlockedWindowCloses::Atoms atoms{7, 9};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp notes = bundle("com.example.Notes", "1", "Notes", {{"Open", "Open"}});
        engine.install({notes});
        writeProject(notes, "de");
        defaults.set("language.com.example.Notes", std::string("de"));
        auto translator = std::make_unique<TranslatorApp>(services(), preferences, alerts);
        translator->showMainWindow();
        MainWindow& window = translator->mainWindow();
        BlockedWindowCloses closes(window, atoms);
        Workspace& workspace = translator->library().workspace(notes);
        settle();
        workspace.setText("Öffnen", openID);
        QWidget other;
        if (c.shown == Shown::windowOfItsOwn)
            other.show();
        auto* alert =
            new QMessageBox(QMessageBox::Information, "Orvel", "Checking", QMessageBox::Ok, &window);
        alert->setAttribute(Qt::WA_DeleteOnClose);
        if (c.shown == Shown::windowModalAlert) {
            alert->setWindowModality(Qt::WindowModal);
            alert->open();
        }
        if (c.shown == Shown::applicationModalAlert)
            QTimer::singleShot(0, alert, [alert] { alert->exec(); });

        QTimer::singleShot(1, &window, [&] {
            if (!c.byTheWindowManager) {
                window.close();
                return;
            }
            xcb_client_message_event_t request{};
            request.response_type = XCB_CLIENT_MESSAGE;
            request.format = 32;
            request.window = static_cast<xcb_window_t>(window.internalWinId());
            request.type = atoms.protocols;
            request.data.data32[0] = atoms.deleteWindow;
            qintptr result = 0;
            QAbstractEventDispatcher::instance()->filterNativeEvent(QByteArrayLiteral("xcb_generic_event_t"),
                                                                    &request, &result);
        });
        // A bound for a close that is ignored, far beyond what an end takes.
        QTimer never;
        never.callOnTimeout([] { QCoreApplication::exit(1); });
        never.start(60000);
        EXPECT_EQ(QCoreApplication::exec(), 0);

        const auto& stored = TranslationProject::load(notes, "de").translations;
        const auto found = stored.find(openID);
        EXPECT_EQ(found == stored.end() ? std::nullopt : found->second.text,
                  std::optional<std::string>("Öffnen"));
        translator.reset();
        settle();
    }
}

} // namespace
} // namespace orvel
