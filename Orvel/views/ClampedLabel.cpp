#include "Orvel/views/ClampedLabel.h"

#include "Orvel/views/PlainText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextLayout>

#include <algorithm>

namespace orvel {

namespace {

// Breaks of the text itself start a line too.
QString withLineSeparators(QString text) {
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

} // namespace

ClampedLabel::ClampedLabel(int maximumLines, QWidget* parent)
    : QLabel(parent), m_maximumLines(std::max(maximumLines, 1)) {
    setTextFormat(Qt::PlainText);
    // The label wraps nothing itself: it shows the lines worked out for its width.
    setWordWrap(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void ClampedLabel::setFullText(const QString& text) {
    m_fullText = text;
    setToolTip(escapedToolTip(text));
    showLines();
}

int ClampedLabel::textWidth(int width) const {
    const QMargins margins = contentsMargins();
    return std::max(width - margins.left() - margins.right() - 2 * margin(), 1);
}

QStringList ClampedLabel::linesAt(int width) const {
    if (m_fullText.isEmpty())
        return {};
    const QString text = withLineSeparators(m_fullText);
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() + 1 == m_maximumLines) {
            // The last line holds the rest of the text, elided when it does not fit.
            QString rest = text.mid(line.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            lines << QFontMetrics(font()).elidedText(rest.trimmed(), Qt::ElideRight, width);
            break;
        }
        QString shown = text.mid(line.textStart(), line.textLength());
        shown.remove(QChar::LineSeparator);
        // The blank a line breaks at does not show.
        while (!shown.isEmpty() && shown.back().isSpace())
            shown.chop(1);
        lines << shown;
    }
    layout.endLayout();
    return lines;
}

int ClampedLabel::heightOfLines(int lines) const {
    if (lines <= 0)
        return 0;
    const auto known = m_lineHeights.find(lines);
    if (known != m_lineHeights.end())
        return known->second;
    // Measured by a label like this one, so that the lines it draws are never cut.
    QLabel measure;
    measure.setFont(font());
    measure.setContentsMargins(contentsMargins());
    measure.setMargin(margin());
    measure.setTextFormat(Qt::PlainText);
    measure.setTextInteractionFlags(textInteractionFlags());
    measure.setText(QStringList(lines, QStringLiteral("X")).join(QLatin1Char('\n')));
    const int height = measure.sizeHint().height();
    m_lineHeights.emplace(lines, height);
    return height;
}

int ClampedLabel::heightAt(int width) const {
    return heightOfLines(static_cast<int>(linesAt(textWidth(width)).size()));
}

QSize ClampedLabel::sizeHint() const {
    // It takes the width it is given and asks for the height of its lines at that width. (Through
    // height-for-width a form layout would size its row by the text on one line.)
    return {0, heightAt(width())};
}

QSize ClampedLabel::minimumSizeHint() const {
    return sizeHint();
}

void ClampedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    showLines();
}

void ClampedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_lineHeights.clear();
        m_shownLines = -1;
        showLines();
    }
}

void ClampedLabel::showLines() {
    const QStringList lines = linesAt(textWidth(width()));
    const QString shown = lines.join(QLatin1Char('\n'));
    if (shown != text())
        QLabel::setText(shown);
    if (lines.size() == m_shownLines)
        return;
    m_shownLines = static_cast<int>(lines.size());
    updateGeometry();
    emit linesChanged();
}

} // namespace orvel
