#include "Orvel/views/StringsTable.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/FirstRowOnArrow.h"
#include "Orvel/views/SourceCell.h"
#include "Orvel/views/StringsTableModel.h"
#include "Orvel/views/TranslationCell.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace orvel {

namespace {

constexpr int kRowPadding = 8;

} // namespace

StringsTable::StringsTable(Workspace& workspace, QWidget* parent)
    : QTableView(parent), m_workspace(workspace), m_model(new StringsTableModel(workspace, this)),
      m_cell(new TranslationCell(workspace, this)) {
    setObjectName(QStringLiteral("stringsTable"));
    setModel(m_model);
    setItemDelegateForColumn(StringsTableModel::SourceColumn, new SourceCell(this));
    setItemDelegateForColumn(StringsTableModel::TranslationColumn, m_cell);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setShowGrid(false);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Tab leaves the table for the window's next part; the arrow keys move from row to row.
    setTabKeyNavigation(false);
    FirstRowOnArrow::install(this);

    // Fixed heights and widths: a table of tens of thousands of rows never measures its contents.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() * SourceCell::kLines + kRowPadding);
    QHeaderView* columns = horizontalHeader();
    columns->setMinimumSectionSize(kWhereMinimum);
    columns->setSectionResizeMode(StringsTableModel::SourceColumn, QHeaderView::Stretch);
    columns->setSectionResizeMode(StringsTableModel::TranslationColumn, QHeaderView::Stretch);
    columns->setSectionResizeMode(StringsTableModel::WhereColumn, QHeaderView::Interactive);
    columns->resizeSection(StringsTableModel::WhereColumn, kWhereIdeal);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The editor may close while the table is destroyed; only the rows are needed then.
    connect(m_cell, &TranslationCell::editorOpened, m_model,
            [rows = m_model](const QString& id) { rows->holdRow(id.toStdString()); });
    connect(m_cell, &TranslationCell::editorClosed, m_model,
            [rows = m_model](const QString& id) { rows->releaseRow(id.toStdString()); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &StringsTable::storeSelection);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const QModelIndex current = currentIndex();
        m_currentId = current.isValid() ? m_model->idAt(current.row()) : std::string();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &StringsTable::showSelection);
    connect(&workspace, &Workspace::selectionChanged, this, &StringsTable::showSelection);
    showSelection();
}

StringsTable::~StringsTable() {
    // An editor closing as the table goes resets the rows; the half-destroyed table hears nothing of it.
    disconnect(m_model, nullptr, this, nullptr);
    disconnect(selectionModel(), nullptr, this, nullptr);
}

bool StringsTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger != AnyKeyPressed || !event)
        return QTableView::edit(index, trigger, event);
    // The view opens a line editor with its whole text selected, which the key would replace.
    if (!QTableView::edit(index, trigger, nullptr))
        return false;
    auto* field = qobject_cast<QLineEdit*>(indexWidget(index));
    if (!field)
        return true;
    field->deselect();
    field->end(false);
    bool types = event->type() == QEvent::InputMethod;
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        // Backspace, Delete and the like only open the editor.
        types = !text.isEmpty() && text.at(0).isPrint();
    }
    if (types)
        QCoreApplication::sendEvent(field, event);
    return true;
}

void StringsTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint == QAbstractItemDelegate::RevertModelCache)
        m_cell->revert(editor);
    const bool tabbed =
        hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, tabbed ? QAbstractItemDelegate::NoHint : hint);
    if (tabbed)
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

void StringsTable::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.column() != StringsTableModel::TranslationColumn)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(StringsTableModel::TranslationColumn),
                                          QItemSelectionModel::NoUpdate);
}

void StringsTable::showSelection() {
    if (m_syncing)
        return;
    m_syncing = true;
    QItemSelection rows;
    const Workspace::Selection& chosen = m_workspace.selection();
    if (!chosen.empty())
        for (int row = 0; row < m_model->rowCount(); ++row)
            if (chosen.contains(m_model->idAt(row)))
                rows.select(m_model->index(row, 0), m_model->index(row, StringsTableModel::ColumnCount - 1));
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    keepCurrentRow();
    m_syncing = false;
}

void StringsTable::keepCurrentRow() {
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row()))
        return;
    int row = m_currentId.empty() ? -1 : m_model->rowOf(m_currentId);
    if (row < 0 || !selectionModel()->isRowSelected(row)) {
        const QModelIndexList chosen = selectionModel()->selectedRows();
        row = -1;
        for (const QModelIndex& index : chosen)
            if (row < 0 || index.row() < row)
                row = index.row();
    }
    if (row >= 0)
        selectionModel()->setCurrentIndex(m_model->index(row, StringsTableModel::TranslationColumn),
                                          QItemSelectionModel::NoUpdate);
}

void StringsTable::storeSelection() {
    if (m_syncing)
        return;
    m_syncing = true;
    Workspace::Selection chosen;
    for (const QModelIndex& row : selectionModel()->selectedRows())
        chosen.insert(m_model->idAt(row.row()));
    m_workspace.setSelection(std::move(chosen));
    m_syncing = false;
}

} // namespace orvel
