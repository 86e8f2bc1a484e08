#include <gtest/gtest.h>

#include "engine/pipeline/Validation.h"
#include "engine/pipeline/ValidationLists.h"

using namespace orvel;
using Forms = Validation::PluralForms;
using Validation::problem;

namespace {

SourceString english(std::string text, std::optional<Forms> plural = std::nullopt) {
    SourceString source;
    source.table = "Localizable";
    source.key = text;
    source.text = std::move(text);
    source.plural = std::move(plural);
    return source;
}

std::optional<std::string> single(const std::optional<std::string>& answer, const std::string& source) {
    return problem(answer, std::nullopt, english(source), std::nullopt);
}

std::optional<std::string> forms(const Forms& answer, const SourceString& source,
                                 std::optional<std::string_view> language = std::nullopt) {
    return problem(std::nullopt, answer, source, language);
}

const std::string emptyProblem = "the translation is empty";
const std::string arrowProblem = "write only the translation, without the old text, an arrow or a comment";
const std::string percentProblem = "a literal percent sign must stay written as %% like in the source";

} // namespace

TEST(ValidationMarkersAndArrow, MarkersAreCheckedBeforeEmptiness) {
    EXPECT_EQ(single(std::nullopt, "Save **all** files"),
              "keep every ** of the source, around the matching words");
    EXPECT_EQ(single("Alle Dateien sichern", "Use `git` here"),
              "keep every ` of the source, around the matching words");
    EXPECT_EQ(single("**Alle** `x", "**All** files"),
              "keep every ` of the source, around the matching words");
    EXPECT_EQ(single("Alle **Dateien** sichern", "Save **all** files"), std::nullopt);
    EXPECT_EQ(forms({{"one", "**%d** Datei"}, {"other", "%d Dateien"}}, english("**%d** files")),
              "keep every ** of the source, around the matching words");
}

TEST(ValidationMarkersAndArrow, ArrowOnlyWhereTheSourceHasNone) {
    EXPECT_EQ(single("Öffnen → Open", "Open"), arrowProblem);
    EXPECT_EQ(single("Weiter →", "Next →"), std::nullopt);
    EXPECT_EQ(forms({{"one", "%d Datei"}, {"other", "%d files → %d Dateien"}}, english("%d files")),
              arrowProblem);
}

TEST(ValidationMarkersAndArrow, EmptyFormsBesideATextStillCheckTheText) {
    EXPECT_EQ(problem("Öffnen → Open", Forms{}, english("Open"), "de"), arrowProblem);
    EXPECT_EQ(problem("Öffnen", Forms{}, english("Open"), "de"), std::nullopt);
    EXPECT_EQ(problem(std::nullopt, Forms{}, english("Open"), "de"), emptyProblem);
    EXPECT_EQ(problem("Alle sichern", Forms{}, english("Save **all**"), "de"),
              "keep every ** of the source, around the matching words");
    // Without a text an empty map gives nothing to look for markers in.
    EXPECT_EQ(problem(std::nullopt, Forms{}, english("Save **all**"), "de"), emptyProblem);
}

TEST(ValidationSingleText, EmptyMeansOnlySpacesAndTabs) {
    EXPECT_EQ(single(std::nullopt, "Open"), emptyProblem);
    EXPECT_EQ(single("", "Open"), emptyProblem);
    EXPECT_EQ(single(" \t  ", "Open"), emptyProblem);
    EXPECT_EQ(single("\n", "Open"), std::nullopt);
}

TEST(ValidationSingleText, KeepsVariablesAsAMultiset) {
    const std::string source = "Hello {{name}}, ${count} new";
    const std::string expected =
        "the translation must keep the variables ${count} {{name}} exactly as written";
    EXPECT_EQ(single("Hallo {{name}}, ${count} neu", source), std::nullopt);
    EXPECT_EQ(single("${count} neu, hallo {{name}}", source), std::nullopt);
    EXPECT_EQ(single("Hallo {{Name}}, ${count} neu", source), expected);
    EXPECT_EQ(single("Hallo {{name}}, neu", source), expected);
    EXPECT_EQ(single("Hallo {{name}} {{name}}, ${count} neu", source), expected);
    EXPECT_EQ(single("Hallo ${extra}", "Hello"), std::nullopt);
}

