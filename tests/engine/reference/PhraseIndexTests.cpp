#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/pipeline/TranslationJob.h"
#include "engine/reference/PhraseIndex.h"
#include "engine/reference/SoftwareReference.h"

using namespace orvel;

namespace {

using Entry = SoftwareReference::Entry;
using Words = std::vector<std::string>;

SoftwareReference reference(SoftwareReference::Table table) {
    SoftwareReference made;
    made.language = "de";
    made.table = std::move(table);
    return made;
}

std::vector<std::string> englishOf(const std::vector<SoftwareReference::Candidate>& candidates) {
    std::vector<std::string> english;
    for (const auto& candidate : candidates)
        english.push_back(candidate.english);
    return english;
}

std::vector<std::string> englishOf(const std::vector<SoftwareReference::Phrase>& phrases) {
    std::vector<std::string> english;
    for (const auto& phrase : phrases)
        english.push_back(phrase.english);
    return english;
}

std::vector<std::string> englishOf(const std::vector<const PhraseIndex::IndexedPhrase*>& phrases) {
    std::vector<std::string> english;
    for (const auto* phrase : phrases)
        english.push_back(phrase->english);
    return english;
}

} // namespace

TEST(PhraseIndexWords, LeavesOutMarkupAndNumbers) {
    EXPECT_EQ(PhraseIndex::words("Don't Save %@ Files"), (Words{"don't", "save", "files"}));
    EXPECT_EQ(PhraseIndex::words("%1$@ items"), (Words{"items"}));
    EXPECT_EQ(PhraseIndex::words("<b>Bold</b> text"), (Words{"bold", "text"}));
    EXPECT_EQ(PhraseIndex::words("$(NAME) Help"), (Words{"help"}));
    EXPECT_EQ(PhraseIndex::words("{count} files &amp; folders"), (Words{"files", "folders"}));
    EXPECT_EQ(PhraseIndex::words("Page 2 of 10"), (Words{"page", "of"}));
    EXPECT_EQ(PhraseIndex::words("Can’t Open Open"), (Words{"can’t", "open", "open"}));
    EXPECT_TRUE(PhraseIndex::words("50%off").empty());
    EXPECT_TRUE(PhraseIndex::words("").empty());
}

TEST(PhraseIndexWords, APercentSignBeforeASpaceIsNoPlaceholder) {
    EXPECT_EQ(PhraseIndex::words("100% free"), (Words{"free"}));
    EXPECT_EQ(PhraseIndex::words("Größe 3×"), (Words{"größe"}));
}

TEST(PhraseIndexBuild, FilesPhrasesOfTwoToFiveWordsUnderEachDistinctWord) {
    const SoftwareReference::Table table{
        {"open", {{"Öffnen", {{"android", 1}}}}},
        {"open the file", {{"Datei öffnen", {{"android", 1}}}}},
        {"open or open again", {{"Erneut öffnen", {{"firefox", 1}}}}},
        {"open one two three four five", {{"Sechs", {{"firefox", 1}}}}},
        {"open %@ now", {{"Jetzt öffnen", {{"vlc", 1}}}}},
    };
    const PhraseIndex::Index index = PhraseIndex::build(table);
    EXPECT_EQ(englishOf(index.containing("open")),
              (Words{"open %@ now", "open or open again", "open the file"}));
    EXPECT_EQ(englishOf(index.containing("file")), (Words{"open the file"}));
    EXPECT_TRUE(index.containing("five").empty());
    EXPECT_TRUE(index.containing("%@").empty());
}

