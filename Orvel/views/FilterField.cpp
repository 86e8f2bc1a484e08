#include "Orvel/views/FilterField.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/SymbolView.h"
#include "Orvel/views/Symbols.h"
#include "Orvel/views/TextKeys.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace orvel {

namespace {

constexpr int kGlassPixels = 11;
constexpr int kClearPixels = 14;

} // namespace

FilterField::FilterField(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("filterField"));
    setFixedSize(kWidth, kHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kPadding, 0, kPadding, 0);
    layout->setSpacing(kSpacing);

    layout->addWidget(new SymbolView(Symbol::MagnifyingGlass, Palette::secondary(), kGlassPixels, this));

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("filterText"));
    m_field->setFrame(false);
    m_field->setFont(pillFont());
    m_field->setPlaceholderText(localized("Filter"));
    m_field->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    m_field->installEventFilter(this);
    layout->addWidget(m_field, 1);

    m_clear = new QToolButton(this);
    m_clear->setObjectName(QStringLiteral("filterClear"));
    m_clear->setAccessibleName(localized("Clear"));
    m_clear->setAutoRaise(true);
    m_clear->setFocusPolicy(Qt::NoFocus);
    m_clear->setIcon(symbolIcon(Symbol::XmarkCircleFill, Palette::secondary(), kClearPixels));
    m_clear->setIconSize({kClearPixels, kClearPixels});
    m_clear->setFixedSize(kClearPixels + 2, kClearPixels + 2);
    m_clear->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"));
    layout->addWidget(m_clear);

    connect(m_field, &QLineEdit::textEdited, this, [this](const QString& text) {
        showClearButton();
        emit textEdited(text);
    });
    connect(m_field, &QLineEdit::textChanged, this, &FilterField::showClearButton);
    connect(m_clear, &QToolButton::clicked, this, &FilterField::clear);
    showClearButton();
}

QString FilterField::text() const {
    return m_field->text();
}

void FilterField::setText(const QString& text) {
    if (m_field->text() != text)
        m_field->setText(text);
}

void FilterField::focusField() {
    m_field->setFocus(Qt::ShortcutFocusReason);
}

bool FilterField::isFieldFocused() const {
    return m_field->hasFocus();
}

QSize FilterField::sizeHint() const {
    return {kWidth, kHeight};
}

void FilterField::clear() {
    if (m_field->text().isEmpty())
        return;
    m_field->clear();
    emit textEdited(QString());
}

void FilterField::showClearButton() {
    m_clear->setVisible(!m_field->text().isEmpty());
}

bool FilterField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        clear();
        m_field->clearFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FilterField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath capsule;
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    capsule.addRoundedRect(box, box.height() / 2, box.height() / 2);
    painter.fillPath(capsule, Palette::quaternary());
}

} // namespace orvel
