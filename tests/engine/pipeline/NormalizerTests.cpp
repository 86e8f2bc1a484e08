#include <gtest/gtest.h>

#include "../model/TemporaryNotesFolder.h"
#include "core/Markers.h"
#include "engine/pipeline/Normalizer.h"

using namespace orvel;
using Parts = std::vector<std::string>;

namespace {

// Every test sees only the built-in notes (and the note files it writes itself).
class NormalizerTest : public ::testing::Test {
  protected:
    test::TemporaryNotesFolder notesFolder;
};

std::string normalized(std::string_view text, std::string_view source, std::string_view language) {
    return Normalizer::normalize(text, source, language);
}

} // namespace

TEST(NormalizerCodeParts, SplitsAtEveryDashAndUnderscore) {
    EXPECT_EQ(Normalizer::codeParts("de"), (Parts{"de"}));
    EXPECT_EQ(Normalizer::codeParts("de-CH"), (Parts{"de", "CH"}));
    EXPECT_EQ(Normalizer::codeParts("zh_Hant-HK"), (Parts{"zh", "Hant", "HK"}));
    EXPECT_EQ(Normalizer::codeParts("a-b_c-d_e-f"), (Parts{"a", "b", "c", "d", "e", "f"}));
}

TEST(NormalizerCodeParts, DropsEmptyParts) {
    EXPECT_EQ(Normalizer::codeParts("--pt__BR-"), (Parts{"pt", "BR"}));
    EXPECT_EQ(Normalizer::codeParts("_x"), (Parts{"x"}));
    EXPECT_TRUE(Normalizer::codeParts("").empty());
    EXPECT_TRUE(Normalizer::codeParts("-").empty());
    EXPECT_TRUE(Normalizer::codeParts("_-_").empty());
}

TEST(NormalizerCodeParts, KeepsOtherCharactersAsTheyAre) {
    EXPECT_EQ(Normalizer::codeParts("Ro-md"), (Parts{"Ro", "md"}));
    EXPECT_EQ(Normalizer::codeParts("sr.Latn/x"), (Parts{"sr.Latn/x"}));
}

TEST(NormalizerWords, SplitsAtEverythingButLettersDigitsAndApostrophes) {
    EXPECT_EQ(Normalizer::words("don\u2019t stop-now"), (Parts{"don\u2019t", "stop", "now"}));
    EXPECT_EQ(Normalizer::words("  it's 3\u00BD files, (x2)!"), (Parts{"it's", "3\u00BD", "files", "x2"}));
    EXPECT_EQ(Normalizer::words("Gr\u00FC\u00DFe\u00A0\u65E5\u672C\u8A9E"),
              (Parts{"Gr\u00FC\u00DFe", "\u65E5\u672C\u8A9E"}));
    // A combining accent stays with its letter.
    EXPECT_EQ(Normalizer::words("cafe\u0301-bar"), (Parts{"cafe\u0301", "bar"}));
    EXPECT_TRUE(Normalizer::words(" \u2014 ... ").empty());
    EXPECT_TRUE(Normalizer::words("").empty());
}

TEST_F(NormalizerTest, RestoresExactlyTheOuterWhiteSpaceOfTheSource) {
    EXPECT_EQ(normalized("Nom", "  Name  ", "fr"), "  Nom  ");
    EXPECT_EQ(normalized(" Bonjour\n\n", "\nHello\t", "fr"), "\nBonjour\t");
    EXPECT_EQ(normalized("\u00A0Hallo ", "Hello", "de"), "Hallo");
    EXPECT_EQ(normalized("", " Name ", "de"), "  ");
}

TEST_F(NormalizerTest, ASourceOfOnlyWhiteSpaceIsNotCarriedTwice) {
    EXPECT_EQ(normalized(" ", " ", "de"), " ");
    EXPECT_EQ(normalized("", "\n\n", "fr"), "\n\n");
    EXPECT_EQ(normalized("x", "\t", "en"), "\tx");
}

