#include <gtest/gtest.h>

#include "TemporaryNotesFolder.h"

using namespace orvel;
using Names = std::vector<std::string>;

TEST(LanguageNotesFile, DecodesEveryKey) {
    const auto notes = LanguageNotes::File::notes(R"({
        "always": ["a"], "keepCommon": ["k"], "translateAll": ["t"], "informal": ["i"], "formal": ["f"],
        "terms": {"settings": "s"}, "keepCommonTerms": {"display": "d"}, "translateAllTerms": {"screen": "e"},
        "avoid": [{"pattern": "x", "advice": "no x"}, {"pattern": "y", "advice": "no y", "source": "why"}],
        "quotes": {"open": "<", "close": ">"}, "comment": "ignored"})");
    EXPECT_EQ(notes.always, Names{"a"});
    EXPECT_EQ(notes.keepCommon, Names{"k"});
    EXPECT_EQ(notes.translateAll, Names{"t"});
    EXPECT_EQ(notes.informal, Names{"i"});
    EXPECT_EQ(notes.formal, Names{"f"});
    EXPECT_EQ(notes.terms.at("settings"), "s");
    EXPECT_EQ(notes.keepCommonTerms.at("display"), "d");
    EXPECT_EQ(notes.translateAllTerms.at("screen"), "e");
    EXPECT_EQ(notes.avoid,
              (std::vector<LanguageNotes::Avoid>{{"x", "no x", std::nullopt}, {"y", "no y", "why"}}));
    EXPECT_EQ(notes.quotes, (LanguageNotes::Quotes{"<", ">"}));
}

TEST(LanguageNotesFile, AbsentAndNullKeysGiveEmptyValues) {
    EXPECT_EQ(LanguageNotes::File::notes("{}"), LanguageNotes{});
    EXPECT_EQ(LanguageNotes::File::notes(R"({"always": null, "quotes": null, "avoid": null})"),
              LanguageNotes{});
}

TEST(LanguageNotesFile, MalformedFilesFail) {
    for (const char* bytes : {"", "[", "[]", R"({"always": "one line"})", R"({"terms": {"a": 1}})",
                              R"({"avoid": [{"pattern": "x"}]})", R"({"avoid": [{"advice": "x"}]})",
                              R"({"quotes": {"open": "<"}})", "{\"always\": [\"\xC3\"]}"})
        EXPECT_THROW(LanguageNotes::File::notes(bytes), json::DecodingError) << bytes;
}

TEST(LanguageNotesFile, TextsAreComposed) {
    const auto notes = LanguageNotes::File::notes(
        "{\"terms\": {\"cafe\\u0301\": \"e\\u0301cran\"}, \"always\": [\"e\\u0301\"],"
        " \"avoid\": [{\"pattern\": \"e\\u0301\", \"advice\": \"e\\u0301\", \"source\": \"e\\u0301\"}],"
        " \"quotes\": {\"open\": \"e\\u0301\", \"close\": \"e\\u0301\"}}");
    EXPECT_EQ(notes.terms.at("caf\u00E9"), "\u00E9cran");
    EXPECT_EQ(notes.always.front(), "\u00E9");
    EXPECT_EQ(notes.avoid.front(), (LanguageNotes::Avoid{"\u00E9", "\u00E9", "\u00E9"}));
    EXPECT_EQ(notes.quotes, (LanguageNotes::Quotes{"\u00E9", "\u00E9"}));
}

