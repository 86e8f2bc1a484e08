#include "core/PluralRulesKey.h"

#include <unicode/locid.h>
#include <unicode/ures.h>

#include <memory>
#include <set>

#include "core/LanguageCode.h"
#include "core/PluralRules.h"

namespace orvel::PluralRules {
namespace {

struct BundleCloser {
    void operator()(UResourceBundle* bundle) const { ures_close(bundle); }
};
using Bundle = std::unique_ptr<UResourceBundle, BundleCloser>;

// The names of the locales that the locale data give plural rules, read once.
const std::set<std::string, std::less<>>& localesWithRules() {
    static const std::set<std::string, std::less<>> names = [] {
        std::set<std::string, std::less<>> out;
        UErrorCode status = U_ZERO_ERROR;
        const Bundle plurals(ures_openDirect(nullptr, "plurals", &status));
        const Bundle locales(ures_getByKey(plurals.get(), "locales", nullptr, &status));
        while (U_SUCCESS(status) && ures_hasNext(locales.get())) {
            const Bundle entry(ures_getNextResource(locales.get(), nullptr, &status));
            if (const char* key = U_SUCCESS(status) ? ures_getKey(entry.get()) : nullptr)
                out.emplace(key);
        }
        return out;
    }();
    return names;
}

} // namespace

std::optional<std::string> rulesKey(std::string_view code) {
    const std::string base = baseCode(code);
    std::string name;
    if (isPlausibleLanguageCode(code))
        name = icu::Locale(std::string(code).c_str()).getBaseName();
    else if (isPlausibleLanguageCode(base))
        name = base;
    else
        return std::nullopt;
    const auto& known = localesWithRules();
    for (;;) {
        if (known.contains(name))
            return name;
        const auto cut = name.rfind('_');
        if (cut == std::string::npos || cut == 0)
            return std::nullopt;
        name.erase(cut);
    }
}

} // namespace orvel::PluralRules
