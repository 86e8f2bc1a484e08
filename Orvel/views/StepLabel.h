#pragma once
// One workflow step of the steps footer: its small numbered badge, its name and what follows it (a
// count capsule, a bar, a spinner). It is a button so that a step can act or open a menu; its whole
// rectangle is its hit area, and it paints nothing itself beyond its children. In a narrow bar its name
// gives way: elided to a width, or left out when not even a letter fits.

#include <QPushButton>

#include <optional>

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

    // The name whole (none), or elided to `width` pixels. Call after a change of what follows the
    // name too, so that the label's size is measured again.
    void setNameWidth(std::optional<int> width);
    // The name as shown: whole, elided, or empty when it gave way entirely.
    QString shownName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Between the badge, the name and what follows.
    static constexpr int kSpacing = 6;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showCurrent();
    void showName();

    StepBadge* m_badge;
    QLabel* m_name;
    QString m_fullName;
    std::optional<int> m_nameWidth;
    QHBoxLayout* m_row;
    bool m_current = false;
};

} // namespace orvel
