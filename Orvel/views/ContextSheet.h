#pragma once
// The sheet of everything that travels with an app's strings: the style of the chosen language, the
// key terms the model chose, what the developer ships for translators, the person's notes and glossary.
// It keeps nothing of its own: every control reads the workspace and writes each change back at once.

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace orvel {

class AutoGrowTextEdit;
class FormSection;
class Workspace;

class ContextSheet : public QDialog {
    Q_OBJECT
  public:
    static constexpr int sheetWidth = 600;
    static constexpr int sheetHeight = 620;

    explicit ContextSheet(Workspace& workspace, QWidget* parent = nullptr);

    // Opens a window-modal sheet over `parent`'s window that deletes itself when it closes.
    static ContextSheet* present(Workspace& workspace, QWidget* parent);

    // Escape closes the sheet as a Cancel would. Every change is in the workspace already; only the
    // glossary rows left without a term go, as they do on Done.
    void reject() override;

  private:
    struct GlossaryRow {
        QLineEdit* term = nullptr;
        QLineEdit* note = nullptr;
        QCheckBox* keep = nullptr;
    };

    void refresh();
    void showStyle();
    void showTerms();
    void showGlossary();
    void addGlossaryRow();
    void finish();

    Workspace& m_workspace;
    QLabel* m_header = nullptr;
    FormSection* m_styleSection = nullptr;
    QComboBox* m_termsPicker = nullptr;
    QComboBox* m_addressPicker = nullptr;
    FormSection* m_termsSection = nullptr;
    QGridLayout* m_termsGrid = nullptr;
    // The term rows shown, by term; each row's field writes to its term.
    std::map<std::string, QLineEdit*> m_termFields;
    FormSection* m_developerSection = nullptr;
    QLabel* m_developerText = nullptr;
    AutoGrowTextEdit* m_notesEditor = nullptr;
    QGridLayout* m_glossaryGrid = nullptr;
    std::vector<GlossaryRow> m_glossaryRows;
};

} // namespace orvel
