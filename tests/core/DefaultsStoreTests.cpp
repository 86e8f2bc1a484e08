#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "core/DefaultsStore.h"
#include "core/Json.h"
#include "core/OrvelPaths.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

class DefaultsStoreTests : public ::testing::Test {
  protected:
    DefaultsStore store(std::string_view domain = "com.example.Notes") const {
        return *DefaultsStore::open(domain, m_scratch.path());
    }
    testing::ScratchFolder m_scratch;
};

TEST_F(DefaultsStoreTests, ValuesReadBackOnlyAsTheKindTheyWereStoredAs) {
    const auto defaults = store();
    defaults.set("flag", true);
    defaults.set("count", std::int64_t{1});
    defaults.set("text", std::string("1"));

    const auto reopened = store();
    EXPECT_EQ(reopened.boolean("flag"), true);
    EXPECT_EQ(reopened.integer("count"), 1);
    EXPECT_EQ(reopened.string("text"), "1");
    EXPECT_FALSE(reopened.integer("flag"));
    EXPECT_FALSE(reopened.boolean("count"));
    EXPECT_FALSE(reopened.integer("text"));
    EXPECT_FALSE(reopened.string("count"));
    EXPECT_FALSE(reopened.value("absent"));
    EXPECT_EQ(reopened.fileURL(), m_scratch.path() / "com.example.Notes.json");
}

TEST_F(DefaultsStoreTests, WritesKeepEveryOtherEntryEvenOfKindsItDoesNotOffer) {
    m_scratch.write("com.example.Notes.json",
                    R"({"ratio": 0.5, "list": [1, 2], "huge": 18446744073709551615})");
    const auto defaults = store();
    EXPECT_FALSE(defaults.value("ratio"));
    EXPECT_FALSE(defaults.value("huge"));

    defaults.set("OrvelLanguage", std::string("de"));
    defaults.remove("list");
    const auto saved = json::parse(testing::readBytes(defaults.fileURL()));
    EXPECT_EQ(saved, json::parse(R"({"ratio": 0.5, "huge": 18446744073709551615, "OrvelLanguage": "de"})"));
}

TEST_F(DefaultsStoreTests, RemovingWhatIsNotThereWritesNothing) {
    const auto defaults = store();
    defaults.remove("OrvelLanguage");
    EXPECT_FALSE(fs::exists(defaults.fileURL()));

    defaults.set("OrvelLanguage", std::string("fr"));
    defaults.remove("OrvelLanguage");
    EXPECT_FALSE(defaults.string("OrvelLanguage"));
    EXPECT_EQ(json::parse(testing::readBytes(defaults.fileURL())), json::Json::object());
}

TEST_F(DefaultsStoreTests, AnUnreadableFileIsNeverReplaced) {
    const auto nested = [](std::size_t depth) {
        return "{\"OrvelLanguage\": \"de\", \"deep\": " + std::string(depth, '[') + std::string(depth, ']') +
               "}";
    };
    // Copying or writing a value this deep would exhaust the stack.
    for (const std::string& broken :
         {std::string("{\"OrvelLanguage\": \"de\""), std::string("[\"not\", \"an object\"]"), nested(100'000),
          nested(json::maximumNesting)}) {
        const auto file = m_scratch.write("com.example.Notes.json", broken);
        const auto defaults = store();
        EXPECT_FALSE(defaults.string("OrvelLanguage"));
        EXPECT_THROW(defaults.set("OrvelLanguage", std::string("fr")), DefaultsStore::UnreadableFileError);
        EXPECT_THROW(defaults.remove("OrvelLanguage"), DefaultsStore::UnreadableFileError);
        EXPECT_EQ(testing::readBytes(file), broken);
    }
}

TEST_F(DefaultsStoreTests, DomainsThatWouldLeaveTheFolderAreRefused) {
    for (const std::string_view domain :
         std::vector<std::string_view>{"", ".", "..", "../escape", "a/b", std::string_view("a\0b", 3)})
        EXPECT_FALSE(DefaultsStore::open(domain, m_scratch.path())) << domain;
    EXPECT_TRUE(DefaultsStore::open("..hidden.but.inside", m_scratch.path()));
}

TEST_F(DefaultsStoreTests, ConcurrentWritersOfOneDomainLoseNoChange) {
    std::vector<std::jthread> writers;
    for (int writer = 0; writer < 4; ++writer)
        writers.emplace_back([this, writer] {
            for (int i = 0; i < 8; ++i)
                store().set("key" + std::to_string(writer) + "-" + std::to_string(i), std::int64_t{i});
        });
    writers.clear();
    const auto saved = json::parse(testing::readBytes(store().fileURL()));
    EXPECT_EQ(saved.size(), 32u);
}

TEST(DefaultsStoreFolder, OverrideThenAbsoluteConfigHomeThenHomeConfig) {
    testing::ScratchFolder scratch;
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
    OrvelPaths::setHomeOverride(scratch.path() / "home");

    setenv("XDG_CONFIG_HOME", (scratch.path() / "config").c_str(), 1);
    EXPECT_EQ(DefaultsStore::defaultFolder(), scratch.path() / "config" / "Orvel");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(DefaultsStore::defaultFolder(), scratch.path() / "home" / ".config" / "Orvel");
    DefaultsStore::setFolderOverride(scratch.path() / "override");
    EXPECT_EQ(DefaultsStore::defaultFolder(), scratch.path() / "override");

    DefaultsStore::setFolderOverride(std::nullopt);
    OrvelPaths::setHomeOverride(std::nullopt);
    if (saved)
        setenv("XDG_CONFIG_HOME", saved->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace orvel
