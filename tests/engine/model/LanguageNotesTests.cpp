#include <gtest/gtest.h>

#include "engine/model/LanguageNotes.h"

using namespace orvel;
using Terms = TranslationStyle::Terms;
using Address = TranslationStyle::Address;

namespace {

const LanguageNotes& row(const char* key) {
    return LanguageNotes::builtIn().at(key);
}

} // namespace

TEST(BuiltInLanguageNotes, RegionsGetTheirLanguagesRow) {
    for (const char* code : {"de", "DE", "de-AT", "de_CH"})
        EXPECT_EQ(LanguageNotes::builtIn(code), &row("de")) << code;
    EXPECT_EQ(LanguageNotes::builtIn("ro-MD"), &row("ro"));
    EXPECT_EQ(LanguageNotes::builtIn("Fr_ca"), &row("fr"));
}

TEST(BuiltInLanguageNotes, OnlyEuropeanPortugueseIsReachedByTheFullCode) {
    EXPECT_EQ(LanguageNotes::builtIn("pt-PT"), &row("pt-PT"));
    EXPECT_EQ(LanguageNotes::builtIn("PT-pt"), &row("pt-PT"));
    for (const char* code : {"pt", "pt-BR", "pt_PT", "pt-PT-x"})
        EXPECT_EQ(LanguageNotes::builtIn(code), &row("pt")) << code;
}

TEST(BuiltInLanguageNotes, OtherCodesHaveNone) {
    for (const char* code : {"zh-Hans", "en", "", "-", "ro/..", "p"})
        EXPECT_EQ(LanguageNotes::builtIn(code), nullptr) << code;
}

TEST(BuiltInLanguageNotes, TableHasSevenRowsAndOnlyRomanianHasAvoidRules) {
    EXPECT_EQ(LanguageNotes::builtIn().size(), 7u);
    for (const auto& [key, notes] : LanguageNotes::builtIn())
        EXPECT_EQ(notes.avoid.empty(), key != "ro") << key;
}

TEST(BuiltInLanguageNotes, LinesFollowTheStyle) {
    const auto german = row("de").lines({Terms::translateAll, Address::formal});
    ASSERT_EQ(german.size(), 4u);
    EXPECT_EQ(german[0], row("de").always[0]);
    EXPECT_EQ(german[1], row("de").always[1]);
    EXPECT_EQ(german[2], row("de").translateAll[0]);
    EXPECT_EQ(german[3], "Address the reader with «Sie».");

    const auto informal = row("de").lines({Terms::keepCommon, Address::informal});
    ASSERT_EQ(informal.size(), 4u);
    EXPECT_EQ(informal[2], row("de").keepCommon[0]);
    EXPECT_EQ(informal[3], "Address the reader with «du».");

    // European Portuguese has no keepCommon lines.
    EXPECT_EQ(row("pt-PT").lines({Terms::keepCommon, Address::informal}).size(), 2u);
    EXPECT_EQ(row("fr").lines({Terms::keepCommon, Address::formal}).size(), 5u);
}

TEST(BuiltInLanguageNotes, LinesAreNeitherTrimmedNorDeduplicated) {
    LanguageNotes notes;
    notes.always = {" a ", "a"};
    notes.translateAll = {"a"};
    notes.formal = {""};
    EXPECT_EQ(notes.lines({Terms::translateAll, Address::formal}),
              (std::vector<std::string>{" a ", "a", "a", ""}));
}

TEST(BuiltInLanguageNotes, FixedTermsLayStyleWordsOverGeneralOnes) {
    using Map = LanguageNotes::TermMap;
    EXPECT_EQ(row("de").fixedTerms({Terms::keepCommon, Address::informal}),
              (Map{{"settings", "Einstellungen"}, {"brightness", "Helligkeit"}, {"display", "Display"}}));
    EXPECT_EQ(row("de").fixedTerms({Terms::translateAll, Address::formal}),
              (Map{{"settings", "Einstellungen"},
                   {"brightness", "Helligkeit"},
                   {"display", "Bildschirm"},
                   {"screen", "Bildschirm"}}));
    EXPECT_EQ(row("it").fixedTerms({Terms::keepCommon, Address::informal}).at("display"), "display");
    EXPECT_EQ(row("it").fixedTerms({Terms::translateAll, Address::informal}).at("display"), "schermo");

    LanguageNotes notes;
    notes.terms = {{"update", "general"}};
    notes.translateAllTerms = {{"update", "specific"}};
    EXPECT_EQ(notes.fixedTerms({Terms::translateAll, Address::informal}).at("update"), "specific");
    EXPECT_EQ(notes.fixedTerms({Terms::keepCommon, Address::informal}).at("update"), "general");
}

TEST(BuiltInLanguageNotes, QuotationMarks) {
    EXPECT_EQ(row("de").quotes, (LanguageNotes::Quotes{"\u201E", "\u201C"}));
    // French marks carry a narrow no-break space on their inner side.
    EXPECT_EQ(row("fr").quotes, (LanguageNotes::Quotes{"\u00AB\u202F", "\u202F\u00BB"}));
    EXPECT_EQ(row("ro").quotes, (LanguageNotes::Quotes{"\u201E", "\u201D"}));
    for (const char* key : {"es", "it", "pt", "pt-PT"})
        EXPECT_FALSE(row(key).quotes) << key;
}
