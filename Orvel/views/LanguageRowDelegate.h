#pragma once
// A row of the new-language sheet's list: the language's own name on the left and its name in the
// interface language on the right, in the secondary colour. Both are data texts, drawn as they are.

#include <QStyledItemDelegate>

namespace orvel {

class LanguageRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // The item's role that holds the name in the interface language; the display role holds the own name.
    static constexpr int secondaryNameRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace orvel
