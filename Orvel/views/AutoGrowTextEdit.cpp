#include "Orvel/views/AutoGrowTextEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QTextBlock>

#include <algorithm>

namespace orvel {

AutoGrowTextEdit::AutoGrowTextEdit(int minimumLines, int maximumLines, QWidget* parent)
    : QPlainTextEdit(parent), m_minimumLines(minimumLines), m_maximumLines(maximumLines) {
    setTabChangesFocus(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        fitHeight();
        if (!m_showing)
            emit edited(toPlainText());
    });
    fitHeight();
}

void AutoGrowTextEdit::showText(const QString& text) {
    if (toPlainText() == text)
        return;
    m_showing = true;
    setPlainText(text);
    m_showing = false;
}

int AutoGrowTextEdit::heightForLines(int lines) const {
    const QMargins margins = contentsMargins();
    return lines * fontMetrics().lineSpacing() + 2 * static_cast<int>(document()->documentMargin()) +
           margins.top() + margins.bottom() + 2 * frameWidth();
}

void AutoGrowTextEdit::fitHeight() {
    // The plain-text layout measures the document in wrapped lines.
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    lines = std::max(lines, m_minimumLines);
    if (m_maximumLines > 0)
        lines = std::min(lines, m_maximumLines);
    setVerticalScrollBarPolicy(m_maximumLines > 0 && lines >= m_maximumLines ? Qt::ScrollBarAsNeeded
                                                                             : Qt::ScrollBarAlwaysOff);
    setFixedHeight(heightForLines(lines));
}

QSize AutoGrowTextEdit::sizeHint() const {
    return {QPlainTextEdit::sizeHint().width(), height()};
}

QSize AutoGrowTextEdit::minimumSizeHint() const {
    return {60, height()};
}

void AutoGrowTextEdit::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (m_submitsOnReturn && isReturn && !(event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier))) {
        emit submitted();
        return;
    }
    if (isReturn && (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier))) {
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void AutoGrowTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    fitHeight();
}

} // namespace orvel
