#pragma once
// The colours of the views. The hierarchy of text colours follows the window's text colour, so a dark
// palette keeps them readable; the signal colours are fixed so that state reads the same everywhere.

#include <QColor>

class QWidget;

namespace orvel::Palette {

QColor accent();
QColor green();
QColor orange();
QColor red();

// Text and symbol colours from strongest to faintest; quaternary is also the fill of plain pills.
QColor primary();
QColor secondary();
QColor tertiary();
QColor quaternary();

// The colour with its opacity multiplied by `opacity` (0 to 1).
QColor withOpacity(QColor colour, qreal opacity);

// Draws the widget's text in `colour`.
void setTextColour(QWidget* widget, const QColor& colour);

} // namespace orvel::Palette
