#pragma once
// The small symbols of the views, drawn as vector shapes so that they take any tint at any size. Each
// is known by the name the views use for it ("chevron.down", "sparkles", ...).

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

class QPainter;

namespace orvel {

enum class Symbol {
    CharacterBubble,             // "character.bubble": the empty sidebar
    ChevronDown,                 // "chevron.down": menu pills
    ChevronRight,                // "chevron.right": between the footer's steps
    SidebarTrailing,             // "sidebar.trailing": the Inspector button
    ExclamationmarkTriangleFill, // "exclamationmark.triangle.fill": a possible problem
    Checkmark,                   // "checkmark": done badges, chosen menu rows
    Ellipsis,                    // "ellipsis": the More menu
    CircleDashed,                // "circle.dashed": no translation yet
    Sparkles,                    // "sparkles": a translation by the model
    Pencil,                      // "pencil": a translation by the person
    MagnifyingGlass,             // "magnifyingglass": the filter field
    XmarkCircleFill,             // "xmark.circle.fill": the filter field's clear button
    GenericApp,                  // "app.generic": the icon of an app that has none to show
};

std::span<const Symbol> allSymbols();
QString symbolName(Symbol symbol);
std::optional<Symbol> symbolNamed(QStringView name);

// Draws `symbol` in `colour`, centred in the largest square that fits `box`, never outside `box`.
void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour);

// The symbol on a transparent pixmap of `size` logical pixels at `devicePixelRatio`.
QPixmap symbolPixmap(Symbol symbol, const QColor& colour, QSize size, qreal devicePixelRatio = 1);

// An icon of the symbol for actions and tool buttons, sharp at scale 1 and 2.
QIcon symbolIcon(Symbol symbol, const QColor& colour, int pixels);

} // namespace orvel
