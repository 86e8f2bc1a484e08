#include <gtest/gtest.h>

#include <set>

#include "core/RegexCache.h"
#include "core/Unicode.h"
#include "engine/model/LanguageNotes.h"

using namespace orvel;
using Terms = TranslationStyle::Terms;
using Address = TranslationStyle::Address;
using Match = LanguageNotes::Match;

namespace {

const LanguageNotes& romanian() {
    return LanguageNotes::builtIn().at("ro");
}

// The advice of rule `number` (counted from 1) with the matched text.
Match rule(std::size_t number, std::string matched) {
    return Match{romanian().avoid.at(number - 1).advice, matched};
}

std::optional<Match> check(std::string_view translation, std::optional<std::string_view> source = {}) {
    return romanian().firstMatch(translation, source);
}

std::vector<std::string> allTexts(const LanguageNotes& notes) {
    std::vector<std::string> texts;
    for (const auto* lines :
         {&notes.always, &notes.keepCommon, &notes.translateAll, &notes.informal, &notes.formal})
        texts.insert(texts.end(), lines->begin(), lines->end());
    for (const auto* terms : {&notes.terms, &notes.keepCommonTerms, &notes.translateAllTerms})
        for (const auto& [term, word] : *terms) {
            texts.push_back(term);
            texts.push_back(word);
        }
    for (const auto& avoid : notes.avoid) {
        texts.push_back(avoid.pattern);
        texts.push_back(avoid.advice);
        if (avoid.source)
            texts.push_back(*avoid.source);
    }
    return texts;
}

std::set<char32_t> nonAscii(std::string_view text) {
    std::set<char32_t> found;
    for (char32_t scalar : text::scalars(text))
        if (scalar > 0x7F)
            found.insert(scalar);
    return found;
}

} // namespace

TEST(RomanianLanguageNotes, RowHoldsEveryLineTermAndRule) {
    const auto& notes = romanian();
    EXPECT_EQ(notes.always.size(), 67u);
    EXPECT_EQ(notes.keepCommon.size(), 2u);
    EXPECT_EQ(notes.translateAll.size(), 1u);
    EXPECT_EQ(notes.informal.size(), 1u);
    EXPECT_EQ(notes.formal.size(), 1u);
    EXPECT_EQ(notes.terms.size(), 15u);
    EXPECT_TRUE(notes.keepCommonTerms.empty());
    EXPECT_EQ(notes.translateAllTerms.size(), 3u);
    ASSERT_EQ(notes.avoid.size(), 37u);
    EXPECT_EQ(notes.quotes, (LanguageNotes::Quotes{"\u201E", "\u201D"}));

    const std::vector<std::optional<std::string>> sources{"folder", "default", "update", "log ?in"};
    for (std::size_t i = 0; i < notes.avoid.size(); ++i) {
        const bool hasSource = i >= 8 && i <= 11;
        EXPECT_EQ(notes.avoid[i].source, hasSource ? sources[i - 8] : std::nullopt) << "rule " << i + 1;
    }
}

TEST(RomanianLanguageNotes, EveryBuiltInPatternCompiles) {
    for (const auto& [key, notes] : LanguageNotes::builtIn())
        for (const auto& avoid : notes.avoid) {
            EXPECT_TRUE(RegexCache::regex(avoid.pattern, true)) << key << ": " << avoid.pattern;
            if (avoid.source) {
                EXPECT_TRUE(RegexCache::regex(*avoid.source, true)) << key << ": " << *avoid.source;
            }
        }
}

TEST(RomanianLanguageNotes, TextsAreComposedAndTermKeysLowercase) {
    for (const auto& [key, notes] : LanguageNotes::builtIn()) {
        for (const auto& text : allTexts(notes))
            EXPECT_EQ(text::nfc(text), text) << key << ": " << text;
        for (const auto* terms : {&notes.terms, &notes.keepCommonTerms, &notes.translateAllTerms})
            for (const auto& [term, word] : *terms)
                EXPECT_EQ(text::lowercased(term), term) << key;
    }
}

TEST(RomanianLanguageNotes, UsesOnlyTheRomanianCharacterSet) {
    const std::set<char32_t> letters{U'ă', U'â', U'î', U'Î', U'ș', U'ț', U'Ț',
                                     U'«', U'»', U'„', U'”', U'…', U'–', U'\u2011'};
    const std::set<char32_t> cedillas{U'ş', U'ţ'};
    const std::set<char32_t> keys{U'⌘', U'⌥', U'⇧', U'⌃'};
    const auto& notes = romanian();
    for (const auto& text : allTexts(notes)) {
        for (char32_t scalar : nonAscii(text)) {
            const bool cedillaInFirstLine = cedillas.contains(scalar) && text == notes.always[0];
            // Rule 8 names all four keys, rule 29 Command and Option.
            const bool keyInPattern =
                keys.contains(scalar) && (text == notes.avoid[7].pattern || text == notes.avoid[28].pattern);
            EXPECT_TRUE(letters.contains(scalar) || cedillaInFirstLine || keyInPattern)
                << "U+" << std::hex << static_cast<std::uint32_t>(scalar) << " in " << text;
        }
    }
    EXPECT_EQ(nonAscii(notes.always[0]), (std::set<char32_t>{U'ș', U'ț', U'ş', U'ţ'}));
    EXPECT_TRUE(nonAscii(notes.always[43]).contains(U'\u2011'));
    EXPECT_EQ(nonAscii(notes.avoid[7].pattern), (std::set<char32_t>{U'ă', U'⌘', U'⌥', U'⇧', U'⌃'}));
}

