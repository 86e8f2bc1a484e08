#pragma once
// The pill of the compact controls: one line of text in the pill font (and, for menus, a small
// chevron; or a symbol alone), padded 10 on each side, 24 high, never squeezed by a layout (its text is
// elided only to a limit set on it). The prominent form, white on the accent colour, marks the one main
// action; the plain form is primary text on the quaternary fill. Both forms of the same content have the same
// size. A menu set with setMenu() opens on a press anywhere in the capsule.

#include "Orvel/views/CapsuleButton.h"
#include "Orvel/views/Symbols.h"

#include <optional>

namespace orvel {

class PillButton : public CapsuleButton {
    Q_OBJECT
  public:
    explicit PillButton(const QString& label = {}, QWidget* parent = nullptr);

    bool isProminent() const { return m_prominent; }
    void setProminent(bool prominent);

    // A "chevron.down" after the text, as menus show it.
    bool hasChevron() const { return m_chevron; }
    void setChevron(bool chevron);

    // A symbol before the text (alone when the label is empty), in a slot `frameWidth` wide.
    std::optional<Symbol> symbol() const { return m_symbol; }
    void setSymbol(std::optional<Symbol> symbol, int frameWidth = kSymbolFrame);

    // At most this much of the text shows, elided at its end; none shows it whole. Only a bar that has
    // no room left sets a limit.
    std::optional<int> textLimit() const { return m_textLimit; }
    void setTextLimit(std::optional<int> limit);
    // The text as it shows.
    QString shownLabel() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kPadding = 10;
    static constexpr int kSpacing = 4;
    static constexpr int kChevronPixels = 8;
    static constexpr int kSymbolFrame = 14;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int textWidth() const;
    int contentWidth() const;

    bool m_prominent = false;
    bool m_chevron = false;
    std::optional<Symbol> m_symbol;
    int m_symbolFrame = kSymbolFrame;
    std::optional<int> m_textLimit;
};

} // namespace orvel
