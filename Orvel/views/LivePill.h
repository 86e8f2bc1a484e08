#pragma once
// The Live toggle drawn as a pill with a status dot: white on a green capsule when on, grey and
// outlined when off. It never flips itself: a click (or Space) only asks for the other state through
// toggleRequested(), and the pill shows a new state once its owner calls setOn(), after the running
// app has really switched. Its checked state is the on state, so accessibility reports it as selected.

#include "Orvel/views/CapsuleButton.h"

namespace orvel {

class LivePill : public CapsuleButton {
    Q_OBJECT
  public:
    explicit LivePill(const QString& label = {}, QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kPadding = 10;
    static constexpr int kDot = 7;
    static constexpr int kSpacing = 5;

  signals:
    void toggleRequested(bool on);

  protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont labelFont() const;
    int textWidth() const;
};

} // namespace orvel
