#include "Orvel/views/PillButton.h"

#include "Orvel/views/Capsule.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"

#include <QFontMetrics>
#include <QPainter>

namespace orvel {

PillButton::PillButton(const QString& label, QWidget* parent) : CapsuleButton(parent) {
    setObjectName(QStringLiteral("pillButton"));
    setFont(pillFont());
    setLabel(label);
}

void PillButton::setProminent(bool prominent) {
    if (prominent == m_prominent)
        return;
    m_prominent = prominent;
    update();
}

void PillButton::setChevron(bool chevron) {
    if (chevron == m_chevron)
        return;
    m_chevron = chevron;
    updateGeometry();
    update();
}

void PillButton::setSymbol(std::optional<Symbol> symbol, int frameWidth) {
    m_symbol = symbol;
    m_symbolFrame = frameWidth;
    updateGeometry();
    update();
}

void PillButton::setTextLimit(std::optional<int> limit) {
    if (limit == m_textLimit)
        return;
    m_textLimit = limit;
    updateGeometry();
    update();
}

QString PillButton::shownLabel() const {
    if (!m_textLimit || orvel::textWidth(pillFont(), label()) <= *m_textLimit)
        return label();
    return QFontMetrics(pillFont()).elidedText(label(), Qt::ElideRight, std::max(*m_textLimit, 0));
}

int PillButton::textWidth() const {
    return orvel::textWidth(pillFont(), shownLabel());
}

int PillButton::contentWidth() const {
    int width = 0;
    int parts = 0;
    for (int part : {m_symbol ? m_symbolFrame : 0, textWidth(), m_chevron ? kChevronPixels : 0}) {
        if (part == 0)
            continue;
        width += part;
        ++parts;
    }
    return width + kSpacing * std::max(parts - 1, 0);
}

QSize PillButton::sizeHint() const {
    return QSize(contentWidth() + 2 * kPadding, kHeight);
}

QSize PillButton::minimumSizeHint() const {
    return sizeHint();
}

void PillButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    prepare(painter);
    const QRectF bounds(rect());
    fillCapsule(painter, bounds, m_prominent ? Palette::accent() : Palette::quaternary());

    const QColor foreground = m_prominent ? QColor(Qt::white) : Palette::primary();
    // The content keeps its own width and is centred, should the button be made wider than it needs.
    qreal x = bounds.left() + (bounds.width() - contentWidth()) / 2;
    const qreal height = bounds.height();
    if (m_symbol) {
        paintSymbol(painter, *m_symbol, QRectF(x, 0, m_symbolFrame, height), foreground);
        x += m_symbolFrame + kSpacing;
    }
    if (const int width = textWidth(); width > 0) {
        painter.setFont(pillFont());
        painter.setPen(foreground);
        painter.drawText(QRectF(x, 0, width, height), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         shownLabel());
        x += width + kSpacing;
    }
    if (m_chevron) {
        const qreal top = (height - kChevronPixels) / 2;
        paintSymbol(painter, Symbol::ChevronDown, QRectF(x, top, kChevronPixels, kChevronPixels), foreground);
    }
    finish(painter);
}

} // namespace orvel
