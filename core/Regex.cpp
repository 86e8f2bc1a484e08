#include "core/Regex.h"

#include <memory>

#include <unicode/utext.h>

namespace orvel::regex {
namespace {

struct UTextCloser {
    void operator()(UText* t) const { utext_close(t); }
};

// A matcher over UTF-8 text: ICU then reports native indexes, which are byte offsets.
class Utf8Matcher {
  public:
    Utf8Matcher(const icu::RegexPattern& pattern, std::string_view text) {
        UErrorCode status = U_ZERO_ERROR;
        m_text.reset(utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
        if (U_FAILURE(status))
            return;
        m_matcher.reset(pattern.matcher(status));
        if (U_FAILURE(status)) {
            m_matcher.reset();
            return;
        }
        m_matcher->reset(m_text.get());
    }

    icu::RegexMatcher* get() { return m_matcher.get(); }

    Match current() {
        UErrorCode status = U_ZERO_ERROR;
        Match match;
        match.range = {static_cast<std::size_t>(m_matcher->start64(status)),
                       static_cast<std::size_t>(m_matcher->end64(status))};
        const int32_t count = m_matcher->groupCount();
        for (int32_t g = 1; g <= count; ++g) {
            const int64_t start = m_matcher->start64(g, status);
            const int64_t end = m_matcher->end64(g, status);
            if (U_FAILURE(status) || start < 0)
                match.groups.emplace_back();
            else
                match.groups.emplace_back(
                    Range{static_cast<std::size_t>(start), static_cast<std::size_t>(end)});
            status = U_ZERO_ERROR;
        }
        return match;
    }

  private:
    std::unique_ptr<UText, UTextCloser> m_text;
    std::unique_ptr<icu::RegexMatcher> m_matcher;
};

} // namespace

std::optional<std::string_view> Match::group(std::string_view subject, std::size_t number) const {
    if (number == 0)
        return text(subject);
    if (number > groups.size() || !groups[number - 1])
        return std::nullopt;
    const Range& r = *groups[number - 1];
    return subject.substr(r.start, r.length());
}

std::optional<Match> firstMatch(const icu::RegexPattern& pattern, std::string_view text, std::size_t from) {
    if (from > text.size())
        return std::nullopt;
    Utf8Matcher m(pattern, text);
    if (!m.get())
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    if (!m.get()->find(static_cast<int64_t>(from), status) || U_FAILURE(status))
        return std::nullopt;
    return m.current();
}

std::vector<Match> allMatches(const icu::RegexPattern& pattern, std::string_view text) {
    std::vector<Match> out;
    Utf8Matcher m(pattern, text);
    if (!m.get())
        return out;
    while (m.get()->find())
        out.push_back(m.current());
    return out;
}

std::optional<Match> matchAt(const icu::RegexPattern& pattern, std::string_view text, std::size_t at) {
    if (at > text.size())
        return std::nullopt;
    Utf8Matcher m(pattern, text);
    if (!m.get())
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    m.get()->region(static_cast<int64_t>(at), static_cast<int64_t>(text.size()), status);
    m.get()->useTransparentBounds(true);
    m.get()->useAnchoringBounds(false);
    if (U_FAILURE(status) || !m.get()->lookingAt(status) || U_FAILURE(status))
        return std::nullopt;
    return m.current();
}

bool contains(const icu::RegexPattern& pattern, std::string_view text) {
    return firstMatch(pattern, text).has_value();
}

std::string replaceAll(const icu::RegexPattern& pattern, std::string_view text,
                       std::string_view replacement) {
    UErrorCode status = U_ZERO_ERROR;
    const auto utf16 =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    // Replacement works on the UTF-16 form; the result is converted back once.
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(utf16, status));
    if (U_FAILURE(status))
        return std::string(text);
    const auto result =
        matcher->replaceAll(icu::UnicodeString::fromUTF8(icu::StringPiece(
                                replacement.data(), static_cast<int32_t>(replacement.size()))),
                            status);
    if (U_FAILURE(status))
        return std::string(text);
    std::string out;
    result.toUTF8String(out);
    return out;
}

} // namespace orvel::regex
