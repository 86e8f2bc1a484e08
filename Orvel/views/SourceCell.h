#pragma once
// The Source column of the strings table: the English on at most two lines, cut with an ellipsis; the
// whole text is the row's tooltip.

#include <QStyledItemDelegate>

namespace orvel {

class SourceCell : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int kLines = 2;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace orvel
