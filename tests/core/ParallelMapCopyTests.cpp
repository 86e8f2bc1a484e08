#include "core/ParallelMapCopy.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace orvel {
namespace {

TEST(ParallelMapCopy, CopiesEveryEntryOnceInOrderAndLeavesTheSourceAsItWas) {
    struct Case {
        const char* name;
        std::size_t size;
        std::size_t smallestRun;
    };
    for (const Case& c : {Case{"empty", 0, 10}, Case{"too small for a second thread", 19, 10},
                          Case{"two runs exactly", 20, 10}, Case{"runs of unequal length", 1003, 10},
                          Case{"more runs than threads", 5000, 1}, Case{"a run of none counts as one", 7, 0}}) {
        SCOPED_TRACE(c.name);
        std::map<std::string, std::string> source;
        for (std::size_t i = 0; i < c.size; ++i)
            source.emplace("key " + std::to_string(i), "a value long enough to live on the heap " + std::to_string(i));
        const std::map<std::string, std::string> before = source;
        std::map<std::string, std::string> copy = parallelCopy(source, c.smallestRun);
        EXPECT_EQ(copy, before);
        EXPECT_EQ(source, before);
        // The copy is a map of its own: changing it leaves the source alone.
        copy["key 0"] = "changed";
        EXPECT_EQ(source, before);
    }
}

} // namespace
} // namespace orvel
