#include "Orvel/views/SourceCell.h"

#include "Orvel/views/ElidedLines.h"

#include <QPainter>

namespace orvel {

void SourceCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {

    painter->save();
    paintBackground(painter, option, index);
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
