#pragma once
// The bar along the bottom of the strings screen, drawn from a FooterPresentation: the model picker, the
// steps "Context" › "Translate" › "Review", and at the right edge Stop, or the main action and the More
// menu. It holds no state of its own and acts on nothing: each control only asks through a signal, and
// StepsFooter answers with the workspace's and the preferences' operations.
//
// The bar never asks for more room than the window gives: when it is too narrow for everything, its
// parts give way in this order, while the actions at the right keep their size: the Context count, the
// Review count, the Translate bar, the Translate count, the chevrons between the steps, the model's name
// (elided only as far as needed, down to a few letters), and last the step names (elided, then left
// out). So the step names read whole at the window's first size whatever the main action and model.
//
// A run presents the bar on every merged batch: the bar is laid out again only when something it
// shows changes size; a count or a bar that keeps its size is updated in place.

#include <QWidget>

#include <array>
#include <optional>

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

    // What the bar shows at the width it has: the number of parts that gave way (0 to kParts).
    int partsGivenWay() const { return m_givenWay; }
    static constexpr int kParts = 7;
    // The narrowest the model's name gets before the step names give way.
    static constexpr int kModelNameFloor = 32;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

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
    void resizeEvent(QResizeEvent* event) override;

  private:
    // What decides the widths of the row's parts: their widths as shown, and which of them show.
    struct Shape {
        std::array<int, 5> widths{};
        FooterStep currentStep = FooterStep::allDone;
        bool contextBusy = false;
        bool reviewBusy = false;
        bool reviewCounted = false;
        bool translateBar = false;
        bool stop = false;
        bool mainAction = false;
        bool more = false;
        bool operator==(const Shape&) const = default;
    };
    Shape shape() const;

    QWidget* buildSteps();
    void buildTrailing();
    // Shows what the presentation asks for, less the first `givenWay` parts.
    void showParts(int givenWay);
    // The model's name elided to `limit` pixels; none shows it whole.
    void showModelName(std::optional<int> limit);
    static constexpr int kModelNameLevel = 6;
    // The row's width as it is shown now.
    int rowWidth();
    // Chooses the richest form that fits the bar's width, and measures the narrowest and the widest.
    void fit();

    PillButton* m_modelPill;
    QMenu* m_modelMenu;
    std::vector<QAction*> m_presetActions;
    std::array<QWidget*, 2> m_separators{};
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
    FooterPresentation m_shown;
    // The shape of the last fit; none before the first.
    std::optional<Shape> m_fitted;
    int m_givenWay = 0;
    int m_fullWidth = 0;
    int m_minimumWidth = 0;
};

} // namespace orvel
