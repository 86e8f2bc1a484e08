#include <gtest/gtest.h>

#include <cstdlib>

#include "core/CachesFolder.h"
#include "core/CaseFolding.h"
#include "core/OrvelPaths.h"

using namespace orvel;

TEST(CachesFolder, OverrideThenAbsoluteXdgValueThenHomeCache) {
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;

    setenv("XDG_CACHE_HOME", "/var/tmp/caches", 1);
    EXPECT_EQ(CachesFolder::path(), "/var/tmp/caches");
    setenv("XDG_CACHE_HOME", "relative/caches", 1);
    EXPECT_EQ(CachesFolder::path(), OrvelPaths::home() / ".cache");
    unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(CachesFolder::path(), OrvelPaths::home() / ".cache");
    CachesFolder::setOverride("/tmp/test-caches");
    EXPECT_EQ(CachesFolder::path(), "/tmp/test-caches");
    CachesFolder::setOverride(std::nullopt);
    EXPECT_EQ(CachesFolder::path(), OrvelPaths::home() / ".cache");

    if (previous)
        setenv("XDG_CACHE_HOME", previous->c_str(), 1);
}

TEST(CaseFolding, FindsAPartWithoutRegardToCase) {
    EXPECT_TRUE(text::containsIgnoringCase("Export as pdf", "PDF"));
    EXPECT_TRUE(text::containsIgnoringCase("GROSSE STRASSE", "straße"));
    EXPECT_TRUE(text::containsIgnoringCase("Cafe\u0301 ouvert", "CAFÉ")) << "canonical forms are compared";
    EXPECT_FALSE(text::containsIgnoringCase("Cafe ouvert", "café")) << "diacritics still count";
    EXPECT_FALSE(text::containsIgnoringCase("anything", ""));
}
