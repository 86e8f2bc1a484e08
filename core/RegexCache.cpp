#include "core/RegexCache.h"

#include <map>
#include <mutex>
#include <string>

namespace orvel::RegexCache {
namespace {

struct Storage {
    std::mutex lock;
    std::map<std::string, CompiledRegex, std::less<>> expressions;
};

Storage& storage() {
    static Storage instance;
    return instance;
}

CompiledRegex compile(std::string_view pattern, bool caseInsensitive) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    const auto source =
        icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size())));
    std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
        source, caseInsensitive ? UREGEX_CASE_INSENSITIVE : 0, parseError, status));
    if (U_FAILURE(status))
        return nullptr;
    return CompiledRegex(std::move(compiled));
}

} // namespace

CompiledRegex regex(std::string_view pattern, bool caseInsensitive) {
    std::string key = (caseInsensitive ? "i:" : "s:") + std::string(pattern);
    auto& cache = storage();
    // The lock spans compilation so that two threads asking for one new pattern compile it once.
    std::lock_guard guard(cache.lock);
    if (auto it = cache.expressions.find(key); it != cache.expressions.end())
        return it->second;
    CompiledRegex compiled = compile(pattern, caseInsensitive);
    if (compiled)
        cache.expressions.emplace(std::move(key), compiled);
    return compiled;
}

std::size_t size() {
    auto& cache = storage();
    std::lock_guard guard(cache.lock);
    return cache.expressions.size();
}

} // namespace orvel::RegexCache
