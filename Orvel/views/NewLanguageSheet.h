#pragma once
// The sheet in which the person picks a language to add to an app: a search field, the candidate
// languages by their own name and their name in the interface language, Cancel and Create. It hands
// the chosen code to its host and changes nothing else.

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvel {

class NewLanguageSheet : public QDialog {
    Q_OBJECT
  public:
    using Create = std::function<void(const std::string& code)>;

    static constexpr int sheetWidth = 420;
    static constexpr int sheetHeight = 440;

    // `existing` are the codes the app has already (never offered, compared exactly); `create` is called
    // with the chosen code when the person presses Create, before the sheet closes.
    NewLanguageSheet(std::vector<std::string> existing, Create create, QWidget* parent = nullptr);

    // Opens a sheet over `parent`'s window that deletes itself when it closes.
    static NewLanguageSheet* present(QWidget* parent, std::vector<std::string> existing, Create create);

    // The chosen code; a search that hides its row keeps it.
    const std::optional<std::string>& selection() const { return m_selection; }
    // The codes listed now, top to bottom.
    std::vector<std::string> shownCodes() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showRows();
    void selectionMoved();
    void createSelected();

    std::vector<std::string> m_existing;
    Create m_create;
    std::optional<std::string> m_selection;
    QLineEdit* m_search = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_createButton = nullptr;
    // Set while the rows are replaced, so that the list's own selection changes are not the person's.
    bool m_fillingRows = false;
};

} // namespace orvel
