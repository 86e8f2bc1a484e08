#include "Orvel/app/TranslatorApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

#include "Orvel/app/BlockedWindowCloses.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/state/CommandLineTool.h"
#include "Orvel/state/LanguageNames.h"
#include "Orvel/state/Library.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/PackageUpdater.h"
#include "core/SystemLog.h"

namespace orvel {
namespace {

// What a window shows until its root view exists.
QWidget* placeholder(const QString& name, const QString& text) {
    auto* widget = new QWidget;
    widget->setObjectName(name);
    auto* layout = new QVBoxLayout(widget);
    auto* label = new QLabel(text, widget);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    layout->addWidget(label);
    return widget;
}

QWidget* mainPlaceholder(TranslatorApp&) {
    return placeholder(QStringLiteral("contentPlaceholder"),
                       TranslatorApp::tr("Orvel translates the interface of your apps."));
}

QWidget* settingsPlaceholder(TranslatorApp&) {
    QWidget* widget = placeholder(QStringLiteral("settingsPlaceholder"), TranslatorApp::tr("Model settings"));
    widget->resize(480, 320);
    return widget;
}

} // namespace

TranslatorApp::TranslatorApp(Services services, ModelPreferences& preferences, Alerts& alerts,
                             QObject* parent)
    : QObject(parent), m_services(std::move(services)), m_preferences(preferences), m_alerts(alerts),
      m_updater(std::make_unique<PackageUpdater>(alerts, QCoreApplication::applicationVersion())),
      m_mainContent(&mainPlaceholder), m_settingsContent(&settingsPlaceholder) {
    // Closing the last window is how the menu's Quit ends the application.
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::lastWindowClosed, this, &TranslatorApp::quit);
}

TranslatorApp::~TranslatorApp() = default;

Library& TranslatorApp::library() {
    if (!m_library)
        m_library = std::make_unique<Library>(m_services);
    return *m_library;
}

MainWindow& TranslatorApp::mainWindow() {
    if (!m_mainWindow) {
        library();
        m_mainWindow = std::make_unique<MainWindow>(m_services.defaults);
        m_mainWindow->setContent(m_mainContent(*this));
        connect(m_mainWindow.get(), &MainWindow::aboutRequested, this, &TranslatorApp::about);
        connect(m_mainWindow.get(), &MainWindow::checkForUpdatesRequested, this,
                &TranslatorApp::checkForUpdates);
        connect(m_mainWindow.get(), &MainWindow::installCommandLineToolRequested, this,
                &TranslatorApp::installCommandLineTool);
        connect(m_mainWindow.get(), &MainWindow::settingsRequested, this, &TranslatorApp::showSettings);
        // Another window still shown (a window of its own, an alert) would keep the application running
        // without its main window.
        connect(m_mainWindow.get(), &MainWindow::closed, this, [this] {
            quit();
            QCoreApplication::quit();
        });
        if (const std::optional<BlockedWindowCloses::Atoms> atoms = BlockedWindowCloses::displayAtoms())
            m_blockedCloses = std::make_unique<BlockedWindowCloses>(*m_mainWindow, *atoms);
    }
    return *m_mainWindow;
}

void TranslatorApp::showMainWindow() {
    MainWindow& window = mainWindow();
    // Raising a minimized window leaves it minimized: a link it was brought forward for would be applied
    // unseen. It comes back as it was before, maximized or full screen included.
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

void TranslatorApp::showSettings() {
    if (!m_settingsWindow) {
        // A window of its own that belongs to the main window, so that closing the main window still
        // ends the application.
        m_settingsWindow = m_settingsContent(*this);
        m_settingsWindow->setParent(&mainWindow(), Qt::Window);
        m_settingsWindow->setWindowTitle(tr("Settings"));
        m_settingsWindow->setObjectName(QStringLiteral("settings"));
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

void TranslatorApp::open(const QString& url) {
    library().handle(url.toStdString());
}

void TranslatorApp::about() {
    m_alerts.show({tr("Orvel"), tr("Version %1").arg(QCoreApplication::applicationVersion())});
}

void TranslatorApp::checkForUpdates() {
    m_updater->checkForUpdates();
}

void TranslatorApp::installCommandLineTool() {
    orvel::installCommandLineTool(m_alerts, m_services.home,
                                  QCoreApplication::applicationDirPath().toStdString());
}

void TranslatorApp::quit() {
    end(true);
}

void TranslatorApp::endSession() {
    end(false);
    // Closing saves the window's place; quitting also ends an alert's loop.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void TranslatorApp::flush() {
    // The loop ends without a Quit before it when the session manager ends the application.
    end(false);
    if (m_mainWindow)
        m_mainWindow->saveGeometryToDefaults();
}

void TranslatorApp::end(bool tellThePerson) {
    if (!m_library || std::exchange(m_quit, true))
        return;
    m_library->quit();
    const std::vector<Workspace::UnsavedProject> unsaved = m_library->unsavedProjects();
    if (unsaved.empty())
        return;
    QStringList lines;
    for (const Workspace::UnsavedProject& project : unsaved) {
        SystemLog::info("Application", "Edits of " + project.app + " in " + project.language +
                                           " could not be written: " + project.error);
        lines << tr("%1 in %2: %3")
                     .arg(QString::fromStdString(project.app),
                          QString::fromStdString(displayName(project.language)),
                          QString::fromStdString(project.error));
    }
    if (tellThePerson)
        m_alerts.show({tr("Some edits could not be saved"), tr("These edits are lost when Orvel quits:") +
                                                                QLatin1Char('\n') +
                                                                lines.join(QLatin1Char('\n'))});
}

} // namespace orvel
