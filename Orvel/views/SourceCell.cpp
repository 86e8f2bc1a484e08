#include "Orvel/views/SourceCell.h"

#include "Orvel/views/ElidedLines.h"

#include <QApplication>
#include <QPainter>

namespace orvel {

namespace {

constexpr int kMargin = 4;

} // namespace

void SourceCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    paintElidedLines(*painter, option.rect.adjusted(kMargin, 0, -kMargin, 0), index.data().toString(),
                     kLines);
    painter->restore();
}

QSize SourceCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    return {kMargin * 2 + metrics.horizontalAdvance(index.data().toString()),
            metrics.height() * kLines + kMargin};
}

} // namespace orvel
