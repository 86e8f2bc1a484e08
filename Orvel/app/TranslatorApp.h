#pragma once
// The application object: it owns the one library of the process (made when first needed), the updater
// (made, and so started, with the application), the main window, the settings window and the commands
// of the application menu, and it takes the deep links the process is asked to open. Main thread only.

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

#include "Orvel/state/Alerts.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/Updater.h"

class QWidget;

namespace orvel {

class BlockedWindowCloses;
class Library;
class MainWindow;
class ModelPreferences;

class TranslatorApp : public QObject {
    Q_OBJECT

  public:
    // Builds the root view of a window. Views that are not built yet show a placeholder.
    using ContentFactory = std::function<QWidget*(TranslatorApp&)>;

    // `preferences` and `alerts` must outlive the application object.
    TranslatorApp(Services services, ModelPreferences& preferences, Alerts& alerts,
                  QObject* parent = nullptr);
    ~TranslatorApp() override;

    // The one library of the process, made on first use (which starts its first scan of the apps).
    Library& library();
    ModelPreferences& preferences() { return m_preferences; }
    Updater& updater() { return *m_updater; }

    // Both take effect when their window is built (the main window on first show, the settings window
    // on first open).
    void setMainContentFactory(ContentFactory factory) { m_mainContent = std::move(factory); }
    void setSettingsContentFactory(ContentFactory factory) { m_settingsContent = std::move(factory); }

    // The main window, built on first use with the library in place; showMainWindow() also brings it to
    // the front, out of the minimized state.
    MainWindow& mainWindow();
    void showMainWindow();
    // The settings window, built on first use, in front.
    void showSettings();

    // A URL the process was asked to open (from its arguments or another start); the library takes the
    // deep links among them.
    void open(const QString& url);

    // The commands of the application menu.
    void about();
    void checkForUpdates();
    void installCommandLineTool();

    // The person ends the application (the Quit command, or a close of the main window, which always
    // ends the application, whatever else is shown): every run stops at once and the workspaces write
    // what they hold, before the queued work of the runs is taken. Nothing that ends after shows an
    // alert; only edits that could not be written even now are told, in one alert that names each app
    // and language with the error, before the application ends. Once only.
    void quit();
    // The session ends the application (a termination signal, a logout): as quit(), but nobody is there
    // to answer an alert, so the edits that could not be written are only logged, and the application
    // ends at once.
    void endSession();
    // Ends as the session does (above) when nothing ended yet, and saves the main window's place; call
    // before the application quits. The workspaces write what they hold when the library ends with the
    // application object.
    void flush();

  private:
    void end(bool tellThePerson);

    Services m_services;
    ModelPreferences& m_preferences;
    Alerts& m_alerts;
    std::unique_ptr<Updater> m_updater;
    ContentFactory m_mainContent;
    ContentFactory m_settingsContent;
    // Declared before the windows, so that the views that read it go first.
    std::unique_ptr<Library> m_library;
    std::unique_ptr<MainWindow> m_mainWindow;
    // Goes before the window it watches.
    std::unique_ptr<BlockedWindowCloses> m_blockedCloses;
    QPointer<QWidget> m_settingsWindow;
    bool m_quit = false;
};

} // namespace orvel
