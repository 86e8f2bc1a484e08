#include <gtest/gtest.h>

#include <chrono>

#include "core/Date.h"

namespace orvel {
namespace {

using namespace std::chrono;

Date march1st(int millisecond) {
    return sys_days(year(2025) / 3 / 1) + 14h + 5min + 9s + milliseconds(millisecond);
}

TEST(Date, WritesUtcWithMilliseconds) {
    EXPECT_EQ(Dates::iso8601(march1st(120)), "2025-03-01T14:05:09.120Z");
    EXPECT_EQ(Dates::iso8601(march1st(0)), "2025-03-01T14:05:09.000Z");
    EXPECT_EQ(Dates::iso8601(Date{}), "1970-01-01T00:00:00.000Z");
    EXPECT_EQ(Dates::iso8601(Date{} - 1ms), "1969-12-31T23:59:59.999Z");
}

TEST(Date, ReadsWithAndWithoutFraction) {
    EXPECT_EQ(Dates::parseIso8601("2025-03-01T14:05:09.120Z"), march1st(120));
    EXPECT_EQ(Dates::parseIso8601("2025-03-01T14:05:09Z"), march1st(0));
    EXPECT_EQ(Dates::parseIso8601("2025-03-01T14:05:09.1Z"), march1st(100));
    EXPECT_EQ(Dates::parseIso8601("2025-03-01T14:05:09.123456Z"), march1st(123));
    EXPECT_EQ(Dates::parseIso8601("2025-03-01T16:05:09.120+02:00"), march1st(120));
    EXPECT_EQ(Dates::parseIso8601("2025-03-01T13:35:09-00:30"), march1st(0));
}

TEST(Date, RejectsOtherForms) {
    for (const char* text :
         {"2025-03-01", "2025-03-01 14:05:09", "2025-03-01T14:05:09", "2025-03-01T14:05:09.Z",
          "2025-02-29T00:00:00Z", "2025-13-01T00:00:00Z", "2025-03-01T24:00:00Z", "2025-03-01T14:05:09Zjunk",
          "25-03-01T14:05:09Z", "2025-03-01T14:05:09+0200", ""})
        EXPECT_FALSE(Dates::parseIso8601(text)) << text;
    EXPECT_TRUE(Dates::parseIso8601("2024-02-29T00:00:00Z"));
}

TEST(Date, CoderRoundTripsAndNamesTheBadText) {
    const Date date = march1st(987);
    EXPECT_EQ(json::decode<Date>(json::encode(date)), date);

    try {
        json::decode<Date>(json::Json("2025-03-01 14:05:09"));
        FAIL() << "expected a decoding error";
    } catch (const json::DecodingError& error) {
        EXPECT_STREQ(error.what(), "Not an ISO 8601 date: 2025-03-01 14:05:09");
    }
    EXPECT_THROW(json::decode<Date>(json::Json(1740837909)), json::DecodingError);
}

} // namespace
} // namespace orvel
