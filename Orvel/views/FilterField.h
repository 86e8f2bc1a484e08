#pragma once
// The search field of the strings screen's toolbar: a capsule 200 by 24 with a magnifying glass, a
// borderless text field with the placeholder "Filter" and, while there is text, a clear button. It
// edits one text and knows nothing of what the text filters. Escape empties the text and gives the
// focus up; the clear button empties it and leaves the focus where it was.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace orvel {

class FilterField : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 24;
    static constexpr int kPadding = 9;
    static constexpr int kSpacing = 5;

    explicit FilterField(QWidget* parent = nullptr);

    QString text() const;
    // A change from outside; reports no textEdited().
    void setText(const QString& text);
    // Puts the keyboard focus into the text field.
    void focusField();
    bool isFieldFocused() const;

    QSize sizeHint() const override;

  signals:
    // The person changed the text: typed, cleared or escaped it.
    void textEdited(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void clear();
    void showClearButton();

    QLineEdit* m_field = nullptr;
    QToolButton* m_clear = nullptr;
};

} // namespace orvel
