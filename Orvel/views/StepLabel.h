#pragma once
// One workflow step of the steps footer: its small numbered badge, its name and what follows it (a
// count capsule, a bar, a spinner). It is a button so that a step can act or open a menu; its whole
// rectangle is its hit area, and it paints nothing itself beyond its children.

#include <QPushButton>

#include "Orvel/views/StepBadge.h"

class QHBoxLayout;
class QLabel;

namespace orvel {

class StepLabel : public QPushButton {
    Q_OBJECT
  public:
    StepLabel(int number, const QString& name, QWidget* parent = nullptr);

    // The badge's look; the name is semibold and primary only while the step is current.
    void setState(StepState state, bool current);
    StepState state() const;
    bool isCurrent() const { return m_current; }

    // Puts `widget` after the name; it takes no clicks of its own.
    void addTrailing(QWidget* widget);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    StepBadge* m_badge;
    QLabel* m_name;
    QHBoxLayout* m_row;
    bool m_current = false;
};

} // namespace orvel
