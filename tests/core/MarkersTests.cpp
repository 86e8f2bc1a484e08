#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "core/Markers.h"
#include "core/Unicode.h"

using namespace orvel;

namespace {

const std::string frame = "\u2060";

std::string digit(char32_t value) {
    std::string out;
    text::appendScalar(out, U'\U000E0100' + value);
    return out;
}

} // namespace

TEST(Markers, EncodesBase240DigitsBetweenFrames) {
    EXPECT_EQ(Markers::encode(0), frame + digit(0) + frame);
    EXPECT_EQ(Markers::encode(239), frame + digit(239) + frame);
    EXPECT_EQ(Markers::encode(240), frame + digit(1) + digit(0) + frame);
    EXPECT_EQ(Markers::encode(240 * 240 + 5), frame + digit(1) + digit(0) + digit(5) + frame);
    EXPECT_EQ(Markers::encode(-1), "");
}

TEST(Markers, EveryNumberRoundTrips) {
    for (const std::int64_t number :
         {std::int64_t{0}, std::int64_t{7}, std::int64_t{239}, std::int64_t{240}, std::int64_t{57599},
          std::int64_t{57600}, std::int64_t{1} << 40, std::numeric_limits<std::int64_t>::max()}) {
        const auto stripped = Markers::strip(Markers::encode(number));
        EXPECT_EQ(stripped.text, "") << number;
        EXPECT_EQ(stripped.ids, std::vector<std::int64_t>{number}) << number;
    }
}

TEST(Markers, StripsMarkersAndKeepsTheirOrder) {
    auto stripped = Markers::strip(std::string("Save") + Markers::encode(7));
    EXPECT_EQ(stripped.text, "Save");
    EXPECT_EQ(stripped.ids, std::vector<std::int64_t>{7});

    stripped = Markers::strip(Markers::encode(3) + "Open " + Markers::encode(500) + Markers::encode(2) + "…");
    EXPECT_EQ(stripped.text, "Open …");
    EXPECT_EQ(stripped.ids, (std::vector<std::int64_t>{3, 500, 2}));
    EXPECT_EQ(Markers::clean(std::string("a") + Markers::encode(1) + "b"), "ab");
}

TEST(Markers, TextsWithoutMarkersComeBackIdentical) {
    for (const std::string& text :
         {std::string(), std::string("Plain text"), std::string("Ünïcødé 😀"), std::string("bad \xFF byte")}) {
        const auto stripped = Markers::strip(text);
        EXPECT_EQ(stripped.text, text);
        EXPECT_TRUE(stripped.ids.empty());
    }
}

TEST(Markers, MalformedRunsStayAsText) {
    const std::vector<std::string> malformed = {
        frame,                             // a lone frame at the end
        frame + frame,                     // no digits
        "x" + frame + digit(1) + digit(2), // digits up to the end
        frame + digit(1) + "a" + frame,    // digits followed by something else
        frame + "a" + digit(3) + frame,    // no digit right after the frame
        digit(4) + frame + "text",         // a digit outside any frame
    };
    for (const auto& text : malformed) {
        const auto stripped = Markers::strip(text);
        EXPECT_EQ(stripped.text, text);
        EXPECT_TRUE(stripped.ids.empty());
    }
}

TEST(Markers, AClosingFrameIsNotReusedAsAnOpeningOne) {
    const auto stripped = Markers::strip(frame + digit(1) + frame + digit(2) + frame);
    EXPECT_EQ(stripped.text, digit(2) + frame);
    EXPECT_EQ(stripped.ids, std::vector<std::int64_t>{1});
}

TEST(Markers, RunsBeyondSixtyFourBitsAreOrdinaryText) {
    // 239 repeated nine times is far beyond the largest 64-bit number.
    std::string huge = frame;
    for (int i = 0; i < 9; ++i)
        huge += digit(239);
    huge += frame;
    const std::string text = "A" + huge + "B" + Markers::encode(9);
    const auto stripped = Markers::strip(text);
    EXPECT_EQ(stripped.text, "A" + huge + "B");
    EXPECT_EQ(stripped.ids, std::vector<std::int64_t>{9});

    // One more than the largest number still does not fit.
    const std::string largest = Markers::encode(std::numeric_limits<std::int64_t>::max());
    std::string bumped = largest;
    const std::string lastDigit =
        digit(static_cast<char32_t>(std::numeric_limits<std::int64_t>::max() % 240));
    const std::string nextDigit =
        digit(static_cast<char32_t>(std::numeric_limits<std::int64_t>::max() % 240 + 1));
    bumped.replace(bumped.size() - frame.size() - lastDigit.size(), lastDigit.size(), nextDigit);
    EXPECT_EQ(Markers::strip(bumped).text, bumped);
}
