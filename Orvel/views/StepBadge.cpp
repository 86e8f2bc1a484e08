#include "Orvel/views/StepBadge.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/Symbols.h"

#include <QPainter>

namespace orvel {

StepBadge::StepBadge(int number, StepState state, Size size, QWidget* parent)
    : QWidget(parent), m_number(number), m_state(state), m_size(size) {
    setFixedSize(diameter(size), diameter(size));
}

void StepBadge::setNumber(int number) {
    if (number == m_number)
        return;
    m_number = number;
    update();
}

void StepBadge::setState(StepState state) {
    if (state == m_state)
        return;
    m_state = state;
    update();
}

void StepBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);
    const bool small = m_size == Size::Small;
    const QColor circle = m_state == StepState::Done ? Palette::green()
                          : m_state == StepState::Current
                              ? Palette::accent()
                              : Palette::withOpacity(Palette::secondary(), small ? 0.3 : 0.25);
    painter.setPen(Qt::NoPen);
    painter.setBrush(circle);
    const QRectF bounds(rect());
    painter.drawEllipse(bounds);

    if (m_state == StepState::Done) {
        // A check mark of an 8 or 11 point font is about a point wider than the font size.
        const qreal mark = small ? 9 : 12;
        QRectF box(0, 0, mark, mark);
        box.moveCenter(bounds.center());
        paintSymbol(painter, Symbol::Checkmark, box, Qt::white);
        return;
    }
    painter.setFont(systemFont(small ? 9 : 12, QFont::DemiBold));
    painter.setPen(m_state == StepState::Current ? QColor(Qt::white) : Palette::primary());
    painter.drawText(bounds, Qt::AlignCenter | Qt::TextSingleLine, QString::number(m_number));
}

} // namespace orvel
