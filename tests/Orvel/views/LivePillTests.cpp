#include "Orvel/views/LivePill.h"

#include "Orvel/views/PillFont.h"

#include <QFontMetricsF>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace orvel {
namespace {

TEST(LivePill, AsksForTheOtherStateAndNeverFlipsItself) {
    struct Case {
        const char* name;
        bool on;
        std::function<void(LivePill&)> press;
    };
    const auto click = [](LivePill& pill) {
        QTest::mouseClick(&pill, Qt::LeftButton, {}, pill.rect().center());
    };
    const auto space = [](LivePill& pill) { QTest::keyClick(&pill, Qt::Key_Space); };
    const auto program = [](LivePill& pill) { pill.click(); };
    const std::vector<Case> cases{
        {"click while off", false, click},   {"click while on", true, click},
        {"space while off", false, space},   {"space while on", true, space},
        {"click() while on", true, program},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        LivePill pill("Live in Notes");
        pill.setOn(row.on);
        pill.show();
        pill.setFocus();
        QSignalSpy requested(&pill, &LivePill::toggleRequested);
        row.press(pill);
        ASSERT_EQ(requested.count(), 1);
        EXPECT_EQ(requested.at(0).at(0).toBool(), !row.on);
        EXPECT_EQ(pill.isOn(), row.on);
        EXPECT_EQ(pill.isChecked(), row.on);
    }
}

TEST(LivePill, IsDotLabelAndPaddingWideAndShowsDataVerbatim) {
    const QString label = "Live in <b>A&B</b>";
    LivePill pill(label);
    QFont font = pillFont();
    font.setWeight(QFont::DemiBold);
    const int text = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(label)));
    EXPECT_EQ(pill.sizeHint(), QSize(10 + 7 + 5 + text + 10, 24));
    EXPECT_EQ(pill.text(), label);
    EXPECT_TRUE(pill.shortcut().isEmpty());
}

} // namespace
} // namespace orvel
