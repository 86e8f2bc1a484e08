#pragma once
// The bar along the bottom of the strings screen, drawn from a FooterPresentation: the model picker, the
// steps "Context" › "Translate" › "Review", and at the right edge Stop, or the main action and the More
// menu. It holds no state of its own and acts on nothing: each control only asks through a signal, and
// StepsFooter answers with the workspace's and the preferences' operations.

#include <QWidget>

#include "Orvel/views/StepsFooterPresenter.h"

class QAction;
class QMenu;
class QProgressBar;

namespace orvel {

class CapsuleLabel;
class MiniSpinner;
class PillButton;
class StepLabel;

class StepsFooterBar : public QWidget {
    Q_OBJECT
  public:
    explicit StepsFooterBar(QWidget* parent = nullptr);

    void present(const FooterPresentation& shown);

    static constexpr int kHeight = 38;

  signals:
    // The row of ModelSettings::presets() chosen in the picker.
    void presetChosen(std::size_t row);
    void settingsRequested();
    void captureRequested();
    void contextRequested();
    void reviewRequested();
    void stopRequested();
    void mainActionRequested(MainAction action);
    void checklistRequested();
    void translateAllRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* buildSteps();
    void buildTrailing();

    PillButton* m_modelPill;
    QMenu* m_modelMenu;
    std::vector<QAction*> m_presetActions;
    QWidget* m_steps = nullptr;
    StepLabel* m_contextStep = nullptr;
    CapsuleLabel* m_contextCount = nullptr;
    MiniSpinner* m_contextSpinner = nullptr;
    QAction* m_captureAction = nullptr;
    StepLabel* m_translateStep = nullptr;
    CapsuleLabel* m_translateCount = nullptr;
    QProgressBar* m_translateBar = nullptr;
    StepLabel* m_reviewStep = nullptr;
    CapsuleLabel* m_reviewCount = nullptr;
    MiniSpinner* m_reviewSpinner = nullptr;
    PillButton* m_stop = nullptr;
    PillButton* m_mainAction = nullptr;
    PillButton* m_more = nullptr;
    MainAction m_shownAction = MainAction::none;
};

} // namespace orvel
