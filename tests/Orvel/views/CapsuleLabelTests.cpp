#include "Orvel/views/CapsuleLabel.h"

#include "Orvel/views/Animations.h"
#include "Orvel/views/MiniSpinner.h"
#include "Orvel/views/Palette.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>

namespace orvel {
namespace {

TEST(CapsuleLabel, IsItsTextPlusPadding) {
    struct Case {
        const char* name;
        QString text;
        CapsuleLabel::Look look;
        int horizontal;
        int vertical;
    };
    const QString grouped = QString("12") + QChar(0x202F) + "345 of 300";
    const std::vector<Case> cases{
        {"count", "120 of 300", CapsuleLabel::countLook(), 7, 1},
        {"tinted count", grouped, CapsuleLabel::countLook(Palette::accent()), 7, 1},
        {"status", "Connected", CapsuleLabel::statusLook(Palette::green()), 8, 2},
        {"outline", "Optional", CapsuleLabel::outlineLook(), 6, 1},
        {"empty", "", CapsuleLabel::countLook(), 7, 1},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const CapsuleLabel label(row.text, row.look);
        const QFontMetricsF metrics(row.look.font);
        const QSize text(static_cast<int>(std::ceil(metrics.horizontalAdvance(row.text))),
                         static_cast<int>(std::ceil(metrics.height())));
        EXPECT_EQ(label.sizeHint(), text + QSize(2 * row.horizontal, 2 * row.vertical));
    }
    EXPECT_EQ(CapsuleLabel::countLook().font.pixelSize(), 11);
}

TEST(MiniSpinner, TurnsOnlyWhileShownWithAnimationsOn) {
    struct Case {
        bool animations;
        bool shown;
        bool spinning;
    };
    const std::vector<Case> cases{{false, true, false}, {true, true, true}, {true, false, false}};
    for (const Case& row : cases) {
        SCOPED_TRACE(std::to_string(row.animations) + std::to_string(row.shown));
        Animations::setEnabled(row.animations);
        MiniSpinner spinner;
        if (row.shown)
            spinner.show();
        EXPECT_EQ(spinner.isSpinning(), row.spinning);
        spinner.hide();
        EXPECT_FALSE(spinner.isSpinning());
    }
    Animations::setEnabled(false);
}

} // namespace
} // namespace orvel
