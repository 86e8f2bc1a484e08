#include <gtest/gtest.h>

#include "engine/pipeline/Terms.h"

using namespace orvel;

namespace {

SourceString string(std::string text, bool translate = true) {
    SourceString s;
    s.table = "Localizable";
    s.key = text;
    s.text = std::move(text);
    s.translate = translate;
    return s;
}

std::vector<SourceString> strings(std::initializer_list<std::string> texts) {
    std::vector<SourceString> out;
    for (const auto& text : texts)
        out.push_back(string(text));
    return out;
}

TranslationJob job(std::optional<AppManifest> manifest, std::vector<AppManifest::Term> glossary) {
    return TranslationJob(AppProfile("Notes", "en", std::move(manifest)), "fr", ModelSettings{},
                          AppNotes{"", std::move(glossary)}, ContextMap{}, TranslationStyle{}, {}, false,
                          false);
}

} // namespace

TEST(TermWords, WordSetsHoldTheirWords) {
    EXPECT_EQ(Terms::commandVerbs().size(), 78u);
    EXPECT_EQ(Terms::stopWords().size(), 105u);
    EXPECT_EQ(Terms::ambiguousWords().size(), 32u);
    EXPECT_TRUE(Terms::commandVerbs().contains("double-click"));
    EXPECT_TRUE(Terms::ambiguousWords().contains("live"));
}

TEST(TermList, TakesManifestThenNotesGlossaryLowercased) {
    EXPECT_EQ(Terms::list(job(std::nullopt, {{"iCloud Drive", std::nullopt, std::nullopt}})),
              (Terms::WordSet{"icloud drive"}));
    AppManifest manifest;
    manifest.glossary = std::vector<AppManifest::Term>{{"Smart Folder", "a saved search", true}};
    EXPECT_EQ(Terms::list(job(manifest, {{"ÉTIQUETTE", std::nullopt, false}})),
              (Terms::WordSet{"smart folder", "étiquette"}));
    manifest.glossary.reset();
    EXPECT_TRUE(Terms::list(job(manifest, {})).empty());
}

TEST(TermMatching, SplitsWordsAtEverythingButLettersAndNumbers) {
    EXPECT_EQ(Terms::words("Wi-Fi 6E, iCloud+"), (std::vector<std::string>{"Wi", "Fi", "6E", "iCloud"}));
    EXPECT_EQ(Terms::words("  ...  "), std::vector<std::string>{});
    EXPECT_EQ(Terms::words("Größe: 10½ café\u0301"),
              (std::vector<std::string>{"Größe", "10½", "café\u0301"}));
}

TEST(TermMatching, FindsTermsAsWholeWordsWithEnglishPlurals) {
    for (const char* text : {"File", "Open files", "Files:", "Move the file."})
        EXPECT_TRUE(Terms::matches(text, "file", false, true)) << text;
    // U+0345 is no letter, but one in any case: it folds to a Greek iota.
    for (const char* text : {"profile", "filer", "Fileé", "éFile", "FILE\u0345", "\u0345files"})
        EXPECT_FALSE(Terms::matches(text, "file", false, true)) << text;
    EXPECT_TRUE(Terms::matches("file\u0345", "file", true, true));
    EXPECT_TRUE(Terms::matches("ÉCRANS", "écran", false, true));
    EXPECT_FALSE(Terms::matches("Files", "file", false, false));
    EXPECT_FALSE(Terms::matches("File", "file", true, true));
    EXPECT_TRUE(Terms::matches("2 boxes", "box", false, true));
    EXPECT_TRUE(Terms::matches("File1", "file", false, true)) << "a digit is no letter";
}

// A text is ruled out without the pattern only where it cannot hold the term: the pattern still decides
// wherever a letter of another script can match an ASCII one, or the case differs.
TEST(TermMatching, OnlyTextsThatCannotHoldTheTermAreRuledOutBeforeThePattern) {
    struct Case {
        const char* text;
        const char* term;
        bool caseSensitive;
        bool found;
    };
    const std::vector<Case> cases{
        {"OPEN THE FILE", "file", false, true},
        {"Open a fiLe", "FIle", false, true},
        {"Open a folder", "file", false, false},
        // The Kelvin sign and the long s are other cases of "k" and "s".
        {"\u212Aeys", "key", false, true},
        {"Key\u017F", "keys", false, true},
        {"Caf\u00C9 menu", "café", false, true},
        {"Caf\u00E9 menu", "Café", true, true},
        {"CAF\u00C9 menu", "Café", true, false},
        {"Open the File", "File", true, true},
        {"Open the FILE", "File", true, false},
        {"", "file", false, false},
        {"file", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.term);
        const Terms::Search search(c.term, c.caseSensitive, true);
        EXPECT_EQ(search.in(c.text), c.found);
        EXPECT_EQ(search.inAny(strings({"nothing here", c.text})), c.found);
    }
}