TEST(SoftwareReferenceCandidates, PreferAgreementThenMajorProgramsThenShortThenUsed) {
    const SoftwareReference found = reference({
        {"clear all history", {{"Gesamten Verlauf löschen", {{"firefox", 9}, {"vlc", 9}}}}},
        {"clear list", {{"Liste leeren", {{"firefox", 50}}}}},
        {"clear cache", {{"Cache leeren", {{"chromium", 1}}}}},
        {"clear recent items now",
         {{"Zuletzt verwendete leeren", {{"android", 1}, {"vlc", 1}, {"firefox", 1}}}}},
        {"clear data", {{"Daten löschen", {{"android", 2}}}}},
        {"clear history", {{"Verlauf löschen", {{"thunderbird", 3}, {"libreoffice", 1}}}}},
        {"clear search", {{"Suche löschen", {{"libreoffice", 50}}}}},
        {"clear selection", {}},
    });
    EXPECT_EQ(englishOf(found.candidates("Clear", 40)),
              (Words{"clear recent items now", "clear history", "clear all history", "clear data",
                     "clear cache", "clear list", "clear search"}));
    const auto two = found.candidates("clear", 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].leading.text, "Verlauf löschen");
    EXPECT_EQ(two[1].wordCount, 2u);
    EXPECT_TRUE(found.candidates("clear", 0).empty());
    EXPECT_TRUE(found.candidates("missing", 5).empty());
}

TEST(SoftwareReferenceCandidates, TakeEachTranslationOnceWhateverItsCase) {
    const SoftwareReference found = reference({
        {"free space", {{"Freier Speicher", {{"android", 1}, {"firefox", 1}}}}},
        {"free storage", {{"freier speicher", {{"android", 1}}}}},
        {"free memory", {{"Freier Arbeitsspeicher", {{"vlc", 1}}}}},
    });
    EXPECT_EQ(englishOf(found.candidates("free", 40)), (Words{"free space", "free memory"}));
}

TEST(SoftwareReferencePhrases, StartOnlyFromAmbiguousWords) {
    const SoftwareReference found = reference({
        {"save file", {{"Datei speichern", {{"android", 1}}}}},
        {"save all files", {{"Alle speichern", {{"android", 1}}}}},
        {"open", {{"Öffnen", {{"android", 1}}}}},
        {"open in new window now please", {{"Sechs Wörter", {{"android", 1}}}}},
    });
    EXPECT_TRUE(found.phrases("Save all files", 4).empty());
    // One word and six words are never indexed, so never returned.
    EXPECT_TRUE(found.phrases("Open in new window now please", 4).empty());
}

TEST(SoftwareReferencePhrases, PutFullMatchesOfManyWordsFirstAndKeepTheLimit) {
    const SoftwareReference found = reference({
        {"clear browsing history", {{"Browserverlauf löschen", {{"chromium", 4}}}}},
        {"clear history", {{"Verlauf löschen", {{"firefox", 2}}}}},
        {"clear the list", {{"Liste leeren", {{"firefox", 2}, {"android", 1}}}}},
        {"clear all", {{"alle löschen", {{"vlc", 1}}}}},
        {"set as default", {{"Als Standard festlegen", {{"android", 1}}}}},
        {"set the default", {{"Als standard festlegen", {{"firefox", 1}}}}},
        {"open history", {{"Chronik öffnen", {{"firefox", 1}}}}},
        {"open all windows", {{"Alle Fenster öffnen", {{"firefox", 1}}}}},
    });
    const auto phrases = found.phrases("Clear the history, set default or open all", 4);
    // Full matches of two words, then by position in their word's list; the weaker partial matches of
    // "clear browsing history" and "open all windows" and the second "set" phrase, which only differs
    // in case, are left out.
    EXPECT_EQ(englishOf(phrases), (Words{"open history", "set as default", "clear history", "clear all"}));
    EXPECT_EQ(phrases[1].translation.text, "Als Standard festlegen");
    EXPECT_EQ(found.phrases("Clear the history, set default or open all", 1).size(), 1u);
    EXPECT_TRUE(found.phrases("Clear history", 0).empty());
}

TEST(SoftwareReferencePhrases, NeverRepeatAPhraseFoundUnderTwoWords) {
    const SoftwareReference found = reference({
        {"open and clear", {{"Öffnen und leeren", {{"android", 1}}}}},
        {"clear view", {{"Ansicht leeren", {{"android", 1}}}}},
    });
    EXPECT_EQ(englishOf(found.phrases("open and clear", 4)), (Words{"open and clear", "clear view"}));
}

