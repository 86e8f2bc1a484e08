#include "Orvel/views/ContextSheet.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/AutoGrowTextEdit.h"
#include "Orvel/views/ContextSheetRules.h"
#include "Orvel/views/FormSection.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/TextKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace orvel {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* gridHeader(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    Palette::setTextColour(label, Palette::secondary());
    return label;
}

QGridLayout* makeGrid(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    return grid;
}

void setFieldText(QLineEdit* field, const QString& text) {
    if (field->text() != text)
        field->setText(text);
}

// A row that goes while its own field may be reporting an edit: hidden now, deleted later.
void retire(QWidget* widget) {
    if (QLayout* layout = widget->parentWidget()->layout())
        layout->removeWidget(widget);
    widget->hide();
    widget->deleteLater();
}

QPushButton* plainButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

ContextSheet::ContextSheet(Workspace& workspace, QWidget* parent) : QDialog(parent), m_workspace(workspace) {
    setObjectName(QStringLiteral("contextSheet"));
    setFixedSize(sheetWidth, sheetHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("contextHeader"));
    QFont headline = m_header->font();
    headline.setBold(true);
    m_header->setFont(headline);
    m_header->setContentsMargins(16, 16, 16, 4);
    column->addWidget(m_header);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* form = new QWidget;
    auto* sections = new QVBoxLayout(form);
    sections->setContentsMargins(16, 12, 16, 12);
    sections->setSpacing(16);

    m_styleSection = new FormSection(localized("Style"), form);
    m_termsPicker = new QComboBox(m_styleSection);
    m_termsPicker->setObjectName(QStringLiteral("termsPicker"));
    m_termsPicker->addItem(localized("Keep common ones"));
    m_termsPicker->addItem(localized("Translate all"));
    m_addressPicker = new QComboBox(m_styleSection);
    m_addressPicker->setObjectName(QStringLiteral("addressPicker"));
    m_addressPicker->addItem(localized("Informal"));
    m_addressPicker->addItem(localized("Formal"));
    m_styleSection->addLabelledRow(localized("English terms"), m_termsPicker);
    m_styleSection->addLabelledRow(localized("Form of address"), m_addressPicker);
    sections->addWidget(m_styleSection);

    m_termsSection = new FormSection(localized("Terms"), form);
    auto* termsGrid = new QWidget(m_termsSection);
    m_termsGrid = makeGrid(termsGrid);
    m_termsGrid->addWidget(gridHeader(localized("Term"), termsGrid), 0, 0);
    m_termsGrid->addWidget(gridHeader(localized("Translation"), termsGrid), 0, 1);
    m_termsGrid->setColumnStretch(1, 1);
    m_termsSection->addRow(termsGrid);
    auto* chooseAgain = plainButton(localized("Choose Again"), "chooseTermsAgain", m_termsSection);
    m_termsSection->addRow(chooseAgain, Qt::AlignLeft);
    sections->addWidget(m_termsSection);

    m_developerSection = new FormSection(localized("From the developer"), form);
    m_developerText = new QLabel(m_developerSection);
    m_developerText->setObjectName(QStringLiteral("developerText"));
    m_developerText->setTextFormat(Qt::PlainText);
    m_developerText->setWordWrap(true);
    m_developerText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_developerSection->addRow(m_developerText);
    sections->addWidget(m_developerSection);

    auto* notesSection = new FormSection(localized("Your notes"), form);
    // At least 90 pixels high, and as high as the notes are.
    m_notesEditor = new AutoGrowTextEdit(5, 0, notesSection);
    m_notesEditor->setObjectName(QStringLiteral("notesEditor"));
    m_notesEditor->setAccessibleName(localized("Your notes"));
    notesSection->addRow(m_notesEditor);
    sections->addWidget(notesSection);

    auto* glossarySection = new FormSection(localized("Glossary"), form);
    auto* glossaryGrid = new QWidget(glossarySection);
    m_glossaryGrid = makeGrid(glossaryGrid);
    m_glossaryGrid->addWidget(gridHeader(localized("Term"), glossaryGrid), 0, 0);
    m_glossaryGrid->addWidget(gridHeader(localized("Note"), glossaryGrid), 0, 1);
    m_glossaryGrid->addWidget(gridHeader(localized("Keep as is"), glossaryGrid), 0, 2);
    m_glossaryGrid->setColumnStretch(0, 1);
    m_glossaryGrid->setColumnStretch(1, 2);
    glossarySection->addRow(glossaryGrid);
    auto* addTerm = plainButton(localized("Add Term"), "addGlossaryTerm", glossarySection);
    glossarySection->addRow(addTerm, Qt::AlignLeft);
    sections->addWidget(glossarySection);
    sections->addStretch();
    scroll->setWidget(form);
    column->addWidget(scroll, 1);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(16, 12, 16, 16);
    footer->addStretch();
    auto* done = new QPushButton(localized("Done"), this);
    done->setObjectName(QStringLiteral("contextDone"));
    done->setDefault(true);
    footer->addWidget(done);
    column->addLayout(footer);

    connect(m_termsPicker, &QComboBox::activated, this, [this](int index) {
        m_workspace.setStyle(styleWithTerms(m_workspace.project(), TranslationStyle::allTerms.at(index)));
    });
    connect(m_addressPicker, &QComboBox::activated, this, [this](int index) {
        m_workspace.setStyle(
            styleWithAddress(m_workspace.project(), TranslationStyle::allAddresses.at(index)));
    });
    connect(chooseAgain, &QPushButton::clicked, this, [this] { m_workspace.setTerms({}); });
    connect(m_notesEditor, &AutoGrowTextEdit::edited, this, [this](const QString& text) {
        AppNotes notes = m_workspace.notes();
        notes.notes = text.toStdString();
        m_workspace.setNotes(std::move(notes));
    });
    connect(addTerm, &QPushButton::clicked, this,
            [this] { m_workspace.setNotes(withNewGlossaryRow(m_workspace.notes())); });
    connect(done, &QPushButton::clicked, this, &ContextSheet::finish);

    for (auto signal : {&Workspace::appChanged, &Workspace::languageChanged, &Workspace::projectChanged,
                        &Workspace::notesChanged})
        connect(&m_workspace, signal, this, &ContextSheet::refresh);
    refresh();
}

