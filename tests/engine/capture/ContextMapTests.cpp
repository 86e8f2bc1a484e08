#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <unordered_set>

#include "core/OrvelPaths.h"
#include "core/OrvelProtocol.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/capture/ContextMap.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

using Row = std::vector<std::string>;

Date at(int seconds) {
    return Date(std::chrono::seconds(1'700'000'000 + seconds));
}

Occurrence seen(std::string screen, std::string role, Row row = {}, std::optional<std::string> section = {}) {
    return {.screen = std::move(screen),
            .section = std::move(section),
            .role = std::move(role),
            .row = std::move(row),
            .frame = std::nullopt,
            .captured = at(0)};
}

TEST(ContextMapTests, MergeReplacesEverythingKnownAboutTheCapturedScreens) {
    ContextMap stored;
    stored.occurrences["t\x1F"
                       "a"] = {seen("A", "button"), seen("B", "label")};
    stored.occurrences["t\x1F"
                       "b"] = {seen("A", "toggle")}; // not seen again on A: disappears
    stored.occurrences["t\x1F"
                       "c"] = {seen("B", "menu item")};

    ContextMap captured;
    captured.occurrences["t\x1F"
                         "a"] = {seen("A", "tab", {"«Open»", "Close"})};
    captured.occurrences["t\x1F"
                         "d"] = {seen("A", "heading")};
    stored.merge(captured);

    ContextMap expected;
    expected.occurrences["t\x1F"
                         "a"] = {seen("B", "label"), seen("A", "tab", {"«Open»", "Close"})};
    expected.occurrences["t\x1F"
                         "c"] = {seen("B", "menu item")};
    expected.occurrences["t\x1F"
                         "d"] = {seen("A", "heading")};
    EXPECT_EQ(stored, expected);
}

TEST(ContextMapTests, MergeKeepsWhatWasKnownOfScreensReadOnlyInPart) {
    struct Case {
        std::string name;
        std::vector<std::string> partial;
        std::vector<Occurrence> expected;
    };
    const std::vector<Occurrence> stored{seen("A", "button"), seen("B", "label"),
                                         seen("Menu bar > File", "menu item"), seen("Menu bar", "menu")};
    const std::vector<Occurrence> captured{seen("A", "tab"), seen("B", "text"),
                                           seen("Menu bar > File", "menu")};
    const std::vector<Case> cases{
        {"all read whole",
         {},
         {seen("Menu bar", "menu"), seen("A", "tab"), seen("B", "text"), seen("Menu bar > File", "menu")}},
        {"one window in part",
         {"B"},
         {seen("B", "label"), seen("Menu bar", "menu"), seen("A", "tab"), seen("B", "text"),
          seen("Menu bar > File", "menu")}},
        {"the menu bar in part, its menus with it",
         {"Menu bar"},
         {seen("Menu bar > File", "menu item"), seen("Menu bar", "menu"), seen("A", "tab"), seen("B", "text"),
          seen("Menu bar > File", "menu")}},
        {"a name that only begins like a screen",
         {"Men"},
         {seen("Menu bar", "menu"), seen("A", "tab"), seen("B", "text"), seen("Menu bar > File", "menu")}},
    };
    const std::string id = std::string("t\x1F") + "a";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ContextMap map;
        map.occurrences[id] = stored;
        ContextMap found;
        found.occurrences[id] = captured;
        map.merge(found, c.partial);
        EXPECT_EQ(map.occurrences[id], c.expected);
    }
}

TEST(ContextMapTests, MergeDropsRepeatsOfOnePlaceWhateverTheirSectionFrameOrTime) {
    Occurrence first = seen("A", "button", {"x", "y"}, "General");
    Occurrence again = seen("A", "button", {"x", "y"}, "Advanced");
    again.frame = std::vector<double>{1, 2, 3, 4};
    again.captured = at(5);
    const Occurrence otherRow = seen("A", "button", {"x"});

    ContextMap captured;
    captured.occurrences["id"] = {first, again, otherRow};
    ContextMap stored;
    stored.merge(captured);
    EXPECT_EQ(stored.occurrences.at("id"), (std::vector<Occurrence>{first, otherRow}));
}

TEST(ContextMapTests, MergingAMapIntoItselfKeepsIt) {
    ContextMap map;
    map.occurrences["id"] = {seen("A", "button"), seen("B", "label")};
    const ContextMap before = map;
    map.merge(map);
    EXPECT_EQ(map, before);
}

TEST(ContextMapTests, Summary) {
    ContextMap map;
    map.occurrences["one"] = {seen("Settings", "toggle")};
    map.occurrences["three"] = {seen("Settings", "button", {}, "Display"), seen("B", "x"), seen("C", "y")};
    map.occurrences["empty"] = {};
    EXPECT_EQ(map.summary("one"), "Settings · toggle");
    EXPECT_EQ(map.summary("three"), "Settings > Display · button +2");
    EXPECT_EQ(map.summary("empty"), std::nullopt);
    EXPECT_EQ(map.summary("missing"), std::nullopt);
}

TEST(ContextMapTests, OccurrenceWithoutSectionAndFrameLeavesTheirKeysOut) {
    const Occurrence plain = seen("Main", "button", {"«Open»"});
    const auto json = plain.toJson();
    EXPECT_FALSE(json.contains("section"));
    EXPECT_FALSE(json.contains("frame"));
    EXPECT_EQ(json.at("captured"), "2023-11-14T22:13:20.000Z");
    EXPECT_EQ(OrvelProtocol::decode<Occurrence>(OrvelProtocol::encode(plain)), plain);

    Occurrence full = seen("Main", "button", {"a", "b"}, "Top");
    full.frame = std::vector<double>{10.5, 20, 30, 40};
    EXPECT_EQ(OrvelProtocol::decode<Occurrence>(OrvelProtocol::encode(full)), full);
    EXPECT_NE(full, plain);
    EXPECT_EQ(std::unordered_set<Occurrence>({full, plain, full}).size(), 2u);
}

TEST(ContextMapTests, DecodingNeedsEveryRequiredKey) {
    const std::string good = R"({"occurrences": {"t\u001fk": [{"screen": "S", "role": "r", "row": [],
        "captured": "2024-01-02T03:04:05Z"}]}})";
    const auto map = OrvelProtocol::decode<ContextMap>(good);
    EXPECT_EQ(map.occurrences.at("t\x1Fk").front().captured, Date(std::chrono::seconds(1'704'164'645)));
    EXPECT_THROW(OrvelProtocol::decode<ContextMap>("{}"), json::DecodingError);
    EXPECT_THROW(OrvelProtocol::decode<ContextMap>(R"({"occurrences": {"k": [{"screen": "S", "role": "r",
        "captured": "2024-01-02T03:04:05Z"}]}})"),
                 json::DecodingError);
}

