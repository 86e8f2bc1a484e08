#pragma once
// The inspector beside the strings table: the selected string's English, key, previous English and
// developer note, its translation (plain or one field per plural category), where it was seen, the
// problem callout, and Retranslate with a remark. It follows the workspace and updates its parts in
// place, so a field being typed in keeps its cursor.

#include <QScrollArea>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/capture/Occurrence.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace orvel {

class AutoGrowTextEdit;
class FormSection;
class ProblemCallout;
class Workspace;

class StringInspector : public QScrollArea {
    Q_OBJECT
  public:
    explicit StringInspector(Workspace& workspace, QWidget* parent = nullptr);

    // The id shown: the first of the selection in its own order; empty when nothing shows.
    const std::string& shownID() const { return m_id; }
    // The remark typed for Retranslate; it outlives a change of selection.
    QString remark() const;

  private:
    void refresh();
    void showSource();
    void showTranslation();
    void showPluralRows(const std::vector<std::string>& categories);
    void showOccurrences();
    void retranslate();
    void fixProblem();

    Workspace& m_workspace;
    std::string m_id;
    QWidget* m_content = nullptr;
    FormSection* m_problemSection = nullptr;
    ProblemCallout* m_callout = nullptr;
    QLabel* m_english = nullptr;
    QLabel* m_key = nullptr;
    QLabel* m_previousSource = nullptr;
    QLabel* m_developerNote = nullptr;
    QWidget* m_keyRow = nullptr;
    QWidget* m_previousSourceRow = nullptr;
    QWidget* m_developerNoteRow = nullptr;
    FormSection* m_translationSection = nullptr;
    AutoGrowTextEdit* m_plainEditor = nullptr;
    QWidget* m_pluralRows = nullptr;
    // The plural rows shown, by category, in the order of m_pluralCategories.
    std::vector<std::string> m_pluralCategories;
    std::map<std::string, AutoGrowTextEdit*> m_pluralEditors;
    std::vector<QWidget*> m_pluralRowWidgets;
    FormSection* m_seenSection = nullptr;
    QVBoxLayout* m_occurrenceColumn = nullptr;
    std::vector<Occurrence> m_shownOccurrences;
    AutoGrowTextEdit* m_remark = nullptr;
    QPushButton* m_retranslate = nullptr;
};

} // namespace orvel
