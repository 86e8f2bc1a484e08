#include <gtest/gtest.h>

#include "core/StringsFileParser.h"

using namespace orvel;
using Table = std::map<std::string, std::string>;

namespace {

std::string utf16(const std::u16string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

} // namespace

TEST(StringsFileParser, AcceptsCommentsTokensAndBraces) {
    const std::string file = "/* Title of the window */\n"
                             "\"title\" = \"Main\";  // trailing comment\n"
                             "unquoted_key-1.a = value/with:chars$+;\n"
                             "'single' = 'quoted \"inside\"';\n"
                             "\"alone\";\n"
                             "\"dup\" = \"first\"; \"dup\" = \"second\";\n"
                             "\"multi\nline\" = \"x\";";
    EXPECT_EQ(StringsFileParser::parse(file), (Table{{"title", "Main"},
                                                     {"unquoted_key-1.a", "value/with:chars$+"},
                                                     {"single", "quoted \"inside\""},
                                                     {"alone", "alone"},
                                                     {"dup", "second"},
                                                     {"multi\nline", "x"}}));
    EXPECT_EQ(StringsFileParser::parse("{ a = b; \"c\" = \"d\"; }\n"), (Table{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(StringsFileParser::parse(""), Table{});
    EXPECT_EQ(StringsFileParser::parse("  /* only */ // comments\n"), Table{});
}

TEST(StringsFileParser, DecodesEscapes) {
    EXPECT_EQ(StringsFileParser::parse(R"("k" = "\a\b\f\n\r\t\v\"\'\\\q";)"),
              (Table{{"k", "\a\b\f\n\r\t\v\"'\\q"}}));
    EXPECT_EQ(StringsFileParser::parse(R"("k" = "\U0041\U00e9\U20AC\U1";)"), (Table{{"k", "Aé€\x01"}}));
    EXPECT_EQ(StringsFileParser::parse(R"("k" = "\UD83D\UDE00 \UD83D x \UDE00 \Ux";)"),
              (Table{{"k", "😀 \uFFFD x \uFFFD Ux"}}));
    EXPECT_EQ(StringsFileParser::parse(R"("k" = "\101\60\0";)"), (Table{{"k", std::string("A0\0", 3)}}));
}

TEST(StringsFileParser, ReadsByteOrderMarks) {
    const Table expected = {{"Grüße", "😀"}};
    const std::u16string text = u"\"Grüße\" = \"😀\";\n";
    EXPECT_EQ(StringsFileParser::parse(utf16(text, false)), expected);
    EXPECT_EQ(StringsFileParser::parse(utf16(text, true)), expected);
    EXPECT_EQ(StringsFileParser::parse("\xEF\xBB\xBF\"Grüße\" = \"😀\";"), expected);
    EXPECT_FALSE(StringsFileParser::parse(utf16(text, false) + "x"));
}

TEST(StringsFileParser, RejectsWhatIsNotAStringsFile) {
    for (const std::string bytes : {
             "\"a\" = \"b\"",          // no semicolon
             "\"a\" \"b\";",           // no equals sign
             "\"a\" = \"b;",           // unterminated text
             "\"a\" = \"b\\",          // escape at the end
             "/* open",                // unterminated comment
             "\"a\" = (\"b\");",       // array value
             "\"a\" = { b = c; };",    // dictionary value
             "\"a\" = <0fbd>;",        // data value
             "{ \"a\" = \"b\";",       // unclosed brace
             "\"a\" = \"b\"; }",       // stray brace
             "= \"b\";",               // no key
             "\"a\" = \"b\"; garbage", // trailing text
         }) {
        EXPECT_FALSE(StringsFileParser::parse(bytes)) << bytes;
    }
}
