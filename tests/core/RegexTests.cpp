#include <gtest/gtest.h>

#include <thread>

#include "core/Locked.h"
#include "core/Regex.h"

using namespace orvel;

TEST(RegexCache, CachesEachPatternOncePerCaseMode) {
    auto sensitive = RegexCache::regex("\\bcolou?r\\b");
    auto insensitive = RegexCache::regex("\\bcolou?r\\b", true);
    ASSERT_TRUE(sensitive && insensitive);
    EXPECT_NE(sensitive.get(), insensitive.get());
    EXPECT_EQ(RegexCache::regex("\\bcolou?r\\b").get(), sensitive.get());
    EXPECT_TRUE(regex::contains(*insensitive, "COLOR"));
    EXPECT_FALSE(regex::contains(*sensitive, "COLOR"));
}

TEST(RegexCache, InvalidPatternIsAbsentAndNotStored) {
    const auto before = RegexCache::size();
    EXPECT_EQ(RegexCache::regex("(unclosed"), nullptr);
    EXPECT_EQ(RegexCache::regex("(unclosed"), nullptr);
    EXPECT_EQ(RegexCache::size(), before);
}

TEST(RegexCache, ConcurrentRequestsShareOneCompiledPattern) {
    std::vector<const void*> seen(8);
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&seen, i] { seen[i] = RegexCache::regex("concurrent-[0-9]+").get(); });
    }
    for (auto* p : seen)
        EXPECT_EQ(p, seen[0]);
}

TEST(Regex, OffsetsAreUtf8ByteOffsets) {
    auto re = RegexCache::regex("(\u00E9+)(x)?");
    auto m = regex::firstMatch(*re, "ab\u00E9\u00E9c");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->range, (regex::Range{2, 6}));
    EXPECT_EQ(*m->group("ab\u00E9\u00E9c", 1), "\u00E9\u00E9");
    EXPECT_FALSE(m->group("ab\u00E9\u00E9c", 2));
}

TEST(Regex, MatchAtAnchorsAtThePositionButSeesTheTextBefore) {
    auto re = RegexCache::regex("(?<=%)[0-9]+\\$");
    const std::string text = "a %12$@";
    EXPECT_FALSE(regex::matchAt(*re, text, 2));
    auto m = regex::matchAt(*re, text, 3);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text(text), "12$");
}

TEST(Regex, AllMatchesAndReplace) {
    auto re = RegexCache::regex("[0-9]+");
    EXPECT_EQ(regex::allMatches(*re, "1 a 22 \u00FC 333").size(), 3u);
    EXPECT_EQ(regex::replaceAll(*RegexCache::regex("(\\w+)@"), "\u00FCser@host", "<$1>"), "<\u00FCser>host");
}

TEST(Locked, SerialisesReadModifyWrite) {
    Locked<int> counter(0);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 1000; ++i)
                    counter.withLock([](int& v) { ++v; });
            });
    }
    EXPECT_EQ(counter.get(), 8000);
}
