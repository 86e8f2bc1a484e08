#pragma once
// The Source column of the strings table: the English on at most two lines, cut with an ellipsis; the
// whole text is the row's tooltip.

#include "Orvel/views/TextCell.h"

namespace orvel {

class SourceCell : public TextCell {
    Q_OBJECT
  public:
    static constexpr int kLines = 2;

    using TextCell::TextCell;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace orvel
