#pragma once
// A plain-text field that grows with its content between a least and a most number of lines, and that
// tells apart the person's typing from the text its view puts in.

#include <QPlainTextEdit>

namespace orvel {

class AutoGrowTextEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    // `maximumLines` 0 lets the field grow without limit.
    AutoGrowTextEdit(int minimumLines, int maximumLines, QWidget* parent = nullptr);

    // Return (without Shift or Alt) emits submitted() instead of breaking the line.
    void setSubmitsOnReturn(bool submits) { m_submitsOnReturn = submits; }

    // Shows `text` unless the field holds it already, so that the cursor of a field being typed in stays.
    // Emits no edited().
    void showText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The person changed the text.
    void edited(const QString& text);
    void submitted();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int heightForLines(int lines) const;
    void fitHeight();

    int m_minimumLines;
    int m_maximumLines;
    bool m_submitsOnReturn = false;
    bool m_showing = false;
};

} // namespace orvel
