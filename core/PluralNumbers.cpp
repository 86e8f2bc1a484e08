#include "core/PluralNumbers.h"

#include <unicode/locid.h>
#include <unicode/plurrule.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "core/PluralRulesKey.h"

namespace orvel::PluralNumbers {
namespace {

// The rules read a number's last one or two digits, so every pattern of runs shows up to here; the
// rules' own samples add the few larger numbers that a category may begin at (1000000 for "many").
constexpr std::int32_t scannedUpTo = 1000;
constexpr std::size_t sampleCapacity = 64;

// The rules of the whole tag where the locale data have rules of their own for it (Portugal's
// Portuguese), else those of its base code; the key is always a plain locale name.
std::unique_ptr<icu::PluralRules> rulesFor(std::string_view code) {
    const auto key = PluralRules::rulesKey(code);
    if (!key)
        return nullptr;
    const icu::Locale locale(key->c_str());
    if (locale.isBogus())
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::PluralRules> rules(icu::PluralRules::forLocale(locale, status));
    return U_SUCCESS(status) ? std::move(rules) : nullptr;
}

// The sampled numbers above the scanned ones that really are whole numbers of the category: the
// samples also hold decimals, and 1.0 is not always chosen like 1.
std::vector<std::int32_t> largerSamples(icu::PluralRules& rules, const icu::UnicodeString& keyword) {
    std::array<double, sampleCapacity> samples{};
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t count =
        rules.getSamples(keyword, samples.data(), static_cast<std::int32_t>(samples.size()), status);
    std::vector<std::int32_t> numbers;
    for (std::int32_t at = 0; U_SUCCESS(status) && at < count; ++at) {
        const double sample = samples[static_cast<std::size_t>(at)];
        if (sample <= scannedUpTo || sample > std::numeric_limits<std::int32_t>::max() ||
            sample != std::floor(sample))
            continue;
        const auto number = static_cast<std::int32_t>(sample);
        if (rules.select(number) == keyword)
            numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

} // namespace

bool WholeNumbers::isSeveral() const {
    return more || runs.size() > 1 || (runs.size() == 1 && runs.front().first != runs.front().second);
}

std::optional<WholeNumbers> wholeNumbers(std::string_view code, std::string_view category,
                                         std::size_t maxRuns) {
    const auto rules = rulesFor(code);
    const auto keyword = icu::UnicodeString::fromUTF8(
        icu::StringPiece(category.data(), static_cast<std::int32_t>(category.size())));
    if (!rules || !rules->isKeyword(keyword))
        return std::nullopt;
    WholeNumbers numbers;
    // One run is always kept, so that one number alone never reads as several.
    maxRuns = std::max<std::size_t>(maxRuns, 1);
    // False once a number falls beyond the runs that are kept.
    const auto add = [&numbers, maxRuns](std::int32_t number) {
        if (!numbers.runs.empty() && numbers.runs.back().second + 1 == number) {
            numbers.runs.back().second = number;
            return true;
        }
        if (numbers.runs.size() == maxRuns) {
            numbers.more = true;
            return false;
        }
        numbers.runs.emplace_back(number, number);
        return true;
    };
    for (std::int32_t number = 0; number <= scannedUpTo; ++number)
        if (rules->select(number) == keyword && !add(number))
            return numbers;
    // A run that reaches the end of the scan goes on past it, so the samples beyond add nothing.
    if (!numbers.runs.empty() && numbers.runs.back().second == scannedUpTo) {
        numbers.more = true;
        numbers.endless = true;
        return numbers;
    }
    for (const std::int32_t number : largerSamples(*rules, keyword))
        if (!add(number))
            break;
    return numbers;
}

} // namespace orvel::PluralNumbers