class ContextMapFileTests : public ::testing::Test {
  protected:
    ContextMapFileTests() {
        OrvelPaths::setHomeOverride(m_home.path());
        m_app.bundleIdentifier = "com.example.lumen";
    }
    ~ContextMapFileTests() override { OrvelPaths::setHomeOverride(std::nullopt); }

    testing::ScratchFolder m_home;
    TranslatableApp m_app;
};

TEST_F(ContextMapFileTests, MissingFileLoadsEmptyAndSavesAnEmptyObject) {
    const ContextMap empty = ContextMap::load(m_app);
    EXPECT_TRUE(empty.occurrences.empty());
    empty.save(m_app);
    const auto file =
        m_home.path() / "Library/Application Support/Orvel/com.example.lumen/.translator/context.json";
    EXPECT_EQ(ContextMap::fileURL(m_app), file);
    const auto written = json::parse(testing::readBytes(file));
    EXPECT_EQ(written, json::Json::parse(R"({"occurrences": {}})"));
}

TEST_F(ContextMapFileTests, SavedMapLoadsBackEqual) {
    ContextMap map;
    Occurrence framed = seen("Settings", "slider", {"«Brightness»", "50 %"}, "Display");
    framed.frame = std::vector<double>{12, 34.25, 200, 22};
    map.occurrences["Localizable\x1F"
                    "brightness/label"] = {framed, seen("Menu bar > View", "menu item")};
    map.save(m_app);
    EXPECT_EQ(ContextMap::load(m_app), map);
    EXPECT_NE(testing::readBytes(ContextMap::fileURL(m_app)).find("brightness/label"), std::string::npos);
}

TEST_F(ContextMapFileTests, FrameWithoutAJsonNumberIsLeftOutAndTheRestSurvives) {
    ContextMap map;
    Occurrence odd = seen("Settings", "slider", {"«Brightness»"});
    odd.frame = std::vector<double>{std::nan(""), 0, std::numeric_limits<double>::infinity(), 10};
    map.occurrences["k"] = {odd, seen("B", "label")};
    map.save(m_app);
    odd.frame = std::nullopt;
    EXPECT_EQ(ContextMap::load(m_app).occurrences.at("k"),
              (std::vector<Occurrence>{odd, seen("B", "label")}));
}

TEST_F(ContextMapFileTests, DamagedFileLoadsEmpty) {
    m_home.write(ContextMap::fileURL(m_app).lexically_relative(m_home.path()), "{\"occurrences\": [");
    EXPECT_TRUE(ContextMap::load(m_app).occurrences.empty());
    m_home.write(ContextMap::fileURL(m_app).lexically_relative(m_home.path()),
                 "{\"occurrences\": {\"k\": [{}]}}");
    EXPECT_TRUE(ContextMap::load(m_app).occurrences.empty());
}

TEST_F(ContextMapFileTests, SaveReportsAFolderItCannotWriteInto) {
    // A file where the project folder belongs.
    m_home.write(ContextMap::fileURL(m_app).parent_path().lexically_relative(m_home.path()), "not a folder");
    ContextMap map;
    map.occurrences["k"] = {seen("A", "button")};
    EXPECT_ANY_THROW(map.save(m_app));
}

} // namespace
} // namespace orvel
