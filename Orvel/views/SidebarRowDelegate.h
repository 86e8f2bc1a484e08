#pragma once
// Draws a sidebar row: its icon and text as usual, and its badge, when it has one, as a count capsule
// at the row's trailing edge. The text is elided before the badge, never drawn under it.

#include <QStyledItemDelegate>

namespace orvel {

class SidebarRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int rowHeight = 26;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Where the badge of `text` goes in a row of `rect`.
    static QRect badgeRect(const QRect& rect, const QString& text);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace orvel