TEST_F(NormalizerTest, AddsTheColonOfALabel) {
    EXPECT_EQ(normalized("Enregistrer", "Save:", "fr"), "Enregistrer:");
    EXPECT_EQ(normalized("Name ", " Name: ", "de"), " Name: ");
    // Punctuation of its own, and colons already there, are kept.
    EXPECT_EQ(normalized("Enregistrer ?", "Save:", "fr"), "Enregistrer ?");
    EXPECT_EQ(normalized("Enregistrer\u202F:", "Save:", "fr"), "Enregistrer\u202F:");
    EXPECT_EQ(normalized("\u540D\u524D\uFF1A", "Name:", "ja"), "\u540D\u524D\uFF1A");
    EXPECT_EQ(normalized("Name (optional)", "Name:", "en"), "Name (optional)");
    EXPECT_EQ(normalized("", "Name:", "de"), "");
    EXPECT_EQ(normalized("Nume", "Name", "ro"), "Nume");
}

TEST_F(NormalizerTest, AddsTheFinalPeriodOfASentence) {
    EXPECT_EQ(normalized("Datei \u00F6ffnen", "Open File.", "de"), "Datei \u00F6ffnen.");
    EXPECT_EQ(normalized("Deschide fi\u0219ierul", "Open the file.", "ro-RO"), "Deschide fi\u0219ierul.");
    EXPECT_EQ(normalized("Version 2", "Version 2.", "en"), "Version 2.");
    EXPECT_EQ(normalized("Ouvrir \u00AB\u202Fa\u202F\u00BB", "Open a.", "fr"),
              "Ouvrir \u00AB\u202Fa\u202F\u00BB.");
    EXPECT_EQ(normalized("Voir (1)", "See (1).", "fr"), "Voir (1).");
    EXPECT_EQ(normalized("Mit 50%", "With 50%.", "de"), "Mit 50%.");
    // A decomposed accent is still a letter at the end.
    EXPECT_EQ(normalized("Fini l'e\u0301te\u0301", "Summer is over.", "fr"), "Fini l'e\u0301te\u0301.");
}

TEST_F(NormalizerTest, AddsNoPeriodWhereItDoesNotBelong) {
    EXPECT_EQ(normalized("\u30D5\u30A1\u30A4\u30EB\u3092\u958B\u304F", "Open File.", "ja"),
              "\u30D5\u30A1\u30A4\u30EB\u3092\u958B\u304F");
    EXPECT_EQ(normalized("\u6253\u5F00\u6587\u4EF6", "Open File.", "zh-Hans"), "\u6253\u5F00\u6587\u4EF6");
    EXPECT_EQ(normalized("\u0641\u062A\u062D", "Open.", "AR_eg"), "\u0641\u062A\u062D");
    // The text already ends its sentence, or ends with a sign that takes no period.
    EXPECT_EQ(normalized("Datei \u00F6ffnen!", "Open File.", "de"), "Datei \u00F6ffnen!");
    EXPECT_EQ(normalized("\u0915\u094D\u092F\u093E \u0939\u0948\u0964", "What.", "mr"),
              "\u0915\u094D\u092F\u093E \u0939\u0948\u0964");
    EXPECT_EQ(normalized("Laden -", "Loading.", "de"), "Laden -");
    // A source ending with three periods is an ellipsis, not a sentence end.
    EXPECT_EQ(normalized("Laden", "Loading...", "de"), "Laden");
}

TEST_F(NormalizerTest, RemovesAPeriodTheSourceDoesNotHave) {
    EXPECT_EQ(normalized("Ouvrir le fichier.", "Open File", "fr"), "Ouvrir le fichier");
    EXPECT_EQ(normalized("Version 2.", "Version 2", "de"), "Version 2");
    EXPECT_EQ(normalized("Datei \u00F6ffnen. ", "Open File", "de"), "Datei \u00F6ffnen");
}

