#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/SharedLibrary.h"

using namespace orvel;

namespace {

// What the first call into a library reports: nothing, or the failure's text.
std::optional<std::string> failureOf(const std::string& soname, const char* function) {
    try {
        const SharedLibrary library(soname);
        const auto length = library.function<decltype(&std::strlen)>(function);
        EXPECT_EQ(length("four"), 4u);
        return std::nullopt;
    } catch (const std::runtime_error& error) {
        return std::string(error.what());
    }
}

} // namespace

TEST(SharedLibrary, TellsWhichLibraryOrFunctionCouldNotBeHad) {
    struct Row {
        const char* soname;
        const char* function;
        std::optional<std::string> startOfFailure;
    };
    const Row rows[] = {
        {"libc.so.6", "strlen", std::nullopt},
        {"libc.so.6", "orvel_no_such_function",
         "The system library libc.so.6 has no function orvel_no_such_function: "},
        {"liborvel-missing.so.1", "strlen", "The system library liborvel-missing.so.1 could not be loaded: "},
        // A path is the loader's business as much as a name, and a folder is no library.
        {"/", "strlen", "The system library / could not be loaded: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.soname + std::string(" ") + row.function);
        const std::optional<std::string> failure = failureOf(row.soname, row.function);
        ASSERT_EQ(failure.has_value(), row.startOfFailure.has_value()) << failure.value_or("");
        if (failure) {
            EXPECT_TRUE(failure->starts_with(*row.startOfFailure)) << *failure;
            // The loader's own reason follows.
            EXPECT_GT(failure->size(), row.startOfFailure->size()) << *failure;
        }
    }
}
