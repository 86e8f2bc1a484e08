#include "Orvel/shots/FixedLook.h"

#include "Orvel/views/Animations.h"

#include <QApplication>
#include <QFont>
#include <QStyle>

namespace orvel {

void useFixedLook(QApplication& application) {
    QStyle* style = QApplication::setStyle(QStringLiteral("Fusion"));
    if (style)
        QApplication::setPalette(style->standardPalette());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QApplication::setFont(font);
    QApplication::setEffectEnabled(Qt::UI_General, false);
    Animations::setEnabled(false);
    application.setApplicationName(QStringLiteral("Orvel"));
}

} // namespace orvel
