#include <gtest/gtest.h>

#include "engine/reference/SourceCodes.h"

using namespace orvel;

namespace {

// The identifier and the five codes, absent ones as "-".
std::string summary(std::string_view tag) {
    const auto codes = SourceCodes::lookup(tag);
    if (!codes)
        return "none";
    std::string out = codes->identifier;
    for (const auto& code : {codes->android, codes->chromium, codes->mozilla, codes->libreoffice, codes->vlc})
        out += " " + code.value_or("-");
    return out;
}

} // namespace

TEST(SourceCodes, PortugueseRows) {
    EXPECT_EQ(summary("pt"), "pt-BR pt-rBR pt-BR pt-BR pt-BR pt_BR");
    EXPECT_EQ(summary("pt-BR"), summary("pt"));
    EXPECT_EQ(summary("PT_br"), summary("pt"));
    EXPECT_EQ(summary("pt-PT"), "pt-PT pt-rPT pt-PT pt-PT pt pt_PT");
}

TEST(SourceCodes, ChineseScriptsAndRegions) {
    EXPECT_EQ(summary("zh_TW"), "zh-Hant zh-rTW zh-TW zh-TW zh-TW zh_TW");
    EXPECT_EQ(summary("zh-Hant"), summary("zh_TW"));
    EXPECT_EQ(summary("zh-hant"), summary("zh_TW"));
    EXPECT_EQ(summary("zh"), "zh-Hans zh-rCN zh-CN zh-CN zh-CN zh_CN");
    EXPECT_EQ(summary("zh-CN"), summary("zh"));
    EXPECT_EQ(summary("zh-HK"), "zh-HK zh-rHK zh-TW zh-TW zh-TW zh_TW");
    // Language and script are tried before language and region.
    EXPECT_EQ(summary("zh-Hant-HK"), summary("zh-Hant"));
}

TEST(SourceCodes, SpanishRegions) {
    EXPECT_EQ(summary("es-419"), "es-419 es-rUS es-419 es-MX es es_MX");
    EXPECT_EQ(summary("es"), "es es es es-ES es es");
    EXPECT_EQ(summary("es-MX"), summary("es"));
    EXPECT_EQ(summary("es-US"), summary("es"));
    // A part of three letters is no region.
    EXPECT_EQ(summary("es-abc-419"), summary("es-419"));
}

TEST(SourceCodes, OldCodesAreAliases) {
    EXPECT_EQ(summary("iw"), "he iw he he he he");
    EXPECT_EQ(summary("in"), "id in id id id id");
    EXPECT_EQ(summary("tl"), "fil tl fil - - tl");
    EXPECT_EQ(summary("no"), "nb nb no nb-NO nb nb");
    EXPECT_EQ(SourceCodes::tableKey("iw", SourceCodes::aliases()), "he");
    EXPECT_EQ(SourceCodes::tableKey("he", SourceCodes::aliases()), "he");
    EXPECT_EQ(SourceCodes::tableKey("de", SourceCodes::aliases()), std::nullopt);
}

TEST(SourceCodes, RowsWithAbsentCodes) {
    EXPECT_EQ(summary("nn-NO"), "nn - - nn-NO nn nn");
    EXPECT_EQ(summary("fil-PH"), "fil tl fil - - tl");
    EXPECT_EQ(summary("sr-Latn"), "sr-Latn b+sr+Latn - - sr-Latn -");
    EXPECT_EQ(summary("sr-Latn-RS"), summary("sr-Latn"));
    EXPECT_EQ(summary("fr-CA"), "fr-CA fr-rCA fr fr fr fr");
}

TEST(SourceCodes, OtherLanguagesTakeTheirBareCode) {
    EXPECT_EQ(summary("sr"), "sr sr sr sr sr sr");
    EXPECT_EQ(summary("sr-Cyrl"), "sr sr sr sr sr sr");
    EXPECT_EQ(summary("de-AT"), "de de de de de de");
    EXPECT_EQ(summary("JA"), "ja ja ja ja ja ja");
    EXPECT_EQ(summary("fr-BE"), "fr fr fr fr fr fr");
}

TEST(SourceCodes, EnglishAndEmptyTagsGiveNothing) {
    for (const char* tag : {"en", "en-GB", "EN_us", "", "-", "__"})
        EXPECT_EQ(summary(tag), "none") << tag;
}

TEST(SourceCodes, TableHasEveryRow) {
    EXPECT_EQ(SourceCodes::table().size(), 21u);
    EXPECT_EQ(SourceCodes::aliases().size(), 8u);
    for (const auto& [tag, key] : SourceCodes::aliases())
        EXPECT_TRUE(SourceCodes::table().contains(key)) << tag;
}

TEST(SourceCodes, TagsThatAreNoLanguageCodeGiveNothing) {
    // They would otherwise name cache files and go into download addresses.
    for (const char* tag : {"de/../../x", "../de", "de.json", "de x", "de?x=1", "de%2F"})
        EXPECT_EQ(summary(tag), "none") << tag;
}
