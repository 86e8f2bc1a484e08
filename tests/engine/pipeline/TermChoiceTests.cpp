#include <gtest/gtest.h>

#include <atomic>

#include "../model/TemporaryNotesFolder.h"
#include "engine/model/ChatError.h"
#include "engine/model/TermsRequest.h"
#include "engine/pipeline/TermChoice.h"
#include "tests/engine/pipeline/LoopbackJobTest.h"

using namespace orvel;
using orvel::testing::completionBody;
using orvel::testing::LoopbackJobTest;
using orvel::testing::mainString;
using orvel::testing::RecordedRequest;
using orvel::testing::Reply;
using orvel::testing::userOf;
using TermMap = Terms::TermMap;

namespace {

std::vector<SourceString> strings(const std::vector<std::string>& texts, bool translate = true) {
    std::vector<SourceString> made;
    for (const std::string& text : texts) {
        made.push_back(mainString(std::to_string(made.size()), text));
        made.back().translate = translate;
    }
    return made;
}

// The term items of a terms request: the JSON list after its count line.
json::Json termItemsOf(const RecordedRequest& request) {
    const std::string user = userOf(request);
    return json::parse(user.substr(user.find('\n') + 1));
}

// Answers every asked term with "T-" and the term.
Reply answerEveryTerm(const RecordedRequest& request) {
    json::Json terms = json::Json::array();
    for (const auto& item : termItemsOf(request))
        terms.push_back({{"term", item["term"]}, {"translation", "T-" + item["term"].get<std::string>()}});
    return {200, completionBody(json::dump(json::Json{{"terms", terms}}))};
}

class TermChoice : public LoopbackJobTest {
  protected:
    TermChoice() : LoopbackJobTest(false, false) {
        job.language = "nl";
        // Dutch has no built-in notes: these are all its notes.
        m_notes.writeNote("nl", R"({"terms": {"file": "bestand", "display": "beeldscherm"},
                                    "keepCommonTerms": {"file": "file"}})");
    }

  private:
    const test::TemporaryNotesFolder m_notes;
};

} // namespace

