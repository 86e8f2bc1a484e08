#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/reference/StyleMeasurement.h"
#include "engine/reference/StyleStats.h"

using namespace orvel;

namespace {

using Pair = SoftwareReference::Pair;
using Counts = StyleStats::Counts;

StyleStats measured(std::vector<std::pair<std::string, std::string>> texts) {
    std::vector<Pair> pairs;
    for (auto& [english, translation] : texts)
        pairs.push_back({english, translation, SoftwareReference::Source::android, "key"});
    return measureStyle(pairs);
}

std::map<std::string, Counts> spacesBefore(std::string_view translation) {
    std::map<std::string, Counts> counts;
    StyleStats::countSpaceBefore(translation, counts);
    return counts;
}

} // namespace

TEST(StyleStats, NoPairsGiveAnEmptyRecordThatSurvivesItsCodedForm) {
    const StyleStats empty = measureStyle({});
    EXPECT_EQ(empty, StyleStats{});
    const StyleStats some =
        measured({{"Open “Settings”", "Ouvrez « Réglages »"}, {"Show All", "Alle anzeigen"}});
    EXPECT_EQ(StyleStats::fromJson(some.toJson()), some);
}

TEST(StyleStatsQuotes, NameTheMarksAndTheSpaceInside) {
    EXPECT_EQ(StyleStats::quoteStyle("Ouvrez «\u00A0Réglages\u00A0»"), "«…» with no-break spaces inside");
    EXPECT_EQ(StyleStats::quoteStyle("Öffnen Sie „Einstellungen“"), "„…“");
    EXPECT_EQ(StyleStats::quoteStyle("l’application «\u202FPhotos\u202F»"),
              "«…» with narrow no-break spaces inside");
    EXPECT_EQ(StyleStats::quoteStyle("l’application"), "none");
    // At the very end a ’ is no apostrophe but a closing mark.
    EXPECT_EQ(StyleStats::quoteStyle("‚Fotos’"), "‚…’");
    EXPECT_EQ(StyleStats::quoteStyle("«»"), "none");
    EXPECT_EQ(StyleStats::quoteStyle(""), "none");
    EXPECT_EQ(StyleStats::quoteStyle("« Photos"), "none");
}

TEST(StyleStatsQuotes, CountEachPairUnderCurlyOrStraightQuotesOnly) {
    const StyleStats stats = measured({
        {"Open “Settings”", "Ouvrez «\u00A0Réglages\u00A0»"},
        {"Open “Photos” or \"Mail\"", "Ouvrez « Photos » ou « Mail »"},
        {"Open \"Mail\"", "Ouvrez Mail"},
        {"Open Mail", "Ouvrez « Mail »"},
    });
    EXPECT_EQ(stats.quotes, (Counts{{"«…» with no-break spaces inside", 1}, {"«…» with spaces inside", 1}}));
    EXPECT_EQ(stats.straightQuotes, (Counts{{"none", 1}}));
}

TEST(StyleStatsEndings, CountEllipsesAndQuestionMarks) {
    const StyleStats stats = measured({
        {"Loading...", "Chargement…"},
        {"Saving…", "Enregistrement..."},
        {"Print…", "Imprimer"},
        {"Delete?", "Löschen?"},
        {"Quit?", "终止？"},
        {"Really?", "   "},
    });
    EXPECT_EQ(stats.ellipsis, (Counts{{"…", 1}, {"...", 1}, {"none", 1}}));
    EXPECT_EQ(stats.questions, (Counts{{"?", 1}, {"？", 1}}));
}

TEST(StyleStatsMarks, CountWhatStandsBeforeAMarkThatEndsAWord) {
    EXPECT_EQ(spacesBefore("Erreur : fichier"), (std::map<std::string, Counts>{{":", {{"space", 1}}}}));
    EXPECT_EQ(spacesBefore("Quoi\u202F?"),
              (std::map<std::string, Counts>{{"?", {{"narrow no-break space", 1}}}}));
    EXPECT_EQ(spacesBefore("Quoi\u2009!"), (std::map<std::string, Counts>{{"!", {{"other space", 1}}}}));
    EXPECT_EQ(spacesBefore("Datei:"), (std::map<std::string, Counts>{{":", {{"none", 1}}}}));
    EXPECT_EQ(spacesBefore("文件："), (std::map<std::string, Counts>{{":", {{"full-width mark", 1}}}}));
    for (const char* nothing : {"x:/y", "10:30", "a:b", "Fehler:Datei", ":Datei", "？", "a;1"})
        EXPECT_TRUE(spacesBefore(nothing).empty()) << nothing;
}

