#include "Orvel/views/Capsule.h"

#include <QPainter>

#include <algorithm>

namespace orvel {

QPainterPath capsulePath(const QRectF& rect) {
    const qreal radius = std::min(rect.width(), rect.height()) / 2;
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

bool capsuleContains(const QRectF& rect, QPointF point) {
    return capsulePath(rect).contains(point);
}

void fillCapsule(QPainter& painter, const QRectF& rect, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(capsulePath(rect));
    painter.restore();
}

void strokeCapsuleInside(QPainter& painter, const QRectF& rect, qreal width, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = width / 2;
    painter.drawPath(capsulePath(rect.adjusted(inset, inset, -inset, -inset)));
    painter.restore();
}

} // namespace orvel
