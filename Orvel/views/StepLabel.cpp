#include "Orvel/views/StepLabel.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/PlainText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace orvel {

namespace {

constexpr int kSpacing = 6;
constexpr int kNamePixels = 12;

} // namespace

StepLabel::StepLabel(int number, const QString& name, QWidget* parent)
    : QPushButton(parent), m_badge(new StepBadge(number, StepState::ToCome, StepBadge::Size::Small)),
      m_name(new QLabel), m_row(new QHBoxLayout(this)) {
    setFlat(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setPlainText(m_name, name);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(kSpacing);
    m_row->addWidget(m_badge, 0, Qt::AlignVCenter);
    m_row->addWidget(m_name, 0, Qt::AlignVCenter);
    m_badge->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_name->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(name);
    setState(StepState::ToCome, false);
}

void StepLabel::setState(StepState state, bool current) {
    m_badge->setState(state);
    m_current = current;
    m_name->setFont(systemFont(kNamePixels, current ? QFont::DemiBold : QFont::Normal));
    QPalette palette = m_name->palette();
    palette.setColor(QPalette::WindowText, current ? Palette::primary() : Palette::secondary());
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Palette::tertiary());
    m_name->setPalette(palette);
    updateGeometry();
}

StepState StepLabel::state() const {
    return m_badge->state();
}

void StepLabel::addTrailing(QWidget* widget) {
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_row->addWidget(widget, 0, Qt::AlignVCenter);
}

QSize StepLabel::sizeHint() const {
    return m_row->sizeHint();
}

QSize StepLabel::minimumSizeHint() const {
    return m_row->sizeHint();
}

void StepLabel::paintEvent(QPaintEvent*) {
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Palette::withOpacity(Palette::accent(), 0.6), 1.5));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 4, 4);
}

} // namespace orvel
