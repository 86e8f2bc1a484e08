#pragma once
// The checklist of one app in one language, drawn from a ChecklistPresentation: the title, the six step
// cards with their actions, and "Show Strings". It holds no state of its own and acts on nothing: each
// control only asks through a signal, and ChecklistView answers with the workspace's operations.

#include <QScrollArea>

#include <array>

#include "Orvel/views/ChecklistPresenter.h"

class QLabel;
class QPushButton;

namespace orvel {

class ChecklistCard;
class LivePill;
class MiniSpinner;

class ChecklistPanel : public QScrollArea {
    Q_OBJECT
  public:
    explicit ChecklistPanel(QWidget* parent = nullptr);

    void present(const ChecklistPresentation& shown);
    // The app's icon beside the title; a generic app symbol until one is set.
    void setAppIcon(const QPixmap& icon);

    const ChecklistCard& card(ChecklistStep step) const { return *m_cards[static_cast<int>(step)]; }

    static constexpr int kColumnWidth = 620;

  signals:
    void settingsRequested();
    void captureRequested();
    void contextRequested();
    void stopRequested();
    void translateRequested();
    void showProblemsRequested();
    void liveRequested(bool on);
    void showStringsRequested();

  private:
    QPushButton* actionButton(const char* objectName, const QString& text);

    QLabel* m_icon;
    QLabel* m_title;
    std::array<ChecklistCard*, kChecklistSteps> m_cards{};
    QPushButton* m_capture = nullptr;
    MiniSpinner* m_captureSpinner = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_translate = nullptr;
    QPushButton* m_showProblems = nullptr;
    LivePill* m_live = nullptr;
};

} // namespace orvel
