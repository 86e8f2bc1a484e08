#include "Orvel/views/ElidedLines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace orvel {

QStringList elidedLines(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    if (maxLines <= 0 || width <= 0)
        return lines;
    // Line breaks in the data count as spaces: the cell is a summary, the tooltip has the whole text.
    QString flat = text;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    QTextLayout layout(flat, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    const QFontMetrics metrics(font);
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            lines << metrics.elidedText(flat.mid(line.textStart()), Qt::ElideRight, width);
            break;
        }
        lines << flat.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

void paintElidedLines(QPainter& painter, const QRect& box, const QString& text, int maxLines) {
    const QStringList lines = elidedLines(text, painter.font(), box.width(), maxLines);
    const QFontMetrics metrics(painter.font());
    const int height = metrics.height() * static_cast<int>(lines.size());
    int top = box.top() + std::max(0, (box.height() - height) / 2);
    for (const QString& line : lines) {
        painter.drawText(QRect(box.left(), top, box.width(), metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
        top += metrics.height();
    }
}

} // namespace orvel
