#include <gtest/gtest.h>

#include <set>

#include "core/Trim.h"
#include "core/Uuid.h"

using namespace orvel;

TEST(Trim, RemovesUnicodeWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(text::trimmed(" \t\n\u00A0a b\u2003\r\n"), "a b");
    EXPECT_EQ(text::trimmed("\u3000\u2028"), "");
    EXPECT_EQ(text::trimmed(""), "");
    EXPECT_EQ(text::trimmed("\u00E9"), "\u00E9");
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
