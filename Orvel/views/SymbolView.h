#pragma once
// A painted symbol as a widget of fixed size: the symbol's square is centred in the widget's frame,
// which may be wider (a 14-point-wide slot that lines texts up whatever the symbol).

#include "Orvel/views/Symbols.h"

#include <QWidget>

namespace orvel {

class SymbolView : public QWidget {
    Q_OBJECT
  public:
    SymbolView(Symbol symbol, const QColor& colour, int symbolPixels, QWidget* parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    void setSymbol(Symbol symbol);
    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);
    // The widget's fixed size; the symbol stays centred in it at its own size.
    void setFrame(QSize frame);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Symbol m_symbol;
    QColor m_colour;
    int m_symbolPixels;
};

} // namespace orvel
