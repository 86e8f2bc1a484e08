#pragma once
// One step card of the checklist: the large numbered badge, the title line (title, "Optional", a count
// pill or a progress bar), the explanation, and the step's action at the right. The rounded card and
// its inner border take the colours of the step's state.

#include <QFrame>

#include "Orvel/views/ChecklistPresenter.h"

class QHBoxLayout;
class QLabel;
class QProgressBar;

namespace orvel {

class CapsuleLabel;

class ChecklistCard : public QFrame {
    Q_OBJECT
  public:
    ChecklistCard(int number, QWidget* parent = nullptr);

    void present(const ChecklistCardContent& content);
    // Puts the step's action at the right edge of the card.
    void setAction(QWidget* action);

    StepState state() const;
    QString countText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    StepBadge* m_badge;
    QLabel* m_title;
    CapsuleLabel* m_optional;
    CapsuleLabel* m_count;
    QProgressBar* m_bar;
    QLabel* m_explanation;
    QHBoxLayout* m_row;
};

} // namespace orvel
