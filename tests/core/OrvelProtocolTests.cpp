#include <gtest/gtest.h>

#include <chrono>

#include "core/AppManifest.h"
#include "core/AppState.h"
#include "core/LanguageInfo.h"
#include "core/OrvelProtocol.h"

namespace orvel {
namespace {

using namespace std::chrono;

const char* const completeState = R"({
  "protocol": 1, "pid": 4242, "language": "de", "revision": 7, "probe": true,
  "capabilities": ["live", "screens"],
  "screens": [{"id": "settings", "title": "Settings"}],
  "markers": {"12": ["Localizable", "Save"]},
  "seen": [["Localizable", "Save"], ["Main", "Open"]],
  "updated": "2025-03-01T14:05:09.120Z"
})";

TEST(OrvelProtocol, EncoderWritesSortedIndentedKeysWithPlainSlashes) {
    AppManifest manifest;
    manifest.description = "Reads Contents/Resources";
    manifest.glossary = std::vector<AppManifest::Term>{{"Vault", std::nullopt, false}};
    const std::string text = OrvelProtocol::encode(manifest);
    EXPECT_EQ(text, "{\n"
                    "  \"description\": \"Reads Contents/Resources\",\n"
                    "  \"glossary\": [\n"
                    "    {\n"
                    "      \"term\": \"Vault\",\n"
                    "      \"translate\": false\n"
                    "    }\n"
                    "  ],\n"
                    "  \"protocol\": 1\n"
                    "}");
    EXPECT_EQ(OrvelProtocol::decode<AppManifest>(text), manifest);
}

TEST(OrvelProtocol, CommandsAndCapabilitiesByText) {
    EXPECT_EQ(OrvelProtocol::text(OrvelProtocol::Command::refresh), "refresh");
    EXPECT_EQ(OrvelProtocol::command("probe"), OrvelProtocol::Command::probe);
    EXPECT_FALSE(OrvelProtocol::command("Hello"));
    EXPECT_EQ(OrvelProtocol::capability("screens"), OrvelProtocol::Capability::screens);
    EXPECT_FALSE(OrvelProtocol::capability("select"));
}

