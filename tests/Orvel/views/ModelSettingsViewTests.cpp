#include "Orvel/views/ModelSettingsView.h"

#include "Orvel/state/Background.h"
#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/views/AppleBackendStatus.h"
#include "Orvel/views/CapsuleLabel.h"
#include "Orvel/views/ClampedLabel.h"
#include "Orvel/views/ConnectionTest.h"
#include "tests/Orvel/state/ProcessUntil.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <mutex>

namespace orvel {
namespace {

using AppleModels::Kind;
using testing::processUntil;

const std::string shortcutMissing = "needs the " + std::string(AppleModels::shortcutName) + " shortcut";

// Scripted answers about the Apple back-ends: a fixed reason per kind, and for ChatGPT a queue of
// reasons that the checks take one by one (the last one stays).
class ScriptedAppleStatus : public AppleBackendStatus {
  public:
    std::optional<std::string> availability(Kind kind) override {
        std::lock_guard lock(m_mutex);
        if (kind == Kind::onDevice)
            return onDevice;
        std::optional<std::string> reason = chatGPT.front();
        if (chatGPT.size() > 1)
            chatGPT.pop_front();
        return reason;
    }
    void forgetShortcutCache() override {
        std::lock_guard lock(m_mutex);
        ++forgets;
    }
    std::optional<std::filesystem::path> shortcutFile() const override { return file; }
    void openFile(const std::filesystem::path& path) override {
        std::lock_guard lock(m_mutex);
        opened.push_back(path);
    }

    std::optional<std::string> onDevice = "needs macOS 26 or later";
    std::deque<std::optional<std::string>> chatGPT{shortcutMissing};
    std::optional<std::filesystem::path> file = "/app/Resources/shortcut.shortcut";
    int forgets = 0;
    std::vector<std::filesystem::path> opened;

  private:
    std::mutex m_mutex;
};

class ModelSettingsViewTests : public ::testing::Test {
  protected:
    struct Timer {
        std::chrono::milliseconds delay;
        QPointer<QObject> context;
        std::function<void()> fire;
    };

    ModelSettingsView::Services services() {
        return ModelSettingsView::Services{
            .apple = m_apple,
            .background =
                [this](QObject*, std::function<std::function<void()>()> work) {
                    auto run = [work = std::move(work)] {
                        if (std::function<void()> next = work())
                            next();
                    };
                    if (m_deferWork)
                        m_work.push_back(std::move(run));
                    else
                        run();
                },
            .after =
                [this](std::chrono::milliseconds delay, QObject* context, std::function<void()> fire) {
                    m_timers.push_back({delay, context, std::move(fire)});
                },
            .testConnection = [this](const ModelSettings& settings,
                                     std::stop_token) -> std::optional<std::string> {
                m_tested.push_back(settings);
                return m_testError;
            },
        };
    }

    std::unique_ptr<ModelSettingsView> makeView(ModelSettingsView::Services with) {
        auto view = std::make_unique<ModelSettingsView>(m_prefs, std::move(with));
        view->show();
        return view;
    }
    std::unique_ptr<ModelSettingsView> makeView() { return makeView(services()); }

    // Fires the timers that come due, one after the other, as a clock would; returns how many fired.
    int fireTimers() {
        int fired = 0;
        while (!m_timers.empty()) {
            Timer timer = std::move(m_timers.front());
            m_timers.pop_front();
            EXPECT_EQ(timer.delay, std::chrono::milliseconds(2000));
            if (timer.context)
                timer.fire();
            ++fired;
        }
        return fired;
    }

    void runWork() {
        std::vector<std::function<void()>> work = std::move(m_work);
        m_work.clear();
        for (auto& run : work)
            run();
    }

    void pick(ModelSettingsView& view, const QString& providerName) {
        auto* picker = view.findChild<QComboBox*>("providerPicker");
        const int row = picker->findData(providerName);
        ASSERT_GE(row, 0) << providerName.toStdString();
        picker->setCurrentIndex(row);
        emit picker->activated(row);
    }

    // The test with the background work held back until it is run here.
    void testAndWaitDeferred(ModelSettingsView& view) {
        QTest::mouseClick(view.findChild<QPushButton*>("testConnectionButton"), Qt::LeftButton);
        ASSERT_TRUE(processUntil([&] { return !m_work.empty(); }));
        runWork();
        ASSERT_FALSE(view.isTesting());
    }

