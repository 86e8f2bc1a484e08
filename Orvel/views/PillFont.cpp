#include "Orvel/views/PillFont.h"

#include <QGuiApplication>

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

} // namespace orvel
