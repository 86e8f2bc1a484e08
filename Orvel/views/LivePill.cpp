#include "Orvel/views/LivePill.h"

#include "Orvel/views/Capsule.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"

#include <QPainter>

namespace orvel {

LivePill::LivePill(const QString& label, QWidget* parent) : CapsuleButton(parent) {
    setObjectName(QStringLiteral("livePill"));
    setCheckable(true);
    setFont(labelFont());
    setLabel(label);
}

void LivePill::setOn(bool on) {
    setChecked(on);
}

void LivePill::nextCheckState() {
    emit toggleRequested(!isChecked());
}

QFont LivePill::labelFont() const {
    QFont font = pillFont();
    font.setWeight(QFont::DemiBold);
    return font;
}

int LivePill::textWidth() const {
    return orvel::textWidth(labelFont(), label());
}

QSize LivePill::sizeHint() const {
    return QSize(kPadding + kDot + kSpacing + textWidth() + kPadding, kHeight);
}

QSize LivePill::minimumSizeHint() const {
    return sizeHint();
}

void LivePill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    prepare(painter);
    const QRectF bounds(rect());
    const bool on = isOn();
    if (on) {
        fillCapsule(painter, bounds, Palette::green());
        strokeCapsuleInside(painter, bounds, 1, Palette::green());
    } else {
        strokeCapsuleInside(painter, bounds, 1, Palette::withOpacity(Palette::secondary(), 0.5));
    }

    const qreal contentLeft = bounds.left() + (bounds.width() - (sizeHint().width() - 2 * kPadding)) / 2;
    const QRectF dot(contentLeft, bounds.center().y() - kDot / 2.0, kDot, kDot);
    if (on) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(dot);
    } else {
        constexpr qreal ring = 1.5;
        painter.setPen(QPen(Palette::secondary(), ring));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(dot.adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2));
    }

    painter.setFont(labelFont());
    painter.setPen(on ? QColor(Qt::white) : Palette::secondary());
    painter.drawText(QRectF(dot.right() + kSpacing, 0, textWidth(), bounds.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label());
    finish(painter);
}

} // namespace orvel