TEST(RomanianLanguageNotes, LinesAndTermsPerStyle) {
    const auto lines = romanian().lines({Terms::keepCommon, Address::informal});
    ASSERT_EQ(lines.size(), 70u);
    EXPECT_EQ(lines[67], romanian().keepCommon[0]);
    EXPECT_EQ(lines.back(), romanian().informal[0]);
    EXPECT_EQ(romanian().lines({Terms::translateAll, Address::formal}).size(), 69u);

    const auto keepCommon = romanian().fixedTerms({Terms::keepCommon, Address::informal});
    const auto translateAll = romanian().fixedTerms({Terms::translateAll, Address::formal});
    EXPECT_EQ(keepCommon.size(), 15u);
    ASSERT_EQ(translateAll.size(), 16u);
    EXPECT_EQ(translateAll.at("shortcut"), "combinație de taste");
    EXPECT_EQ(translateAll.at("update"), keepCommon.at("update"));
    EXPECT_EQ(translateAll.at("login"), "autentificare");
}

TEST(RomanianAvoidRules, SourcePatternLimitsARule) {
    EXPECT_EQ(check("Deschide folderul", "Open the folder"), rule(9, "folderul"));
    EXPECT_EQ(check("Deschide folderul", "Open the directory"), std::nullopt);
    // Without a source the rule applies on its pattern alone.
    EXPECT_EQ(check("Deschide folderul"), rule(9, "folderul"));
    EXPECT_EQ(check("Valoare implicită", "Default value"), rule(10, "implicită"));
    EXPECT_EQ(check("Instalează update-ul", "Install the UPDATE"), rule(11, "update-ul"));
}

TEST(RomanianAvoidRules, LoginAfterTheLoginItemsNameIsAllowed) {
    EXPECT_EQ(check("Lansare la login", "Launch at login"), std::nullopt);
    EXPECT_EQ(check("Pornește la login", "Launch at login"), rule(12, "login"));
    EXPECT_EQ(check("Ecran de login-ul", "Log in screen"), rule(12, "login-ul"));
}

TEST(RomanianAvoidRules, LowercaseMacOnly) {
    EXPECT_EQ(check("pe acest mac"), rule(28, "mac"));
    EXPECT_EQ(check("pe acest Mac"), std::nullopt);
    EXPECT_EQ(check("~/mac"), std::nullopt);
    EXPECT_EQ(check("Actualizează macOS"), std::nullopt);
}

TEST(RomanianAvoidRules, CornerNameOnlyAsTheWholeText) {
    EXPECT_EQ(check("Stânga sus"), rule(27, "Stânga sus"));
    EXPECT_EQ(check("dreapta jos"), rule(27, "dreapta jos"));
    EXPECT_EQ(check("Colțul Stânga sus"), std::nullopt);
    EXPECT_EQ(check("Sus stânga"), std::nullopt);
}

TEST(RomanianAvoidRules, MatchIsCaseInsensitiveAndUnicodeAware) {
    EXPECT_EQ(check("AFIȘAJ"), rule(1, "AFIȘAJ"));
    EXPECT_EQ(check("Configurări"), rule(5, "Configurări"));
    EXPECT_EQ(check("Configurări sistem"), std::nullopt);
    // A letter before the word keeps it from matching.
    EXPECT_EQ(check("supraafișaj"), std::nullopt);
    EXPECT_EQ(check("Fă ⌘-clic pe fereastră"), rule(8, "Fă ⌘-clic"));
    EXPECT_EQ(check("Apasă ⌘ comandă"), rule(29, "⌘ comandă"));
}

TEST(RomanianAvoidRules, WordingRules) {
    EXPECT_EQ(check("acum 3 zile"), std::nullopt);
    EXPECT_EQ(check("%@ zile în urmă"), rule(30, "%@ zile în urmă"));
    EXPECT_EQ(check("20 de min"), rule(31, "de min"));
    EXPECT_EQ(check("20 de minute"), std::nullopt);
    EXPECT_EQ(check("Licențiat"), rule(26, "Licențiat"));
    EXPECT_EQ(check("Este licențiat în drept"), std::nullopt);
    EXPECT_EQ(check("%@ a fost închisă"), rule(32, "%@ a fost închis"));
    EXPECT_EQ(check("Cadre pe secundă"), std::nullopt);
}

TEST(RomanianAvoidRules, EarlierRuleWins) {
    // Rule 1 (afișaj) and rule 18 (click) both match.
    EXPECT_EQ(check("click pe afișaj"), rule(1, "afișaj"));
    EXPECT_EQ(romanian().firstAdvice("click pe afișaj"), romanian().avoid[0].advice);
    EXPECT_EQ(romanian().firstAdvice("Dă clic pe ecran"), std::nullopt);
}

TEST(AvoidRuleSearch, RulesThatDoNotCompileAreSkipped) {
    LanguageNotes notes;
    notes.avoid = {{"(unclosed", "bad pattern", std::nullopt},
                   {"word", "bad source", "[z-a]"},
                   {"word", "good", std::nullopt}};
    EXPECT_EQ(notes.firstMatch("a WORD here", "word"), (Match{"good", "WORD"}));
    // Without a source the source pattern is never compiled, so the rule applies.
    EXPECT_EQ(notes.firstMatch("a word"), (Match{"bad source", "word"}));
    EXPECT_EQ(notes.firstMatch("nothing"), std::nullopt);
}
