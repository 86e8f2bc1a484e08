#include "Orvel/views/FormSection.h"

#include "Orvel/views/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace orvel {

FormSection::FormSection(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    if (!title.isEmpty()) {
        auto* caption = new QLabel(title, this);
        caption->setTextFormat(Qt::PlainText);
        QFont font = caption->font();
        font.setBold(true);
        caption->setFont(font);
        caption->setContentsMargins(4, 0, 0, 0);
        column->addWidget(caption);
    }
    auto* card = new QWidget(this);
    card->setObjectName(QStringLiteral("formCard"));
    card->setAttribute(Qt::WA_StyledBackground);
    card->setStyleSheet(QStringLiteral("QWidget#formCard { background: %1; border-radius: 8px; }")
                            .arg(Palette::withOpacity(Palette::quaternary(), 0.5).name(QColor::HexArgb)));
    m_rows = new QVBoxLayout(card);
    m_rows->setContentsMargins(10, 8, 10, 8);
    m_rows->setSpacing(8);
    column->addWidget(card);
}

void FormSection::addRow(QWidget* field, Qt::Alignment alignment) {
    m_rows->addWidget(field, 0, alignment);
}

QWidget* FormSection::addLabelledRow(const QString& label, QWidget* field) {
    QWidget* row = labelledRow(label, field);
    m_rows->addWidget(row);
    return row;
}

QWidget* FormSection::labelledRow(const QString& label, QWidget* field) {
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(10);
    auto* caption = new QLabel(label, row);
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Palette::setTextColour(caption, Palette::secondary());
    // Beside a field (not a text), the label sits level with the field's first line.
    if (!qobject_cast<QLabel*>(field)) {
        const int firstLine = std::min(field->sizeHint().height(), 30);
        caption->setContentsMargins(0, std::max(0, (firstLine - caption->sizeHint().height()) / 2), 0, 0);
    }
    line->addWidget(caption, 0, Qt::AlignTop);
    line->addWidget(field, 1);
    // Labels come and go with their rows; those left share the widest one's width.
    std::erase_if(m_labels, [](const QPointer<QLabel>& l) { return l.isNull(); });
    m_labels.push_back(caption);
    int width = 0;
    for (QLabel* each : m_labels)
        width = std::max(width, each->sizeHint().width());
    for (QLabel* each : m_labels)
        each->setFixedWidth(width);
    return row;
}

} // namespace orvel
