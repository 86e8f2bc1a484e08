#pragma once
// The capsule (a rectangle with fully rounded ends) that pills, badges and toggles are drawn in.

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace orvel {

QPainterPath capsulePath(const QRectF& rect);
bool capsuleContains(const QRectF& rect, QPointF point);
void fillCapsule(QPainter& painter, const QRectF& rect, const QColor& colour);
// A border of `width` drawn on the inside of the capsule, so it never grows past `rect`.
void strokeCapsuleInside(QPainter& painter, const QRectF& rect, qreal width, const QColor& colour);

} // namespace orvel
