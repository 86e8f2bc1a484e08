#include <gtest/gtest.h>

#include <string>

#include "engine/reference/Distill.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;
using Entry = SoftwareReference::Entry;

namespace {

// A Romanian reference with something for every part of the report: grouped and plain counts, a failed
// and two absent programs, consensus from the second entry, cells that need escaping, shared label
// examples and a program whose statistics are all empty.
SoftwareReference romanian() {
    SoftwareReference reference;
    reference.language = "ro";
    reference.pairs = {{"android", 123456}, {"firefox", 4213}, {"vlc", 7}};
    reference.failed = {"chromium"};
    reference.table = {
        {"settings",
         {Entry{"Setări", {{"android", 120}, {"chromium", 30}}}, Entry{"Configurări", {{"libreoffice", 4}}}}},
        {"cancel",
         {Entry{"Anulează", {{"firefox", 5}, {"thunderbird", 5}}},
          Entry{"Renunță", {{"vlc", 2}, {"android", 7}}}}},
        {"color", {Entry{"Culoare", {{"android", 3}}}}},
        {"check for updates", {Entry{"Caută | actualizări", {{"android", 2}, {"chromium", 1}}}}},
        {"save", {Entry{"Salvează\nacum", {{"chromium", 12345}, {"vlc", 2}}}}},
        {"don't ask again", {Entry{"Nu mai întreba", {{"android", 1}}}}},
        {"unrelated", {Entry{"Fără legătură", {{"android", 9}, {"chromium", 9}}}}},
    };
    StyleStats android;
    android.quotes = {{"„…“", 12000}, {"«…»", 3}};
    android.ellipsis = {{"…", 5}, {"none", 5}};
    android.spaceBefore = {{":", {{"none", 40}, {"space", 2}}}};
    android.questions = {{"?", 9}};
    android.labelCase = {{"sentence case", 20}};
    android.labelExamples = {{"sentence case", "Show All", "Arată tot"},
                             {"sentence case", "Open Recent", "Deschide recente"}};
    android.imperatives = {{"Click | here", "Clic | aici"}, {"Tap\nOK", "Atinge\tOK"}};
    StyleStats firefox;
    firefox.quotes = {{"„…“", 100000}};
    firefox.straightQuotes = {{"\"…\"", 2}};
    firefox.spaceBefore = {{"?", {{"none", 3}}}, {":", {{"none", 1}}}};
    firefox.labelCase = {{"title case", 1}};
    firefox.labelExamples = {{"sentence case", "Show All", "Arată tot!"},
                             {"title case", "Save As", "Salvează Ca"}};
    reference.style = {{"android", android}, {"firefox", firefox}, {"vlc", StyleStats{}}};
    return reference;
}

} // namespace

TEST(Distill, RendersTheReportOfAReference) {
    EXPECT_EQ(Distill::render(romanian()),
              orvel::testing::readBytes(std::string(ORVEL_TEST_FIXTURES) + "/reference/distill-ro.md"));
}

TEST(Distill, AReferenceWithoutPairsOrStatisticsStillHasEveryPart) {
    SoftwareReference reference;
    reference.language = "ro";
    reference.failed = {"vlc", "android"};
    const std::string report = Distill::render(reference);
    EXPECT_NE(
        report.find("\nPairs: none.\nNo pairs from: Android (download failed), Chromium (no translation), "
                    "Firefox (no translation), Thunderbird (no translation), LibreOffice (no translation), "
                    "VLC (download failed).\n"),
        std::string::npos);
    EXPECT_NE(report.find("\n| Settings |  | — |\n"), std::string::npos);
    EXPECT_NE(report.find("\n0 of 265 have a consensus.\n"), std::string::npos);
    EXPECT_NE(report.find("\n| Source | Counts |\n|---|---|\n| All | — |\n\n### Quotation marks after"),
              std::string::npos)
        << "the All row stands without any program";
    EXPECT_TRUE(report.ends_with("English imperatives and their translations, up to 15 from each source.\n"));
}

TEST(Distill, ShowsTwelveDistinctLabelExamplesAtMost) {
    SoftwareReference reference;
    reference.language = "ro";
    StyleStats first;
    StyleStats second;
    for (int i = 0; i < 8; ++i) {
        first.labelExamples.push_back({"mixed", "Label " + std::to_string(i), "x"});
        second.labelExamples.push_back({"mixed", "Label " + std::to_string(i + 4), "y"});
    }
    second.labelExamples.push_back({"incomplete example"});
    reference.style = {{"android", first}, {"vlc", second}};
    const std::string report = Distill::render(reference);
    for (int i = 0; i < 12; ++i)
        EXPECT_NE(report.find("\n- mixed: Label " + std::to_string(i) + " → " + (i < 8 ? "x" : "y") + "\n"),
                  std::string::npos)
            << i;
    EXPECT_EQ(report.find("Label 12"), std::string::npos);
    EXPECT_EQ(report.find("incomplete example"), std::string::npos);
}

TEST(Distill, GroupsLongNumbersAndOrdersCounts) {
    struct Case {
        std::int64_t number;
        std::string grouped;
    };
    const std::vector<Case> numbers{{0, "0"},
                                    {1234, "1234"},
                                    {12345, "12\u202F345"},
                                    {1234567, "1\u202F234\u202F567"},
                                    {-12345, "-12\u202F345"}};
    for (const Case& row : numbers)
        EXPECT_EQ(Distill::groupedNumber(row.number), row.grouped) << row.number;
    EXPECT_EQ(Distill::counts({}), "—");
    EXPECT_EQ(Distill::counts({{"b", 2}, {"a", 2}, {"c", 10000}}), "c 10\u202F000, a 2, b 2");
    EXPECT_EQ(Distill::cellForm("a|b\nc\td"), "a\\|b⏎c d");
}