TEST(TermMatching, TermsWithPatternCharactersMatchLiterally) {
    EXPECT_TRUE(Terms::matches("Write C++ code", "C++", true, false));
    EXPECT_FALSE(Terms::matches("Write CCC code", "C++", true, false));
    EXPECT_TRUE(Terms::matches("Use (beta) mode", "(beta)", false, true));
    EXPECT_TRUE(Terms::matches("Price: $5.00", "$5.00", false, false));
    EXPECT_FALSE(Terms::matches("Price: $5x00", "$5.00", false, false));
    EXPECT_TRUE(Terms::matches(R"(A \d B)", R"(\d)", false, false));
    EXPECT_FALSE(Terms::matches("A 7 B", R"(\d)", false, false));
    EXPECT_FALSE(Terms::matches("anything", "[unclosed", false, false));
}

TEST(TermMatching, OccurrenceInStrings) {
    EXPECT_TRUE(Terms::occurs(string("Delete Bookmarks"), "bookmark"));
    EXPECT_FALSE(Terms::occurs(string("Delete Bookmarks", false), "bookmark"));
    EXPECT_TRUE(Terms::occursInAny("bookmark", {string("Open"), string("All bookmarks", false)}))
        << "any string's text counts";
    EXPECT_FALSE(Terms::occursInAny("bookmark", {}));
    EXPECT_FALSE(Terms::occursInAny("", strings({"", "1 + 2"}))) << "an empty term is in no text";
    EXPECT_FALSE(Terms::matches("", "", false, false));
    EXPECT_FALSE(Terms::occursInAny("bookmark", strings({"Open", "Bookmarked"})));
}

TEST(TermMatching, PresentTermsComeLongestFirst) {
    const Terms::TermMap terms{{"Tag", "étiquette"},
                               {"Smart Folder", "dossier intelligent"},
                               {"Inbox", "Inbox"},
                               {"Zone", "zone"},
                               {"Note", "note"}};
    const auto found =
        Terms::present(terms, strings({"Add a tag to the note", "New Smart Folders", "Zones"}));
    EXPECT_EQ(found, (std::vector<Terms::TermPair>{{"Smart Folder", "dossier intelligent"},
                                                   {"Note", "note"},
                                                   {"Zone", "zone"},
                                                   {"Tag", "étiquette"}}));
}

TEST(TermMatching, RemovesCodeSpans) {
    EXPECT_EQ(Terms::removingCode("Run `make test` now, then `x`."), "Run   now, then  .");
    EXPECT_EQ(Terms::removingCode("An ` unclosed span"), "An ` unclosed span");
}

TEST(TermFolding, StemsKeepAShareOfEachFoldedWord) {
    EXPECT_EQ(Terms::folded("Un Fichier"), (std::vector<std::string>{"fich"}));
    EXPECT_EQ(Terms::folded("Dossiers Téléchargements"), (std::vector<std::string>{"doss", "telecharg"}));
    EXPECT_EQ(Terms::folded("abc abcdef abcdefg abcdefghi abcdefghij"),
              (std::vector<std::string>{"abc", "abc", "abcd", "abcde", "abcdef"}));
    EXPECT_TRUE(Terms::folded("OK").empty());
    EXPECT_EQ(Terms::folded("Größe"), (std::vector<std::string>{"gro"}));
}

TEST(TermFolding, TranslationsCarryWordsInInflectedForms) {
    EXPECT_TRUE(Terms::containsFolded("Les fichiers sont prêts", "Fichier"));
    EXPECT_TRUE(Terms::containsFolded("Alle Lesezeichen löschen", "Lesezeichen"));
    EXPECT_TRUE(Terms::containsFolded("ÉTIQUETTES", "étiquette"));
    EXPECT_FALSE(Terms::containsFolded("Les dossiers", "Fichier"));
    EXPECT_FALSE(Terms::containsFolded("OK", "OK"));
    EXPECT_FALSE(Terms::containsFolded("", "Fichier"));
    EXPECT_FALSE(Terms::containsFolded("Dossier de fichiers", "dossier intelligent"));
    EXPECT_TRUE(Terms::containsFolded("Les dossiers intelligents", "dossier intelligent"));
}

