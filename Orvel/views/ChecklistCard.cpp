#include "Orvel/views/ChecklistCard.h"

#include "Orvel/views/CapsuleLabel.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/TextKeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QVBoxLayout>

namespace orvel {

namespace {

constexpr int kPadding = 14;
constexpr int kSpacing = 14;
constexpr int kTextSpacing = 5;
constexpr int kTitleSpacing = 8;
constexpr int kMinimumGap = 12;
constexpr int kBarWidth = 90;
constexpr qreal kRadius = 10;

} // namespace

ChecklistCard::ChecklistCard(int number, QWidget* parent)
    : QFrame(parent), m_badge(new StepBadge(number, StepState::ToCome, StepBadge::Size::Large)),
      m_title(new QLabel), m_optional(new CapsuleLabel(localized("Optional"), CapsuleLabel::outlineLook())),
      m_count(new CapsuleLabel({}, CapsuleLabel::countLook())), m_bar(new QProgressBar),
      m_explanation(new QLabel), m_row(new QHBoxLayout(this)) {
    m_row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    m_row->setSpacing(kSpacing);
    m_row->addWidget(m_badge, 0, Qt::AlignTop);

    QFont headline = m_title->font();
    headline.setWeight(QFont::Bold);
    m_title->setFont(headline);
    m_bar->setFixedWidth(kBarWidth);
    m_bar->setFixedHeight(6);
    m_bar->setTextVisible(false);
    auto* titleLine = new QHBoxLayout;
    titleLine->setSpacing(kTitleSpacing);
    titleLine->addWidget(m_title);
    titleLine->addWidget(m_optional);
    titleLine->addWidget(m_count);
    titleLine->addWidget(m_bar);
    titleLine->addStretch(1);

    m_explanation->setWordWrap(true);
    QPalette secondary = m_explanation->palette();
    secondary.setColor(QPalette::WindowText, Palette::secondary());
    m_explanation->setPalette(secondary);
    m_explanation->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);

    auto* column = new QVBoxLayout;
    column->setSpacing(kTextSpacing);
    column->addLayout(titleLine);
    column->addWidget(m_explanation);
    m_row->addLayout(column, 1);
    m_row->addSpacing(kMinimumGap);
}

void ChecklistCard::setAction(QWidget* action) {
    m_row->addWidget(action, 0, Qt::AlignTop);
}

void ChecklistCard::present(const ChecklistCardContent& content) {
    m_badge->setState(content.state);
    setPlainText(m_title, content.title);
    m_optional->setVisible(content.optional);
    m_count->setText(content.count);
    m_count->setVisible(!content.count.isEmpty());
    m_bar->setVisible(content.bar.has_value());
    if (content.bar) {
        m_bar->setRange(0, content.bar->total);
        m_bar->setValue(content.bar->value);
    }
    setPlainText(m_explanation, content.explanation);
    update();
}

StepState ChecklistCard::state() const {
    return m_badge->state();
}

QString ChecklistCard::countText() const {
    return m_count->isHidden() ? QString() : m_count->text();
}

void ChecklistCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool current = m_badge->state() == StepState::Current;
    const QColor fill = current ? Palette::withOpacity(Palette::accent(), 0.10)
                                : Palette::withOpacity(Palette::secondary(), 0.07);
    const QColor border = current ? Palette::withOpacity(Palette::accent(), 0.60)
                                  : Palette::withOpacity(Palette::secondary(), 0.15);
    const QRectF inside = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(inside, kRadius - 0.5, kRadius - 0.5);
}

} // namespace orvel