TEST(ValidationSingleText, KeepsPlaceholders) {
    EXPECT_EQ(single("%@ hat %lld Dateien", "%@ has %d files"),
              "write the placeholders exactly as in the source: %@ %d");
    EXPECT_EQ(single("%@ hat Dateien", "%@ has %d files"),
              "the translation must keep exactly the placeholders %@ %d");
    EXPECT_EQ(single("%@ hat %f Dateien", "%@ has %d files"),
              "the translation must keep exactly the placeholders %@ %d");
    EXPECT_EQ(single("%1$@ hat %2$d Dateien", "%@ has %d files"), std::nullopt);
}

TEST(ValidationSingleText, AddsNoPlaceholderWhereTheSourceHasNone) {
    struct Case {
        std::string source;
        std::string answer;
        bool accepted;
    };
    const std::vector<Case> cases{
        {"Print Document", "طباعة %@", false},
        {"Done", "完了 %@", false},
        {"Print Document", "Dokument %@ drucken", false},
        {"Open", "%d ist 100%", false},
        {"Files", "%lld файлов", false},
        {"Open", "%1$@ öffnen", false},
        {"Show", "%#@files@ zeigen", false},
        {"Search", "חיפוש %s", false},
        // A percent sign in running text is no placeholder.
        {"Discount", "20 % de remise", true},
        {"Safe", "100 % sûr", true},
        {"Half", "50 %", true},
        {"Half off", "%50 indirim", true},
        {"Half off", "خصم 50٪", true},
        {"Print Document", "Dokument drucken", true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.answer);
        EXPECT_EQ(single(row.answer, row.source),
                  row.accepted ? std::nullopt
                               : std::optional<std::string>(
                                     "the translation must keep exactly the placeholders (none)"));
    }
}

TEST(ValidationSingleText, EveryArgumentKeepsItsType) {
    const std::string expected = "write the placeholders exactly as in the source: %@ %d";
    EXPECT_EQ(single("%d Dateien hat %@", "%@ has %d files"), expected);
    EXPECT_EQ(single("%2$d Dateien hat %1$@", "%@ has %d files"), std::nullopt);
    EXPECT_EQ(single("%1$d Dateien hat %2$@", "%@ has %d files"), expected);
    EXPECT_EQ(single("%2$@ von %1$@", "%@ of %@"), std::nullopt);
    EXPECT_EQ(single("%lld von %@", "%1$@ of %2$lld"),
              "write the placeholders exactly as in the source: %1$@ %2$lld");
}

TEST(ValidationSingleText, KeepsLiteralPercentSigns) {
    EXPECT_EQ(single("50 Prozent erledigt", "50%% done"), percentProblem);
    EXPECT_EQ(single("50 %% erledigt", "50%% done"), std::nullopt);
    EXPECT_EQ(single("50%% von %d, 100%", "50%% of %d"), percentProblem);
    EXPECT_EQ(single("%d von 100 %% und mehr %%", "%d of 100%%"), percentProblem);
    // Fewer lone signs than the source is no problem.
    EXPECT_EQ(single("%d Stück", "%d items, 100%"), std::nullopt);
    EXPECT_EQ(single("%d Stück, 100%", "%d items, 100%"), std::nullopt);
    // A "%%" source gets the placeholder checks although it has no placeholder.
    EXPECT_EQ(single("%@ zu 50%%", "50%% done"), "the translation must keep exactly the placeholders (none)");
}

TEST(ValidationPluralForms, RefusesFormsWhereThereIsNoCount) {
    EXPECT_EQ(forms({{"one", ""}, {"other", ""}}, english("Delete")),
              "the source has no whole-number placeholder, so it has no plural forms: answer one plain text");
    EXPECT_EQ(forms({{"one", "%.1f Tag"}, {"other", "%.1f Tage"}}, english("%.1f days")),
              "the source has no whole-number placeholder, so it has no plural forms: answer one plain text");
    const std::string nameProblem =
        "this is a name with a number, not a count: answer one plain text with no plural forms";
    EXPECT_EQ(forms({{"one", "Seite %d"}, {"other", "Seite %d"}}, english("Page %d")), nameProblem);
    EXPECT_EQ(forms({{"other", "Kapitel %2$lld"}}, english("Chapter %2$lld")), nameProblem);
    EXPECT_EQ(forms({{"other", "Seiten %d"}}, english("page %d")), std::nullopt);
    EXPECT_EQ(forms({{"one", "Seite %d"}, {"other", "Seiten %d"}},
                    english("Page %d", Forms{{"one", "Page %d"}, {"other", "Pages %d"}})),
              std::nullopt);
}

