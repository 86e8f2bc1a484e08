#include "Orvel/views/PillButton.h"

#include "Orvel/views/PillFont.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>

namespace orvel {
namespace {

int advance(const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(pillFont()).horizontalAdvance(text)));
}

TEST(PillButton, IsContentPlusTwentyWideAndTwentyFourHighInBothForms) {
    struct Case {
        const char* name;
        QString label;
        bool chevron;
        std::optional<Symbol> symbol;
        int contentWidth;
    };
    const QString longLabel = "Translate 123456789012 Strings";
    const std::vector<Case> cases{
        {"text", "Stop", false, std::nullopt, advance("Stop")},
        {"long text", longLabel, false, std::nullopt, advance(longLabel)},
        {"text and chevron", "Deutsch", true, std::nullopt, advance("Deutsch") + 4 + 8},
        {"symbol alone", "", false, Symbol::Ellipsis, 14},
        {"data text", "<b>A&B</b>", true, std::nullopt, advance("<b>A&B</b>") + 4 + 8},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        for (bool prominent : {false, true}) {
            PillButton pill(row.label);
            pill.setProminent(prominent);
            pill.setChevron(row.chevron);
            pill.setSymbol(row.symbol);
            EXPECT_EQ(pill.sizeHint(), QSize(row.contentWidth + 20, 24)) << "prominent " << prominent;
            EXPECT_EQ(pill.text(), row.label);
            EXPECT_TRUE(pill.shortcut().isEmpty());
        }
    }
}

// The focus shows at a glance on the prominent form, whose fill is the accent itself: a ring of pixels
// that differ clearly from the button without the focus, around its edge.
TEST(PillButton, TheFocusRingStandsOutOnTheProminentForm) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* pill = new PillButton("Translate 12 Strings");
    pill->setProminent(true);
    auto* other = new PillButton("Stop");
    layout->addWidget(pill);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    const QImage plain = pill->grab().toImage();
    pill->setFocus();
    ASSERT_TRUE(pill->hasFocus());
    const QImage focused = pill->grab().toImage();
    int clear = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QColor a = plain.pixelColor(x, y);
            const QColor b = focused.pixelColor(x, y);
            const int difference =
                std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            clear += difference >= 150 ? 1 : 0;
        }
    // At least one pixel's width along the button's whole length, above and below.
    EXPECT_GE(clear, 2 * plain.width());
}

TEST(PillButton, KeepsItsSizeInATightLayoutAndAnswersOnItsWholeCapsule) {
    struct Case {
        const char* name;
        std::function<QPoint(QRect)> position;
        bool clicks;
    };
    const std::vector<Case> cases{
        {"centre", [](QRect r) { return r.center(); }, true},
        {"leading padding", [](QRect r) { return QPoint(4, r.center().y()); }, true},
        {"trailing padding", [](QRect r) { return QPoint(r.right() - 4, r.center().y()); }, true},
        // QTest reads the point (0, 0) as "the centre", so the corners are taken one pixel in.
        {"top left corner, outside the capsule", [](QRect r) { return r.topLeft() + QPoint(1, 1); }, false},
        {"bottom right corner, outside the capsule", [](QRect r) { return r.bottomRight() - QPoint(1, 1); },
         false},
    };
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* pill = new PillButton("Translate 12345 Strings");
    layout->addWidget(pill);
    window.resize(40, 10);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(pill->size(), pill->sizeHint());

    QSignalSpy clicked(pill, &QAbstractButton::clicked);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        clicked.clear();
        QTest::mouseClick(pill, Qt::LeftButton, {}, row.position(pill->rect()));
        EXPECT_EQ(clicked.count(), row.clicks ? 1 : 0);
    }
}

} // namespace
} // namespace orvel
