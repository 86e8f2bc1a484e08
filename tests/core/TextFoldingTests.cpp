#include <gtest/gtest.h>

#include "core/DiacriticFolding.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/RegexEscaping.h"

using namespace orvel;

TEST(DiacriticFolding, RemovesCaseAndDiacritics) {
    EXPECT_EQ(text::foldedCaseAndDiacritics("Prêts À Télécharger"), "prets a telecharger");
    EXPECT_EQ(text::foldedCaseAndDiacritics("Cafe\u0301 ÅNGSTRÖM"), "cafe angstrom");
    EXPECT_EQ(text::foldedCaseAndDiacritics("Straße"), "strasse");
    EXPECT_EQ(text::foldedCaseAndDiacritics("Łódź ø"), "łodz ø") << "letters of their own stay";
    EXPECT_EQ(text::foldedCaseAndDiacritics("ΆΈΉ"), "αεη");
    EXPECT_EQ(text::foldedCaseAndDiacritics("a\xFF"
                                            "b"),
              "a\uFFFDb");
    EXPECT_EQ(text::foldedCaseAndDiacritics(""), "");
}

TEST(DiacriticFolding, SearchFoldingAlsoRemovesWidth) {
    struct Case {
        const char* text;
        const char* folded;
    };
    for (const Case& c : {Case{"ＡＢＣ１２３", "abc123"}, Case{"ｶﾞｲﾄﾞ", "カイト"}, Case{"Ök ＯＫ", "ok ok"},
                          Case{"㎏ ½", "㎏ ½"}, Case{"Straße", "strasse"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text::foldedCaseDiacriticsAndWidth(c.text), c.folded);
    }
    EXPECT_EQ(text::foldedCaseAndDiacritics("ＡＢＣ"), "ａｂｃ") << "the plain folding keeps the width";
}

TEST(RegexEscaping, EveryPrintableCharacterMatchesItself) {
    std::string all;
    for (char c = 0x20; c < 0x7F; ++c)
        all.push_back(c);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string literal = all.substr(i, 3);
        const CompiledRegex compiled = RegexCache::regex("^" + regex::escapedPattern(literal) + "$");
        ASSERT_TRUE(compiled) << literal;
        EXPECT_TRUE(regex::contains(*compiled, literal)) << literal;
    }
    const CompiledRegex dot = RegexCache::regex(regex::escapedPattern("a.b"));
    ASSERT_TRUE(dot);
    EXPECT_FALSE(regex::contains(*dot, "axb"));
    const CompiledRegex unicode = RegexCache::regex("^" + regex::escapedPattern("Größe (Ø)") + "$");
    ASSERT_TRUE(unicode);
    EXPECT_TRUE(regex::contains(*unicode, "Größe (Ø)"));
}