TEST(ValidationPluralForms, NeedsOtherAndTheLanguagesCategories) {
    const auto source = english("%d files");
    EXPECT_EQ(forms({{"one", "%d Datei"}}, source), "the plural forms need an \"other\" form");
    EXPECT_EQ(forms({{"one", "%d Datei"}, {"other", ""}}, source), "the plural forms need an \"other\" form");
    EXPECT_EQ(forms({{"one", "%d fichier"}, {"other", "%d fichiers"}}, source, "fr"), std::nullopt);
    EXPECT_EQ(forms({{"other", "%d fichiers"}}, source, "fr-CA"),
              "the plural forms need one form for each of one (0, 1), many (1 000 000), other (2 and up); "
              "missing: one");
    EXPECT_EQ(forms({{"one", "%d plik"}, {"few", ""}, {"other", "%d pliku"}}, source, "pl"),
              "the plural forms need one form for each of one (1), few (2–4, 22–24), many (0, 5–21, 25–31), "
              "other (fractions such as 1.5); missing: few, many");
    EXPECT_EQ(forms({{"other", "%d Dateien"}}, source), std::nullopt);
}

TEST(ValidationPluralForms, EveryFormKeepsVariablesAndPlaceholders) {
    const auto files = english("%d files");
    EXPECT_EQ(forms({{"one", "one file"}, {"other", "%d files"}}, files, "en"), std::nullopt);
    EXPECT_EQ(forms({{"one", "%d file %d"}, {"other", "%d files"}}, files, "en"),
              "the \"one\" form must keep the placeholders %d");
    EXPECT_EQ(forms({{"other", "%d"}}, english("%@ and %d")),
              "the \"other\" form must keep the placeholders %@ %d");
    EXPECT_EQ(forms({{"one", "1 Datei in {{dir}}"}, {"other", "%d Dateien in {{dir}}"}},
                    english("%d files in {{dir}}")),
              std::nullopt);
    EXPECT_EQ(forms({{"one", "1 Datei"}, {"other", "%d Dateien in {{dir}}"}}, english("%d files in {{dir}}")),
              "the translation must keep the variables {{dir}} exactly as written");
    EXPECT_EQ(forms({{"one", "%d Datei, 100%"}, {"other", "%d Dateien"}}, english("%d files")),
              percentProblem);
}

TEST(ValidationPluralForms, EveryFormReadsTheSourcesArgumentsInTheirKinds) {
    struct Case {
        std::string source;
        Forms answer;
        bool accepted;
    };
    const std::vector<Case> cases{
        {"%@ has %d files", {{"one", "%@ hat eine Datei"}, {"other", "%@ hat %d Dateien"}}, true},
        {"%@ has %d files", {{"one", "%d Datei in %@"}, {"other", "%@ hat %d Dateien"}}, false},
        {"%@ has %d files", {{"one", "%2$d Datei in %1$@"}, {"other", "%@ hat %d Dateien"}}, true},
        {"%d files in %@", {{"one", "eine Datei in %@"}, {"other", "%d Dateien in %@"}}, false},
        {"%d files in %@", {{"one", "eine Datei in %2$@"}, {"other", "%d Dateien in %@"}}, true},
        {"%d files in %@", {{"one", "%d Datei in %@"}, {"other", "%d Dateien in %@"}}, true},
        // The count is the first number: only it may go.
        {"%d of %d files", {{"one", "%d von einer Datei"}, {"other", "%d von %d Dateien"}}, false},
        {"%d of %d files", {{"one", "eine von %2$d Dateien"}, {"other", "%d von %d Dateien"}}, true},
        {"%1$@ has %2$d files", {{"one", "%2$d Datei hat %1$@"}, {"other", "%1$@: %2$d Dateien"}}, true},
        {"%1$@ has %2$d files", {{"one", "%1$d Datei hat %2$@"}, {"other", "%1$@: %2$d Dateien"}}, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.source + " / " + row.answer.at("one"));
        const auto found = forms(row.answer, english(row.source));
        if (row.accepted)
            EXPECT_EQ(found, std::nullopt);
        else
            EXPECT_EQ(found, "the \"one\" form must keep the placeholders " +
                                 Validation::placeholderList(row.source));
    }
}

