#pragma once
// The base of the pill-shaped buttons: a push button (so it can carry a menu) that paints itself, whose
// label is shown as it is (never a mnemonic), whose hit area is its capsule and which keeps its own
// size in any layout. Subclasses paint and measure their content.

#include <QPushButton>

namespace orvel {

class CapsuleButton : public QPushButton {
    Q_OBJECT
  public:
    explicit CapsuleButton(QWidget* parent = nullptr);

    // The label, verbatim: an "&" in it is shown and makes no keyboard shortcut.
    void setLabel(const QString& label);
    void setText(const QString& label) { setLabel(label); }
    QString label() const { return text(); }

    static constexpr int kHeight = 24;

  protected:
    bool hitButton(const QPoint& position) const override;
    // Dims a disabled button; called before the subclass paints.
    void prepare(QPainter& painter) const;
    // The pressed shade and the keyboard focus ring, drawn over the subclass's painting.
    void finish(QPainter& painter) const;
};

} // namespace orvel
