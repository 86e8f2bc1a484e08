#include "Orvel/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include "core/SystemLog.h"

namespace orvel {

MainWindow::MainWindow(DefaultsStore defaults, QWidget* parent)
    : QMainWindow(parent), m_defaults(std::move(defaults)) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(tr("Orvel"));
    buildApplicationMenu();
    restoreGeometryFromDefaults();
    m_focusWatch = connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (focused && window->windowHandle() == focused)
                offerCommandsTo(window);
    });
}

MainWindow::~MainWindow() {
    // The focus moves on while the base class takes the window down; this part is gone by then.
    disconnect(m_focusWatch);
}

void MainWindow::offerCommandsTo(QWidget* window) {
    // The commands' shortcuts answer in the window that holds them: every other window of the program
    // (the settings, a sheet, an alert) is given them when it first becomes the focused window. Menus and
    // other popups are left alone, since they would list the commands among their own.
    if (!window || window == this || qobject_cast<QMenu*>(window))
        return;
    const Qt::WindowType type = window->windowType();
    if (type != Qt::Window && type != Qt::Dialog && type != Qt::Sheet)
        return;
    const QList<QAction*> commands = findChild<QMenu*>(QStringLiteral("applicationMenu"))->actions();
    if (!commands.isEmpty() && !window->actions().contains(commands.first()))
        window->addActions(commands);
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
    // Ctrl+Q on every desktop: a keyboard scheme that has no key for quitting would leave none.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
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
    if (event->isAccepted())
        emit closed();
}

} // namespace orvel