TEST(TermFolding, TheChecksFindShortWordingsAndWordingsOfScriptsWithoutSpaces) {
    struct Case {
        std::string text;
        std::string wording;
        bool carried;
    };
    const std::vector<Case> cases{
        {"Les fichiers sont prêts", "Fichier", true},
        {"Les dossiers", "Fichier", false},
        {"Cliquez sur OK", "OK", true},
        {"Cliquez sur « ok »", "OK", true},
        {"Cliquez sur Okay", "OK", false},
        {"Activer le Wi-Fi", "Wi-Fi", true},
        {"Activer le WiFi", "Wi-Fi", false},
        {"Activer le Wi", "Wi-Fi", false},
        {"打开系统设置", "系统设置", true},
        {"打开系统偏好", "系统设置", false},
        {"「システム設定」を開く", "システム設定", true},
        {"เปิดการตั้งค่าระบบ", "การตั้งค่าระบบ", true},
        {"Öffne iCloud 云盘", "iCloud 云盘", true},
        {"anything", "", false},
        {"anything", " - ", false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text + " / " + row.wording);
        EXPECT_EQ(Terms::carries(row.text, row.wording), row.carried);
    }
}

TEST(TermFolding, AbbreviationsAreShortCapitalRuns) {
    for (const char* term : {"USB", "HDMI", "A/B", "R&D", "MP3", "IPV6-X"})
        EXPECT_TRUE(Terms::isCapitalised(term)) << term;
    for (const char* term : {"3D", "Usb", "A", "ABCDEFGHI", "M²", "", "A B", "ÀÉ?"})
        EXPECT_FALSE(Terms::isCapitalised(term)) << term;
    EXPECT_TRUE(Terms::isCapitalised("ÀÉ"));
}

TEST(TermFolding, ChangesThatDropAChosenWord) {
    const Terms::TermMap terms{{"file", "fichier"}, {"OK", "OK"}};
    EXPECT_TRUE(Terms::dropsChosenWord("Open Files", "Ouvrir les fichiers", "Ouvrir les documents", terms));
    EXPECT_FALSE(Terms::dropsChosenWord("Open Files", "Ouvrir les fichiers", "Ouvrir le fichier", terms));
    EXPECT_FALSE(Terms::dropsChosenWord("Open profile", "Ouvrir les fichiers", "Ouvrir", terms))
        << "the source does not hold the term";
    EXPECT_FALSE(Terms::dropsChosenWord("Open Files", "Ouvrir", "Ouvrir les documents", terms))
        << "the earlier text did not carry the word either";
    EXPECT_FALSE(Terms::dropsChosenWord("OK", "OK", "D'accord", terms)) << "a word without stems";
    const Terms::TermMap arabic{{"file", "ملف"}};
    EXPECT_TRUE(Terms::dropsChosenWord("Delete the file", "حذف الملف", "حذف المستند", arabic, "ar"))
        << "the chosen word behind its article";
    EXPECT_FALSE(Terms::dropsChosenWord("Delete the file", "حذف الملف", "احذف الملف", arabic, "ar"));
    const Terms::TermMap hebrew{{"file", "קובץ"}};
    EXPECT_TRUE(Terms::dropsChosenWord("Delete the file", "מחק את הקובץ", "מחק את המסמך", hebrew, "he"));
}

TEST(TermCandidates, CommonPhrasesBecomeCandidatesInTheAppsWriting) {
    const auto found = Terms::candidates(strings({"Smart Folder", "New smart folder", "Rename Smart Folder",
                                                  "Delete smart folder", "Sync %@ smart folders"}),
                                         {}, 10);
    // "smart folder" (2 words, 4 strings) outweighs "smart" and "folder" (1 word, 4 strings each).
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), "smart folder");
    EXPECT_EQ(found, (std::vector<std::string>{"smart folder", "smart", "folder"}));
}

TEST(TermCandidates, FillersCommandsAndAmbiguousWordsAreSkipped) {
    const auto found = Terms::candidates(strings({"Open file", "the file", "Don't move file", "Choose a file",
                                                  "Close", "Close", "Close", "Close"}),
                                         {}, 10);
    EXPECT_EQ(found, (std::vector<std::string>{"file"}));
    EXPECT_TRUE(Terms::candidates(strings({"don't", "don't", "don't", "don't"}), {}, 10).empty());
    EXPECT_TRUE(Terms::candidates(strings({"OK", "OK", "OK", "OK"}), {}, 10).empty()) << "too short";
}

