#include "Orvel/views/StringsTableModel.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/TextKeys.h"

namespace orvel {

StringsTableModel::StringsTableModel(Workspace& workspace, QObject* parent)
    : QAbstractTableModel(parent), m_workspace(workspace), m_rows(workspace.visibleStrings()) {
    connect(&workspace, &Workspace::stringsChanged, this, [this] { m_stringsReplaced = true; });
    connect(&workspace, &Workspace::stringListChanged, this, &StringsTableModel::stringListChanged);
}

int StringsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int StringsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

std::string StringsTableModel::idAt(int row) const {
    return sourceAt(row).id();
}

int StringsTableModel::rowOf(const std::string& id) const {
    for (std::size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row]->id() == id)
            return static_cast<int>(row);
    return -1;
}

QVariant StringsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SourceString& source = sourceAt(index.row());
    if (role == IdRole)
        return QString::fromStdString(source.id());
    switch (index.column()) {
    case SourceColumn:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(source.text);
        if (role == Qt::ToolTipRole)
            return escapedToolTip(QString::fromStdString(source.text));
        break;
    case TranslationColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            const StringTranslation* translation = m_workspace.translation(source.id());
            if (!translation)
                return QString();
            return QString::fromStdString(role == Qt::EditRole || !translation->plural
                                              ? translation->text.value_or(std::string())
                                              : translation->displayText());
        }
        break;
    case WhereColumn: {
        if (role != Qt::DisplayRole && role != Qt::ForegroundRole)
            break;
        const std::optional<std::string> summary = m_workspace.context().summary(source.id());
        if (role == Qt::ForegroundRole)
            return summary ? Palette::secondary() : Palette::tertiary();
        return summary ? QString::fromStdString(*summary) : localized("Not seen yet");
    }
    default:
        break;
    }
    return {};
}

QVariant StringsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case SourceColumn:
        return localized("Source");
    case TranslationColumn:
        return localized("Translation");
    case WhereColumn:
        return localized("Where");
    default:
        return {};
    }
}

Qt::ItemFlags StringsTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // Without a project (one still being read or handed over) an edit would have nowhere to go.
    if (index.isValid() && index.column() == TranslationColumn && m_workspace.project()) {
        const StringTranslation* translation = m_workspace.translation(sourceAt(index.row()).id());
        if (!translation || !translation->plural)
            flags |= Qt::ItemIsEditable;
    }
    return flags;
}

void StringsTableModel::holdRow(const std::string& id) {
    m_held = id;
}

void StringsTableModel::releaseRow(const std::string& id) {
    if (m_held != id)
        return;
    m_held.clear();
    if (m_staleWhileHeld)
        reload();
}

void StringsTableModel::stringListChanged() {
    if (!m_held.empty() && !m_stringsReplaced) {
        // The held row's editor stays; only what the cells show is drawn again.
        m_staleWhileHeld = true;
        if (!m_rows.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    reload();
}

void StringsTableModel::reload() {
    beginResetModel();
    m_rows = m_workspace.visibleStrings();
    m_held.clear();
    m_staleWhileHeld = false;
    m_stringsReplaced = false;
    endResetModel();
}

} // namespace orvel
