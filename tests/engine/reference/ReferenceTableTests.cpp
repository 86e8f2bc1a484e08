#include <gtest/gtest.h>

#include "engine/reference/SoftwareReference.h"

using namespace orvel;
using Source = SoftwareReference::Source;
using Entry = SoftwareReference::Entry;

namespace {

SoftwareReference::Pair pair(std::string english, std::string translation, Source source = Source::android) {
    return {std::move(english), std::move(translation), source, "key"};
}

// "key: text {source=count,...}; text {...} | key: ...", keys in table order.
std::string summary(const SoftwareReference::Table& table) {
    std::string out;
    for (const auto& [english, entries] : table) {
        out += out.empty() ? "" : " | ";
        out += english + ":";
        for (const Entry& entry : entries) {
            out += (&entry == &entries.front() ? " " : "; ") + entry.text + " {";
            bool first = true;
            for (const auto& [source, count] : entry.counts) {
                out += (first ? "" : ",") + source + "=" + std::to_string(count);
                first = false;
            }
            out += "}";
        }
    }
    return out;
}

const std::map<std::string, int, std::less<>>& ranks() {
    static const std::map<std::string, int, std::less<>> order{
        {"android", 0}, {"chromium", 1}, {"firefox", 2}, {"thunderbird", 3}, {"libreoffice", 4}, {"vlc", 5}};
    return order;
}

} // namespace

TEST(ReferenceTable, PairsAreCountedUnderTheFoldedEnglish) {
    const std::string eighty(80, 'a');
    const struct {
        std::string name;
        SoftwareReference::Pairs pairs;
        std::string language;
        std::string expected;
    } cases[] = {
        {"no pairs", {}, "de", ""},
        {"80 characters kept, 81 and line feeds dropped",
         {pair(eighty, "Lang"), pair(eighty + "b", "Zu lang"), pair("Two\nlines", "Zwei"),
          pair("é" + std::string(79, 'e'), "Ä")},
         "de",
         eighty + ": Lang {android=1} | é" + std::string(79, 'e') + ": Ä {android=1}"},
        {"one key for every spelling of the English",
         {pair("Save", "Sichern"), pair("Save…", "Sichern", Source::vlc), pair(" save. ", "Sichern"),
          pair("SAVE:", "Sichern", Source::chromium), pair("Colour", "Farbe")},
         "de",
         "color: Farbe {android=1} | save: Sichern {android=2,chromium=1,vlc=1}"},
        {"translations of marks only, empty or with a line feed are ignored",
         {pair("Open", "…"), pair("Open", ".:. "), pair("Open", "Öff\nnen"), pair("", "Leer")},
         "de",
         ""},
        {"spellings that differ in case make one entry with the most used spelling",
         {pair("Save", "Speichern"), pair("Save", "speichern", Source::firefox), pair("Save", "Speichern")},
         "de",
         "save: Speichern {android=2,firefox=1}"},
        {"equal uses take the spelling that sorts first",
         {pair("Save", "speichern"), pair("Save", "Speichern")},
         "de",
         "save: Speichern {android=2}"},
        {"final marks are no part of a translation",
         {pair("File", "Datei."), pair("File", "Datei ")},
         "de",
         "file: Datei {android=2}"},
        {"Romanian cedilla letters become comma-below letters",
         {pair("Delete", "Şterge"), pair("Delete", "S\xCC\xA7terge"), pair("Delete", "Ștergeţi")},
         "ro",
         "delete: Șterge {android=2}; Ștergeți {android=1}"},
        {"Turkish keeps its cedilla letters and folds case without its locale",
         {pair("Delete", "Şil"), pair("Delete", "ŞIL")},
         "tr",
         "delete: ŞIL {android=2}"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(summary(SoftwareReference::tableFrom(row.pairs, row.language)), row.expected);
    }
}

TEST(ReferenceTable, EntriesAreOrderedBySourcesUsesRankAndText) {
    const struct {
        std::string name;
        Entry first;
        Entry second;
    } cases[] = {
        {"two sources beat one", {"b", {{"android", 1}, {"vlc", 1}}}, {"a", {{"chromium", 5}}}},
        {"equal sources and totals: the better rank", {"b", {{"chromium", 2}}}, {"a", {{"firefox", 2}}}},
        {"a higher total before rank", {"b", {{"firefox", 3}}}, {"a", {{"chromium", 2}}}},
        {"unknown sources rank last", {"b", {{"vlc", 1}}}, {"a", {{"other", 1}}}},
        {"then the text", {"Datei", {{"vlc", 1}}}, {"datei", {{"vlc", 1}}}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(Entry::precedes(row.first, row.second, ranks()));
        EXPECT_FALSE(Entry::precedes(row.second, row.first, ranks()));
    }
}

TEST(ReferenceTable, AKeyKeepsItsFourLeadingTranslationsWhateverTheInputOrder) {
    SoftwareReference::Pairs pairs;
    const std::vector<std::pair<std::string, int>> translations{{"Eins", 1}, {"Zwei", 2}, {"Drei", 3},
                                                                {"Vier", 4}, {"Fünf", 5}, {"Sechs", 6}};
    for (const auto& [text, uses] : translations)
        for (int use = 0; use < uses; ++use)
            pairs.push_back(pair("Number", text, Source::libreoffice));
    const std::string expected = "number: Sechs {libreoffice=6}; Fünf {libreoffice=5}; Vier {libreoffice=4}; "
                                 "Drei {libreoffice=3}";
    for (int turn = 0; turn < 2; ++turn) {
        EXPECT_EQ(summary(SoftwareReference::tableFrom(pairs, "de")), expected);
        std::reverse(pairs.begin(), pairs.end());
    }
}

TEST(ReferenceTable, CleaningTrimsFinalMarksOnly) {
    const struct {
        std::string translation;
        std::string language;
        std::string expected;
    } cases[] = {
        {"  Öffnen…  ", "de", "Öffnen"},
        {"Datei: . \n", "de", "Datei"},
        {"...Weiter", "de", "...Weiter"},
        {"Wirklich?", "de", "Wirklich?"},
        {"Ja!", "de", "Ja!"},
        {"Ţară şi Ş", "ro-RO", "Țară și Ș"},
        {"Ţară", "mo", "Ţară"},
        {"Ş", "tr", "Ş"},
        {"…:.", "de", ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.translation);
        EXPECT_EQ(SoftwareReference::cleanTranslation(row.translation, row.language), row.expected);
    }
}