TEST(TermCandidates, CountsOncePerStringAndNeedsEnoughStrings) {
    EXPECT_TRUE(Terms::candidates(strings({"Tag tag tag", "Tag", "Tag"}), {}, 10).empty());
    EXPECT_EQ(Terms::candidates(strings({"Tag tag tag", "Tag", "Tag", "tag"}), {}, 10),
              (std::vector<std::string>{"tag"}));
    EXPECT_TRUE(Terms::candidates(strings({"Smart Folder", "Smart Folder"}), {}, 10).empty());
    EXPECT_EQ(Terms::candidates(strings({"Smart Folder", "Smart Folder", "Smart Folder"}), {}, 10),
              (std::vector<std::string>{"Smart Folder"}));
}

// A large app's strings are counted in parts; the phrases come out as one pass over them all gives them.
TEST(TermCandidates, ALargeAppsPhrasesAreCountedAndWrittenAsInOnePass) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, std::string>> placed;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"the last lower-case writing",
         {{0, "Smart Folder"}, {10'000, "Smart Folder"}, {19'999, "smart folder"}},
         {"smart folder"}},
        {"a lower-case writing before capitals only",
         {{100, "sync folder"}, {15'000, "Sync Folder"}, {19'000, "Sync Folder"}},
         {"sync folder"}},
        {"counts of every part", {{0, "Tag"}, {6'000, "Tag"}, {11'000, "Tag"}, {16'000, "Tag"}}, {"Tag"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SourceString> source(20'000, string("1"));
        for (const auto& [at, text] : c.placed)
            source[at] = string(text);
        EXPECT_EQ(Terms::candidates(source, {}, 10), c.expected);
    }
}

TEST(TermCandidates, GlossaryUntranslatedAndPlaceholdersStayOut) {
    std::vector<SourceString> source = strings({"Inbox", "Inbox", "Inbox", "Inbox %lld items"});
    EXPECT_TRUE(Terms::candidates(source, {{"INBOX", std::nullopt, std::nullopt}}, 10).empty());
    source.back().translate = false;
    EXPECT_TRUE(Terms::candidates(source, {}, 10).empty()) << "a string not to translate does not count";
    EXPECT_TRUE(
        Terms::candidates(strings({"%1$@ %2$@", "%1$@ %2$@", "%1$@ %2$@", "%1$@ %2$@"}), {}, 10).empty());
}

TEST(TermCandidates, EqualWeightsOrderByKeyDescendingAndTheLimitCuts) {
    const auto source =
        strings({"Alpha Beta", "Alpha Beta", "Alpha Beta", "Gamma Delta", "Gamma Delta", "Gamma Delta"});
    EXPECT_EQ(Terms::candidates(source, {}, 10), (std::vector<std::string>{"Gamma Delta", "Alpha Beta"}));
    EXPECT_EQ(Terms::candidates(source, {}, 1), (std::vector<std::string>{"Gamma Delta"}));
    EXPECT_TRUE(Terms::candidates(source, {}, 0).empty());
}

TEST(TermCandidates, ShortPhrasesAreMeasuredInCharactersNotBytes) {
    struct Case {
        std::string text;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"ab", {}},           {"abc", {"abc"}},
        {"çà", {}},           {"çàé", {"çàé"}},
        {"e\u0301t", {}},     {"e\u0301te\u0301", {"e\u0301te\u0301"}},
        {"é tag", {"tag"}},   {"é tags", {"tags"}},
        {"\u65e5\u672c", {}}, {"\u65e5\u672c\u8a9e", {"\u65e5\u672c\u8a9e"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Terms::candidates(strings({c.text, c.text, c.text, c.text}), {}, 10), c.expected) << c.text;
}

TEST(TermCandidates, CandidateThresholds) {
    EXPECT_FALSE(Terms::isCandidate("tag", 3, {}));
    EXPECT_TRUE(Terms::isCandidate("tag", 4, {}));
    EXPECT_TRUE(Terms::isCandidate("smart folder", 3, {}));
    EXPECT_FALSE(Terms::isCandidate("smart folder", 2, {}));
    EXPECT_FALSE(Terms::isCandidate("smart folder", 9, {"smart folder"}));
    EXPECT_FALSE(Terms::isCandidate(" tag ", 3, {})) << "spaces around one word make no second word";
}