TEST(ValidationPluralForms, EveryFormSpellsThePlaceholdersAsTheSource) {
    struct Case {
        std::string language;
        std::string source;
        Forms answer;
        bool accepted;
    };
    const std::vector<Case> cases{
        {"de", "%lld files", {{"one", "eine Datei"}, {"other", "%d Dateien"}}, false},
        {"de", "%lld files", {{"one", "%d Datei"}, {"other", "%lld Dateien"}}, false},
        {"ru",
         "%@ has %lld files",
         {{"one", "У %@ %ld файл"},
          {"few", "У %@ %lld файла"},
          {"many", "У %@ %lld файлов"},
          {"other", "У %@ %lld файла"}},
         false},
        {"ar",
         "%1$@: %2$lld files",
         {{"zero", "%1$@: لا ملفات"},
          {"one", "%1$@: ملف واحد"},
          {"two", "%1$@: ملفان"},
          {"few", "%1$@: %2$lld ملفات"},
          {"many", "%1$@: %2$lld ملفًا"},
          {"other", "%1$@: %2$i ملف"}},
         false},
        {"de", "%lld files", {{"one", "eine Datei"}, {"other", "%lld Dateien"}}, true},
        {"ja", "%lld files", {{"other", "%lld 個のファイル"}}, true},
        {"ar",
         "%1$@: %2$lld files",
         {{"zero", "%1$@: لا ملفات"},
          {"one", "%1$@: ملف واحد"},
          {"two", "%1$@: ملفان"},
          {"few", "%1$@: %2$lld ملفات"},
          {"many", "%1$@: %2$lld ملفًا"},
          {"other", "%1$@: %2$lld ملف"}},
         true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.language + " " + row.answer.at("other"));
        EXPECT_EQ(forms(row.answer, english(row.source), row.language),
                  row.accepted
                      ? std::nullopt
                      : std::optional<std::string>("write the placeholders exactly as in the source: " +
                                                   Validation::placeholderList(row.source)));
    }
}

