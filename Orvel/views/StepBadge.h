#pragma once
// The numbered circle of a workflow step: green with a check mark when done, the accent colour with a
// white number when current, a faint grey with the number when still to come. The footer's badges are
// small (16), the checklist's large (24).

#include <QWidget>

namespace orvel {

enum class StepState { Done, Current, ToCome };

class StepBadge : public QWidget {
    Q_OBJECT
  public:
    enum class Size { Small, Large };

    StepBadge(int number, StepState state, Size size, QWidget* parent = nullptr);

    int number() const { return m_number; }
    void setNumber(int number);
    StepState state() const { return m_state; }
    void setState(StepState state);

    static int diameter(Size size) { return size == Size::Small ? 16 : 24; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_number;
    StepState m_state;
    Size m_size;
};

} // namespace orvel