TEST(StyleStatsLabels, ClassifyTheCaseOfTitleCaseLabels) {
    EXPECT_EQ(StyleStats::labelCaseOf("Alle anzeigen"), "sentence case");
    EXPECT_EQ(StyleStats::labelCaseOf("Tout Afficher"), "title case");
    EXPECT_EQ(StyleStats::labelCaseOf("tout afficher"), "lowercase");
    EXPECT_EQ(StyleStats::labelCaseOf("tout Afficher"), "mixed");
    EXPECT_EQ(StyleStats::labelCaseOf("Tout afficher Maintenant"), "mixed");
    EXPECT_EQ(StyleStats::labelCaseOf("全部显示"), "no case");
    EXPECT_EQ(StyleStats::labelCaseOf("Show"), "one word");
    EXPECT_EQ(StyleStats::labelCaseOf("123 …"), "other");
    EXPECT_EQ(StyleStats::labelCaseOf("Alle\u00A0Anzeigen"), "title case");
    // A decomposed capital is one character with case.
    EXPECT_EQ(StyleStats::labelCaseOf("Tout E\u0301crire"), "title case");

    const StyleStats stats = measured({
        {"Show All", "Alle anzeigen"},
        {"Check for Updates", "Nach Updates suchen"},
        {"Show", "Anzeigen"},
        {"Open Recent Files Now", "Zuletzt geöffnete Dateien jetzt"},
        {"iCloud Drive", "iCloud Drive"},
        {"Hide All", "Alle ausblenden"},
        {"Quit All", "Alle beenden"},
        {"Zoom Out", "Verkleinern"},
        {"Sort By Name", "Nach namen sortieren"},
    });
    EXPECT_EQ(stats.labelCase, (Counts{{"sentence case", 4}, {"one word", 1}}));
    EXPECT_EQ(stats.labelExamples, (std::vector<std::vector<std::string>>{
                                       {"sentence case", "Hide All", "Alle ausblenden"},
                                       {"sentence case", "Quit All", "Alle beenden"},
                                       {"sentence case", "Show All", "Alle anzeigen"},
                                       {"one word", "Zoom Out", "Verkleinern"},
                                   }));
}

TEST(StyleStatsImperatives, OnlyShortOneLineTextsOpenedByAVerbAndASpace) {
    const std::string long_ = "Click " + std::string(115, 'x');
    const StyleStats stats = measured({
        {long_, "long"},
        {"Click here\nto go on", "zwei Zeilen"},
        {"Clicking here", "Hier klicken"},
        {"Turn on Wi-Fi", "WLAN einschalten"},
        {"Click " + std::string(114, 'x'), "lang genug"},
    });
    EXPECT_EQ(stats.imperatives, (std::vector<std::vector<std::string>>{
                                     {"Click " + std::string(114, 'x'), "lang genug"},
                                     {"Turn on Wi-Fi", "WLAN einschalten"},
                                 }));
}

TEST(StyleStatsImperatives, KeepFifteenAlternatingBetweenVerbsBestFirst) {
    std::vector<std::pair<std::string, std::string>> texts{
        {"Click OK", "OK klicken"},
        {"Click OK to continue", "Klicken Sie auf OK"},
        {"Click here if you want to keep your files", "Klicken Sie hier"},
    };
    for (int i = 0; i < 10; ++i) {
        texts.push_back({"Save item " + std::to_string(i), "Sichern " + std::to_string(i)});
        texts.push_back({"Wait " + std::to_string(i), "Warten " + std::to_string(i)});
    }
    const StyleStats stats = measured(texts);
    ASSERT_EQ(stats.imperatives.size(), 15u);
    std::vector<std::string> english;
    for (const auto& example : stats.imperatives)
        english.push_back(example.front());
    EXPECT_EQ(english, (std::vector<std::string>{"Click here if you want to keep your files", "Save item 0",
                                                 "Wait 0", "Click OK to continue", "Save item 1", "Wait 1",
                                                 "Click OK", "Save item 2", "Wait 2", "Save item 3", "Wait 3",
                                                 "Save item 4", "Wait 4", "Save item 5", "Wait 5"}));
}

TEST(StyleStats, TheOrderOfThePairsDoesNotMatter) {
    std::vector<std::pair<std::string, std::string>> texts{{"Show All", "Alle anzeigen"},
                                                           {"Hide All", "Alle ausblenden"},
                                                           {"Quit All", "Alle beenden"},
                                                           {"Sort All", "Alle sortieren"},
                                                           {"Click OK", "OK"},
                                                           {"Click Cancel", "Abbrechen"}};
    std::vector<std::pair<std::string, std::string>> reversed(texts.rbegin(), texts.rend());
    EXPECT_EQ(measured(texts), measured(reversed));
}
