#include "core/ParallelMapCopy.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orvel {
namespace {

TEST(ParallelMapCopy, CopiesEveryEntryOnceInOrderAndLeavesTheSourceAsItWas) {
    struct Case {
        const char* name;
        std::size_t size;
        std::vector<std::string> splitKeys;
    };
    for (const Case& c :
         {Case{"empty", 0, {"key 1"}}, Case{"no keys", 19, {}}, Case{"two runs", 20, {"key 10"}},
          Case{"runs of unequal length", 1003, {"key 1", "key 5", "key 9"}},
          Case{"keys out of order", 1003, {"key 9", "key 1", "key 5"}},
          Case{"a key given twice", 500, {"key 3", "key 3"}},
          Case{"keys that are no entries", 500, {"key 25 and more", "key 4!"}},
          Case{"keys before and after every entry", 500, {"a", "z"}}}) {
        SCOPED_TRACE(c.name);
        std::map<std::string, std::string> source;
        for (std::size_t i = 0; i < c.size; ++i)
            source.emplace("key " + std::to_string(i),
                           "a value long enough to live on the heap " + std::to_string(i));
        const std::map<std::string, std::string> before = source;
        std::map<std::string, std::string> copy = parallelCopy(source, c.splitKeys);
        EXPECT_EQ(copy, before);
        EXPECT_EQ(source, before);
        // The copy is a map of its own: changing it leaves the source alone.
        copy["key 0"] = "changed";
        EXPECT_EQ(source, before);
    }
}

} // namespace
} // namespace orvel
