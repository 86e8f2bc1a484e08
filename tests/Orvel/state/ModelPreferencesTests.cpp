#include "Orvel/state/ModelPreferences.h"

#include <QSignalSpy>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "Orvel/state/Background.h"
#include "tests/Orvel/state/GatedSecretStore.h"
#include "tests/Orvel/state/ProcessUntil.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

using testing::processUntil;
constexpr const char* service = ModelPreferences::keyService;

// The persisted fields side by side, so that a whole state compares in one expectation.
struct Fields {
    std::string provider, endpoint, model, reasoningEffort;
    bool jsonMode;
    int concurrency, batchSize;
    bool review, autoUpdate;

    bool operator==(const Fields&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Fields& f) {
        return out << f.provider << '|' << f.endpoint << '|' << f.model << '|' << f.reasoningEffort << '|'
                   << f.jsonMode << '|' << f.concurrency << '|' << f.batchSize << '|' << f.review << '|'
                   << f.autoUpdate;
    }
};

Fields fieldsOf(const ModelPreferences& prefs) {
    return {prefs.provider(),    prefs.endpoint(),  prefs.model(),  prefs.reasoningEffort(), prefs.jsonMode(),
            prefs.concurrency(), prefs.batchSize(), prefs.review(), prefs.autoUpdate()};
}

const Fields firstStart{
    "ChatGPT through Apple Intelligence", "apple:chatgpt", "", "medium", false, 2, 25, true, false};

const ModelSettings::Preset& preset(const std::string& name) {
    for (const auto& row : ModelSettings::presets())
        if (row.name == name)
            return row;
    throw std::runtime_error("no preset " + name);
}

class ModelPreferencesTests : public ::testing::Test {
  protected:
    DefaultsStore defaults() const { return *DefaultsStore::open("org.orvel.Orvel", m_scratch.path()); }

    std::unique_ptr<ModelPreferences> make(std::optional<std::string> environmentKey = std::nullopt) {
        auto lookup = [environmentKey](const std::string& name) -> std::optional<std::string> {
            return name == "ORVEL_API_KEY" ? environmentKey : std::nullopt;
        };
        return std::make_unique<ModelPreferences>(defaults(), m_secrets, lookup);
    }

    // Loads the key and waits until the load has finished.
    static void loadKey(ModelPreferences& prefs) {
        bool done = false;
        prefs.loadKey(&prefs, [&] { done = true; });
        ASSERT_TRUE(processUntil([&] { return done; }));
    }

    testing::ScratchFolder m_scratch;
    std::shared_ptr<testing::GatedSecretStore> m_secrets = std::make_shared<testing::GatedSecretStore>();
};

