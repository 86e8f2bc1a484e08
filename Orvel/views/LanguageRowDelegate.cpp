#include "Orvel/views/LanguageRowDelegate.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace orvel {

namespace {
constexpr int kSidePadding = 8;
constexpr int kGap = 12;
constexpr int kVerticalPadding = 4;
} // namespace

void LanguageRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    panel.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);

    const QString own = index.data(Qt::DisplayRole).toString();
    const QString secondary = index.data(secondaryNameRole).toString();
    const QRect area = option.rect.adjusted(kSidePadding, 0, -kSidePadding, 0);
    const QFontMetrics metrics(option.font);
    // The own name comes first: the secondary name gives way (down to half the row) before it does.
    const int secondaryWidth = std::min(textWidth(option.font, secondary), area.width() / 2);
    const int ownWidth = std::max(0, area.width() - secondaryWidth - kGap);
    const bool selected = option.state.testFlag(QStyle::State_Selected);

    painter->save();
    painter->setFont(option.font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : Palette::primary());
    painter->drawText(QRect(area.left(), area.top(), ownWidth, area.height()),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      metrics.elidedText(own, Qt::ElideRight, ownWidth));
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : Palette::secondary());
    painter->drawText(QRect(area.right() + 1 - secondaryWidth, area.top(), secondaryWidth, area.height()),
                      Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                      metrics.elidedText(secondary, Qt::ElideRight, secondaryWidth));
    painter->restore();
}

QSize LanguageRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString own = index.data(Qt::DisplayRole).toString();
    const QString secondary = index.data(secondaryNameRole).toString();
    const int width =
        2 * kSidePadding + textWidth(option.font, own) + kGap + textWidth(option.font, secondary);
    return QSize(width, QFontMetrics(option.font).height() + 2 * kVerticalPadding);
}

} // namespace orvel
