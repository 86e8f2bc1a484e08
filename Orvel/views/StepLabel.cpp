#include "Orvel/views/StepLabel.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/PlainText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace orvel {

namespace {

constexpr int kNamePixels = 12;

} // namespace

StepLabel::StepLabel(int number, const QString& name, QWidget* parent)
    : QPushButton(parent), m_badge(new StepBadge(number, StepState::ToCome, StepBadge::Size::Small)),
      m_name(new QLabel), m_fullName(name), m_row(new QHBoxLayout(this)) {
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
    showCurrent();
}

void StepLabel::setState(StepState state, bool current) {
    m_badge->setState(state);
    // The footer sets the state on every merged batch of a run; the name is measured again only when
    // it changes.
    if (current == m_current)
        return;
    m_current = current;
    showCurrent();
}

void StepLabel::showCurrent() {
    m_name->setFont(systemFont(kNamePixels, m_current ? QFont::DemiBold : QFont::Normal));
    QPalette palette = m_name->palette();
    palette.setColor(QPalette::WindowText, m_current ? Palette::primary() : Palette::secondary());
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Palette::tertiary());
    m_name->setPalette(palette);
    // The semibold name is wider.
    showName();
}

StepState StepLabel::state() const {
    return m_badge->state();
}

void StepLabel::addTrailing(QWidget* widget) {
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_row->addWidget(widget, 0, Qt::AlignVCenter);
}

void StepLabel::setNameWidth(std::optional<int> width) {
    m_nameWidth = width;
    showName();
}

void StepLabel::showName() {
    QString shown = m_fullName;
    if (m_nameWidth)
        shown =
            QFontMetrics(m_name->font()).elidedText(m_fullName, Qt::ElideRight, std::max(*m_nameWidth, 0));
    // An ellipsis alone says nothing; the badge's number stands for the step then.
    if (shown == QStringLiteral("\u2026"))
        shown.clear();
    setPlainText(m_name, shown);
    m_name->setVisible(!shown.isEmpty());
    setToolTip(shown == m_fullName ? QString() : escapedToolTip(m_fullName));
    m_row->invalidate();
    updateGeometry();
}

QString StepLabel::shownName() const {
    return m_name->isHidden() ? QString() : m_name->text();
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
