#include <gtest/gtest.h>

#include <string>

#include "core/PathComponent.h"

TEST(PathComponent, RejectsNamesThatLeaveTheirFolder) {
    using orvel::isSafePathComponent;
    EXPECT_TRUE(isSafePathComponent("com.example.App"));
    EXPECT_TRUE(isSafePathComponent("..hidden"));
    EXPECT_FALSE(isSafePathComponent(""));
    EXPECT_FALSE(isSafePathComponent("."));
    EXPECT_FALSE(isSafePathComponent(".."));
    EXPECT_FALSE(isSafePathComponent("a/b"));
    EXPECT_FALSE(isSafePathComponent(std::string("a\0b", 3)));
}