    void testAndWait(ModelSettingsView& view) {
        QTest::mouseClick(view.findChild<QPushButton*>("testConnectionButton"), Qt::LeftButton);
        ASSERT_TRUE(processUntil([&] { return !view.isTesting(); }));
    }

    static bool shown(const ModelSettingsView& view, const char* name) {
        const QWidget* widget = view.findChild<QWidget*>(name);
        return widget && widget->isVisibleTo(&view);
    }
    static QString pill(const ModelSettingsView& view) {
        return view.findChild<CapsuleLabel*>("statusPill")->text();
    }
    static QString errorText(const ModelSettingsView& view) {
        return shown(view, "testError") ? view.findChild<ClampedLabel*>("testError")->fullText() : QString();
    }

    testing::ScratchFolder m_scratch;
    std::shared_ptr<MemorySecretStore> m_secrets = std::make_shared<MemorySecretStore>();
    ModelPreferences m_prefs{*DefaultsStore::open("org.orvel.Orvel", m_scratch.path()), m_secrets,
                             [](const std::string&) -> std::optional<std::string> { return std::nullopt; }};
    std::shared_ptr<ScriptedAppleStatus> m_apple = std::make_shared<ScriptedAppleStatus>();
    bool m_deferWork = false;
    std::vector<std::function<void()>> m_work;
    std::deque<Timer> m_timers;
    std::optional<std::string> m_testError;
    std::vector<ModelSettings> m_tested;
};

TEST_F(ModelSettingsViewTests, TheEndpointsKindDecidesTheRowsAndTheStatus) {
    struct Case {
        const char* name;
        std::string endpoint;
        std::optional<std::string> onDevice, chatGPT;
        bool status;
        QString pill;
        bool installButton;
    };
    const std::vector<Case> cases{
        {"on-device, odd case and blanks",
         " Apple:On-Device ",
         "needs macOS 26 or later",
         {},
         true,
         "needs macOS 26 or later",
         false},
        {"on-device, unknown reason as it stands",
         "apple:on-device",
         "the moon is full",
         {},
         true,
         "the moon is full",
         false},
        {"on-device usable", "apple:on-device", std::nullopt, {}, true, "Available", false},
        {"ChatGPT without its shortcut",
         "\napple:ChatGPT",
         {},
         shortcutMissing,
         true,
         QString::fromStdString(shortcutMissing),
         true},
        {"ChatGPT usable", "apple:chatgpt", {}, std::nullopt, true, "Available", false},
        {"HTTP", "https://api.openai.com/v1", {}, {}, false, {}, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        m_apple->onDevice = row.onDevice;
        m_apple->chatGPT = {row.chatGPT};
        m_prefs.setEndpoint("https://example.com/v1");
        auto view = makeView();
        m_prefs.setEndpoint(row.endpoint);
        EXPECT_EQ(shown(*view, "statusRow"), row.status);
        for (const char* field : {"endpointField", "apiKeyField", "modelField", "reasoningPicker"})
            EXPECT_EQ(shown(*view, field), !row.status) << field;
        EXPECT_TRUE(shown(*view, "testConnectionButton"));
        if (row.status) {
            EXPECT_EQ(pill(*view), row.pill);
        }
        EXPECT_EQ(shown(*view, "installShortcutButton"), row.installButton);
        EXPECT_EQ(view->width(), ModelSettingsView::formWidth);
    }
}

// Without a keyring the key typed serves only this session: the form says so under the key field, and
// says nothing while a keyring keeps the key.
TEST_F(ModelSettingsViewTests, TheKeyFieldTellsWhenNoKeyringKeepsTheKey) {
    struct Case {
        const char* name;
        std::string endpoint;
        bool keyring;
        // Typed once the form shows, with the keyring back.
        std::string typedLater;
        bool noteFirst, noteLater;
    };
    const std::vector<Case> cases{
        {"a keyring that is there", "https://api.example.com/v1", true, "", false, false},
        {"no keyring", "https://api.example.com/v1", false, "", true, true},
        {"no keyring, an Apple back-end without a key field", "apple:chatgpt", false, "", false, false},
        {"the keyring comes back and keeps the key typed", "https://api.example.com/v1", false, "key", true,
         false},
    };
    const auto settle = [] {
        ASSERT_TRUE(waitForBackgroundWork(std::chrono::seconds(10)));
        QCoreApplication::processEvents();
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        m_secrets->setUnreachable(
            row.keyring ? std::nullopt : std::optional<std::string>("no keyring runs in this session."));
        m_prefs.setEndpoint(row.endpoint);
        auto view = makeView();
        // The form loads the key when shown.
        settle();
        EXPECT_EQ(shown(*view, "apiKeyNote"), row.noteFirst);
        if (row.noteFirst) {
            const QString note = view->findChild<QLabel*>("apiKeyNote")->text();
            EXPECT_TRUE(note.contains("until Orvel quits")) << note.toStdString();
            EXPECT_TRUE(note.contains("ORVEL_API_KEY")) << note.toStdString();
        }
        if (!row.typedLater.empty()) {
            m_secrets->setUnreachable(std::nullopt);
            auto* field = view->findChild<QLineEdit*>("apiKeyField");
            QTest::keyClicks(field, QString::fromStdString(row.typedLater));
            settle();
        }
        EXPECT_EQ(shown(*view, "apiKeyNote"), row.noteLater);
        EXPECT_EQ(view->width(), ModelSettingsView::formWidth);
        // The next case starts from a keyring that reads, with no key.
        m_secrets->setUnreachable(std::nullopt);
        m_prefs.setApiKey("");
        m_prefs.setEndpoint("https://other.example/v1");
        m_prefs.loadKey();
        settle();
    }
}

TEST_F(ModelSettingsViewTests, PickingAProviderAppliesPresetsKeepsFieldsForCustomAndClearsTheResult) {
    struct Case {
        const char* name;
        QString first;
        QString then;
        std::string provider, endpoint, model;
        bool status;
    };
    const std::vector<Case> cases{
        {"Custom after HTTP", "OpenAI", "Custom", "Custom", "https://api.openai.com/v1", "gpt-5-mini", false},
        // The Apple endpoints have no fields: "Custom" starts empty, so that a server can be entered.
        {"Custom after on-device", "Apple Intelligence, on this Mac", "Custom", "Custom", "", "", false},
        {"Custom after ChatGPT", "ChatGPT through Apple Intelligence", "Custom", "Custom", "", "", false},
        {"preset after Custom", "Custom", "Ollama", "Ollama", "http://localhost:11434/v1", "qwen3:14b",
         false},
        {"the same preset again", "OpenAI", "OpenAI", "OpenAI", "https://api.openai.com/v1", "gpt-5-mini",
         false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        auto view = makeView();
        pick(*view, row.first);
        testAndWait(*view);
        ASSERT_TRUE(shown(*view, "connectedPill"));
        pick(*view, row.then);
        EXPECT_EQ(m_prefs.provider(), row.provider);
        EXPECT_EQ(m_prefs.endpoint(), row.endpoint);
        EXPECT_EQ(m_prefs.model(), row.model);
        EXPECT_EQ(shown(*view, "statusRow"), row.status);
        EXPECT_FALSE(shown(*view, "connectedPill"));
        EXPECT_EQ(view->findChild<QComboBox*>("providerPicker")->currentData().toString().toStdString(),
                  row.provider);
        if (!row.status) {
            EXPECT_EQ(view->findChild<QLineEdit*>("endpointField")->text().toStdString(), row.endpoint);
            EXPECT_EQ(view->findChild<QLineEdit*>("modelField")->text().toStdString(), row.model);
        }
    }
}

TEST_F(ModelSettingsViewTests, TestsTheConnectionAgainstARealEndpoint) {
    struct Case {
        const char* name;
        testing::Reply reply;
        bool connected;
        QString error;
    };
    const std::vector<Case> cases{
        {"JSON whose ok is false", {200, testing::completionBody(R"({"ok": false})")}, true, {}},
        {"JSON inside prose", {200, testing::completionBody("Sure: {\"ok\": true} done")}, true, {}},
        {"not JSON",
         {200, testing::completionBody("hello there")},
         false,
         "The model did not answer with JSON: hello there"},
        {"server error",
         {500, "down for <b>maintenance</b>"},
         false,
         "The endpoint answered 500: down for <b>maintenance</b>"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        testing::LoopbackServer server;
        server.reply({row.reply});
        m_prefs.setProvider("Custom");
        m_prefs.setEndpoint(server.url("/v1"));
        m_prefs.setModel("tiny");
        ModelSettingsView::Services real = services();
        real.testConnection = &connectionTestError;
        auto view = makeView(std::move(real));
        testAndWait(*view);
        EXPECT_EQ(shown(*view, "connectedPill"), row.connected);
        EXPECT_EQ(errorText(*view), row.error);
        EXPECT_TRUE(view->findChild<QPushButton*>("testConnectionButton")->isEnabled());
        const std::vector<testing::RecordedRequest> requests = server.requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.front().path, "/v1/chat/completions");
        const json::Json body = requests.front().json();
        EXPECT_EQ(body["model"], "tiny");
        EXPECT_EQ(body["messages"][0]["role"], "system");
        EXPECT_EQ(body["messages"][0]["content"], "Answer with JSON only.");
        EXPECT_EQ(body["messages"][1]["role"], "user");
        EXPECT_EQ(body["messages"][1]["content"], R"(Reply with {"ok": true})");
    }
}

TEST_F(ModelSettingsViewTests, AnyChangeOfTheModelClearsTheResultAndDropsARunningTest) {
    using Change = std::function<void(ModelSettingsView&)>;
    struct Case {
        const char* name;
        Change change;
        // The result (or the test) stays: the change was not one of the model.
        bool stays;
    };
    const std::vector<Case> cases{
        {"nothing", [](ModelSettingsView&) {}, true},
        {"a provider picked in the form", [this](ModelSettingsView& view) { pick(view, "Anthropic"); },
         false},
        {"a preset chosen in the footer's model menu",
         [this](ModelSettingsView&) { m_prefs.apply(ModelSettings::presets().at(3)); }, false},
        {"the endpoint typed",
         [](ModelSettingsView& view) { QTest::keyClicks(view.findChild<QLineEdit*>("endpointField"), "x"); },
         false},
        {"the model set elsewhere", [this](ModelSettingsView&) { m_prefs.setModel("other"); }, false},
        {"the key typed",
         [](ModelSettingsView& view) { QTest::keyClicks(view.findChild<QLineEdit*>("apiKeyField"), "k"); },
         false},
        {"the batch size changed", [this](ModelSettingsView&) { m_prefs.setBatchSize(40); }, true},
    };
    for (const bool running : {false, true}) {
        for (const Case& row : cases) {
            SCOPED_TRACE(std::string(row.name) + (running ? ", while the test runs" : ", after the test"));
            m_deferWork = true;
            m_testError = std::nullopt;
            auto view = makeView();
            pick(*view, "OpenAI");
            runWork();
            QTest::mouseClick(view->findChild<QPushButton*>("testConnectionButton"), Qt::LeftButton);
            ASSERT_TRUE(processUntil([&] { return !m_work.empty(); }));
            if (!running) {
                runWork();
                ASSERT_TRUE(shown(*view, "connectedPill"));
            }
            row.change(*view);
            if (running) {
                EXPECT_EQ(view->isTesting(), row.stays);
                EXPECT_EQ(shown(*view, "testSpinner"), row.stays);
                EXPECT_EQ(view->findChild<QPushButton*>("testConnectionButton")->isEnabled(), !row.stays);
            }
            // The answer of a dropped test shows nowhere.
            runWork();
            EXPECT_FALSE(view->isTesting());
            EXPECT_TRUE(view->findChild<QPushButton*>("testConnectionButton")->isEnabled());
            EXPECT_EQ(shown(*view, "connectedPill"), row.stays);
            m_deferWork = false;
        }
    }
}

TEST_F(ModelSettingsViewTests, AFailedResultIsClearedByAPickAndADroppedTestIsCancelled) {
    m_deferWork = true;
    m_testError = "boom";
    std::stop_token seen;
    ModelSettingsView::Services with = services();
    with.testConnection = [&](const ModelSettings&, std::stop_token stop) -> std::optional<std::string> {
        seen = stop;
        return m_testError;
    };
    auto view = makeView(std::move(with));
    pick(*view, "OpenAI");
    runWork();
    testAndWaitDeferred(*view);
    EXPECT_EQ(errorText(*view), "boom");
    pick(*view, "OpenAI");
    EXPECT_EQ(errorText(*view), QString());

    // A test dropped while its request runs is asked to stop.
    QTest::mouseClick(view->findChild<QPushButton*>("testConnectionButton"), Qt::LeftButton);
    ASSERT_TRUE(processUntil([&] { return !m_work.empty(); }));
    std::vector<std::function<void()>> request = std::move(m_work);
    m_work.clear();
    m_prefs.setModel("another");
    for (auto& run : request)
        run();
    EXPECT_TRUE(seen.stop_requested());
    EXPECT_EQ(errorText(*view), QString());
    m_deferWork = false;
}

TEST_F(ModelSettingsViewTests, AFailedTestShowsItsErrorInWholeLinesUpToThree) {
    const std::string missingModel =
        R"(The endpoint answered 404: {"error": {"message": "The model `fake-model` does not exist"}})";
    std::string page;
    for (int sentence = 0; sentence < 12; ++sentence)
        page += "The server could not be reached this time. ";
    struct Case {
        const char* name;
        std::string error;
        bool elided;
    };
    const std::vector<Case> cases{
        {"one word", "boom", false},
        {"a missing model", missingModel, false},
        {"lines of its own", "first line\nsecond line", false},
        {"a page of text", page, true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        m_testError = row.error;
        auto view = makeView();
        pick(*view, "OpenAI");
        testAndWait(*view);
        auto* label = view->findChild<ClampedLabel*>("testError");
        ASSERT_TRUE(label->isVisibleTo(view.get()));
        EXPECT_EQ(label->fullText(), QString::fromStdString(row.error));
        EXPECT_FALSE(label->toolTip().isEmpty());

        const QStringList lines = label->text().split(QLatin1Char('\n'));
        EXPECT_LE(lines.size(), 3);
        EXPECT_EQ(lines.back().endsWith(QChar(0x2026)), row.elided);
        if (!row.elided) {
            EXPECT_EQ(lines.join(QLatin1Char(' ')).simplified(),
                      QString::fromStdString(row.error).simplified());
        }
        // Every line shows whole: across the label, and down to its last line within the form.
        QLabel whole;
        whole.setFont(label->font());
        whole.setText(label->text());
        EXPECT_LE(whole.sizeHint().width(), label->width());
        EXPECT_GE(label->height(), whole.sizeHint().height());
        const QRect inForm(label->mapTo(view.get(), QPoint(0, 0)), label->size());
        EXPECT_TRUE(view->rect().contains(inForm));
    }
}

TEST_F(ModelSettingsViewTests, TestConnectionKeepsTheKeyboardFocusOnItsButton) {
    m_deferWork = true;
    auto view = makeView();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    pick(*view, "OpenAI");
    runWork();
    auto* button = view->findChild<QPushButton*>("testConnectionButton");
    button->setFocus();
    ASSERT_TRUE(processUntil([&] { return button->hasFocus(); }));
    QTest::keyClick(button, Qt::Key_Space);
    ASSERT_TRUE(processUntil([&] { return !m_work.empty(); }));
    ASSERT_TRUE(view->isTesting());
    // No field takes the focus while the button is disabled, so the next key overwrites nothing.
    EXPECT_FALSE(view->findChild<QSpinBox*>("batchSizeSpin")->hasFocus());
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : view.get(), Qt::Key_7);
    QTest::keyClick(focused ? focused : view.get(), Qt::Key_Return);
    EXPECT_EQ(m_prefs.batchSize(), ModelPreferences::defaultBatchSize);
    runWork();
    EXPECT_FALSE(view->isTesting());
    EXPECT_TRUE(button->hasFocus());
    m_deferWork = false;
}

// The settings window closes by the keys that close a desktop window, also while a field has the focus.
TEST_F(ModelSettingsViewTests, EscapeAndCtrlWCloseTheWindow) {
    const std::vector<std::pair<const char*, QKeySequence>> keys{
        {"Escape", QKeySequence(Qt::Key_Escape)}, {"Ctrl+W", QKeySequence(Qt::CTRL | Qt::Key_W)}};
    for (const auto& [name, key] : keys) {
        SCOPED_TRACE(name);
        auto view = makeView();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        pick(*view, "OpenAI");
        auto* field = view->findChild<QLineEdit*>("modelField");
        field->setFocus();
        ASSERT_TRUE(processUntil([&] { return field->hasFocus(); }));
        QTest::keySequence(field, key);
        EXPECT_FALSE(view->isVisible());
    }
}

TEST_F(ModelSettingsViewTests, StepsStayInBoundsAndNeverWriteBackAStoredValue) {
    struct Case {
        const char* name;
        const char* spin;
        int stored;
        int steps;
        int shown;
        int written;
    };
    const std::vector<Case> cases{
        {"batch above the range is shown at the top", "batchSizeSpin", 500, 0, 200, 500},
        {"batch below the range is shown at the bottom", "batchSizeSpin", 0, 0, 1, 0},
        {"batch steps by ten", "batchSizeSpin", 1, 1, 11, 11},
        {"batch stops at 200", "batchSizeSpin", 195, 2, 200, 200},
        {"batch stops at 1", "batchSizeSpin", 5, -1, 1, 1},
        {"batch from out of range steps inside", "batchSizeSpin", 500, -1, 190, 190},
        {"requests above the range", "concurrencySpin", 64, 0, 16, 64},
        {"requests stop at 16", "concurrencySpin", 15, 3, 16, 16},
        {"requests stop at 1", "concurrencySpin", 2, -4, 1, 1},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const std::string spinName = row.spin;
        const auto stored = [&] {
            return spinName == "batchSizeSpin" ? m_prefs.batchSize() : m_prefs.concurrency();
        };
        if (spinName == "batchSizeSpin")
            m_prefs.setBatchSize(row.stored);
        else
            m_prefs.setConcurrency(row.stored);
        auto view = makeView();
        auto* spin = view->findChild<QSpinBox*>(row.spin);
        for (int step = 0; step < std::abs(row.steps); ++step)
            QTest::keyClick(spin, row.steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(spin->value(), row.shown);
        EXPECT_EQ(stored(), row.written);
        const ModelPreferences persisted(*DefaultsStore::open("org.orvel.Orvel", m_scratch.path()),
                                         std::make_shared<MemorySecretStore>());
        EXPECT_EQ(spinName == "batchSizeSpin" ? persisted.batchSize() : persisted.concurrency(), row.written);
    }
}

TEST_F(ModelSettingsViewTests, InstallShortcutWatchesUntilUsableOrThirtyChecks) {
    struct Case {
        const char* name;
        bool shortcutFile;
        std::deque<std::optional<std::string>> checks;
        int expectedChecks;
        QString pill;
        bool installButton;
    };
    const std::vector<Case> cases{
        {"never installed",
         true,
         {shortcutMissing, shortcutMissing, "needs macOS 26 or later"},
         30,
         "needs macOS 26 or later",
         true},
        {"installed at the third check",
         true,
         {shortcutMissing, shortcutMissing, shortcutMissing, std::nullopt},
         3,
         "Available",
         false},
        {"installed at once", true, {shortcutMissing, std::nullopt}, 1, "Available", false},
        {"no shortcut file", false, {shortcutMissing}, 0, QString::fromStdString(shortcutMissing), true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        m_prefs.apply(ModelSettings::presets().front());
        m_apple->chatGPT = row.checks;
        m_apple->forgets = 0;
        m_apple->opened.clear();
        if (!row.shortcutFile)
            m_apple->file.reset();
        auto view = makeView();
        ASSERT_EQ(pill(*view), QString::fromStdString(shortcutMissing));
        QTest::mouseClick(view->findChild<QPushButton*>("installShortcutButton"), Qt::LeftButton);
        EXPECT_EQ(m_apple->opened.size(), row.shortcutFile ? 1u : 0u);
        EXPECT_EQ(fireTimers(), row.expectedChecks);
        EXPECT_EQ(m_apple->forgets, row.expectedChecks);
        EXPECT_EQ(pill(*view), row.pill);
        EXPECT_EQ(shown(*view, "installShortcutButton"), row.installButton);
        m_apple->file = "/app/Resources/shortcut.shortcut";
    }
}

TEST_F(ModelSettingsViewTests, TheShortcutsReasonIsShownForChatGPTOnly) {
    struct Case {
        const char* name;
        std::string endpointAfter;
        QString pill;
    };
    const std::vector<Case> cases{
        {"switched to on-device", "apple:on-device", "needs macOS 26 or later"},
        {"switched back to ChatGPT", "apple:chatgpt", "needs a newer Shortcuts"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        m_prefs.setEndpoint("apple:chatgpt");
        m_apple->chatGPT = {shortcutMissing, "needs a newer Shortcuts"};
        auto view = makeView();
        QTest::mouseClick(view->findChild<QPushButton*>("installShortcutButton"), Qt::LeftButton);
        ASSERT_EQ(fireTimers(), 30);
        m_deferWork = true;
        m_prefs.setEndpoint("apple:on-device");
        runWork();
        m_prefs.setEndpoint(row.endpointAfter);
        // Before any new check has answered.
        EXPECT_EQ(pill(*view), row.pill);
        m_work.clear();
        m_deferWork = false;
    }
}

} // namespace
} // namespace orvel
