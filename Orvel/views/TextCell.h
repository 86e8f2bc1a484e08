#pragma once
// The base of the strings table's cells that draw their own text: the row's background and selection
// as the style draws them, and the text colour of the row's state.

#include <QStyledItemDelegate>

namespace orvel {

class TextCell : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kMargin = 4;

  protected:
    // Draws the item without its text and sets the painter's pen and font for the text.
    void paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const;
};

} // namespace orvel