TEST(LanguageNotesFile, DeepNestingUnderAnIgnoredKeyDoesNotExhaustTheStack) {
    const std::string bytes =
        "{\"always\": [\"a\"], \"comment\": " + std::string(200'000, '[') + std::string(200'000, ']') + "}";
    EXPECT_EQ(LanguageNotes::File::notes(bytes).always, Names{"a"});
}

TEST(LanguageNotesFile, CandidateNames) {
    EXPECT_EQ(LanguageNotes::File::candidateNames("de-AT"), (Names{"de", "de-AT", "de"}));
    EXPECT_EQ(LanguageNotes::File::candidateNames("pt_BR"), (Names{"pt-BR", "pt-BR", "pt"}));
    EXPECT_EQ(LanguageNotes::File::candidateNames("zh-HK"), (Names{"zh-HK", "zh-Hant", "zh"}));
    EXPECT_EQ(LanguageNotes::File::candidateNames("zh_MO"), (Names{"zh-Hans", "zh-Hant", "zh"}));
    EXPECT_EQ(LanguageNotes::File::candidateNames("en-GB"), (Names{"en-GB", "en"}));
    EXPECT_EQ(LanguageNotes::File::candidateNames(""), Names{});
}

TEST(LanguageNotesFile, FirstReadableCandidateDecides) {
    test::TemporaryNotesFolder notes;
    notes.writeNote("zh", R"({"always": ["zh"]})");
    EXPECT_EQ(LanguageNotes::File::load("zh-HK")->always, Names{"zh"});
    notes.writeNote("zh-Hant", R"({"always": ["zh-Hant"]})");
    EXPECT_EQ(LanguageNotes::File::load("zh_MO")->always, Names{"zh-Hant"});
    // Invalid JSON in an earlier candidate hides the valid later one.
    notes.writeNote("zh-Hant", R"({"always": [)");
    EXPECT_FALSE(LanguageNotes::File::load("zh-HK"));
    // A folder in place of a file cannot be read and passes the turn.
    std::filesystem::create_directory(notes.folder() / "xx-YY.json");
    notes.writeNote("xx", R"({"formal": ["f"]})");
    EXPECT_EQ(LanguageNotes::File::load("xx_YY")->formal, Names{"f"});
    EXPECT_FALSE(LanguageNotes::File::load("yy"));
}

TEST(LanguageNotesFile, CodesThatNamePathsReadNoFile) {
    test::TemporaryNotesFolder notes;
    notes.write(notes.root() / "secret.json", R"({"avoid": [{"pattern": "x", "advice": "leaked"}]})");
    notes.writeNote("de", R"({"avoid": [{"pattern": "x", "advice": "from de.json"}]})");
    std::filesystem::create_directory(notes.folder() / "de-x");

    for (const std::string& code :
         std::vector<std::string>{"../secret", "de-x/../../secret", std::string("de-\0x", 5), "..", "de-.."})
        EXPECT_FALSE(LanguageNotes::File::load(code)) << code;
    // The built-in notes alone apply to such a code.
    const auto german = LanguageNotes::notes("de-x/../../secret");
    ASSERT_TRUE(german);
    EXPECT_EQ(*german, LanguageNotes::builtIn().at("de"));
    const auto withNul = LanguageNotes::notes(std::string("de-\0x", 5));
    ASSERT_TRUE(withNul);
    EXPECT_EQ(*withNul, LanguageNotes::builtIn().at("de"));
    // The same folder serves a plain code.
    EXPECT_EQ(LanguageNotes::File::load("de")->avoid.at(0).advice, "from de.json");
}

TEST(LanguageNotesFile, FolderCandidates) {
    EXPECT_EQ(LanguageNotes::File::candidateFolders("/opt/orvel/bin/orvel"),
              (std::vector<std::filesystem::path>{"/opt/orvel/bin/LanguageNotes",
                                                  "/opt/orvel/share/orvel/LanguageNotes"}));

    test::TemporaryNotesFolder notes;
    const auto besideProgram = notes.root() / "bin" / "LanguageNotes";
    const auto shared = notes.root() / "share" / "orvel" / "LanguageNotes";
    std::filesystem::create_directories(shared);
    std::filesystem::create_directories(besideProgram.parent_path());
    // A file of that name is no folder.
    notes.write(besideProgram, "");
    EXPECT_EQ(LanguageNotes::File::firstExistingFolder({besideProgram, shared}), shared);
    std::filesystem::remove(besideProgram);
    std::filesystem::create_directory(besideProgram);
    EXPECT_EQ(LanguageNotes::File::firstExistingFolder({besideProgram, shared}), besideProgram);
    EXPECT_EQ(LanguageNotes::File::firstExistingFolder({notes.root() / "missing"}), std::nullopt);
}

TEST(LanguageNotesFile, OverrideFolderIsUsedWhileSet) {
    std::filesystem::path overridden;
    {
        test::TemporaryNotesFolder notes;
        overridden = notes.folder();
        EXPECT_EQ(LanguageNotes::File::folderURL(), overridden);
    }
    EXPECT_NE(LanguageNotes::File::folderURL(), std::optional(overridden));
}