TEST(AppState, TheSeenListIsCutToItsCaps) {
    using Entry = std::vector<std::string>;
    const auto stateWith = [](const std::vector<Entry>& seen) {
        AppState state;
        state.seen = seen;
        return OrvelProtocol::decode<AppState>(OrvelProtocol::encode(state)).seen;
    };
    const std::string longest(AppState::maximumSeenTextBytes, 'k');
    const std::string tooLong(AppState::maximumSeenTextBytes + 1, 'k');
    std::vector<Entry> many(AppState::maximumSeen + 5, Entry{"Main", "Open"});
    many.back() = {"Main", "Last"};
    struct Row {
        const char* name;
        std::vector<Entry> seen;
        std::vector<Entry> kept;
    };
    const std::vector<Row> rows = {
        {"texts at the cap stay",
         {{"Main", longest}, {longest, "Open"}},
         {{"Main", longest}, {longest, "Open"}}},
        {"an entry with a longer text is dropped, the others stay",
         {{"Main", tooLong}, {"Main", "Open"}, {tooLong, "Open"}},
         {{"Main", "Open"}}},
        {"entries beyond the count are dropped", many,
         std::vector<Entry>(AppState::maximumSeen, Entry{"Main", "Open"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(stateWith(row.seen), row.kept);
    }
    EXPECT_THROW(OrvelProtocol::decode<AppState>(R"({"protocol": 1, "pid": 1, "revision": 1, "probe": false,
        "capabilities": [], "screens": [], "markers": {}, "seen": [["Main", 3]], "updated": "2025-03-01T14:05:09Z"})"),
                 json::DecodingError);
}

TEST(AppState, DecodesAndRoundTrips) {
    const auto state = OrvelProtocol::decode<AppState>(completeState);
    EXPECT_EQ(state.pid, 4242);
    EXPECT_EQ(state.language, "de");
    EXPECT_EQ(state.capabilities,
              (std::vector{OrvelProtocol::Capability::live, OrvelProtocol::Capability::screens}));
    EXPECT_EQ(state.screens.at(0), (AppState::Screen{"settings", "Settings"}));
    EXPECT_EQ(state.markers.at("12"), (std::vector<std::string>{"Localizable", "Save"}));
    EXPECT_EQ(state.updated, sys_days(year(2025) / 3 / 1) + 14h + 5min + 9s + 120ms);
    EXPECT_EQ(OrvelProtocol::decode<AppState>(OrvelProtocol::encode(state)), state);

    auto reordered = state;
    std::swap(reordered.seen[0], reordered.seen[1]);
    EXPECT_NE(reordered, state);
}

TEST(AppState, RequiredKeysAndCapabilities) {
    auto withoutLanguage = json::parse(completeState);
    withoutLanguage.erase("language");
    EXPECT_FALSE(json::decode<AppState>(withoutLanguage).language);

    for (const char* key :
         {"protocol", "pid", "revision", "probe", "capabilities", "screens", "markers", "seen", "updated"}) {
        auto document = json::parse(completeState);
        document.erase(key);
        EXPECT_THROW(json::decode<AppState>(document), json::DecodingError) << key;
    }

    auto unknownCapability = json::parse(completeState);
    unknownCapability["capabilities"] = {"live", "teleport"};
    EXPECT_THROW(json::decode<AppState>(unknownCapability), json::DecodingError);

    auto wideProcessId = json::parse(completeState);
    wideProcessId["pid"] = 4294967296LL;
    EXPECT_THROW(json::decode<AppState>(wideProcessId), json::DecodingError);

    auto badDate = json::parse(completeState);
    badDate["updated"] = "2025-03-01";
    try {
        json::decode<AppState>(badDate);
        FAIL() << "expected a decoding error";
    } catch (const json::DecodingError& error) {
        EXPECT_STREQ(error.what(), "Not an ISO 8601 date: 2025-03-01");
        EXPECT_EQ(error.codingPath(), "updated");
    }
}

TEST(LanguageInfo, LeavesAbsentFieldsOut) {
    const LanguageInfo bare("pt-BR");
    EXPECT_EQ(json::encode(bare), json::parse(R"({"protocol": 1, "language": "pt-BR"})"));

    const LanguageInfo full("de", "Deutsch", "Orvel", Date{} + 1500ms);
    const std::string text = OrvelProtocol::encode(full);
    EXPECT_NE(text.find("\"updated\": \"1970-01-01T00:00:01.500Z\""), std::string::npos);
    EXPECT_EQ(OrvelProtocol::decode<LanguageInfo>(text), full);
    EXPECT_THROW(OrvelProtocol::decode<LanguageInfo>(R"({"protocol": 1})"), json::DecodingError);
}

TEST(AppManifest, EveryKeyOptionalButTermsNeedTheirTerm) {
    const auto empty = OrvelProtocol::decode<AppManifest>("{}");
    EXPECT_FALSE(empty.protocol);
    EXPECT_FALSE(empty.description);
    EXPECT_FALSE(empty.context);
    EXPECT_FALSE(empty.glossary);
    EXPECT_EQ(OrvelProtocol::encode(empty), "{}");
    EXPECT_EQ(AppManifest{}.protocol, OrvelProtocol::version);

    EXPECT_THROW(OrvelProtocol::decode<AppManifest>(R"({"glossary": [{"note": "brand"}]})"),
                 json::DecodingError);
    EXPECT_THROW(OrvelProtocol::decode<AppManifest>(R"({"glossary": [{"term": "Vault"}],)"),
                 json::DecodingError);

    const AppManifest::Term term{"Vault", "brand name", false};
    EXPECT_EQ(std::hash<AppManifest::Term>{}(term), std::hash<AppManifest::Term>{}(AppManifest::Term(term)));
}

} // namespace
} // namespace orvel
