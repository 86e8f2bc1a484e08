#include "Orvel/views/PlainText.h"

#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>

namespace orvel {

void setPlainText(QLabel* label, const QString& text) {
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
}

void setPlainMessage(QMessageBox* box, const QString& title, const QString& message) {
    box->setTextFormat(Qt::PlainText);
    box->setText(title);
    box->setInformativeText(message);
    // The informative text has a label of its own that guesses the format; pin every text label.
    for (QLabel* label : box->findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
}

QString actionText(const QString& data) {
    QString doubled = data;
    return doubled.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString escapedToolTip(const QString& data) {
    if (data.isEmpty())
        return {};
    // A tooltip is rich text once it looks like markup; this one always is, with the data escaped.
    return Qt::convertFromPlainText(data, Qt::WhiteSpaceNormal);
}

} // namespace orvel