ContextSheet* ContextSheet::present(Workspace& workspace, QWidget* parent) {
    auto* sheet = new ContextSheet(workspace, parent ? parent->window() : nullptr);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->open();
    return sheet;
}

void ContextSheet::reject() {
    m_workspace.setNotes(withoutBlankTerms(m_workspace.notes()));
    QDialog::reject();
}

void ContextSheet::refresh() {
    setPlainText(m_header, localizedFormat("Context for %@", {fromUtf8(m_workspace.app().name)}));
    showStyle();
    showTerms();
    const std::optional<QString> developer = developerText(m_workspace.app());
    setPlainText(m_developerText, developer.value_or(QString()));
    m_developerSection->setVisible(developer.has_value());
    m_notesEditor->showText(fromUtf8(m_workspace.notes().notes));
    showGlossary();
}

void ContextSheet::showStyle() {
    const TranslationStyle style = m_workspace.project() ? m_workspace.project()->style : TranslationStyle{};
    m_termsPicker->setCurrentIndex(style.terms == TranslationStyle::Terms::keepCommon ? 0 : 1);
    m_addressPicker->setCurrentIndex(style.address == TranslationStyle::Address::informal ? 0 : 1);
    m_styleSection->setVisible(m_workspace.language().has_value());
}

void ContextSheet::showTerms() {
    const std::vector<std::pair<std::string, std::string>> terms =
        m_workspace.language() ? m_workspace.sortedTerms()
                               : std::vector<std::pair<std::string, std::string>>();
    std::map<std::string, QLineEdit*> kept;
    QWidget* grid = m_termsGrid->parentWidget();
    int row = 1;
    for (const auto& [term, translation] : terms) {
        QLineEdit* field = nullptr;
        if (auto shown = m_termFields.find(term); shown != m_termFields.end()) {
            field = shown->second;
            m_termFields.erase(shown);
        } else {
            field = new QLineEdit(grid);
            field->setObjectName(QStringLiteral("termField_") + fromUtf8(term));
            field->setAccessibleName(fromUtf8(term));
            connect(field, &QLineEdit::textEdited, this,
                    [this, term](const QString& text) { m_workspace.setTerm(term, text.toStdString()); });
        }
        // Rows are placed again in sorted order; a label per row keeps its term with its field.
        auto* label = grid->findChild<QLabel*>(QStringLiteral("termLabel_") + fromUtf8(term),
                                               Qt::FindDirectChildrenOnly);
        if (!label) {
            label = new QLabel(grid);
            label->setObjectName(QStringLiteral("termLabel_") + fromUtf8(term));
            setPlainText(label, fromUtf8(term));
        }
        m_termsGrid->removeWidget(label);
        m_termsGrid->removeWidget(field);
        m_termsGrid->addWidget(label, row, 0);
        m_termsGrid->addWidget(field, row, 1);
        setFieldText(field, fromUtf8(translation));
        kept.emplace(term, field);
        ++row;
    }
    for (const auto& [term, field] : m_termFields) {
        if (auto* label = grid->findChild<QLabel*>(QStringLiteral("termLabel_") + fromUtf8(term),
                                                   Qt::FindDirectChildrenOnly)) {
            label->setObjectName({});
            retire(label);
        }
        retire(field);
    }
    m_termFields = std::move(kept);
    m_termsSection->setVisible(!terms.empty());
}

