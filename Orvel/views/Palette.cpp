#include "Orvel/views/Palette.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace orvel::Palette {

QColor accent() {
    return QColor(0x2a, 0x6f, 0xdb);
}
QColor green() {
    return QColor(0x2f, 0xa0, 0x4e);
}
QColor orange() {
    return QColor(0xe8, 0x83, 0x0e);
}
QColor red() {
    return QColor(0xd7, 0x37, 0x2b);
}

QColor primary() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText);
}
QColor secondary() {
    return withOpacity(primary(), 0.55);
}
QColor tertiary() {
    return withOpacity(primary(), 0.3);
}
QColor quaternary() {
    return withOpacity(primary(), 0.1);
}

QColor withOpacity(QColor colour, qreal opacity) {
    colour.setAlphaF(colour.alphaF() * std::clamp(opacity, 0.0, 1.0));
    return colour;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace orvel::Palette
