#include <gtest/gtest.h>

#include <thread>

#include "TemporaryNotesFolder.h"

using namespace orvel;
using Lines = std::vector<std::string>;

namespace {

const LanguageNotes& builtIn(const char* key) {
    return LanguageNotes::builtIn().at(key);
}

LanguageNotes fileNotes(const char* bytes) {
    return LanguageNotes::File::notes(bytes);
}

} // namespace

TEST(LanguageNotesMerge, BuiltInLinesWinUnlessEmpty) {
    const auto german = builtIn("de").merge(fileNotes(R"({"always": ["x"], "formal": ["y"]})"));
    EXPECT_EQ(german.always, builtIn("de").always);
    EXPECT_EQ(german.formal, builtIn("de").formal);

    const auto portuguese = builtIn("pt-PT").merge(fileNotes(R"({"keepCommon": ["x"], "translateAll": []})"));
    EXPECT_EQ(portuguese.keepCommon, Lines{"x"});
    EXPECT_TRUE(portuguese.translateAll.empty());
    EXPECT_EQ(portuguese.always, builtIn("pt-PT").always);
}

TEST(LanguageNotesMerge, TermsKeepBuiltInWordsAndGainNewKeys) {
    const auto merged = builtIn("de").merge(fileNotes(
        R"({"terms": {"settings": "Optionen", "window": "Fenster"}, "translateAllTerms": {"display": "Anzeige"}})"));
    EXPECT_EQ(merged.terms.at("settings"), "Einstellungen");
    EXPECT_EQ(merged.terms.at("window"), "Fenster");
    EXPECT_EQ(merged.terms.size(), builtIn("de").terms.size() + 1);
    EXPECT_EQ(merged.translateAllTerms.at("display"), "Bildschirm");
}

TEST(LanguageNotesMerge, FileRulesFollowBuiltInRulesUnlessRepeated) {
    const auto& romanian = builtIn("ro");
    const auto merged = romanian.merge(fileNotes(R"json({"avoid": [
        {"pattern": "new", "advice": "first file rule"},
        {"pattern": "(?<!\\p{L})click(?!\\p{L})", "advice": "repeats a built-in rule"},
        {"pattern": "new", "advice": "file rules are not compared with one another"}]})json"));
    ASSERT_EQ(merged.avoid.size(), romanian.avoid.size() + 2);
    EXPECT_TRUE(std::equal(romanian.avoid.begin(), romanian.avoid.end(), merged.avoid.begin()));
    EXPECT_EQ(merged.avoid[romanian.avoid.size()].advice, "first file rule");
    EXPECT_EQ(merged.avoid.back().advice, "file rules are not compared with one another");
}

TEST(LanguageNotesMerge, QuotesOfTheBuiltInRowWin) {
    const auto file = fileNotes(R"({"quotes": {"open": "\"", "close": "\""}})");
    EXPECT_EQ(builtIn("fr").merge(file).quotes, builtIn("fr").quotes);
    EXPECT_EQ(builtIn("es").merge(file).quotes, (LanguageNotes::Quotes{"\"", "\""}));
}

TEST(LanguageNotesLookup, MergesTheFileOfTheLanguage) {
    test::TemporaryNotesFolder folder;
    folder.writeNote("pt-PT", R"({"keepCommon": ["from the file"], "always": ["ignored"]})");
    folder.writeNote("ja", R"({"always": ["only from the file"]})");

    const auto portuguese = LanguageNotes::notes("pt-PT");
    ASSERT_TRUE(portuguese);
    EXPECT_EQ(portuguese->keepCommon, Lines{"from the file"});
    EXPECT_EQ(portuguese->always, builtIn("pt-PT").always);
    EXPECT_EQ(LanguageNotes::notes("ja-JP")->always, Lines{"only from the file"});
    EXPECT_EQ(*LanguageNotes::notes("it"), builtIn("it"));
}

TEST(LanguageNotesLookup, ResultsAreCachedPerExactCode) {
    test::TemporaryNotesFolder folder;
    EXPECT_FALSE(LanguageNotes::notes("xx"));
    folder.writeNote("xx", R"({"always": ["late"]})");
    // The missing notes were cached too.
    EXPECT_FALSE(LanguageNotes::notes("xx"));
    EXPECT_TRUE(LanguageNotes::notes("xx-YY"));

    folder.writeNote("pt-BR", R"({"avoid": [{"pattern": "x", "advice": "from pt-BR"}]})");
    EXPECT_EQ(LanguageNotes::notes("pt-BR")->avoid.at(0).advice, "from pt-BR");
    EXPECT_EQ(LanguageNotes::notes("pt_BR")->avoid.at(0).advice, "from pt-BR");
    std::filesystem::remove(folder.folder() / "pt-BR.json");
    EXPECT_EQ(LanguageNotes::notes("pt-BR")->avoid.size(), 1u);
    EXPECT_EQ(LanguageNotes::notes("pt_BR")->avoid.size(), 1u);
    // Another spelling is a new entry and reads the folder as it is now.
    EXPECT_TRUE(LanguageNotes::notes("PT-br")->avoid.empty());
}

TEST(LanguageNotesLookup, ConcurrentFirstRequestsAgree) {
    test::TemporaryNotesFolder folder;
    folder.writeNote("ro", R"({"avoid": [{"pattern": "extra", "advice": "extra"}]})");
    std::vector<std::shared_ptr<const LanguageNotes>> seen(8);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < seen.size(); ++i)
            threads.emplace_back([&seen, i] { seen[i] = LanguageNotes::notes("ro"); });
    }
    for (const auto& notes : seen) {
        ASSERT_TRUE(notes);
        EXPECT_EQ(*notes, *seen[0]);
        EXPECT_EQ(notes->avoid.size(), builtIn("ro").avoid.size() + 1);
    }
}