TEST_F(ModelPreferencesTests, ReadsStoredSettingsAndTheDefaultsForAnythingUnusable) {
    struct Case {
        const char* name;
        std::map<std::string, DefaultsStore::Value> stored;
        Fields expected;
    };
    const std::vector<Case> cases{
        {"first start", {}, firstStart},
        {"values of another kind",
         {{"concurrency", std::string("4")},
          {"batchSize", true},
          {"review", std::int64_t{0}},
          {"jsonMode", std::string("true")},
          {"provider", std::int64_t{3}},
          {"reasoningEffort", std::string("")}},
         firstStart},
        {"integers beyond the integer range", {{"concurrency", std::int64_t{1} << 40}}, firstStart},
        {"stored values",
         {{"provider", std::string("OpenAI")},
          {"endpoint", std::string("https://api.openai.com/v1")},
          {"model", std::string("gpt-5-mini")},
          {"reasoningEffort", std::string("high")},
          {"jsonMode", true},
          {"concurrency", std::int64_t{7}},
          {"batchSize", std::int64_t{-3}},
          {"review", false},
          {"autoUpdate", true}},
         {"OpenAI", "https://api.openai.com/v1", "gpt-5-mini", "high", true, 7, -3, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(defaults().fileURL());
        for (const auto& [key, value] : c.stored)
            defaults().set(key, value);
        const auto prefs = make();
        EXPECT_EQ(fieldsOf(*prefs), c.expected);
        EXPECT_EQ(prefs->apiKey(), "");
        EXPECT_EQ(prefs->loadedAccount(), std::nullopt);
    }
}

// Another program, or a damaged disk, may leave the settings file in any state: Orvel starts with the
// defaults, says once that a change could not be saved, and leaves the file for the person to repair.
TEST_F(ModelPreferencesTests, AnUnusableSettingsFileGivesTheDefaultsAndIsNeverReplaced) {
    const std::string deep =
        "{\"model\": \"mine\", \"deep\": " + std::string(100'000, '[') + std::string(100'000, ']') + "}";
    for (const std::string& contents : {std::string("{\"model\": \"mine\""), deep}) {
        SCOPED_TRACE(contents.substr(0, 30));
        m_scratch.write("org.orvel.Orvel.json", contents);
        const auto prefs = make();
        EXPECT_EQ(fieldsOf(*prefs), firstStart);
        QSignalSpy failures(prefs.get(), &ModelPreferences::saveFailed);
        prefs->setModel("gpt-5-mini");
        prefs->setConcurrency(3);
        EXPECT_EQ(failures.count(), 1);
        EXPECT_EQ(prefs->model(), "gpt-5-mini");
        EXPECT_EQ(testing::readBytes(defaults().fileURL()), contents);
    }
}

TEST_F(ModelPreferencesTests, SettersStoreEveryAssignmentAndNotifyOnlyChanges) {
    struct Case {
        const char* name;
        const char* key;
        void (ModelPreferences::*changed)();
        std::function<void(ModelPreferences&)> assignDefault;
        std::function<void(ModelPreferences&)> assignOther;
        DefaultsStore::Value other;
    };
    using P = ModelPreferences;
    const std::vector<Case> cases{
        {"provider", "provider", &P::providerChanged,
         [](P& p) { p.setProvider("ChatGPT through Apple Intelligence"); },
         [](P& p) { p.setProvider("Custom"); }, std::string("Custom")},
        {"model", "model", &P::modelChanged, [](P& p) { p.setModel(""); }, [](P& p) { p.setModel("m"); },
         std::string("m")},
        {"jsonMode", "jsonMode", &P::jsonModeChanged, [](P& p) { p.setJsonMode(false); },
         [](P& p) { p.setJsonMode(true); }, true},
        {"reasoningEffort", "reasoningEffort", &P::reasoningEffortChanged,
         [](P& p) { p.setReasoningEffort("medium"); }, [](P& p) { p.setReasoningEffort("low"); },
         std::string("low")},
        {"concurrency", "concurrency", &P::concurrencyChanged, [](P& p) { p.setConcurrency(2); },
         [](P& p) { p.setConcurrency(0); }, std::int64_t{0}},
        {"batchSize", "batchSize", &P::batchSizeChanged, [](P& p) { p.setBatchSize(25); },
         [](P& p) { p.setBatchSize(9); }, std::int64_t{9}},
        {"review", "review", &P::reviewChanged, [](P& p) { p.setReview(true); },
         [](P& p) { p.setReview(false); }, false},
        {"autoUpdate", "autoUpdate", &P::autoUpdateChanged, [](P& p) { p.setAutoUpdate(false); },
         [](P& p) { p.setAutoUpdate(true); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(defaults().fileURL());
        const auto prefs = make();
        QSignalSpy spy(prefs.get(), c.changed);
        c.assignDefault(*prefs);
        EXPECT_EQ(spy.count(), 0);
        EXPECT_TRUE(defaults().value(c.key).has_value()) << "an unchanged value is stored all the same";
        c.assignOther(*prefs);
        c.assignOther(*prefs);
        EXPECT_EQ(spy.count(), 1);
        EXPECT_EQ(defaults().value(c.key), c.other);
        EXPECT_EQ(fieldsOf(*make()), fieldsOf(*prefs)) << "a new instance reads what was stored";
    }
}

TEST_F(ModelPreferencesTests, SettingsClampLimitsAndLeaveOutEmptyTexts) {
    struct Case {
        const char* name;
        int concurrency, batchSize;
        std::string reasoningEffort, key;
        int expectedConcurrency, expectedBatchSize;
        std::optional<std::string> expectedEffort, expectedKey;
    };
    const std::vector<Case> cases{
        {"below one", 0, -3, "", "", 1, 1, std::nullopt, std::nullopt},
        {"as set", 6, 40, "low", "sk-1", 6, 40, "low", "sk-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto prefs = make();
        prefs->setEndpoint(" https://api.example.com/v1");
        prefs->setConcurrency(c.concurrency);
        prefs->setBatchSize(c.batchSize);
        prefs->setReasoningEffort(c.reasoningEffort);
        prefs->setApiKey(c.key);
        const ModelSettings settings = prefs->settings();
        EXPECT_EQ(settings.endpoint, " https://api.example.com/v1");
        EXPECT_EQ(settings.concurrency, c.expectedConcurrency);
        EXPECT_EQ(settings.batchSize, c.expectedBatchSize);
        EXPECT_EQ(settings.reasoningEffort, c.expectedEffort);
        EXPECT_EQ(settings.apiKey, c.expectedKey);
        EXPECT_EQ(settings.temperature, 0.2);
        EXPECT_EQ(settings.timeout, 600);
    }
}

TEST_F(ModelPreferencesTests, ApplyTakesThePresetAndStartsReviewOffForLocalModels) {
    struct Case {
        const char* preset;
        int expectedBatchSize;
        bool expectedReview;
    };
    const std::vector<Case> cases{
        {"Apple Intelligence, on this Mac", 8, false},    {"Ollama", 13, false}, {"LM Studio", 13, false},
        {"ChatGPT through Apple Intelligence", 25, true}, {"OpenAI", 13, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preset);
        const auto prefs = make();
        prefs->setBatchSize(13);
        prefs->setReview(!c.expectedReview);
        prefs->setReasoningEffort("high");
        prefs->setAutoUpdate(true);
        const auto& row = preset(c.preset);
        prefs->apply(row);
        const Fields expected{row.name,        row.endpoint,        row.model,        "high", row.jsonMode,
                              row.concurrency, c.expectedBatchSize, c.expectedReview, true};
        EXPECT_EQ(fieldsOf(*prefs), expected);
        EXPECT_EQ(fieldsOf(*make()), expected);
    }
}

TEST_F(ModelPreferencesTests, TheKeyFollowsTheAccountOfTheEndpoint) {
    struct Case {
        const char* name;
        std::optional<std::string> environmentKey;
        std::map<std::string, std::string> items;
        std::string first, second;
        std::string expectedKey;
        bool expectKeyringRead;
    };
    const std::vector<Case> cases{
        {"the environment's key serves every endpoint",
         "env-key",
         {{"a.example", "a"}},
         "https://a.example/v1",
         "https://b.example/v1",
         "env-key",
         false},
        {"an empty environment key leaves the keyring in charge",
         "",
         {{"a.example", "a"}, {"b.example", "b"}},
         "https://a.example/v1",
         "https://b.example:8443/v2",
         "b",
         true},
        {"another path of the same host keeps the key",
         std::nullopt,
         {{"localhost", "local"}},
         "http://localhost:11434/v1",
         "http://localhost:1234/v1",
         "local",
         false},
        {"another host without a key empties it",
         std::nullopt,
         {{"a.example", "a"}},
         "https://a.example/v1",
         "https://b.example/v1",
         "",
         true},
        {"endpoints without a host are accounts of their own",
         std::nullopt,
         {{"apple:chatgpt", "c"}, {"apple:on-device", "d"}},
         "apple:chatgpt",
         "apple:on-device",
         "d",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_secrets = std::make_shared<testing::GatedSecretStore>();
        for (const auto& [account, key] : c.items)
            m_secrets->write(service, account, key);
        const int changesBefore = m_secrets->changeCount();
        const auto prefs = make(c.environmentKey);
        prefs->setEndpoint(c.first);
        loadKey(*prefs);
        // A change in the keyring between two loads of one account goes unnoticed.
        m_secrets->write(service, "localhost", "changed");
        const int readsBefore = m_secrets->readCount();
        prefs->setEndpoint(c.second);
        loadKey(*prefs);
        EXPECT_EQ(prefs->apiKey(), c.expectedKey);
        EXPECT_EQ(prefs->loadedAccount(), prefs->account());
        EXPECT_EQ(m_secrets->readCount() > readsBefore, c.expectKeyringRead);
        if (c.environmentKey && !c.environmentKey->empty()) {
            EXPECT_EQ(m_secrets->readCount(), 0);
        }
        EXPECT_EQ(m_secrets->changeCount(), changesBefore + 1) << "loading never writes the keyring";
    }
}

// A read for the previous host that finishes after the endpoint moved on must not install that host's
// key, or the next request would send it to the new host.
TEST_F(ModelPreferencesTests, AReadForAPreviousHostNeverInstallsItsKey) {
    m_secrets->write(service, "a.example", "key-a");
    m_secrets->write(service, "b.example", "key-b");
    defaults().set("endpoint", std::string("https://a.example/v1"));
    const auto prefs = make();
    std::vector<std::string> keysSeen;
    QObject::connect(prefs.get(), &ModelPreferences::apiKeyChanged,
                     [&] { keysSeen.push_back(prefs->apiKey()); });

    m_secrets->holdReads("a.example");
    bool firstLoadDone = false;
    prefs->loadKey(prefs.get(), [&] { firstLoadDone = true; });
    ASSERT_TRUE(processUntil([&] { return m_secrets->waiting() == 1; }));

    prefs->setEndpoint("https://b.example/v1");
    ASSERT_TRUE(processUntil([&] { return prefs->apiKey() == "key-b"; }));
    m_secrets->releaseAll();
    ASSERT_TRUE(processUntil([&] { return firstLoadDone; }));

    EXPECT_EQ(keysSeen, std::vector<std::string>{"key-b"});
    EXPECT_EQ(prefs->loadedAccount(), "b.example");
    EXPECT_EQ(prefs->settings().apiKey, "key-b");
}

TEST_F(ModelPreferencesTests, EditsOfTheKeyAreStoredInTheOrderTheyWereMade) {
    struct Case {
        const char* name;
        std::vector<std::string> typed;
        std::optional<std::string> expectedItem;
    };
    const std::vector<Case> cases{
        {"typing a key", {"s", "se", "sec", "secret"}, "secret"},
        {"clearing the key deletes the item", {"old", ""}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_secrets = std::make_shared<testing::GatedSecretStore>();
        const auto prefs = make();
        prefs->setEndpoint("https://api.example.com/v1");
        loadKey(*prefs);
        // The first write is slow: every later one must still land after it.
        m_secrets->holdNextWrite();
        prefs->setApiKey(c.typed.front());
        ASSERT_TRUE(processUntil([&] { return m_secrets->waiting() == 1; }));
        for (std::size_t i = 1; i < c.typed.size(); ++i)
            prefs->setApiKey(c.typed[i]);
        m_secrets->releaseAll();
        ASSERT_TRUE(processUntil([&] { return m_secrets->changeCount() == int(c.typed.size()); }));
        EXPECT_EQ(m_secrets->peek(service, "api.example.com"), c.expectedItem);
        EXPECT_EQ(prefs->apiKey(), c.typed.back());
    }
}

TEST_F(ModelPreferencesTests, WithoutAKeyringTheTypedKeyServesTheSessionAndTheFailureIsReportedOnce) {
    m_secrets->setUnreachable("no keyring runs in this session.");
    const auto prefs = make();
    prefs->setEndpoint("https://a.example/v1");
    loadKey(*prefs);
    QSignalSpy failures(prefs.get(), &ModelPreferences::saveFailed);

    for (const char* typed : {"k", "ke", "key"})
        prefs->setApiKey(typed);
    ASSERT_TRUE(processUntil([&] { return m_secrets->changeCount() == 3 && failures.count() > 0; }));
    // A second report must not come: it gets a short chance to show that it does.
    processUntil([&] { return failures.count() > 1; }, 300);
    ASSERT_EQ(failures.count(), 1);
    EXPECT_TRUE(failures.front().front().toString().contains("no keyring runs in this session."));

    prefs->setEndpoint("https://b.example/v1");
    loadKey(*prefs);
    EXPECT_EQ(prefs->apiKey(), "");
    prefs->setEndpoint("https://a.example/v1");
    loadKey(*prefs);
    EXPECT_EQ(prefs->apiKey(), "key");
    EXPECT_EQ(prefs->settings().apiKey, "key");
}

// Without a keyring the key the person types still serves, and the preferences say that it will not be
// there at the next start; a keyring that is there says nothing, as before.
TEST_F(ModelPreferencesTests, TellsWhileTheKeyringCannotKeepTheKey) {
    enum class Keyring { there, missing, refusesWrites };
    struct Step {
        Keyring keyring;
        // An endpoint whose key is loaded, or a key typed.
        std::string endpoint, typed;
        bool expectNotKept;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const std::string a = "https://a.example/v1", b = "https://b.example/v1";
    const std::vector<Case> cases{
        {"a keyring that is there", {{Keyring::there, a, "", false}, {Keyring::there, "", "key", false}}},
        {"no keyring: the first load tells", {{Keyring::missing, a, "", true}}},
        {"no keyring: a typed key tells",
         {{Keyring::there, a, "", false}, {Keyring::missing, "", "key", true}}},
        {"the keyring comes back: a kept key ends it",
         {{Keyring::missing, a, "", true}, {Keyring::there, "", "key", false}}},
        {"the keyring comes back: a load ends what a load found",
         {{Keyring::missing, a, "", true}, {Keyring::there, b, "", false}}},
        {"a keyring that reads but keeps nothing: a later load does not end it",
         {{Keyring::refusesWrites, a, "", false},
          {Keyring::refusesWrites, "", "key", true},
          {Keyring::refusesWrites, b, "", true}}},
        {"clearing the key without a keyring",
         {{Keyring::there, a, "", false}, {Keyring::missing, "", "", true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_secrets = std::make_shared<testing::GatedSecretStore>();
        const auto prefs = make();
        QSignalSpy told(prefs.get(), &ModelPreferences::keyNotKeptChanged);
        bool expected = false;
        int changes = 0;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE(i);
            m_secrets->setUnreachable(step.keyring == Keyring::missing
                                          ? std::optional<std::string>("no keyring runs in this session.")
                                          : std::nullopt);
            m_secrets->setWritesRefused(step.keyring == Keyring::refusesWrites
                                            ? std::optional<std::string>("no collection to keep it in.")
                                            : std::nullopt);
            if (!step.endpoint.empty()) {
                prefs->setEndpoint(step.endpoint);
                loadKey(*prefs);
            } else {
                // The field holds something to clear.
                if (step.typed.empty())
                    prefs->setApiKey("old");
                prefs->setApiKey(step.typed);
                // Every write has been tried and its answer is on its way to the main thread.
                ASSERT_TRUE(waitForBackgroundWork(std::chrono::seconds(10)));
                QCoreApplication::processEvents();
                EXPECT_EQ(prefs->apiKey(), step.typed);
                EXPECT_EQ(prefs->settings().apiKey.value_or(""), step.typed);
            }
            EXPECT_EQ(prefs->keyNotKept(), step.expectNotKept);
            changes += step.expectNotKept != expected;
            expected = step.expectNotKept;
        }
        EXPECT_EQ(told.count(), changes);
    }
}

TEST_F(ModelPreferencesTests, ProviderNamesOfTheBuiltInAppleProvidersAndCustomAreTranslated) {
    // Translates every text it is asked for, so that only the names looked up get translated.
    struct Everything : QTranslator {
        bool isEmpty() const override { return false; }
        QString translate(const char*, const char* source, const char*, int) const override {
            return QStringLiteral("«%1»").arg(QString::fromUtf8(source));
        }
    } translator;
    QCoreApplication::installTranslator(&translator);
    struct Case {
        const char* provider;
        QString expected;
    };
    const std::vector<Case> cases{
        {"Custom", "«Custom»"},
        {"Apple Intelligence, on this Mac", "«Apple Intelligence, on this Mac»"},
        {"ChatGPT through Apple Intelligence", "«ChatGPT through Apple Intelligence»"},
        {"OpenAI", "OpenAI"},
        {"Ollama", "Ollama"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.provider);
        EXPECT_EQ(ModelPreferences::providerName(c.provider), c.expected);
    }
    QCoreApplication::removeTranslator(&translator);
}

} // namespace
} // namespace orvel
