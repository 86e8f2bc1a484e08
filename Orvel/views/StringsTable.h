#pragma once
// The table of the strings screen: Source, Translation and Where over the workspace's visible strings,
// several rows selectable, the selection kept equal to the workspace's both ways.

#include <QTableView>

#include <string>

namespace orvel {

class StringsTableModel;
class TranslationCell;
class Workspace;

class StringsTable : public QTableView {
    Q_OBJECT
  public:
    static constexpr int kWhereMinimum = 120;
    static constexpr int kWhereIdeal = 220;

    explicit StringsTable(Workspace& workspace, QWidget* parent = nullptr);
    ~StringsTable() override;

    StringsTableModel* rows() const { return m_model; }
    TranslationCell* translationCell() const { return m_cell; }
    using QTableView::edit;

  protected:
    // A key typed into the table opens the chosen row's editor with the caret after the text and nothing
    // selected, and types there only when it is text, so that no key throws a translation away.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Tab and Shift+Tab in a cell's editor end the edit and go on to the window's next (or previous)
    // part, as they do from the table itself; Escape takes back what was typed in it.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    // The current cell stays in the Translation column, so that typing into the table or F2 edits the
    // translation of the chosen row.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    // The workspace's selection onto the table.
    void showSelection();
    // The table's selection into the workspace.
    void storeSelection();
    // A current row lost to a redraw, or left outside the selection, comes back to the row it was on, or
    // else to the first chosen row, so that Down goes on from the string chosen.
    void keepCurrentRow();

    Workspace& m_workspace;
    StringsTableModel* m_model = nullptr;
    TranslationCell* m_cell = nullptr;
    bool m_syncing = false;
    // The string of the current row before the rows were read again.
    std::string m_currentId;
};

} // namespace orvel
