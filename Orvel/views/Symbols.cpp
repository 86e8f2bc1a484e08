#include "Orvel/views/Symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <array>
#include <cmath>
#include <numbers>

namespace orvel {

namespace {

// Every symbol is drawn on a grid of 24 by 24 units, scaled to the box it is given.
constexpr qreal kGrid = 24;
constexpr qreal kRegular = 2;
constexpr qreal kBold = 3.2;

struct SymbolEntry {
    Symbol symbol;
    const char* name;
};

constexpr std::array kSymbols{
    SymbolEntry{Symbol::CharacterBubble, "character.bubble"},
    SymbolEntry{Symbol::ChevronDown, "chevron.down"},
    SymbolEntry{Symbol::ChevronRight, "chevron.right"},
    SymbolEntry{Symbol::SidebarTrailing, "sidebar.trailing"},
    SymbolEntry{Symbol::ExclamationmarkTriangleFill, "exclamationmark.triangle.fill"},
    SymbolEntry{Symbol::Checkmark, "checkmark"},
    SymbolEntry{Symbol::Ellipsis, "ellipsis"},
    SymbolEntry{Symbol::CircleDashed, "circle.dashed"},
    SymbolEntry{Symbol::Sparkles, "sparkles"},
    SymbolEntry{Symbol::Pencil, "pencil"},
    SymbolEntry{Symbol::MagnifyingGlass, "magnifyingglass"},
    SymbolEntry{Symbol::XmarkCircleFill, "xmark.circle.fill"},
    SymbolEntry{Symbol::GenericApp, "app.generic"},
};

constexpr std::array kAllSymbols = [] {
    std::array<Symbol, kSymbols.size()> symbols{};
    for (std::size_t i = 0; i < kSymbols.size(); ++i)
        symbols[i] = kSymbols[i].symbol;
    return symbols;
}();

QPen linePen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath stroked(const QPainterPath& path, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

// A four-pointed star whose sides curve in towards its centre.
QPainterPath sparkle(QPointF centre, qreal radius) {
    const std::array<QPointF, 4> tips{centre + QPointF(0, -radius), centre + QPointF(radius, 0),
                                      centre + QPointF(0, radius), centre + QPointF(-radius, 0)};
    QPainterPath path(tips[0]);
    for (std::size_t i = 1; i <= tips.size(); ++i)
        path.quadTo(centre, tips[i % tips.size()]);
    path.closeSubpath();
    return path;
}

void drawCharacterBubble(QPainter& painter, const QColor& colour) {
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(2.5, 2.5, 19, 14.5), 4, 4);
    bubble = bubble.united(polyline({{6, 16}, {5, 21.5}, {11, 16.5}}));
    painter.setPen(linePen(colour, 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(bubble.simplified());
    painter.setPen(linePen(colour, 1.6));
    painter.drawPath(polyline({{8.5, 13.5}, {12, 5.5}, {15.5, 13.5}}));
    painter.drawLine(QPointF(10, 10.8), QPointF(14, 10.8));
}

void drawSidebarTrailing(QPainter& painter, const QColor& colour) {
    painter.setPen(linePen(colour, 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 3, 3);
    painter.drawLine(QPointF(15, 4.5), QPointF(15, 19.5));
    painter.setPen(linePen(colour, 1.4));
    for (qreal y : {8.5, 11.5, 14.5})
        painter.drawLine(QPointF(17, y), QPointF(19, y));
}

void drawWarningTriangle(QPainter& painter, const QColor& colour) {
    QPainterPath triangle = polyline({{12, 3.5}, {21.5, 20}, {2.5, 20}});
    triangle.closeSubpath();
    // Stroking with round joins and filling both gives the triangle soft corners.
    QPainterPath shape = triangle.united(stroked(triangle, 2.5));
    QPainterPath mark;
    mark.addRoundedRect(QRectF(10.9, 8.5, 2.2, 7.2), 1.1, 1.1);
    mark.addEllipse(QPointF(12, 17.6), 1.3, 1.3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(shape.subtracted(mark));
}

void drawCircleDashed(QPainter& painter, const QColor& colour) {
    painter.setPen(linePen(colour, kRegular));
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(3, 3, 18, 18);
    constexpr int kDashes = 10;
    for (int dash = 0; dash < kDashes; ++dash)
        painter.drawArc(circle, (dash * 360 / kDashes + 6) * 16, 20 * 16);
}

void drawPencil(QPainter& painter, const QColor& colour) {
    painter.save();
    painter.translate(12, 12);
    painter.rotate(-45);
    painter.setPen(linePen(colour, 1.7));
    painter.setBrush(Qt::NoBrush);
    QPainterPath body = polyline({{8.5, -2.6}, {-5, -2.6}, {-9.5, 0}, {-5, 2.6}, {8.5, 2.6}});
    body.closeSubpath();
    painter.drawPath(body);
    painter.drawLine(QPointF(5.5, -2.6), QPointF(5.5, 2.6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(polyline({{-7.6, -1.1}, {-9.5, 0}, {-7.6, 1.1}}));
    painter.restore();
}

void drawMagnifyingGlass(QPainter& painter, const QColor& colour) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(linePen(colour, 2.2));
    painter.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    painter.setPen(linePen(colour, 3));
    painter.drawLine(QPointF(15, 15), QPointF(19.5, 19.5));
}

void drawXmarkCircleFill(QPainter& painter, const QColor& colour) {
    QPainterPath disc;
    disc.addEllipse(QPointF(12, 12), 10, 10);
    QPainterPath cross = polyline({{8, 8}, {16, 16}});
    cross.addPath(polyline({{16, 8}, {8, 16}}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(disc.subtracted(stroked(cross, 2.4)));
}

void drawGenericApp(QPainter& painter, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1, 1, 22, 22), 5.5, 5.5);
    painter.setPen(linePen(Qt::white, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(5.5, 6.5, 13, 11), 1.5, 1.5);
    painter.drawLine(QPointF(5.5, 9.5), QPointF(18.5, 9.5));
}

} // namespace

std::span<const Symbol> allSymbols() {
    return kAllSymbols;
}

QString symbolName(Symbol symbol) {
    for (const SymbolEntry& entry : kSymbols)
        if (entry.symbol == symbol)
            return QString::fromLatin1(entry.name);
    return {};
}

std::optional<Symbol> symbolNamed(QStringView name) {
    for (const SymbolEntry& entry : kSymbols)
        if (name == QLatin1StringView(entry.name))
            return entry.symbol;
    return std::nullopt;
}

void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour) {
    const qreal side = std::min(box.width(), box.height());
    if (side <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center() - QPointF(side / 2, side / 2));
    painter.scale(side / kGrid, side / kGrid);

    switch (symbol) {
    case Symbol::CharacterBubble:
        drawCharacterBubble(painter, colour);
        break;
    case Symbol::ChevronDown:
        painter.setPen(linePen(colour, kBold));
        painter.drawPath(polyline({{3.5, 7.5}, {12, 16}, {20.5, 7.5}}));
        break;
    case Symbol::ChevronRight:
        painter.setPen(linePen(colour, kBold));
        painter.drawPath(polyline({{7.5, 3.5}, {16, 12}, {7.5, 20.5}}));
        break;
    case Symbol::SidebarTrailing:
        drawSidebarTrailing(painter, colour);
        break;
    case Symbol::ExclamationmarkTriangleFill:
        drawWarningTriangle(painter, colour);
        break;
    case Symbol::Checkmark:
        painter.setPen(linePen(colour, kBold));
        painter.drawPath(polyline({{3.5, 12.5}, {9.5, 18.5}, {20.5, 5.5}}));
        break;
    case Symbol::Ellipsis:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (qreal x : {4.0, 12.0, 20.0})
            painter.drawEllipse(QPointF(x, 12), 2.7, 2.7);
        break;
    case Symbol::CircleDashed:
        drawCircleDashed(painter, colour);
        break;
    case Symbol::Sparkles:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(sparkle({9.5, 13.5}, 8.5));
        painter.drawPath(sparkle({18.5, 5.5}, 4.5));
        painter.drawPath(sparkle({19, 18}, 3));
        break;
    case Symbol::Pencil:
        drawPencil(painter, colour);
        break;
    case Symbol::MagnifyingGlass:
        drawMagnifyingGlass(painter, colour);
        break;
    case Symbol::XmarkCircleFill:
        drawXmarkCircleFill(painter, colour);
        break;
    case Symbol::GenericApp:
        drawGenericApp(painter, colour);
        break;
    }
    painter.restore();
}

QPixmap symbolPixmap(Symbol symbol, const QColor& colour, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintSymbol(painter, symbol, QRectF(QPointF(0, 0), QSizeF(size)), colour);
    return pixmap;
}

QIcon symbolIcon(Symbol symbol, const QColor& colour, int pixels) {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(symbolPixmap(symbol, colour, QSize(pixels, pixels), ratio));
    return icon;
}

} // namespace orvel