TEST_F(NormalizerTest, KeepsPeriodsOfAbbreviationsAndEllipses) {
    EXPECT_EQ(normalized("Ouvrir etc.", "Open File", "fr"), "Ouvrir etc.");
    EXPECT_EQ(normalized("voir p.ex.", "see for example", "fr"), "voir p.ex.");
    EXPECT_EQ(normalized("Bitte warten..", "Please wait", "de"), "Bitte warten..");
    EXPECT_EQ(normalized("Nr.", "No", "de"), "Nr.");
    EXPECT_EQ(normalized(".", "Dot", "de"), ".");
    // The source ends with another sentence end: the text's period stays.
    EXPECT_EQ(normalized("Datei \u00F6ffnen.", "Open File?", "de"), "Datei \u00F6ffnen.");
}

TEST_F(NormalizerTest, WritesTheEllipsisAsTheSourceDoes) {
    EXPECT_EQ(normalized("Enregistrer...", "Save\u2026", "fr"), "Enregistrer\u2026");
    EXPECT_EQ(normalized("... und ...", "\u2026 and \u2026", "de"), "\u2026 und \u2026");
    EXPECT_EQ(normalized("Enregistrer...", "Save\u2026 or ...", "fr"), "Enregistrer...");
    EXPECT_EQ(normalized("Enregistrer...", "Save...", "fr"), "Enregistrer...");
}

TEST_F(NormalizerTest, WritesPercentSignsAsTheSourceDoes) {
    EXPECT_EQ(normalized("Remise de 50%", "50%% off", "fr"), "Remise de 50%%");
    EXPECT_EQ(normalized("Remise de 50%%", "Discount 50%", "fr"), "Remise de 50%");
    EXPECT_EQ(normalized("fait \u00E0 %d%", "%d%% done", "fr"), "fait \u00E0 %d%%");
    EXPECT_EQ(normalized("%1$@ zu 50% fertig", "%1$@ is 50%% done", "de"), "%1$@ zu 50%% fertig");
}

TEST(NormalizerPercentSigns, DoublesLiteralSignsButNotPlaceholders) {
    EXPECT_EQ(Normalizer::percentSigns("%lld %% %#@files@ 100%", "%lld files"), "%lld %% %#@files@ 100%%");
    EXPECT_EQ(Normalizer::percentSigns("% %d", "%d%%"), "%% %d");
    EXPECT_EQ(Normalizer::percentSigns("%%%d", "%%%d"), "%%%d");
    EXPECT_EQ(Normalizer::percentSigns("\u0645\u0646 %@ \u066A %", "%@ %%"), "\u0645\u0646 %@ \u066A %%");
    // A combining mark on the placeholder's last character stays in the text.
    EXPECT_EQ(Normalizer::percentSigns("%d\u0301 50%", "%d%% done"), "%d\u0301 50%%");
    EXPECT_EQ(Normalizer::percentSigns("%lld\u0308\u0301%", "%d%%"), "%lld\u0308\u0301%%");
}

TEST(NormalizerPercentSigns, KeepsTheTextWhenTheSourceWritesASingleSign) {
    EXPECT_EQ(Normalizer::percentSigns("%d%% fertig", "%d% done"), "%d%% fertig");
    EXPECT_EQ(Normalizer::percentSigns("50 % von %@", "50% of %@ and 10%%"), "50 % von %@");
    // A "%" carrying a combining mark is no percent sign, as the placeholder parser sees it.
    EXPECT_EQ(Normalizer::percentSigns("%d% x%\u0301", "%d%% x%\u0301"), "%d%% x%\u0301");
}

TEST(NormalizerPercentSigns, TurnsDoubledSignsSingleWhenTheSourceIsPlainText) {
    EXPECT_EQ(Normalizer::percentSigns("100%% und %%%", "100% and more"), "100% und %%");
    EXPECT_EQ(Normalizer::percentSigns("ohne", "no signs"), "ohne");
}

TEST(NormalizerQuotes, GivesQuotationsTheLanguagesMarks) {
    const auto french = [](std::string_view text, std::string_view source) {
        return Normalizer::quotes(text, source, "\u00AB", "\u00BB");
    };
    const std::string_view source = "Click \u201COK\u201D to continue";
    EXPECT_EQ(french("Cliquez sur \u201COK\u201D pour continuer", source),
              "Cliquez sur \u00ABOK\u00BB pour continuer");
    EXPECT_EQ(french("Cliquez sur \u201C OK \u201D", source), "Cliquez sur \u00ABOK\u00BB");
    EXPECT_EQ(french("\"Un\" ou \u201EDeux\u201C", "\"One\" or \"Two\""),
              "\u00ABUn\u00BB ou \u00ABDeux\u00BB");
}

