#include <gtest/gtest.h>

#include <set>

#include "core/ScalarTrimming.h"
#include "core/TextPieces.h"
#include "core/Uuid.h"

using namespace orvel;

TEST(Trim, RemovesUnicodeWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(text::trimmed(" \t\n\u00A0a b\u2003\r\n"), "a b");
    EXPECT_EQ(text::trimmed("\u3000\u2028"), "");
    EXPECT_EQ(text::trimmed(""), "");
    EXPECT_EQ(text::trimmed("\u00E9"), "\u00E9");
}

// The scan from both ends must give what reading every scalar forwards gives, ill-formed bytes included.
TEST(Trim, ScalarTrimmingKeepsEverythingBetweenTheFirstAndLastKeptScalar) {
    const auto isPeriodOrSpace = [](char32_t c) { return c == U'.' || c == U' ' || c == U'\u2026'; };
    struct Case {
        std::string name;
        std::string text;
        bool inlineOnly;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"ASCII at both ends", "  \t a  b \t ", true, "a  b"},
        {"line breaks are kept inline", "\n a \r\n", true, "\n a \r\n"},
        {"non-ASCII white space", "\u00A0\u2003x\u3000\u00A0", true, "x"},
        {"only white space", " \t\u00A0 ", true, ""},
        {"empty", "", true, ""},
        {"one kept scalar", "\u00E9", true, "\u00E9"},
        {"ill-formed byte at the end is kept", "a \xC3", true, "a \xC3"},
        {"ill-formed byte at the start is kept", "\xE2\x80 a", true, "\xE2\x80 a"},
        {"truncated sequence before white space", "a\xE2\x80 ", true, "a\xE2\x80"},
        {"other predicate", ". \u2026x.y\u2026 .", false, "x.y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto trimmed = c.inlineOnly ? text::trimmedScalars(c.text, text::isInlineWhitespace)
                                          : text::trimmedScalars(c.text, isPeriodOrSpace);
        EXPECT_EQ(trimmed, c.expected);
    }
}

TEST(Uuid, IsARandomVersion4UuidInUpperCase) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string uuid = Uuid::generate();
        ASSERT_EQ(uuid.size(), 36u);
        EXPECT_EQ(uuid[14], '4');
        EXPECT_NE(std::string("89AB").find(uuid[19]), std::string::npos);
        for (std::size_t at : {8u, 13u, 18u, 23u})
            EXPECT_EQ(uuid[at], '-');
        EXPECT_EQ(uuid.find_first_not_of("0123456789ABCDEF-"), std::string::npos);
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}
