#include <gtest/gtest.h>

#include <cstdlib>

#include "core/CachesFolder.h"
#include "core/CaseFolding.h"
#include "core/OrvelPaths.h"

using namespace orvel;

TEST(CachesFolder, FollowsTheDesktopConvention) {
    OrvelPaths::setHomeOverride("/home/someone");
    setenv("XDG_CACHE_HOME", "/var/cache/someone", 1);
    EXPECT_EQ(CachesFolder::path(), "/var/cache/someone");
    setenv("XDG_CACHE_HOME", "relative/cache", 1);
    EXPECT_EQ(CachesFolder::path(), "/home/someone/.cache") << "a relative folder is ignored";
    unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(CachesFolder::path(), "/home/someone/.cache");
    OrvelPaths::setHomeOverride(std::nullopt);
}

TEST(CaseFolding, FindsAPartWithoutRegardToCase) {
    EXPECT_TRUE(text::containsIgnoringCase("Export as pdf", "PDF"));
    EXPECT_TRUE(text::containsIgnoringCase("GROSSE STRASSE", "straße"));
    EXPECT_TRUE(text::containsIgnoringCase("Cafe\u0301 ouvert", "CAFÉ")) << "canonical forms are compared";
    EXPECT_FALSE(text::containsIgnoringCase("Cafe ouvert", "café")) << "diacritics still count";
    EXPECT_FALSE(text::containsIgnoringCase("anything", ""));
}
