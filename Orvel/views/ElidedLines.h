#pragma once
// Text cut to a few lines of a width: wrapped at word boundaries (or anywhere in a word too long for a
// line), the last line ending in an ellipsis when text is left over.

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

namespace orvel {

QStringList elidedLines(const QString& text, const QFont& font, int width, int maxLines);

// Draws the lines of elidedLines() from the top of `box`, vertically centred as a block.
void paintElidedLines(QPainter& painter, const QRect& box, const QString& text, int maxLines);

} // namespace orvel
