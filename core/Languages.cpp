#include "core/Languages.h"

#include <memory>

#include <unicode/locdspnm.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "core/LanguageCode.h"
#include "core/Unicode.h"

namespace orvel::Languages {
namespace {

// A code that is no language tag stays bogus: ICU copies a locale's name into fixed buffers in some of
// its lookups, and a code from a hostile file must not reach them.
icu::Locale localeFor(std::string_view code) {
    if (!isPlausibleLanguageCode(code)) {
        icu::Locale bogus;
        bogus.setToBogus();
        return bogus;
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale =
        icu::Locale::forLanguageTag(icu::StringPiece(code.data(), static_cast<int32_t>(code.size())), status);
    if (U_FAILURE(status) || locale.isBogus() || std::string_view(locale.getName()).empty())
        locale = icu::Locale(std::string(code).c_str());
    return locale;
}

// Whether the locale data name the code's language at all. Without this test ICU echoes an unknown
// code back in its own spelling ("XX" as "xx") or calls it "Unknown language" ("und", "-"), where the
// code as written must stand for itself.
bool namesLanguage(const icu::Locale& locale) {
    static const std::unique_ptr<icu::LocaleDisplayNames> names = [] {
        UDisplayContext context = UDISPCTX_NO_SUBSTITUTE;
        return std::unique_ptr<icu::LocaleDisplayNames>(
            icu::LocaleDisplayNames::createInstance(icu::Locale("en"), &context, 1));
    }();
    const std::string_view language = locale.getLanguage();
    if (!names || language.empty() || language == "und")
        return false;
    icu::UnicodeString name;
    names->languageDisplayName(locale.getLanguage(), name);
    return !name.isBogus() && !name.isEmpty();
}

std::string displayName(std::string_view code, const icu::Locale& inLocale) {
    const icu::Locale locale = localeFor(code);
    if (code.empty() || locale.isBogus() || inLocale.isBogus() || !namesLanguage(locale))
        return std::string(code);
    icu::UnicodeString name;
    locale.getDisplayName(inLocale, name);
    std::string out;
    name.toUTF8String(out);
    return out.empty() ? std::string(code) : out;
}

} // namespace

std::string nativeName(std::string_view code) {
    const icu::Locale locale = localeFor(code);
    return text::uppercasedFirst(displayName(code, locale), locale.getName());
}

std::string englishName(std::string_view code) {
    return displayName(code, icu::Locale("en"));
}

std::string displayName(std::string_view code, std::string_view inLanguage) {
    return displayName(code, localeFor(inLanguage));
}

const std::vector<std::string>& common() {
    static const std::vector<std::string> codes{
        "ar", "bg", "ca",    "cs", "da", "de", "el",    "es",      "es-419", "et", "fa",
        "fi", "fr", "fr-CA", "he", "hi", "hr", "hu",    "id",      "it",     "ja", "ko",
        "lt", "lv", "ms",    "nb", "nl", "pl", "pt-BR", "pt-PT",   "ro",     "ru", "sk",
        "sl", "sr", "sv",    "th", "tr", "uk", "vi",    "zh-Hans", "zh-Hant"};
    return codes;
}

} // namespace orvel::Languages