TEST(SoftwareReferencePhrase, PromptLineNamesTheProgramsInTheirFixedOrder) {
    const SoftwareReference::Phrase phrase{"clear history",
                                           {"Verlauf löschen", {{"vlc", 1}, {"android", 3}, {"firefox", 2}}}};
    EXPECT_EQ(phrase.promptLine(), "clear history → Verlauf löschen (Android, Firefox, VLC)");
    const SoftwareReference::Phrase unknown{"clear all", {"Alle löschen", {{"Firefox", 1}, {"kde", 2}}}};
    EXPECT_EQ(unknown.promptLine(), "clear all → Alle löschen ()");
}

TEST(TranslationJobPhrases, GivesNoListRatherThanAnEmptyOne) {
    TranslationJob job(AppProfile("Notes", "en"), "de", ModelSettings{}, AppNotes{}, ContextMap{},
                       TranslationStyle{}, {}, false, false);
    EXPECT_EQ(job.phrases("Clear history"), std::nullopt);
    job.softwareReference = reference({{"clear history", {{"Verlauf löschen", {{"firefox", 2}}}}}});
    EXPECT_EQ(job.phrases("Save file"), std::nullopt);
    EXPECT_EQ(job.phrases("Clear the history"), (Words{"clear history → Verlauf löschen (Firefox)"}));
}

TEST(SoftwareReferencePhrases, AReferenceWithoutAnIndexStillAnswers) {
    SoftwareReference bare;
    bare.table = {{"clear history", {{"Verlauf löschen", {{"firefox", 2}}}}}};
    EXPECT_EQ(englishOf(bare.phrases("Clear history", 4)), (Words{"clear history"}));
}

TEST(SoftwareReferencePhrases, ConcurrentLookupsOnCopiesShareOneIndex) {
    SoftwareReference::Table table;
    for (int i = 0; i < 400; ++i) {
        table["clear item " + std::to_string(i) + "x"] = {
            {"Eintrag " + std::to_string(i), {{"android", i % 3 + 1}}}};
        table["open window " + std::to_string(i) + "y"] = {{"Fenster " + std::to_string(i), {{"vlc", 1}}}};
    }
    table["clear window"] = {{"Fenster leeren", {{"android", 1}, {"vlc", 1}}}};
    const SoftwareReference shared = reference(table);
    const auto expected = reference(table).phrases("Clear or open the window", 4);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(expected.front().english, "clear window");

    std::vector<std::vector<SoftwareReference::Phrase>> results(8);
    {
        std::vector<std::jthread> threads;
        for (auto& result : results)
            threads.emplace_back([copy = shared, &result] {
                for (int round = 0; round < 5; ++round)
                    result = copy.phrases("Clear or open the window", 4);
            });
    }
    for (const auto& result : results)
        EXPECT_EQ(result, expected);
    EXPECT_EQ(shared.phraseIndex->index(shared.table), shared.phraseIndex->index(table));
}

TEST(PhraseIndex, EveryReferenceIsMadeWithItsOwnIndexThatItsCopiesShare) {
    SoftwareReference made;
    made.table = {{"clear history", {Entry{"Verlauf löschen", {{"android", 2}}}}}};
    ASSERT_TRUE(made.phraseIndex) << "a reference never lacks its index, so no lookup has to build one";
    const SoftwareReference copy = made;
    EXPECT_EQ(englishOf(made.phrases("Clear History", 4)), Words{"clear history"});
    const auto built = made.phraseIndex->index(made.table);
    EXPECT_EQ(englishOf(copy.phrases("Clear History", 4)), Words{"clear history"});
    EXPECT_EQ(copy.phraseIndex->index(copy.table), built) << "built once, kept and shared";
    EXPECT_NE(SoftwareReference{}.phraseIndex, made.phraseIndex) << "a new reference gets a new index";
}
