#include "Orvel/views/MiniSpinner.h"

#include "Orvel/views/Animations.h"
#include "Orvel/views/Palette.h"

#include <QPainter>

namespace orvel {

namespace {
constexpr int kFrameMilliseconds = 40;
constexpr int kDegreesPerFrame = 15;
} // namespace

MiniSpinner::MiniSpinner(int diameter, QWidget* parent) : QWidget(parent) {
    setFixedSize(diameter, diameter);
    m_timer.setInterval(kFrameMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 360 - kDegreesPerFrame) % 360;
        update();
    });
}

void MiniSpinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (Animations::enabled())
        m_timer.start();
}

void MiniSpinner::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer.stop();
}

void MiniSpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = width() >= 16 ? 2 : 1.5;
    const QRectF ring = QRectF(rect()).adjusted(line, line, -line, -line);
    painter.setPen(QPen(Palette::withOpacity(Palette::secondary(), 0.25), line));
    painter.drawEllipse(ring);
    painter.setPen(QPen(Palette::secondary(), line, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, m_angle * 16, 100 * 16);
}

} // namespace orvel
