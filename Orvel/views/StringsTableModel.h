#pragma once
// The rows of the strings table: the workspace's visible strings, read once per change of the string
// list (never per cell), in three columns: the English, the translation and where the string was seen.
//
// A row whose translation is being edited stays in the table while its editor is open, even when the
// edit takes it out of the filter or the search: the rows are read again once the editor closes.
// Otherwise the first keystroke would remove the row and its editor with it.

#include <QAbstractTableModel>

#include <string>
#include <vector>

namespace orvel {

class Workspace;
struct SourceString;

class StringsTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { SourceColumn, TranslationColumn, WhereColumn, ColumnCount };
    // The string id of the row, as a QString.
    static constexpr int IdRole = Qt::UserRole + 1;

    explicit StringsTableModel(Workspace& workspace, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const SourceString& sourceAt(int row) const { return *m_rows.at(static_cast<std::size_t>(row)); }
    std::string idAt(int row) const;
    // The row of the string id, or -1.
    int rowOf(const std::string& id) const;

    // Holds the rows as they are while the row of `id` is edited.
    void holdRow(const std::string& id);
    // The editor of `id` closed: the rows are read again if they changed meanwhile.
    void releaseRow(const std::string& id);
    bool isHolding() const { return !m_held.empty(); }

  private:
    void stringListChanged();
    void reload();

    Workspace& m_workspace;
    std::vector<const SourceString*> m_rows;
    std::string m_held;
    bool m_staleWhileHeld = false;
    // The strings were read again: the row pointers are gone, so a held row cannot stay.
    bool m_stringsReplaced = false;
};

} // namespace orvel
