#include "Orvel/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

#include "core/SystemLog.h"

namespace orvel {

MainWindow::MainWindow(DefaultsStore defaults, QWidget* parent)
    : QMainWindow(parent), m_defaults(std::move(defaults)) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(tr("Orvel"));
    buildApplicationMenu();
    restoreGeometryFromDefaults();
}

void MainWindow::setContent(QWidget* content) {
    // The previous root view goes with its replacement.
    setCentralWidget(content);
    if (!content)
        return showContentTitle();
    connect(content, &QWidget::windowTitleChanged, this, &MainWindow::showContentTitle);
    showContentTitle();
}

void MainWindow::showContentTitle() {
    const QWidget* content = centralWidget();
    const QString title = content ? content->windowTitle() : QString();
    setWindowTitle(title.isEmpty() ? tr("Orvel") : title);
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& text, const char* objectName,
                                void (MainWindow::*signal)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(objectName));
    connect(action, &QAction::triggered, this, signal);
    return action;
}

void MainWindow::buildApplicationMenu() {
    QMenu* menu = menuBar()->addMenu(tr("Orvel"));
    menu->setObjectName(QStringLiteral("applicationMenu"));
    addCommand(menu, tr("About Orvel"), "about", &MainWindow::aboutRequested);
    // Both end in the one ellipsis character U+2026.
    addCommand(menu, tr("Check for Updates\u2026"), "checkForUpdates", &MainWindow::checkForUpdatesRequested);
    addCommand(menu, tr("Install Command Line Tool\u2026"), "installCommandLineTool",
               &MainWindow::installCommandLineToolRequested);
    menu->addSeparator();
    QAction* settings = addCommand(menu, tr("Settings\u2026"), "settings", &MainWindow::settingsRequested);
    settings->setShortcut(QKeySequence::Preferences);
    settings->setMenuRole(QAction::PreferencesRole);
    menu->addSeparator();
    QAction* quit = menu->addAction(tr("Quit Orvel"));
    quit->setObjectName(QStringLiteral("quit"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QApplication::closeAllWindows);
}

void MainWindow::restoreGeometryFromDefaults() {
    resize(defaultWidth, defaultHeight);
    const std::optional<std::string> saved = m_defaults.string(geometryKey);
    if (!saved)
        return;
    // A damaged value leaves the first-time size.
    restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*saved)));
}

void MainWindow::saveGeometryToDefaults() const {
    try {
        m_defaults.set(geometryKey, saveGeometry().toBase64().toStdString());
    } catch (const std::exception& error) {
        SystemLog::info("Window", std::string("The window's place could not be saved: ") + error.what());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveGeometryToDefaults();
    QMainWindow::closeEvent(event);
}

} // namespace orvel
