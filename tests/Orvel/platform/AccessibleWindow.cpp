#include "tests/Orvel/platform/AccessibleWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace orvel::testing {

int runAccessibleWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(accessibleWindowTitle);
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Open"));
    file->addMenu(QStringLiteral("Recent"))->addAction(QStringLiteral("Close"));
    auto* content = new QWidget(&window);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(new QLabel(QStringLiteral("Hello label"), content));
    layout->addWidget(new QPushButton(QStringLiteral("Press me"), content));
    window.setCentralWidget(content);
    window.show();
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}

} // namespace orvel::testing
