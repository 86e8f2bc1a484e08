#pragma once
// Data texts (app names, English, translations, notes, server messages) are shown as they are: never
// read as markup, never as a keyboard mnemonic. Every view shows them through these helpers.

#include <QString>

class QLabel;
class QMessageBox;

namespace orvel {

// Shows `text` on `label` as plain text.
void setPlainText(QLabel* label, const QString& text);

// Puts `title` and `message` on `box` as plain text (title as the main text, message as the
// informative text).
void setPlainMessage(QMessageBox* box, const QString& title, const QString& message);

// The text for a QAction or a button that shows `data` as it is: every "&" doubled.
QString actionText(const QString& data);

// A tooltip that shows `data` as it is, line breaks included; empty data gives no tooltip.
QString escapedToolTip(const QString& data);

} // namespace orvel
