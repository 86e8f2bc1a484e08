#include "Orvel/shots/WindowFrame.h"

#include <QPainter>

namespace orvel {

WindowFrame::WindowFrame(QWidget* window) : m_window(window) {
    window->setParent(this);
    window->move(0, kTitleHeight);
    connect(window, &QWidget::windowTitleChanged, this, [this] { update(); });
}

void WindowFrame::resizeEvent(QResizeEvent*) {
    m_window->setGeometry(0, kTitleHeight, width(), height() - kTitleHeight);
}

void WindowFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect bar(0, 0, width(), kTitleHeight);
    painter.fillRect(bar, QColor(0xE4, 0xE4, 0xE4));
    painter.setPen(QColor(0xC8, 0xC8, 0xC8));
    painter.drawLine(bar.bottomLeft(), bar.bottomRight());
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.drawText(bar, Qt::AlignCenter | Qt::TextSingleLine, m_window->windowTitle());
}

} // namespace orvel
