#pragma once
// A plain text wrapped at words over at most a number of lines: a longer text ends in an ellipsis at
// the end of its last line, never cut through a line. The label is as high as the lines it shows at the
// width it was given last; the whole text is its tooltip. Shown lines can be selected and copied.

#include <QLabel>

#include <map>

namespace orvel {

class ClampedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClampedLabel(int maximumLines, QWidget* parent = nullptr);

    QString fullText() const { return m_fullText; }
    void setFullText(const QString& text);

    // The lines the text takes at a width of `textWidth` pixels, the last elided when there are more.
    QStringList linesAt(int textWidth) const;

    bool hasHeightForWidth() const override { return false; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The label shows another number of lines, and so wants another height. A layout hears of it only
    // through the widget that holds the label; the widgets around that one may need telling.
    void linesChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int textWidth(int width) const;
    int heightAt(int width) const;
    // The height the label takes for `lines` lines, as it measures them itself.
    int heightOfLines(int lines) const;
    void showLines();

    int m_maximumLines;
    QString m_fullText;
    mutable std::map<int, int> m_lineHeights;
    int m_shownLines = -1;
};

} // namespace orvel