TEST(ValidationPluralForms, OnlyAFormOfOneNumberMayLeaveOutTheCount) {
    struct Case {
        std::optional<std::string> language;
        Forms answer;
        std::optional<std::string> problem;
        std::string source = "%lld files";
    };
    const std::string other = "the \"other\" form stands for every number without a form of its own, so it "
                              "must keep the placeholders %lld";
    const auto several = [](const std::string& category, const std::string& numbers) {
        return "the \"" + category + "\" form of this language stands for " + numbers +
               ", so it must keep the placeholders %lld";
    };
    const std::vector<Case> cases{
        // One and other: "one" is 1 alone, or also 0, or also 21 and 31.
        {"en", {{"one", "one file"}, {"other", "%lld files"}}, std::nullopt},
        {std::nullopt, {{"one", "one file"}, {"other", "%lld files"}}, std::nullopt},
        {"de", {{"one", "1 Datei"}, {"other", "%lld Dateien"}}, std::nullopt},
        {"de", {{"one", "%lld Datei"}, {"other", "Dateien"}}, other},
        {"de", {{"zero", "keine Dateien"}, {"one", "eine Datei"}, {"other", "%lld Dateien"}}, std::nullopt},
        {std::nullopt, {{"other", "files"}}, other},
        {"xx", {{"one", "one file"}, {"other", "%lld files"}}, std::nullopt},
        {"fr", {{"one", "un fichier"}, {"other", "%lld fichiers"}}, several("one", "0 and 1")},
        {"pt-BR", {{"one", "um arquivo"}, {"other", "%lld arquivos"}}, several("one", "0 and 1")},
        {"pt-PT", {{"one", "um ficheiro"}, {"other", "%lld ficheiros"}}, std::nullopt},
        {"fa", {{"one", "یک فایل"}, {"other", "%lld فایل"}}, several("one", "0 and 1")},
        {"hi", {{"one", "एक फ़ाइल"}, {"other", "%lld फ़ाइलें"}}, several("one", "0 and 1")},
        {"es", {{"one", "un archivo"}, {"other", "%lld archivos"}}, std::nullopt},
        {"es",
         {{"one", "un archivo"}, {"many", "millones de archivos"}, {"other", "%lld archivos"}},
         several("many", "1000000, 2000000, 3000000 and more")},
        // Only "other".
        {"ja", {{"other", "ファイル"}}, other},
        {"zh-Hans", {{"other", "1 个文件"}}, other},
        {"ja", {{"other", "%lld 個のファイル"}}, std::nullopt},
        // One, few, many, other.
        {"ru",
         {{"one", "один файл"}, {"few", "%lld файла"}, {"many", "%lld файлов"}, {"other", "%lld файла"}},
         several("one", "1, 21, 31 and more")},
        {"ru",
         {{"one", "%lld файл"}, {"few", "%lld файла"}, {"many", "файлов"}, {"other", "%lld файла"}},
         several("many", "0, 5–20, 25–30 and more")},
        {"ru",
         {{"one", "%lld файл"}, {"few", "%lld файла"}, {"many", "%lld файлов"}, {"other", "%lld файла"}},
         std::nullopt},
        {"pl",
         {{"one", "jeden plik"}, {"few", "%lld pliki"}, {"many", "%lld plików"}, {"other", "%lld pliku"}},
         std::nullopt},
        {"-pl",
         {{"one", "%lld plik"}, {"few", "pliki"}, {"many", "%lld plików"}, {"other", "%lld pliku"}},
         several("few", "2–4, 22–24, 32–34 and more")},
        {"ru",
         {{"one", "У %@ один файл"},
          {"few", "У %@ %lld файла"},
          {"many", "У %@ %lld файлов"},
          {"other", "У %@ %lld файла"}},
         "the \"one\" form of this language stands for 1, 21, 31 and more, so it must keep the placeholders "
         "%@ %lld",
         "%@ has %lld files"},
        // One, few, other.
        {"cs",
         {{"one", "jeden soubor"}, {"few", "soubory"}, {"other", "%lld souborů"}},
         several("few", "2–4")},
        {"hr",
         {{"one", "jedna datoteka"}, {"few", "%lld datoteke"}, {"other", "%lld datoteka"}},
         several("one", "1, 21, 31 and more")},
        // Zero, one, other.
        {"lv",
         {{"zero", "nav failu"}, {"one", "%lld fails"}, {"other", "%lld faili"}},
         several("zero", "0, 10–20, 30 and more")},
        // One, two, few, other.
        {"sl",
         {{"one", "%lld datoteka"},
          {"two", "dve datoteki"},
          {"few", "%lld datoteke"},
          {"other", "%lld datotek"}},
         several("two", "2, 102, 202 and more")},
        // One, two, other.
        {"he", {{"one", "קובץ אחד"}, {"two", "שני קבצים"}, {"other", "%lld קבצים"}}, std::nullopt},
        // One, two, few, many, other.
        {"ga",
         {{"one", "comhad amháin"},
          {"two", "dhá chomhad"},
          {"few", "trí chomhad"},
          {"many", "%lld gcomhad"},
          {"other", "%lld comhad"}},
         several("few", "3–6")},
        // All six: zero, one and two are single numbers, and in Welsh few and many are too.
        {"ar",
         {{"zero", "لا ملفات"},
          {"one", "ملف واحد"},
          {"two", "ملفان"},
          {"few", "%lld ملفات"},
          {"many", "%lld ملفًا"},
          {"other", "%lld ملف"}},
         std::nullopt},
        {"ar",
         {{"zero", "%lld"},
          {"one", "%lld"},
          {"two", "%lld"},
          {"few", "ملفات"},
          {"many", "%lld"},
          {"other", "%lld"}},
         several("few", "3–10, 103–110, 203–210 and more")},
        {"cy",
         {{"zero", "dim ffeiliau"},
          {"one", "un ffeil"},
          {"two", "dwy ffeil"},
          {"few", "tair ffeil"},
          {"many", "chwe ffeil"},
          {"other", "%lld ffeil"}},
         std::nullopt},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.language.value_or("(no language)") + " / " + row.answer.begin()->second);
        EXPECT_EQ(forms(row.answer, english(row.source), row.language), row.problem);
    }
}
