// The quick catalog reading must give what the strict decoding gives, and leave to it whatever it does
// not take, so that every document decodes, or fails with its message, as before.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/StringCatalog.h"
#include "core/StringCatalogReader.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;

namespace {

std::string withStrings(const std::string& strings, const std::string& extra = "") {
    return R"({"sourceLanguage":"en")" + extra + R"(,"strings":)" + strings + "}";
}

std::string withSourceUnit(const std::string& unit) {
    return withStrings(R"({"k":{"localizations":{"en":{"stringUnit":)" + unit + "}}}}");
}

std::string withArgNum(const std::string& number) {
    return withStrings(R"({"k":{"localizations":{"en":{"substitutions":{"n":{"argNum":)" + number + "}}}}}}");
}

std::string nestedArrays(int levels) {
    return withStrings("{}", R"(,"future":)" + std::string(levels, '[') + std::string(levels, ']'));
}

std::optional<std::int64_t> argNum(const StringCatalog& catalog) {
    return catalog.strings.at("k").localizations->at("en").substitutions->at("n").argNum;
}

// The catalog as a reading that keeps only the source language gives it.
StringCatalog sourceOnly(StringCatalog catalog) {
    for (auto& [key, entry] : catalog.strings)
        if (entry.localizations)
            for (auto it = entry.localizations->begin(); it != entry.localizations->end();)
                it = it->first == catalog.sourceLanguage ? std::next(it) : entry.localizations->erase(it);
    return catalog;
}

void expectError(const std::string& text, StringCatalog::Languages languages, const std::string& error) {
    try {
        StringCatalog::decode(text, languages);
        ADD_FAILURE() << "decoded";
    } catch (const json::DecodingError& thrown) {
        EXPECT_NE(std::string(thrown.what()).find(error), std::string::npos) << thrown.what();
    }
}

struct DecodeRow {
    const char* name;
    std::string text;
    // A part of the error's message; none when the document decodes.
    std::optional<std::string> error;
    // Whether the quick reading takes the document itself.
    bool quick = false;
    std::function<void(const StringCatalog&)> check = [](const StringCatalog&) {};
};

class CatalogReading : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(CatalogReading, DecodesLikeTheStrictDecoding) {
    const DecodeRow& row = GetParam();
    const std::optional<StringCatalog> quick = StringCatalogReader::quickDecode(row.text);
    EXPECT_EQ(quick.has_value(), row.quick);
    EXPECT_EQ(StringCatalogReader::quickDecode(row.text, StringCatalog::Languages::source).has_value(),
              row.quick);
    // A file is parsed where it was read, with its own padding.
    const orvel::testing::ScratchFolder scratch;
    const auto file = scratch.write("Main.xcstrings", row.text);
    if (row.error) {
        expectError(row.text, StringCatalog::Languages::all, *row.error);
        expectError(row.text, StringCatalog::Languages::source, *row.error);
        EXPECT_THROW(StringCatalog::load(file), json::DecodingError);
        return;
    }
    EXPECT_EQ(StringCatalog::load(file, StringCatalog::Languages::source),
              StringCatalog::decode(row.text, StringCatalog::Languages::source));
    const StringCatalog decoded = StringCatalog::decode(row.text);
    row.check(decoded);
    if (quick) {
        EXPECT_EQ(*quick, StringCatalog::fromJson(json::parse(row.text)));
    }
    EXPECT_EQ(StringCatalog::decode(row.text, StringCatalog::Languages::source), sourceOnly(decoded));
}

const std::string formatError = "The data couldn't be read because it isn't in the correct format.";

INSTANTIATE_TEST_SUITE_P(
    Rows, CatalogReading,
    ::testing::Values(
        // Duplicate keys: the last one wins, at every level.
        DecodeRow{"LastDuplicateRecordKeyWins",
                  withStrings("{}", R"(,"version":"1","version":"2")"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_EQ(c.version, "2"); }},
        DecodeRow{"LastDuplicateMapKeyWins",
                  withStrings(R"({"k":{"comment":"first"},"k":{"comment":"second"}})"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_EQ(c.strings.at("k").comment, "second"); }},
        DecodeRow{"LaterNullClearsAnOptionalField",
                  withStrings(R"({"k":{"comment":"x","comment":null}})"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_FALSE(c.strings.at("k").comment); }},
        DecodeRow{"LaterValueFillsARequiredField",
                  withSourceUnit(R"({"value":null,"value":"Open"})"),
                  {},
                  true,
                  [](const StringCatalog& c) {
                      EXPECT_EQ(c.strings.at("k").localizations->at("en").stringUnit->value, "Open");
                  }},
        DecodeRow{"LaterNullEmptiesARequiredField", withSourceUnit(R"({"value":"Open","value":null})"),
                  "No value associated with key \"value\"."},
        DecodeRow{"EarlierDuplicateOfTheWrongTypeIsReplaced",
                  withStrings("{}", R"(,"version":1,"version":"2")"),
                  {},
                  false,
                  [](const StringCatalog& c) { EXPECT_EQ(c.version, "2"); }},
        // Only the source language is kept where asked, the last one given; the others are checked all the
        // same.
        DecodeRow{"LastSourceLanguageIsKept",
                  withStrings(R"({"k":{"localizations":{"en":{"stringUnit":{"value":"Open"}},)"
                              R"("de":{"stringUnit":{"value":"Öffnen"}}}}})",
                              R"(,"sourceLanguage":"de")"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_EQ(c.strings.at("k").localizations->size(), 2u); }},
        DecodeRow{"NoLocalizationInTheSourceLanguage",
                  withStrings(R"({"k":{"localizations":{"de":{"stringUnit":{"value":"Öffnen"}}}}})"),
                  {},
                  true},
        DecodeRow{"WrongTypeInAnotherLanguage",
                  withStrings(R"({"k":{"localizations":{"de":{"substitutions":{"n":{"formatSpecifier":1}}}},)"
                              R"("en":{"stringUnit":{"value":"Open"}}}})"),
                  "Expected to decode String but found Int instead."},
        DecodeRow{"MissingValueInAnotherLanguage",
                  withStrings(R"({"k":{"localizations":{"de":{"variations":{"plural":{"one":)"
                              R"({"stringUnit":{"state":"new"}}}}}}}})"),
                  "No value associated with key \"value\"."},
        DecodeRow{"FractionInAnotherLanguage",
                  withStrings(R"({"k":{"localizations":{"de":{"substitutions":{"n":{"argNum":1.5}}}}}})"),
                  "does not fit the integer type"},
        // Wrong JSON types fail as a whole, with the strict decoding's message.
        DecodeRow{"NumberForAString", withStrings("{}", R"(,"version":1)"),
                  "Expected to decode String but found Int instead."},
        DecodeRow{"StringForABoolean", withStrings(R"({"k":{"shouldTranslate":"no"}})"),
                  "Expected to decode Bool but found String instead."},
        DecodeRow{"ArrayForAMap", withStrings(R"({"k":{"localizations":[]}})"),
                  "Expected to decode Dictionary but found Array instead."},
        DecodeRow{"ArrayForTheStrings", withStrings("[]"), "Expected to decode Dictionary but found Array"},
        DecodeRow{"DocumentIsNoObject", R"(["sourceLanguage","en"])", "Expected to decode Dictionary"},
        DecodeRow{"NullForARequiredField", R"({"sourceLanguage":null,"strings":{}})",
                  "No value associated with key \"sourceLanguage\"."},
        DecodeRow{"NullForAnOptionalField",
                  withStrings(R"({"k":{"localizations":null}})", R"(,"version":null)"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_FALSE(c.version); }},
        // Numbers.
        DecodeRow{"IntegerArgument",
                  withArgNum("-3"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_EQ(argNum(c), -3); }},
        DecodeRow{"IntegralArgumentWithAFraction",
                  withArgNum("2.0"),
                  {},
                  false,
                  [](const StringCatalog& c) { EXPECT_EQ(argNum(c), 2); }},
        DecodeRow{"ArgumentWithAnExponent",
                  withArgNum("1e2"),
                  {},
                  false,
                  [](const StringCatalog& c) { EXPECT_EQ(argNum(c), 100); }},
        DecodeRow{"FractionalArgument", withArgNum("2.5"), "does not fit the integer type"},
        DecodeRow{"ArgumentBeyondTheSignedRange", withArgNum("9223372036854775808"),
                  "does not fit the integer type"},
        DecodeRow{"NumberOverflow", withArgNum("1e400"), formatError},
        DecodeRow{"HugeIntegerInAnUnknownKey",
                  withStrings("{}", R"(,"future":123456789012345678901234567890)"),
                  {},
                  false},
        DecodeRow{"LeadingZero", withArgNum("01"), formatError},
        // Text encoding.
        DecodeRow{"ByteOrderMarkAtTheStart",
                  "\xEF\xBB\xBF" + withStrings(R"({"k":{}})"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_EQ(c.strings.size(), 1u); }},
        DecodeRow{"ByteOrderMarkInside", withStrings("\xEF\xBB\xBF{}"), formatError},
        DecodeRow{"InvalidUtf8InAValue", withSourceUnit("{\"value\":\"\xFF\"}"), formatError},
        DecodeRow{"InvalidUtf8InAKey", withStrings("{\"\xC3\x28\":{}}"), formatError},
        DecodeRow{"OverlongUtf8", withSourceUnit("{\"value\":\"\xC0\xAF\"}"), formatError},
        DecodeRow{"LoneSurrogateEscape", withSourceUnit(R"({"value":"\udc00"})"), formatError},
        DecodeRow{"EscapesDecode",
                  withSourceUnit(R"({"value":"a\u0000\u00e9\ud83d\ude00\/\n"})"),
                  {},
                  true,
                  [](const StringCatalog& c) {
                      EXPECT_EQ(c.strings.at("k").localizations->at("en").stringUnit->value,
                                std::string("a\0\xC3\xA9\xF0\x9F\x98\x80/\n", 10));
                  }},
        DecodeRow{"EscapedKey",
                  withStrings(R"({"Save \u2026":{}})"),
                  {},
                  true,
                  [](const StringCatalog& c) { EXPECT_TRUE(c.strings.contains("Save \xE2\x80\xA6")); }},
        DecodeRow{"UnescapedControlCharacter", withSourceUnit("{\"value\":\"a\tb\"}"), formatError},
        // Nesting: the document is the first level, and the 512th is the deepest accepted.
        DecodeRow{"DeepestAcceptedNesting", nestedArrays(511), {}, true},
        DecodeRow{"NestedOneLevelTooDeep", nestedArrays(512), "nested too deeply"},
        // Malformed documents.
        DecodeRow{"TrailingText", withStrings("{}") + " x", formatError},
        DecodeRow{"EmptyText", "", formatError},
        DecodeRow{"Truncated", R"({"sourceLanguage":"en","strings":{)", formatError}),
    [](const ::testing::TestParamInfo<DecodeRow>& info) { return std::string(info.param.name); });

// A catalog using every record, with texts in several scripts, gives the same records either way.
TEST(CatalogReading, QuickReadingGivesTheStrictRecords) {
    json::Json strings = json::Json::object();
    for (int i = 0; i < 200; ++i) {
        json::Json source = {
            {"stringUnit", {{"state", "new"}, {"value", "Öffnen \u00AB" + std::to_string(i) + "\u00BB"}}}};
        if (i % 3 == 0)
            source["variations"]["plural"] = {
                {"one", {{"stringUnit", {{"value", "%lld Datei"}}}}},
                {"other", {{"variations", {{"device", {{"mac", {{"stringUnit", {{"value", "x"}}}}}}}}}}}};
        if (i % 5 == 0)
            source["substitutions"]["n"] = {
                {"argNum", i},
                {"formatSpecifier", "lld"},
                {"variations", {{"plural", {{"other", {{"stringUnit", {{"value", "%arg"}}}}}}}}}};
        strings["\u65E5\u672C " + std::to_string(i)] = {
            {"comment", "c" + std::to_string(i)},
            {"isCommentAutoGenerated", i % 2 == 0},
            {"extractionState", "manual"},
            {"shouldTranslate", i % 7 != 0},
            {"localizations", {{"en", source}, {"de", {{"stringUnit", {{"value", "D"}}}}}}}};
    }
    const std::string text =
        json::dump(json::Json{{"sourceLanguage", "en"}, {"version", "1.0"}, {"strings", strings}}, 2);
    const std::optional<StringCatalog> quick = StringCatalogReader::quickDecode(text);
    ASSERT_TRUE(quick);
    EXPECT_EQ(*quick, StringCatalog::fromJson(json::parse(text)));
    EXPECT_EQ(StringCatalogReader::quickDecode(text, StringCatalog::Languages::source), sourceOnly(*quick));
}

} // namespace
