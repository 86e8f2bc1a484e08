#pragma once
// A short text on a capsule: the count capsules of the footer and the checklist, the status pills of
// the settings form and the "Optional" badge. The text is shown verbatim on one line at its own width.

#include <QColor>
#include <QFont>
#include <QWidget>

#include <optional>

namespace orvel {

class CapsuleLabel : public QWidget {
    Q_OBJECT
  public:
    struct Look {
        QFont font;
        int horizontalPadding = 0;
        int verticalPadding = 0;
        QColor text;
        QColor fill = Qt::transparent;
        // A 1-point border inside the capsule; none when transparent.
        QColor border = Qt::transparent;
        bool operator==(const Look&) const = default;
    };

    // A count: 11 points medium with even digits, padded 7 by 1, in the tint (the secondary colour
    // without one) on the same colour at 16 %.
    static Look countLook(std::optional<QColor> tint = std::nullopt);
    // A status: padded 8 by 2, primary text on `colour` at 20 %.
    static Look statusLook(const QColor& colour);
    // "Optional": the caption font in the secondary colour, padded 6 across (and 1 down, so the border
    // clears the letters), a faint capsule border.
    static Look outlineLook();

    CapsuleLabel(const QString& text, const Look& look, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    const Look& look() const { return m_look; }
    void setLook(const Look& look);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showChange(const QSize& before);

    QString m_text;
    Look m_look;
};

} // namespace orvel