void ContextSheet::showGlossary() {
    const AppNotes& notes = m_workspace.notes();
    while (m_glossaryRows.size() < notes.glossary.size())
        addGlossaryRow();
    while (m_glossaryRows.size() > notes.glossary.size()) {
        const GlossaryRow& row = m_glossaryRows.back();
        retire(row.term);
        retire(row.note);
        retire(row.keep);
        m_glossaryRows.pop_back();
    }
    for (std::size_t position = 0; position < m_glossaryRows.size(); ++position) {
        const GlossaryRow& row = m_glossaryRows[position];
        setFieldText(row.term, fromUtf8(glossaryTerm(notes, position)));
        setFieldText(row.note, fromUtf8(glossaryNote(notes, position)));
        const QSignalBlocker quiet(row.keep);
        row.keep->setChecked(keepsAsIs(notes, position));
    }
}

void ContextSheet::addGlossaryRow() {
    const std::size_t position = m_glossaryRows.size();
    const int gridRow = static_cast<int>(position) + 1;
    QWidget* grid = m_glossaryGrid->parentWidget();
    GlossaryRow row{new QLineEdit(grid), new QLineEdit(grid), new QCheckBox(grid)};
    const QString suffix = QString::number(position);
    row.term->setObjectName(QStringLiteral("glossaryTerm_") + suffix);
    row.term->setAccessibleName(localized("Term"));
    row.note->setObjectName(QStringLiteral("glossaryNote_") + suffix);
    row.note->setAccessibleName(localized("Note"));
    row.keep->setObjectName(QStringLiteral("glossaryKeep_") + suffix);
    row.keep->setAccessibleName(localized("Keep as is"));
    m_glossaryGrid->addWidget(row.term, gridRow, 0);
    m_glossaryGrid->addWidget(row.note, gridRow, 1);
    m_glossaryGrid->addWidget(row.keep, gridRow, 2, Qt::AlignCenter);
    // Every write goes through the workspace; a position that is gone drops it.
    const auto assign = [this](std::optional<AppNotes> notes) {
        if (notes)
            m_workspace.setNotes(std::move(*notes));
    };
    connect(row.term, &QLineEdit::textEdited, this, [this, position, assign](const QString& text) {
        assign(withGlossaryTerm(m_workspace.notes(), position, text.toStdString()));
    });
    connect(row.note, &QLineEdit::textEdited, this, [this, position, assign](const QString& text) {
        assign(withGlossaryNote(m_workspace.notes(), position, text.toStdString()));
    });
    connect(row.keep, &QCheckBox::toggled, this, [this, position, assign](bool keep) {
        assign(withKeepAsIs(m_workspace.notes(), position, keep));
    });
    m_glossaryRows.push_back(row);
}

void ContextSheet::finish() {
    m_workspace.setNotes(withoutBlankTerms(m_workspace.notes()));
    accept();
}

} // namespace orvel
