#pragma once
// A small indeterminate progress indicator: an arc that turns while the spinner is visible. With the
// views' animations off it stands still, so screenshots and tests see one frame.

#include <QTimer>
#include <QWidget>

namespace orvel {

class MiniSpinner : public QWidget {
    Q_OBJECT
  public:
    // The footer's mini size is 12; the checklist's small size is 16.
    explicit MiniSpinner(int diameter = 12, QWidget* parent = nullptr);

    bool isSpinning() const { return m_timer.isActive(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QTimer m_timer;
    int m_angle = 90;
};

} // namespace orvel
