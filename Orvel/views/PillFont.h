#pragma once
// The one font of every pill-shaped control: the application font at 12 pixels, medium weight.

#include <QFont>

namespace orvel {

// Made once, on first use, from the application font of that moment.
const QFont& pillFont();

// The application font at `pixels` with `weight`: the small fixed sizes of badges and capsules.
QFont systemFont(int pixels, QFont::Weight weight = QFont::Normal);

// The width `text` takes in `font`, rounded up to whole pixels so that nothing drawn in it is elided.
int textWidth(const QFont& font, const QString& text);

} // namespace orvel
