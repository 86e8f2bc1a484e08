#include "Orvel/views/StringInspector.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/AutoGrowTextEdit.h"
#include "Orvel/views/FormSection.h"
#include "Orvel/views/InspectorRules.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/ProblemCallout.h"
#include "Orvel/views/TextKeys.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* dataLabel(QWidget* parent, bool selectable) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    if (selectable)
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

// One place the string was seen: where, then beside what, 2 pixels apart.
QWidget* occurrenceRow(const Occurrence& occurrence, QWidget* parent) {
    const OccurrenceLines lines = occurrenceLines(occurrence);
    auto* row = new QWidget(parent);
    auto* column = new QVBoxLayout(row);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    QLabel* place = dataLabel(row, false);
    setPlainText(place, fromUtf8(lines.place));
    QLabel* detail = dataLabel(row, false);
    setPlainText(detail, fromUtf8(lines.detail));
    QFont callout = detail->font();
    if (callout.pixelSize() > 0)
        callout.setPixelSize(callout.pixelSize() - 1);
    else
        callout.setPointSizeF(callout.pointSizeF() - 1);
    detail->setFont(callout);
    Palette::setTextColour(detail, Palette::secondary());
    column->addWidget(place);
    column->addWidget(detail);
    return row;
}

} // namespace

StringInspector::StringInspector(Workspace& workspace, QWidget* parent)
    : QScrollArea(parent), m_workspace(workspace) {
    setObjectName(QStringLiteral("stringInspector"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes to the fields, and the column scrolls to the field that takes the focus.
    setFocusPolicy(Qt::NoFocus);

    auto* page = new QWidget;
    page->setAutoFillBackground(false);
    auto* pageColumn = new QVBoxLayout(page);
    pageColumn->setContentsMargins(0, 0, 0, 0);
    m_content = new QWidget(page);
    auto* column = new QVBoxLayout(m_content);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(16);
    pageColumn->addWidget(m_content);
    pageColumn->addStretch();

    m_problemSection = new FormSection({}, m_content);
    m_callout = new ProblemCallout(m_problemSection);
    m_problemSection->addRow(m_callout);
    column->addWidget(m_problemSection);

    auto* source = new FormSection(localized("Source"), m_content);
    m_english = dataLabel(source, true);
    m_english->setObjectName(QStringLiteral("inspectorEnglish"));
    source->addRow(m_english);
    m_key = dataLabel(source, true);
    m_key->setObjectName(QStringLiteral("inspectorKey"));
    m_keyRow = source->addLabelledRow(localized("Key"), m_key);
    m_previousSource = dataLabel(source, true);
    m_previousSource->setObjectName(QStringLiteral("inspectorPreviousSource"));
    m_previousSourceRow = source->addLabelledRow(localized("Previous source"), m_previousSource);
    m_developerNote = dataLabel(source, false);
    m_developerNote->setObjectName(QStringLiteral("inspectorDeveloperNote"));
    m_developerNoteRow = source->addLabelledRow(localized("Developer note"), m_developerNote);
    column->addWidget(source);

    auto* translation = new FormSection(localized("Translation"), m_content);
    m_translationSection = translation;
    m_plainEditor = new AutoGrowTextEdit(2, 8, translation);
    m_plainEditor->setObjectName(QStringLiteral("inspectorTranslation"));
    m_plainEditor->setAccessibleName(localized("Translation"));
    translation->addRow(m_plainEditor);
    m_pluralRows = new QWidget(translation);
    auto* pluralColumn = new QVBoxLayout(m_pluralRows);
    pluralColumn->setContentsMargins(0, 0, 0, 0);
    pluralColumn->setSpacing(6);
    translation->addRow(m_pluralRows);
    column->addWidget(translation);

    m_seenSection = new FormSection(localized("Seen in"), m_content);
    auto* occurrences = new QWidget(m_seenSection);
    m_occurrenceColumn = new QVBoxLayout(occurrences);
    m_occurrenceColumn->setContentsMargins(0, 0, 0, 0);
    m_occurrenceColumn->setSpacing(8);
    m_seenSection->addRow(occurrences);
    column->addWidget(m_seenSection);

    auto* retranslateSection = new FormSection(localized("Retranslate"), m_content);
    m_remark = new AutoGrowTextEdit(2, 4, retranslateSection);
    m_remark->setObjectName(QStringLiteral("inspectorRemark"));
    m_remark->setAccessibleName(localized("Retranslate"));
    m_remark->setPlaceholderText(localized("What should change? e.g.: shorter, less formal"));
    m_remark->setSubmitsOnReturn(true);
    retranslateSection->addRow(m_remark);
    m_retranslate = new QPushButton(localized("Retranslate"), retranslateSection);
    m_retranslate->setObjectName(QStringLiteral("inspectorRetranslate"));
    m_retranslate->setAutoDefault(false);
    retranslateSection->addRow(m_retranslate, Qt::AlignLeft);
    column->addWidget(retranslateSection);

    setWidget(page);

    connect(m_plainEditor, &AutoGrowTextEdit::edited, this,
            [this](const QString& text) { m_workspace.setText(text.toStdString(), m_id); });
    connect(m_remark, &AutoGrowTextEdit::submitted, this, &StringInspector::retranslate);
    connect(m_retranslate, &QPushButton::clicked, this, &StringInspector::retranslate);
    connect(m_callout, &ProblemCallout::fixRequested, this, &StringInspector::fixProblem);
    connect(m_callout, &ProblemCallout::keepRequested, this, [this] { m_workspace.keep(m_id); });

    for (auto signal :
         {&Workspace::selectionChanged, &Workspace::projectChanged, &Workspace::languageChanged,
          &Workspace::translatingChanged, &Workspace::contextChanged, &Workspace::changesChanged,
          &Workspace::stringsChanged, &Workspace::notesChanged, &Workspace::problemsReadyChanged})
        connect(&m_workspace, signal, this, &StringInspector::refresh);
    refresh();
}

QString StringInspector::remark() const {
    return m_remark->toPlainText();
}

void StringInspector::refresh() {
    const Workspace::Selection& selection = m_workspace.selection();
    const SourceString* string = selection.empty() ? nullptr : m_workspace.source(*selection.begin());
    if (!string) {
        m_id.clear();
        m_content->hide();
        return;
    }
    m_id = *selection.begin();
    const std::optional<std::string> problem = m_workspace.problem(m_id);
    if (problem) {
        const std::optional<std::string> match = m_workspace.problemMatch(m_id);
        m_callout->showProblem(fromUtf8(*problem),
                               match ? std::optional<QString>(fromUtf8(*match)) : std::nullopt);
    }
    m_problemSection->setVisible(problem.has_value());
    m_callout->setEnabled(!m_workspace.translating());
    showSource();
    showTranslation();
    showOccurrences();
    const bool canRetranslate = !m_workspace.translating() && m_workspace.language().has_value();
    m_retranslate->setEnabled(canRetranslate);
    m_content->show();
}

void StringInspector::showSource() {
    const SourceString& string = *m_workspace.source(m_id);
    const std::optional<std::string> previous = m_workspace.previousSource(m_id);
    const InspectorParts parts =
        inspectorParts(string, false, previous.has_value(), m_workspace.occurrences(m_id).size());
    setPlainText(m_english, fromUtf8(string.text));
    setPlainText(m_key, fromUtf8(string.key));
    setPlainText(m_previousSource, fromUtf8(previous.value_or(std::string())));
    setPlainText(m_developerNote, fromUtf8(string.comment.value_or(std::string())));
    m_keyRow->setVisible(parts.key);
    m_previousSourceRow->setVisible(parts.previousSource);
    m_developerNoteRow->setVisible(parts.developerNote);
    m_seenSection->setVisible(parts.seenIn);
}

void StringInspector::showTranslation() {
    const SourceString& string = *m_workspace.source(m_id);
    const StringTranslation* stored = m_workspace.translation(SourceString::id(string.table, string.key));
    const bool plural = usesPluralEditor(string, stored);
    showPluralRows(plural ? pluralEditorCategories(m_workspace.language()) : std::vector<std::string>());
    m_plainEditor->setVisible(!plural);
    m_pluralRows->setVisible(plural);
    // Without a project (one still being read or handed over) an edit would have nowhere to go.
    const bool editable = m_workspace.project().has_value();
    if (!plural) {
        m_plainEditor->setReadOnly(!editable);
        m_plainEditor->showText(fromUtf8(storedText(stored)));
        return;
    }
    for (const std::string& category : m_pluralCategories) {
        AutoGrowTextEdit* editor = m_pluralEditors.at(category);
        editor->setReadOnly(!editable);
        editor->showText(fromUtf8(storedPluralForm(stored, category)));
    }
}

void StringInspector::showPluralRows(const std::vector<std::string>& categories) {
    if (categories == m_pluralCategories)
        return;
    // A row may go while its own field reports an edit: hidden now, deleted later.
    for (QWidget* row : m_pluralRowWidgets) {
        row->hide();
        row->deleteLater();
    }
    m_pluralRowWidgets.clear();
    m_pluralEditors.clear();
    m_pluralCategories = categories;
    // The rows come after the plain field in Tab's order, wherever they were made.
    QWidget* before = m_plainEditor;
    for (const std::string& category : categories) {
        auto* editor = new AutoGrowTextEdit(1, 0, m_pluralRows);
        editor->setObjectName(QStringLiteral("inspectorPlural_") + fromUtf8(category));
        const QString label = localized(pluralLabelKey(category));
        editor->setAccessibleName(label);
        QWidget* row = m_translationSection->labelledRow(label, editor);
        m_pluralRows->layout()->addWidget(row);
        m_pluralRowWidgets.push_back(row);
        connect(editor, &AutoGrowTextEdit::edited, this, [this, category](const QString& text) {
            m_workspace.setPluralForm(text.toStdString(), category, m_id);
        });
        m_pluralEditors.emplace(category, editor);
        QWidget::setTabOrder(before, editor);
        before = editor;
    }
}

void StringInspector::showOccurrences() {
    const std::vector<Occurrence>& occurrences = m_workspace.occurrences(m_id);
    if (occurrences == m_shownOccurrences)
        return;
    while (QLayoutItem* item = m_occurrenceColumn->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const Occurrence& occurrence : occurrences)
        m_occurrenceColumn->addWidget(occurrenceRow(occurrence, m_occurrenceColumn->parentWidget()));
    m_shownOccurrences = occurrences;
}

void StringInspector::retranslate() {
    if (m_id.empty() || m_workspace.translating() || !m_workspace.language())
        return;
    m_workspace.translate(m_id, m_remark->toPlainText().toStdString());
    m_remark->clear();
}

void StringInspector::fixProblem() {
    if (m_id.empty())
        return;
    if (const std::optional<std::string> problem = m_workspace.problem(m_id))
        m_workspace.translate(m_id, *problem);
}

} // namespace orvel
