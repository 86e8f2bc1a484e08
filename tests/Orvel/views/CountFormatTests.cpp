#include "Orvel/views/CountFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvel {
namespace {

TEST(CountFormat, GroupsFromFiveDigitsWithNarrowSpaces) {
    const QString gap(QChar(0x202F));
    struct Case {
        std::int64_t count;
        QString text;
    };
    const std::vector<Case> cases{
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1000"},
        {9999, "9999"},
        {10000, "10" + gap + "000"},
        {99999, "99" + gap + "999"},
        {123456, "123" + gap + "456"},
        {1234567, "1" + gap + "234" + gap + "567"},
        {-1, "-1"},
        {-9999, "-9999"},
        {-12345, "-12" + gap + "345"},
        {std::numeric_limits<std::int64_t>::min(),
         "-9" + gap + "223" + gap + "372" + gap + "036" + gap + "854" + gap + "775" + gap + "808"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.count);
        EXPECT_EQ(formatCount(row.count), row.text);
    }
}

} // namespace
} // namespace orvel