TEST(NormalizerQuotes, LeavesCodeAndTextsThatNeedNoChange) {
    const auto french = [](std::string_view text, std::string_view source) {
        return Normalizer::quotes(text, source, "\u00AB", "\u00BB");
    };
    EXPECT_EQ(french("Tapez \u201C{name}\u201D", "Type \u201C{name}\u201D"), "Tapez \u201C{name}\u201D");
    EXPECT_EQ(french("Ouvrir \u201C~/a\u201D et \u201CB\u201D", "Open \"~/a\" and \"B\""),
              "Ouvrir \u201C~/a\u201D et \u00ABB\u00BB");
    // The source does not quote with double marks.
    EXPECT_EQ(french("Cliquez sur \u201COK\u201D", "Click \u2018OK\u2019"), "Cliquez sur \u201COK\u201D");
    // The text uses the language's marks already.
    EXPECT_EQ(french("\u00ABA\u00BB et \u201CB\u201D", "\"A\" and \"B\""), "\u00ABA\u00BB et \u201CB\u201D");
    // A quotation does not run over a line break.
    EXPECT_EQ(french("\u201CA\nB\u201D", "\"A\nB\""), "\u201CA\nB\u201D");
}

TEST(NormalizerQuotes, MarksMissingFromTheNotesDoNotStripTheQuotation) {
    EXPECT_EQ(Normalizer::quotes("Cliquez \u201COK\u201D", "Click \"OK\"", "", "\u00BB"),
              "Cliquez \u201COK\u201D");
    EXPECT_EQ(Normalizer::quotes("Cliquez \u201COK\u201D", "Click \"OK\"", "\u00AB", ""),
              "Cliquez \u201COK\u201D");
}

TEST_F(NormalizerTest, UsesTheQuotationMarksOfTheLanguageNotes) {
    const std::string_view source = "Click \u201COK\u201D to continue.";
    EXPECT_EQ(normalized("Klicke auf \u201COK\u201D, um fortzufahren", source, "de-AT"),
              "Klicke auf \u201EOK\u201C, um fortzufahren.");
    EXPECT_EQ(normalized("Cliquez sur \u201COK\u201D pour continuer", source, "fr"),
              "Cliquez sur \u00AB\u202FOK\u202F\u00BB pour continuer.");
    EXPECT_EQ(normalized("Face\u021Bi clic pe \"OK\" pentru a continua", source, "ro"),
              "Face\u021Bi clic pe \u201EOK\u201D pentru a continua.");
    EXPECT_EQ(normalized("Click \u201COK\u201D to continue", source, "en"),
              "Click \u201COK\u201D to continue.");
    // Marks already right stay as they are.
    EXPECT_EQ(normalized("Klicke \u201EOK\u201C", "Click \"OK\"", "de"), "Klicke \u201EOK\u201C");
}

TEST_F(NormalizerTest, ReadsQuotationMarksFromANoteFileForTheWholeCode) {
    notesFolder.writeNote("nl", R"({"quotes": {"open": "\u201A", "close": "\u2018"}})");
    EXPECT_EQ(normalized("Klik op \"OK\"", "Click \"OK\"", "nl"), "Klik op \u201AOK\u2018");
}

TEST_F(NormalizerTest, WritesRomanianCommaBelowLetters) {
    const std::string_view cedillas = "Set\u0103ri \u015Fi op\u0163iuni \u015E\u0162";
    const std::string_view commas = "Set\u0103ri \u0219i op\u021Biuni \u0218\u021A";
    EXPECT_EQ(normalized(cedillas, "Settings and options", "ro"), commas);
    EXPECT_EQ(normalized(cedillas, "Settings and options", "ro-RO"), commas);
    EXPECT_EQ(normalized(cedillas, "Settings and options", "RO_md"), commas);
    EXPECT_EQ(normalized(cedillas, "Settings and options", "fr"), cedillas);
    EXPECT_EQ(normalized("Ba\u015Fla", "Start", "tr"), "Ba\u015Fla");
}

