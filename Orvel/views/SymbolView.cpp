#include "Orvel/views/SymbolView.h"

#include <QPainter>

namespace orvel {

SymbolView::SymbolView(Symbol symbol, const QColor& colour, int symbolPixels, QWidget* parent)
    : QWidget(parent), m_symbol(symbol), m_colour(colour), m_symbolPixels(symbolPixels) {
    setFixedSize(symbolPixels, symbolPixels);
}

void SymbolView::setSymbol(Symbol symbol) {
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void SymbolView::setColour(const QColor& colour) {
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void SymbolView::setFrame(QSize frame) {
    setFixedSize(frame);
    updateGeometry();
}

QSize SymbolView::sizeHint() const {
    return size();
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.4);
    QRectF box(0, 0, m_symbolPixels, m_symbolPixels);
    box.moveCenter(QRectF(rect()).center());
    paintSymbol(painter, m_symbol, box, m_colour);
}

} // namespace orvel
