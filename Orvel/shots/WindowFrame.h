#pragma once
// A stand-in for the window manager's frame in the scenes of the whole window: a title bar that shows
// the window's own title, above the window at its size.

#include <QWidget>

namespace orvel {

class WindowFrame : public QWidget {
  public:
    static constexpr int kTitleHeight = 28;

    // Takes `window` as its child, below the title bar.
    explicit WindowFrame(QWidget* window);

    // The frame's size for a window of `size`.
    static QSize around(QSize size) { return {size.width(), size.height() + kTitleHeight}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* m_window;
};

} // namespace orvel
