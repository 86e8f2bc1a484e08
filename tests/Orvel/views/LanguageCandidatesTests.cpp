#include "Orvel/views/LanguageCandidates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvel {
namespace {

using Codes = std::vector<std::string>;

std::ptrdiff_t indexOf(const Codes& codes, const std::string& code) {
    const auto found = std::find(codes.begin(), codes.end(), code);
    return found == codes.end() ? -1 : found - codes.begin();
}

TEST(LanguageCandidates, OffersBareSystemCodesAndTheCommonListOnce) {
    struct Case {
        const char* name;
        Codes system;
        Codes present;
        Codes absent;
    };
    const std::vector<Case> cases{
        {"two and three letters", {"haw", "yue", "gsw"}, {"haw", "yue", "gsw"}, {}},
        {"region and script forms",
         {"de_AT", "sr_Latn", "zh-Hant-TW", "pt-BR"},
         {"de", "sr", "pt-BR"},
         {"de_AT", "sr_Latn", "zh-Hant-TW"}},
        {"four characters or more", {"root", "abcd", "en_US_POSIX"}, {}, {"root", "abcd", "en_US_POSIX"}},
        {"common variants without the system",
         {},
         {"es-419", "fr-CA", "pt-BR", "pt-PT", "zh-Hans", "zh-Hant"},
         {}},
        {"case kept as listed", {"EN"}, {"EN"}, {"en"}},
        {"repeats once", {"de", "haw", "haw", "de"}, {"de", "haw"}, {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const Codes candidates = LanguageCandidates::fromIdentifiers(row.system);
        for (const std::string& code : row.present)
            EXPECT_EQ(std::count(candidates.begin(), candidates.end(), code), 1) << code;
        for (const std::string& code : row.absent)
            EXPECT_EQ(indexOf(candidates, code), -1) << code;
    }
}

TEST(LanguageCandidates, SortsByOwnNameInCodePointOrderThenByCode) {
    struct Case {
        const char* name;
        Codes system;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases{
        {"Latin letters", {"en"}, "de", "en"},
        // "Č" (U+010C) comes after every ASCII letter, unlike in a collated list.
        {"accented capital after ASCII", {}, "tr", "cs"},
        {"Latin before Greek", {}, "cs", "el"},
        {"Cyrillic before Arabic", {}, "ru", "ar"},
        {"Latin before Han", {"en"}, "en", "ja"},
        {"same name, by code (he, iw)", {"iw"}, "he", "iw"},
        {"same name, by code (mo, ro)", {"ro", "mo"}, "mo", "ro"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const Codes candidates = LanguageCandidates::fromIdentifiers(row.system);
        const std::ptrdiff_t before = indexOf(candidates, row.before);
        const std::ptrdiff_t after = indexOf(candidates, row.after);
        ASSERT_GE(before, 0);
        ASSERT_GE(after, 0);
        EXPECT_LT(before, after);
    }
}

TEST(LanguageCandidates, TheSystemListYieldsBareCodesAndTheCommonVariants) {
    const Codes& candidates = LanguageCandidates::shared();
    for (const std::string& code : candidates)
        EXPECT_TRUE(code.find('_') == std::string::npos) << code;
    for (const char* code : {"en", "de", "zh-Hant", "pt-BR", "es-419"})
        EXPECT_GE(indexOf(candidates, code), 0) << code;
    EXPECT_EQ(&candidates, &LanguageCandidates::shared());
}

TEST(LanguageCandidates, FiltersByExistingCodesAndTheSearch) {
    const Codes candidates = LanguageCandidates::fromIdentifiers({"en"});
    const Codes all = LanguageCandidates::filtered(candidates, {}, "");
    struct Case {
        const char* name;
        Codes existing;
        std::string search;
        Codes shown;
        Codes hidden;
    };
    const std::vector<Case> cases{
        {"English name", {}, "german", {"de"}, {"fr", "en"}},
        {"English name in capitals", {}, "GERMAN", {"de"}, {"fr"}},
        {"own name", {}, "Deutsch", {"de"}, {"fr"}},
        {"code", {}, "pt-b", {"pt-BR"}, {"pt-PT"}},
        {"blanks around", {}, " \tfrench\t ", {"fr", "fr-CA"}, {"de"}},
        {"a line break is typed text", {}, "german\n", {}, {"de"}},
        {"existing never listed", {"de"}, "german", {}, {"de"}},
        {"existing differs in case", {"zh-hans", "DE"}, "", {"zh-Hans", "de"}, {}},
        {"nothing matches", {}, "qqqqq", {}, {"de", "en"}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const Codes shown = LanguageCandidates::filtered(candidates, row.existing, row.search);
        for (const std::string& code : row.shown)
            EXPECT_GE(indexOf(shown, code), 0) << code;
        for (const std::string& code : row.hidden)
            EXPECT_EQ(indexOf(shown, code), -1) << code;
        // The rows keep the candidates' order.
        EXPECT_TRUE(
            std::is_sorted(shown.begin(), shown.end(), [&](const std::string& a, const std::string& b) {
                return indexOf(candidates, a) < indexOf(candidates, b);
            }));
    }
    EXPECT_EQ(all, candidates);
    EXPECT_EQ(LanguageCandidates::filtered(candidates, {}, "    "), all);
    EXPECT_EQ(LanguageCandidates::filtered(candidates, {}, "\t \t"), all);
}

} // namespace
} // namespace orvel
