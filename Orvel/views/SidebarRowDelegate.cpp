#include "Orvel/views/SidebarRowDelegate.h"

#include "Orvel/views/Capsule.h"
#include "Orvel/views/CapsuleLabel.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/SidebarModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace orvel {

namespace {
constexpr int kTrailingMargin = 8;
constexpr int kGapBeforeBadge = 6;
} // namespace

QRect SidebarRowDelegate::badgeRect(const QRect& rect, const QString& text) {
    const CapsuleLabel::Look look = CapsuleLabel::countLook();
    const QFontMetrics metrics(look.font);
    const QSize size(textWidth(look.font, text) + 2 * look.horizontalPadding,
                     metrics.height() + 2 * look.verticalPadding);
    return QRect(QPoint(rect.right() - kTrailingMargin - size.width() + 1,
                        rect.top() + (rect.height() - size.height()) / 2),
                 size);
}

void SidebarRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QVariant badge = index.data(SidebarModel::badgeRole);
    if (!badge.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = badge.toString();
    const QRect capsule = badgeRect(option.rect, text);
    // The row's background (its highlight too) spans the whole row; only its contents make way.
    QStyleOptionViewItem whole = option;
    initStyleOption(&whole, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &whole, painter, widget);
    QStyleOptionViewItem narrowed = option;
    narrowed.rect.setRight(capsule.left() - kGapBeforeBadge);
    QStyledItemDelegate::paint(painter, narrowed, index);

    const bool selected = option.state & QStyle::State_Selected;
    CapsuleLabel::Look look = CapsuleLabel::countLook();
    if (selected) {
        look.text = option.palette.color(QPalette::HighlightedText);
        look.fill = Palette::withOpacity(look.text, 0.22);
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    fillCapsule(*painter, capsule, look.fill);
    painter->setFont(look.font);
    painter->setPen(look.text);
    painter->drawText(capsule, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter->restore();
}

QSize SidebarRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), rowHeight));
    return size;
}

} // namespace orvel
