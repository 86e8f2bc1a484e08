#include "Orvel/views/Symbols.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(Symbols, EveryNameTheViewsUseIsKnown) {
    struct Case {
        const char* name;
        std::optional<Symbol> symbol;
    };
    const std::vector<Case> cases{
        {"character.bubble", Symbol::CharacterBubble},
        {"chevron.down", Symbol::ChevronDown},
        {"chevron.right", Symbol::ChevronRight},
        {"sidebar.trailing", Symbol::SidebarTrailing},
        {"exclamationmark.triangle.fill", Symbol::ExclamationmarkTriangleFill},
        {"checkmark", Symbol::Checkmark},
        {"ellipsis", Symbol::Ellipsis},
        {"circle.dashed", Symbol::CircleDashed},
        {"sparkles", Symbol::Sparkles},
        {"pencil", Symbol::Pencil},
        {"magnifyingglass", Symbol::MagnifyingGlass},
        {"xmark.circle.fill", Symbol::XmarkCircleFill},
        {"app.generic", Symbol::GenericApp},
        {"Pencil", std::nullopt},
        {"", std::nullopt},
        {"chevron.up", std::nullopt},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(symbolNamed(QString::fromLatin1(row.name)), row.symbol);
        if (row.symbol) {
            EXPECT_EQ(symbolName(*row.symbol), QString::fromLatin1(row.name));
        }
    }
    EXPECT_EQ(allSymbols().size(), 13u);
}

// Every symbol leaves ink in its box and none outside it, at the small sizes the views use.
TEST(Symbols, PaintInsideTheirBox) {
    for (Symbol symbol : allSymbols()) {
        for (int side : {8, 14, 24}) {
            SCOPED_TRACE(symbolName(symbol).toStdString() + " at " + std::to_string(side));
            QImage image(side * 3, side * 3, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            const QRect box(side, side, side, side);
            {
                QPainter painter(&image);
                paintSymbol(painter, symbol, box, Qt::black);
            }
            int inside = 0;
            int outside = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) > 0)
                        ++(box.contains(x, y) ? inside : outside);
            EXPECT_GT(inside, side) << "almost nothing drawn";
            EXPECT_EQ(outside, 0);
        }
    }
}

} // namespace
} // namespace orvel
