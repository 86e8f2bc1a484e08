#include "Orvel/views/CapsuleButton.h"

#include "Orvel/views/Capsule.h"
#include "Orvel/views/Palette.h"

#include <QKeySequence>
#include <QPainter>

namespace orvel {

namespace {

constexpr qreal kFocusRing = 2;

} // namespace

CapsuleButton::CapsuleButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleButton::setLabel(const QString& label) {
    if (label == text())
        return;
    QPushButton::setText(label);
    setShortcut(QKeySequence());
    if (!label.isEmpty())
        setAccessibleName(label);
    updateGeometry();
    update();
}

bool CapsuleButton::hitButton(const QPoint& position) const {
    return capsuleContains(QRectF(rect()), QPointF(position));
}

void CapsuleButton::prepare(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);
}

void CapsuleButton::finish(QPainter& painter) const {
    if (isDown())
        fillCapsule(painter, QRectF(rect()), QColor(0, 0, 0, 36));
    if (hasFocus()) {
        // The accent at the edge, and inside it a white line that sets the ring off from a button that
        // is filled with the accent itself.
        strokeCapsuleInside(painter, QRectF(rect()), kFocusRing, Palette::accent());
        strokeCapsuleInside(painter,
                            QRectF(rect()).adjusted(kFocusRing, kFocusRing, -kFocusRing, -kFocusRing),
                            kFocusRing, Qt::white);
    }
}

} // namespace orvel