TEST_F(NormalizerTest, RemovesInvisibleMarkers) {
    const std::string marked = "Datei " + Markers::encode(42) + "\u00F6ffnen" + Markers::encode(7);
    EXPECT_EQ(normalized(marked, "Open File.", "de"), "Datei \u00F6ffnen.");
}

TEST_F(NormalizerTest, CleanedTextsStayAsTheyAre) {
    const std::vector<std::array<std::string_view, 3>> cases = {
        {"Enregistrer...", "  Save\u2026: ", "fr"},
        {"Cliquez sur \u201C OK \u201D", "Click \"OK\".", "fr"},
        {"fait \u00E0 %d% .", "%d%% done", "fr"},
        {"Ouvrir le fichier.", "Open File", "fr"},
        {"Datei \u00F6ffnen", "Open \"File\".", "de-CH"},
        {"Set\u0103ri \u015Fi", "Settings:", "ro"},
        {"Klik", "\n", "nl"},
    };
    for (const auto& [text, source, language] : cases) {
        const std::string once = normalized(text, source, language);
        EXPECT_EQ(normalized(once, source, language), once) << text;
    }
}

TEST_F(NormalizerTest, UndoesEscapesOnlyWhereTheSourceHoldsTheCharacter) {
    struct Case {
        std::string_view language;
        std::string_view source;
        std::string_view answer;
        std::string_view expected;
    };
    const std::vector<Case> cases{
        {"de", "Line one\nLine two", "Zeile eins\\nZeile zwei", "Zeile eins\nZeile zwei"},
        {"ja", "Line one\nLine two", "1行目\\n2行目", "1行目\n2行目"},
        {"ar", "Name:\tValue", "الاسم:\\tالقيمة", "الاسم:\tالقيمة"},
        {"en-GB", "Click \"OK\"", "Click \\\"OK\\\"", "Click \"OK\""},
        {"de", "C:\\Users", "C:\\\\Benutzer", "C:\\Benutzer"},
        {"ru", "Two\nlines", "Две\\nстроки\\n", "Две\nстроки"},
        // The source writes the escape itself, or never the character: the answer keeps what it wrote.
        {"de", "Type \\n for a new line", "Geben Sie \\n ein", "Geben Sie \\n ein"},
        {"fr", "One line", "Une\\nligne", "Une\\nligne"},
        {"he", "Path C:\\Temp\nNext", "נתיב C:\\\\Temp\\nהבא", "נתיב C:\\Temp\nהבא"},
        {"de", "Tab\there and \\t", "Tab\\thier", "Tab\\thier"},
    };
    for (const Case& row : cases)
        EXPECT_EQ(normalized(row.answer, row.source, row.language), row.expected) << row.answer;
}

TEST_F(NormalizerTest, CleansEveryPluralFormAgainstTheSameSource) {
    const Normalizer::Forms forms = {
        {"one", "%d fi\u015Fier..."}, {"few", "%d fi\u0219iere"}, {"other", " %d de fi\u015Fiere."}};
    const Normalizer::Forms expected = {
        {"one", "%d fi\u0219ier\u2026"}, {"few", "%d fi\u0219iere"}, {"other", "%d de fi\u0219iere."}};
    EXPECT_EQ(Normalizer::normalize(forms, "%d files\u2026", "ro"), expected);
    EXPECT_TRUE(Normalizer::normalize(Normalizer::Forms{}, "%d files", "ro").empty());
}

TEST_F(NormalizerTest, KeepsBytesThatAreNotUtf8) {
    EXPECT_EQ(normalized("Datei \xFF\xFE", "Open \xC3 file.", "de"), "Datei \xFF\xFE");
    EXPECT_EQ(normalized("50%\xFF", "50%% \xE2\x80", "fr"), "50%%\xFF");
}
