#pragma once
// The one main window: the application menu with its commands, and whatever root view it is given.
// It opens at 1180 by 720 the first time and then as the person left it. Its title is the root view's
// (the chosen app's name), "Orvel" while the root view has none.

#include <QMainWindow>

#include "core/DefaultsStore.h"

class QAction;

namespace orvel {

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int defaultWidth = 1180;
    static constexpr int defaultHeight = 720;
    // The key of the saved geometry in the application's defaults.
    static constexpr const char* geometryKey = "windowGeometry.main";

    // `defaults` is the application's own domain, where the window keeps its geometry.
    explicit MainWindow(DefaultsStore defaults, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the window's root view; the window takes ownership and follows the view's title.
    void setContent(QWidget* content);

    // Writes the current geometry into the defaults; a failed write is logged and otherwise ignored.
    void saveGeometryToDefaults() const;

  signals:
    void aboutRequested();
    void checkForUpdatesRequested();
    void installCommandLineToolRequested();
    void settingsRequested();
    // The window was closed: by its Quit command, the person or the window manager.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildApplicationMenu();
    void showContentTitle();
    void restoreGeometryFromDefaults();
    void offerCommandsTo(QWidget* window);
    QAction* addCommand(QMenu* menu, const QString& text, const char* objectName,
                        void (MainWindow::*signal)());

    DefaultsStore m_defaults;
    QMetaObject::Connection m_focusWatch;
};

} // namespace orvel
