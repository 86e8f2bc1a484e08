#include "Orvel/views/CapsuleLabel.h"

#include "Orvel/views/Capsule.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace orvel {

CapsuleLabel::Look CapsuleLabel::countLook(std::optional<QColor> tint) {
    const QColor colour = tint.value_or(Palette::secondary());
    // The application font's digits are of one width (Qt 6.4 has no way to ask a font for them), so a
    // running count does not make its capsule jitter.
    return Look{.font = systemFont(11, QFont::Medium),
                .horizontalPadding = 7,
                .verticalPadding = 1,
                .text = colour,
                .fill = Palette::withOpacity(colour, 0.16)};
}

CapsuleLabel::Look CapsuleLabel::statusLook(const QColor& colour) {
    return Look{.font = QGuiApplication::font(),
                .horizontalPadding = 8,
                .verticalPadding = 2,
                .text = Palette::primary(),
                .fill = Palette::withOpacity(colour, 0.2)};
}

CapsuleLabel::Look CapsuleLabel::outlineLook() {
    return Look{.font = systemFont(10),
                .horizontalPadding = 6,
                .verticalPadding = 1,
                .text = Palette::secondary(),
                .border = Palette::withOpacity(Palette::secondary(), 0.5)};
}

CapsuleLabel::CapsuleLabel(const QString& text, const Look& look, QWidget* parent)
    : QWidget(parent), m_text(text), m_look(look) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    const QSize before = sizeHint();
    m_text = text;
    showChange(before);
}

void CapsuleLabel::setLook(const Look& look) {
    if (look == m_look)
        return;
    const QSize before = sizeHint();
    m_look = look;
    showChange(before);
}

void CapsuleLabel::showChange(const QSize& before) {
    // A running count keeps its width from one batch to the next: the layouts around it need not run.
    if (sizeHint() != before)
        updateGeometry();
    update();
}

QSize CapsuleLabel::sizeHint() const {
    const QFontMetricsF metrics(m_look.font);
    const int width = textWidth(m_look.font, m_text);
    const int height = static_cast<int>(std::ceil(metrics.height()));
    return QSize(width + 2 * m_look.horizontalPadding, height + 2 * m_look.verticalPadding);
}

QSize CapsuleLabel::minimumSizeHint() const {
    return sizeHint();
}

void CapsuleLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);
    const QRectF bounds(rect());
    if (m_look.fill.alpha() > 0)
        fillCapsule(painter, bounds, m_look.fill);
    if (m_look.border.alpha() > 0)
        strokeCapsuleInside(painter, bounds, 1, m_look.border);
    painter.setFont(m_look.font);
    painter.setPen(m_look.text);
    painter.drawText(bounds.adjusted(m_look.horizontalPadding, 0, -m_look.horizontalPadding, 0),
                     Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace orvel
