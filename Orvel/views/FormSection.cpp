#include "Orvel/views/FormSection.h"

#include "Orvel/views/Palette.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

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
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("formCard"));
    card->setStyleSheet(QStringLiteral("QFrame#formCard { background: %1; border-radius: 8px; }")
                            .arg(Palette::withOpacity(Palette::quaternary(), 0.5).name(QColor::HexArgb)));
    m_rows = new QFormLayout(card);
    m_rows->setContentsMargins(10, 8, 10, 8);
    m_rows->setHorizontalSpacing(10);
    m_rows->setVerticalSpacing(8);
    m_rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_rows->setRowWrapPolicy(QFormLayout::DontWrapRows);
    m_rows->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(card);
}

void FormSection::addLabelledRow(const QString& label, QWidget* field) {
    auto* caption = new QLabel(label);
    caption->setTextFormat(Qt::PlainText);
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, Palette::secondary());
    caption->setPalette(palette);
    m_rows->addRow(caption, field);
}

} // namespace orvel
