#include "Orvel/views/PillFont.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>

namespace orvel {

const QFont& pillFont() {
    static const QFont font = systemFont(12, QFont::Medium);
    return font;
}

QFont systemFont(int pixels, QFont::Weight weight) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

int textWidth(const QFont& font, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

} // namespace orvel
