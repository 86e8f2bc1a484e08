#include <gtest/gtest.h>

#include "engine/reference/PoEntries.h"

using namespace orvel::SoftwareFormats;

TEST(PoEntries, SingularEntriesWithContextAndContinuations) {
    const auto entries = poEntries("msgid \"\"\n"
                                   "msgstr \"\"\n"
                                   "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                                   "\n"
                                   "#. keyid\n"
                                   "#: file.hrc:10\n"
                                   "msgctxt \"STR_OPEN\"\n"
                                   "msgid \"a\"\n"
                                   "\"b\"\n"
                                   "msgstr \"\\\"A\\\"\\tB\\\\\"\r\n"
                                   "  \t\n"
                                   "msgid \"untranslated\"\n"
                                   "msgstr \"\"\n"
                                   "\n"
                                   "msgid \"no translation line\"\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], (POEntry{"STR_OPEN", "ab", std::nullopt, {"\"A\"\tB\\"}}));
}

TEST(PoEntries, FuzzyAndObsoleteBlocksYieldNothing) {
    const auto entries = poEntries("#, c-format, fuzzy\n"
                                   "msgid \"fuzzy\"\n"
                                   "msgstr \"F\"\n"
                                   "\n"
                                   "#~ msgid \"old\"\n"
                                   "#~ msgstr \"O\"\n"
                                   "\n"
                                   "#| msgid \"previous\"\n"
                                   "#, c-format\n"
                                   "msgid \"kept\"\n"
                                   "msgstr \"K\"\n"
                                   "\n"
                                   "msgid \"with obsolete line\"\n"
                                   "msgstr \"X\"\n"
                                   "#~ msgid \"gone\"\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, "kept");
}

TEST(PoEntries, PluralFormsInTheirOrder) {
    const auto entries = poEntries("msgid \"%d file\"\n"
                                   "msgid_plural \"%d files\"\n"
                                   "msgstr[1] \"%d Dateien\"\n"
                                   "msgstr[0] \"%d Datei\"\n"
                                   "\n"
                                   "msgid \"%d day\"\n"
                                   "msgid_plural \"%d days\"\n"
                                   "msgstr[0] \"%d Tag\"\n"
                                   "msgstr[1] \"\"\n"
                                   "\n"
                                   "msgid \"%d row\"\n"
                                   "msgid_plural \"%d rows\"\n"
                                   "msgstr \"ignored\"\n"
                                   "\n"
                                   "msgid \"%d item\"\n"
                                   "msgid_plural \"%d items\"\n"
                                   "msgstr[2] \"c\"\n"
                                   "msgstr[10] \"d\"\n"
                                   "msgstr[x] \"a\"\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (POEntry{"", "%d file", "%d files", {"%d Datei", "%d Dateien"}}));
    // A plural without indexed forms carries no strings; a malformed index counts as 0.
    EXPECT_EQ(entries[1], (POEntry{"", "%d row", "%d rows", {}}));
    EXPECT_EQ(entries[2].strings, (std::vector<std::string>{"a", "c", "d"}));
}

TEST(PoEntries, LinesThatAreNotKeywordsAreIgnored) {
    const auto entries = poEntries("\"orphan continuation\"\n"
                                   "msgid \"x\"\n"
                                   "msgfoo \"not a keyword\"\n"
                                   "\"joins msgid\"\n"
                                   "msgstr\n"
                                   "msgstr \"first\"\n"
                                   "msgstr \"second\"\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, "xjoins msgid");
    EXPECT_EQ(entries[0].strings, (std::vector<std::string>{"second"}));
}

TEST(PoEntries, QuotedLiterals) {
    EXPECT_EQ(poString(R"("a\nb\"c\\d\qe")"), "a\nb\"c\\dqe");
    EXPECT_EQ(poString(R"(no quotes)"), "no quotes");
    EXPECT_EQ(poString(R"(")"), "\"");
    EXPECT_EQ(poString(R"("")"), "");
}
