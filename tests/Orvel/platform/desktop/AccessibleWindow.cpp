#include "tests/Orvel/platform/desktop/AccessibleWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace orvel::testing {
namespace {

QWidget* framedLabel(QWidget* parent) {
    auto* outer = new QFrame(parent);
    outer->setFrameShape(QFrame::Box);
    auto* inner = new QFrame(outer);
    inner->setFrameShape(QFrame::Box);
    (new QVBoxLayout(outer))->addWidget(inner);
    (new QVBoxLayout(inner))->addWidget(new QLabel(QStringLiteral("Framed label"), inner));
    return outer;
}

QWidget* tabs(QWidget* parent) {
    auto* tabs = new QTabWidget(parent);
    tabs->addTab(new QLabel(QStringLiteral("Visible page label")), QStringLiteral("Visible page"));
    tabs->addTab(new QLabel(QStringLiteral("Hidden page label")), QStringLiteral("Hidden page"));
    return tabs;
}

QTableWidget* table(int rows, QWidget* parent) {
    auto* table = new QTableWidget(rows, 1, parent);
    table->setHorizontalHeaderLabels({QStringLiteral("Name")});
    for (int row = 0; row < rows; ++row)
        table->setItem(row, 0, new QTableWidgetItem(QStringLiteral("Row %1").arg(row)));
    return table;
}

// Cells named by table, row and column ("T3 R12 C4"), the columns narrow enough that all show.
QTableWidget* namedTable(int number, QWidget* parent) {
    auto* table = new QTableWidget(tableRows, tableColumns, parent);
    QStringList headers;
    for (int column = 0; column < tableColumns; ++column)
        headers << QString::fromStdString(headerText(number, column));
    table->setHorizontalHeaderLabels(headers);
    for (int row = 0; row < tableRows; ++row)
        for (int column = 0; column < tableColumns; ++column)
            table->setItem(row, column,
                           new QTableWidgetItem(QString::fromStdString(cellText(number, row, column))));
    table->horizontalHeader()->setDefaultSectionSize(30);
    table->verticalHeader()->setDefaultSectionSize(24);
    return table;
}

// Where a toolkit leaves the docks behind a tab: far outside the window, yet called showing.
void outsideTheWindow(QWidget* content) {
    auto* panel = new QWidget(content);
    panel->setGeometry(-951, -633, 300, 200);
    (new QVBoxLayout(panel))->addWidget(new QLabel(QStringLiteral("Outside label"), panel));
    // Above the window only: inside it left to right.
    auto* above = new QLabel(QStringLiteral("Above label"), content);
    above->setGeometry(10, -400, 160, 20);
    auto* partly = new QLabel(QStringLiteral("Partly shown label"), content);
    partly->setGeometry(-40, 0, 160, 20);
}

std::unique_ptr<QMainWindow> mainWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(accessibleWindowTitle);
    QMenu* file = window->menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Open"));
    file->addMenu(QStringLiteral("Recent"))->addAction(QStringLiteral("Close"));
    auto* content = new QWidget(window.get());
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(new QLabel(QStringLiteral("Hello label"), content));
    auto* button = new QPushButton(QStringLiteral("Press me"), content);
    button->setToolTip(QStringLiteral("Presses the button"));
    layout->addWidget(button);
    auto* field = new QLineEdit(content);
    field->setPlaceholderText(QStringLiteral("Type a name"));
    layout->addWidget(field);
    layout->addWidget(new QPlainTextEdit(QStringLiteral("First line\nSecond line"), content));
    layout->addWidget(framedLabel(content));
    layout->addWidget(tabs(content));
    QTableWidget* rows = table(30, content);
    rows->setFixedHeight(120);
    layout->addWidget(rows);
    outsideTheWindow(content);
    window->setCentralWidget(content);
    return window;
}

std::unique_ptr<QDialog> hiddenDialog() {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(hiddenDialogTitle);
    (new QVBoxLayout(dialog.get()))->addWidget(new QLabel(QStringLiteral("Dialog label"), dialog.get()));
    return dialog;
}

std::unique_ptr<QWidget> secondWindow() {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(secondWindowTitle);
    (new QVBoxLayout(window.get()))->addWidget(new QLabel(QStringLiteral("Second label"), window.get()));
    return window;
}

// Labels of a few pixels each in one grid, so that all of them fit on the display and are showing.
std::unique_ptr<QWidget> largeWindow(int elements) {
    constexpr int columns = 100;
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(accessibleWindowTitle);
    auto* grid = new QGridLayout(window.get());
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < elements; ++i) {
        auto* label = new QLabel(QString::number(i), window.get());
        label->setFixedSize(6, 6);
        grid->addWidget(label, i / columns, i % columns);
    }
    return window;
}

// Wider than a table of the tables window.
constexpr int wideColumn = 300;

// Tables side by side, each with room for a few of its rows, and a menu bar below them, deeper in the
// window than their cells.
std::unique_ptr<QWidget> tablesWindow(int tables) {
    constexpr int columns = 5;
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(accessibleWindowTitle);
    auto* grid = new QGridLayout(window.get());
    for (int i = 0; i < tables; ++i) {
        QTableWidget* rows = namedTable(i, window.get());
        rows->setFixedSize(190, 180);
        if (i == 0)
            rows->horizontalHeader()->setDefaultSectionSize(wideColumn);
        grid->addWidget(rows, i / columns, i % columns);
    }
    auto* holder = new QWidget(window.get());
    auto* bar = new QMenuBar(holder);
    bar->addMenu(QString::fromUtf8(tablesMenuTitle))->addAction(QStringLiteral("Sort"));
    (new QVBoxLayout(holder))->addWidget(bar);
    grid->addWidget(holder, (tables + columns - 1) / columns, 0);
    return window;
}

int count(int argc, char** argv, const char* argument) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], argument) == 0)
            return std::stoi(argv[i + 1]);
    return 0;
}

void announceReady() {
    std::puts("ready");
    std::fflush(stdout);
}

} // namespace

int runAccessibleWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    const int elements = count(argc, argv, elementCountArgument);
    const int tables = count(argc, argv, tableCountArgument);
    if (elements > 0 || tables > 0) {
        const auto window = elements > 0 ? largeWindow(elements) : tablesWindow(tables);
        window->show();
        announceReady();
        return application.exec();
    }
    const auto main = mainWindow();
    main->show();
    // Registered with the accessibility bus while shown, then hidden as a closed dialog is.
    const auto dialog = hiddenDialog();
    dialog->show();
    QApplication::processEvents();
    dialog->hide();
    const auto second = secondWindow();
    second->show();
    second->raise();
    second->activateWindow();
    announceReady();
    return application.exec();
}

} // namespace orvel::testing
