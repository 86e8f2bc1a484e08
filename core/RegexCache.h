#pragma once
// The process-wide cache of compiled regular expressions (ICU syntax, the same as the platform's).
// Each pattern is compiled once per case mode; callers get a shared immutable pattern and make their
// own matcher for every use through the functions of Regex.h.

#include <memory>
#include <string_view>

#include <unicode/regex.h>

namespace orvel {

using CompiledRegex = std::shared_ptr<const icu::RegexPattern>;

namespace RegexCache {

// The compiled expression, or null when the pattern does not compile (nothing is stored then).
CompiledRegex regex(std::string_view pattern, bool caseInsensitive = false);

// The number of cached expressions; for tests.
std::size_t size();

} // namespace RegexCache
} // namespace orvel
