#include "Orvel/views/LanguageCandidates.h"

#include "Orvel/state/LanguageNames.h"
#include "core/CaseFolding.h"
#include "core/Languages.h"
#include "core/ScalarTrimming.h"
#include "core/Unicode.h"

#include <unicode/locid.h>

#include <algorithm>
#include <set>
#include <utility>

namespace orvel::LanguageCandidates {
namespace {

bool isBareCode(std::string_view identifier) {
    return identifier.find_first_of("_-") == std::string_view::npos && text::graphemeCount(identifier) < 4;
}

} // namespace

std::vector<std::string> fromIdentifiers(const std::vector<std::string>& systemIdentifiers) {
    std::vector<std::string> codes;
    for (const std::string& identifier : systemIdentifiers)
        if (isBareCode(identifier))
            codes.push_back(identifier);
    const std::vector<std::string>& common = Languages::common();
    codes.insert(codes.end(), common.begin(), common.end());

    std::set<std::string> seen;
    std::vector<std::pair<std::string, std::string>> named; // (name in NFC, code)
    for (std::string& code : codes)
        if (seen.insert(code).second)
            named.emplace_back(text::nfc(Languages::nativeName(code)), std::move(code));
    // UTF-8 bytes sort in code point order.
    std::sort(named.begin(), named.end());

    std::vector<std::string> candidates;
    candidates.reserve(named.size());
    for (auto& entry : named)
        candidates.push_back(std::move(entry.second));
    return candidates;
}

std::vector<std::string> systemIdentifiers() {
    int32_t count = 0;
    const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
    std::vector<std::string> identifiers;
    identifiers.reserve(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        identifiers.emplace_back(locales[i].getName());
    return identifiers;
}

const std::vector<std::string>& shared() {
    static const std::vector<std::string> candidates = fromIdentifiers(systemIdentifiers());
    return candidates;
}

bool matches(const std::string& code, std::string_view query) {
    return text::containsIgnoringCase(Languages::nativeName(code), query) ||
           text::containsIgnoringCase(Languages::englishName(code), query) ||
           text::containsIgnoringCase(displayName(code), query) || text::containsIgnoringCase(code, query);
}

std::vector<std::string> filtered(const std::vector<std::string>& candidates,
                                  const std::vector<std::string>& existing, std::string_view search) {
    const std::string_view query = text::trimmedScalars(search, text::isInlineWhitespace);
    std::vector<std::string> shown;
    for (const std::string& code : candidates) {
        if (std::find(existing.begin(), existing.end(), code) != existing.end())
            continue;
        if (query.empty() || matches(code, query))
            shown.push_back(code);
    }
    return shown;
}

} // namespace orvel::LanguageCandidates