TEST_F(TermChoice, DecidesWhatItCanWithoutTheModel) {
    struct Case {
        std::string name;
        TermMap chosen;
        std::vector<AppManifest::Term> manifestGlossary;
        std::vector<AppManifest::Term> notesGlossary;
        std::vector<SourceString> strings;
        TermMap expected;
    };
    const std::vector<Case> cases{
        {"glossary terms marked not to translate stay English, whatever was chosen",
         {{"Library", "Bibliotheek"}, {"Sync", "Synchro"}},
         {{"Library", std::nullopt, false}},
         {{"Sync", std::nullopt, std::nullopt}, {"Mode", std::nullopt, true}, {"Tag", std::nullopt, false}},
         {},
         {{"Library", "Library"}, {"Sync", "Synchro"}, {"Tag", "Tag"}}},
        {"a note term chosen under another case is not added again",
         {{"File", "Dossier"}},
         {},
         {},
         strings({"Open Files…"}),
         {{"File", "Dossier"}}},
        {"a note term is found with a plural ending and in capitals",
         {},
         {},
         {},
         strings({"Open Files…", "FILE"}),
         {{"file", "file"}}},
        {"a note term only inside longer words is not found",
         {},
         {},
         {},
         strings({"Profile", "filename"}),
         {}},
        {"a note term in a string not to translate still counts",
         {},
         {},
         {},
         strings({"Show the display"}, false),
         {{"display", "beeldscherm"}}},
        {"abbreviations among the key terms are kept as written",
         {},
         {},
         {},
         strings({"USB", "USB", "USB", "USB"}),
         {{"USB", "USB"}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        job.terms = row.chosen;
        job.app.manifest = AppManifest{};
        job.app.manifest->glossary = row.manifestGlossary;
        job.notes.glossary = row.notesGlossary;
        EXPECT_EQ(Terms::choose(row.strings, 60, job), row.expected);
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(TermChoice, AsksForThirtyTermsAtATimeOneRequestAfterTheOther) {
    // 31 words, each in four strings, all key terms of the same weight.
    std::vector<std::string> texts;
    std::vector<std::string> words;
    for (char second = 'a'; words.size() < 31; ++second)
        for (char third = 'a'; third <= 'z' && words.size() < 31; ++third)
            words.push_back(std::string("zq") + second + third);
    for (const std::string& word : words)
        texts.insert(texts.end(), 4, word);

    struct Case {
        std::string name;
        bool secondFails;
    };
    for (const Case& row : std::vector<Case>{{"both answered", false}, {"the second request fails", true}}) {
        SCOPED_TRACE(row.name);
        server.clearRequests();
        std::atomic<int> inFlight = 0;
        std::atomic<int> most = 0;
        server.respond([&](const RecordedRequest& request) {
            most = std::max(most.load(), ++inFlight);
            Reply reply = row.secondFails && termItemsOf(request).size() == 1 ? Reply{401, "no"}
                                                                              : answerEveryTerm(request);
            --inFlight;
            return reply;
        });

        std::optional<TermMap> chosen;
        if (row.secondFails)
            EXPECT_THROW(Terms::choose(strings(texts), 60, job), ChatError)
                << "no map, not even the first half";
        else
            chosen = Terms::choose(strings(texts), 60, job);

        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(termItemsOf(requests[0]).size(), 30u);
        EXPECT_EQ(termItemsOf(requests[0])[0]["term"], "zqbe") << "equal weights: the greater text first";
        EXPECT_EQ(termItemsOf(requests[0])[0]["examples"], json::Json::array({"zqbe", "zqbe"}));
        EXPECT_EQ(termItemsOf(requests[1]),
                  json::parse(R"([{"term": "zqaa", "examples": ["zqaa", "zqaa"]}])"));
        EXPECT_EQ(most.load(), 1) << "chunks are sent one after the other";
        if (chosen) {
            EXPECT_EQ(chosen->size(), 31u);
            EXPECT_EQ(chosen->at("zqaa"), "t-zqaa");
        }
    }
}

TEST_F(TermChoice, ItemsCarryTheReferencesAndTheEvidenceRuleFollowsThem) {
    SoftwareReference software;
    software.table = {{"menu bar", {{"Menubalk", {{"android", 5}}}}}};
    SoftwareReference silent;
    silent.table = {{"window", {{"Venster", {{"android", 5}}}}}};
    const AppleReference apple("nl", {{"menu bar", {{"Menubalk", 60}}}});

    struct Case {
        std::string name;
        std::optional<AppleReference> reference;
        std::optional<SoftwareReference> softwareReference;
        std::string item;
        bool rule7;
    };
    const std::vector<Case> cases{
        {"no references", std::nullopt, std::nullopt,
         R"({"term": "Menu Bar", "examples": ["Menu Bar", "Menu Bar"]})", false},
        {"macOS names the term", apple, std::nullopt,
         R"({"term": "Menu Bar", "examples": ["Menu Bar", "Menu Bar"], "os": "«Menubalk»"})", false},
        {"the reference software has nothing for it", std::nullopt, silent,
         R"({"term": "Menu Bar", "examples": ["Menu Bar", "Menu Bar"]})", false},
        {"evidence", std::nullopt, software,
         R"j({"term": "Menu Bar", "examples": ["Menu Bar", "Menu Bar"], "evidence": "«Menubalk» (Android 5)"})j",
         true},
    };
    server.reply(
        {{200, completionBody(R"({"terms": [{"term": "menu bar", "translation": " Menubalk "}]})")}});
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        server.clearRequests();
        job.reference = row.reference;
        job.softwareReference = row.softwareReference;

        const TermMap chosen = Terms::choose(strings({"Menu Bar", "Menu Bar", "Menu Bar"}), 60, job);

        EXPECT_EQ(chosen, (TermMap{{"menu bar", "menubalk"}})) << "keyed as the model wrote the term";
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(termItemsOf(server.requests()[0]), json::Json::array({json::parse(row.item)}));
        EXPECT_EQ(server.requests()[0].json()["messages"][0]["content"],
                  Prompt::termsSystem(job.app, job.language, job.notes, job.style, row.rule7));
    }
}

TEST_F(TermChoice, ExamplesAreTheFirstTranslatableStringsThatUseTheTerm) {
    struct Case {
        std::string name;
        std::string term;
        std::vector<std::string> texts;
        std::vector<std::string> examples;
    };
    const std::vector<Case> cases{
        {"in any case, and in the plural",
         "menu bar",
         {"Hide", "The MENU BAR", "Menu bars", "menu bar"},
         {"The MENU BAR", "Menu bars"}},
        {"not inside a longer word", "bar", {"Toolbar", "Barn", "bar-code", "A bar"}, {"bar-code", "A bar"}},
        {"beside letters beyond ASCII", "menu", {"Öffne das menu", "menuë", "Menü"}, {"Öffne das menu"}},
        {"a term beyond ASCII", "Menü", {"Das MENÜ", "Menu", "Menüs"}, {"Das MENÜ", "Menüs"}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        std::vector<SourceString> given = strings(row.texts);
        std::vector<SourceString> untranslated = strings(row.texts, false);
        given.insert(given.begin(), untranslated.begin(), untranslated.end());
        EXPECT_EQ(Terms::termItem(row.term, given, job).examples, row.examples);
    }
}

TEST(TermAnswers, TakeOnlyAskedTermsWithAWord) {
    const std::vector<Prompt::TermItem> chunk{{.term = "display"}, {.term = "Sync Mode"}};
    struct Case {
        std::string name;
        std::string answer;
        TermMap expected;
    };
    const std::vector<Case> cases{
        {"trimmed, cleaned and without the label's capital",
         R"({"terms": [{"term": "Display", "translation": "  Ecran \n"}]})",
         {{"Display", "ecran"}}},
        {"names keep their capitals",
         R"({"terms": [{"term": "sync mode", "translation": "Mod OSD"}]})",
         {{"sync mode", "mod OSD"}}},
        {"a term not asked", R"({"terms": [{"term": "window", "translation": "Fereastră"}]})", {}},
        {"an empty translation", R"({"terms": [{"term": "display", "translation": " \n "}]})", {}},
        {"fields of the wrong kind",
         R"({"terms": [{"term": 3, "translation": "x"}, {"term": "display", "translation": 5}, {"term": "display"}]})",
         {}},
        {"no terms list", "I cannot help with that.", {}},
        {"a later answer for the same term replaces the earlier",
         R"([{"term": "display", "translation": "Ecran"}, {"term": "display", "translation": "Afișaj"}])",
         {{"display", "afișaj"}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        TermMap result;
        Terms::parse(row.answer, chunk, "ro", result);
        EXPECT_EQ(result, row.expected);
    }
}

TEST(TermAnswers, LowercaseOnlyACapitalThatStartsALabel) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"Fișier", "fișier"},
        {"Mod sincronizare", "mod sincronizare"},
        {"Écran d'accueil", "écran d'accueil"},
        {"macOS", "macOS"},
        {"OSD", "OSD"},
        {"iPhone", "iPhone"},
        {"Wi-Fi", "Wi-Fi"},
        {"A", "A"},
        {"X Window", "X Window"},
        {"", ""},
        {"Mod\tNou", "Mod\tNou"},
    };
    for (const Case& row : cases)
        EXPECT_EQ(Terms::lowercaseFirst(row.text), row.expected) << row.text;
    EXPECT_EQ(Terms::lowercasedKeys({{"Display", "x"}, {"OSD", "y"}}),
              (std::vector<std::string>{"display", "osd"}));
}
