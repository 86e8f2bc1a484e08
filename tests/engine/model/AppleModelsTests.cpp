#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <future>
#include <system_error>
#include <thread>

#include <sys/stat.h>

#include "core/Cancellation.h"
#include "core/FileIO.h"
#include "engine/model/AppleModels.h"
#include "engine/model/ChatClient.h"
#include "engine/model/ChatError.h"

using namespace orvel;
namespace fs = std::filesystem;

namespace {

const std::string shortcut(AppleModels::shortcutName);

class FakeOnDeviceModel : public OnDeviceModel {
  public:
    Availability state = Availability::available;
    std::function<std::string()> answer = [] { return std::string(" Antwort "); };
    std::string instructions, prompt;
    std::optional<double> temperature;

    Availability availability() const override { return state; }
    bool supportsLocale(std::string_view code) const override { return code == "de" || code == "ro"; }
    std::string respond(const std::string& givenInstructions, const std::string& givenPrompt,
                        std::optional<double> givenTemperature, std::stop_token) override {
        instructions = givenInstructions;
        prompt = givenPrompt;
        temperature = givenTemperature;
        return answer();
    }
};

ChatError chatErrorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const ChatError& error) {
        return error;
    }
    ADD_FAILURE() << "no ChatError was thrown";
    return ChatError::emptyResponse();
}

// Whether the process exists and has not ended (a zombie has ended).
bool isRunning(const std::string& pid) {
    const auto stat = FileIO::readIfPresent("/proc/" + pid + "/stat");
    if (!stat)
        return false;
    const auto close = stat->rfind(')');
    return close != std::string::npos && close + 2 < stat->size() && (*stat)[close + 2] != 'Z' &&
           (*stat)[close + 2] != 'X';
}

AppleModels::Platform withModel(std::shared_ptr<OnDeviceModel> model) {
    AppleModels::Platform platform;
    platform.onDeviceModel = std::move(model);
    return platform;
}

bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 2000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

class AppleModelsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orvel-apple-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        fs::create_directory(folder / "tmp");
        platform.shortcutsTool = folder / "shortcuts";
        platform.temporaryFolder = folder / "tmp";
        AppleModels::setPlatform(platform);
        AppleModels::forgetShortcutCache();
    }

    void TearDown() override {
        AppleModels::setPlatform({});
        AppleModels::forgetShortcutCache();
        fs::remove_all(folder);
    }

    // The stand-in for the Shortcuts tool: a shell script whose folder is $DIR.
    void writeTool(const std::string& body) {
        const fs::path partial = folder / "shortcuts.partial";
        std::ofstream(partial) << "#!/bin/sh\nDIR=$(dirname \"$0\")\n" << body << "\n";
        ::chmod(partial.c_str(), 0755);
        fs::rename(partial, platform.shortcutsTool);
    }

    std::string file(const std::string& name) const {
        return FileIO::readIfPresent(folder / name).value_or("");
    }

    bool temporaryFolderIsEmpty() const { return fs::is_empty(folder / "tmp"); }

    std::string askChatGPT(const std::vector<ChatMessage>& messages, std::stop_token stop = {}) {
        return AppleModels::complete(messages, AppleModels::Kind::chatGPT, std::nullopt, stop);
    }

    fs::path folder;
    AppleModels::Platform platform;
};

const std::vector<ChatMessage> request{ChatMessage::system("Sys A"), ChatMessage::user("User 1"),
                                       ChatMessage::system("Sys B"), ChatMessage::user("User 2")};

} // namespace

TEST(AppleModels, KindsAreMatchedByTheirEndpointText) {
    EXPECT_EQ(AppleModels::kind(" Apple:On-Device\n"), AppleModels::Kind::onDevice);
    EXPECT_EQ(AppleModels::kind("APPLE:CHATGPT"), AppleModels::Kind::chatGPT);
    EXPECT_FALSE(AppleModels::kind("apple:chatgpt/"));
    EXPECT_FALSE(AppleModels::kind("apple:"));
    EXPECT_EQ(AppleModels::shortcutName.size(), 16u);
}

TEST(AppleModels, WithoutAnOnDeviceModelItIsUnavailable) {
    AppleModels::setPlatform({});
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::onDevice), "needs macOS 26 or later");
    EXPECT_FALSE(AppleModels::supports("de", AppleModels::Kind::onDevice));
    EXPECT_TRUE(AppleModels::supports("xx-unknown", AppleModels::Kind::chatGPT));
    const ChatError error =
        chatErrorOf([] { AppleModels::complete(request, AppleModels::Kind::onDevice, 0.2); });
    EXPECT_EQ(error.kind(), ChatError::Kind::unavailable);
    EXPECT_EQ(error.errorDescription(), "The model is not available: needs macOS 26 or later");
}

TEST(AppleModels, OnDeviceAvailabilityNamesTheReason) {
    auto model = std::make_shared<FakeOnDeviceModel>();
    AppleModels::setPlatform(withModel(model));
    const std::pair<OnDeviceModel::Availability, std::optional<std::string>> table[] = {
        {OnDeviceModel::Availability::available, std::nullopt},
        {OnDeviceModel::Availability::deviceNotEligible, "this Mac cannot run Apple Intelligence"},
        {OnDeviceModel::Availability::appleIntelligenceNotEnabled,
         "Apple Intelligence is turned off in System Settings"},
        {OnDeviceModel::Availability::modelNotReady, "the model is still downloading"},
        {OnDeviceModel::Availability::otherReason, "the model is not available"}};
    for (const auto& [state, reason] : table) {
        model->state = state;
        EXPECT_EQ(AppleModels::availability(AppleModels::Kind::onDevice), reason);
        if (reason) {
            EXPECT_EQ(
                chatErrorOf([] { AppleModels::complete(request, AppleModels::Kind::onDevice, {}); }).text(),
                *reason);
        }
    }
    EXPECT_TRUE(AppleModels::supports("de", AppleModels::Kind::onDevice));
    EXPECT_FALSE(AppleModels::supports("ja", AppleModels::Kind::onDevice));
    AppleModels::setPlatform({});
}

TEST(AppleModels, OnDeviceRequestSplitsInstructionsFromPrompt) {
    auto model = std::make_shared<FakeOnDeviceModel>();
    AppleModels::setPlatform(withModel(model));
    EXPECT_EQ(
        AppleModels::complete({ChatMessage::system("S"), ChatMessage::user("U1"), ChatMessage::user("U2")},
                              AppleModels::Kind::onDevice, 0.3),
        " Antwort ");
    EXPECT_EQ(model->instructions, "S");
    EXPECT_EQ(model->prompt, "U1\n\nU2");
    EXPECT_EQ(model->temperature, 0.3);

    ChatClient client;
    client.settings.endpoint = "apple:on-device";
    model->answer = [] { return std::string("<think>x</think>\n Antwort\n"); };
    EXPECT_EQ(client.complete(request, true), "Antwort");
    EXPECT_EQ(model->instructions, "Sys A\n\nSys B");
    EXPECT_EQ(model->prompt, "User 1\n\nUser 2");
    EXPECT_FALSE(model->temperature);
    AppleModels::setPlatform({});
}

TEST(AppleModels, OnDeviceGenerationErrorsAreMapped) {
    auto model = std::make_shared<FakeOnDeviceModel>();
    AppleModels::setPlatform(withModel(model));
    using Kind = OnDeviceModel::GenerationError::Kind;
    const auto failWith = [&](Kind kind) {
        model->answer = [kind]() -> std::string {
            throw OnDeviceModel::GenerationError(kind, "Generation failed.");
        };
        return chatErrorOf([] { AppleModels::complete(request, AppleModels::Kind::onDevice, {}); });
    };
    EXPECT_EQ(failWith(Kind::exceededContextWindowSize).text(),
              "the batch is too long for this model; use fewer strings per request");
    EXPECT_EQ(failWith(Kind::unsupportedLanguageOrLocale).text(), "this model does not support the language");
    const ChatError limited = failWith(Kind::rateLimited);
    EXPECT_EQ(limited.kind(), ChatError::Kind::rateLimited);
    EXPECT_EQ(limited.retryAfter(), 10);
    EXPECT_EQ(limited.text(), "Generation failed.");
    const ChatError other = failWith(Kind::other);
    EXPECT_EQ(other.kind(), ChatError::Kind::unavailable);
    EXPECT_EQ(other.text(), "Generation failed.");

    model->answer = []() -> std::string { throw ChatError::emptyResponse(); };
    EXPECT_EQ(chatErrorOf([] { AppleModels::complete(request, AppleModels::Kind::onDevice, {}); }).kind(),
              ChatError::Kind::emptyResponse);
    model->answer = []() -> std::string { throw std::out_of_range("elsewhere"); };
    EXPECT_THROW(AppleModels::complete(request, AppleModels::Kind::onDevice, {}), std::out_of_range);
    AppleModels::setPlatform({});
}

TEST_F(AppleModelsTest, ShortcutListIsCachedUntilForgotten) {
    writeTool("[ \"$1\" = list ] && echo x >> \"$DIR/list.count\"\nprintf '%s\\n' 'Other' '" + shortcut +
              "'");
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), std::nullopt);
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), std::nullopt);
    EXPECT_EQ(file("list.count"), "x\n");

    AppleModels::forgetShortcutCache();
    {
        std::vector<std::jthread> checks;
        for (int i = 0; i < 4; ++i)
            checks.emplace_back([] { EXPECT_FALSE(AppleModels::availability(AppleModels::Kind::chatGPT)); });
    }
    EXPECT_EQ(file("list.count"), "x\nx\n");
}

TEST_F(AppleModelsTest, ShortcutNamesAreComparedWhole) {
    writeTool("printf '%s\\n' '" + shortcut + "  ' 'askChatGPT'");
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), "needs the " + shortcut + " shortcut");
}

TEST_F(AppleModelsTest, LongShortcutListsAreReadWhole) {
    // Far more than a pipe holds: the tool only ends once its output has been read.
    writeTool("i=0\nwhile [ $i -lt 20000 ]; do echo \"Shortcut number $i\"; i=$((i+1)); done\necho '" +
              shortcut + "'");
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), std::nullopt);
}

TEST_F(AppleModelsTest, HungListingIsStoppedAndNotCached) {
    writeTool("echo $$ > \"$DIR/list.pid\"\nexec sleep 30");
    platform.listingTimeLimit = std::chrono::milliseconds(200);
    AppleModels::setPlatform(platform);
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), "needs the " + shortcut + " shortcut");
    const std::string pid = file("list.pid");
    ASSERT_FALSE(pid.empty());
    EXPECT_FALSE(isRunning(pid.substr(0, pid.size() - 1)));

    writeTool("printf '%s\\n' '" + shortcut + "'");
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), std::nullopt);
}

TEST_F(AppleModelsTest, MissingToolMeansNoShortcutAndALaunchError) {
    EXPECT_EQ(AppleModels::availability(AppleModels::Kind::chatGPT), "needs the " + shortcut + " shortcut");
    EXPECT_THROW(askChatGPT(request), std::system_error);
    EXPECT_TRUE(temporaryFolderIsEmpty());

    writeTool("exit 0");
    platform.temporaryFolder = folder / "absent";
    AppleModels::setPlatform(platform);
    EXPECT_THROW(askChatGPT(request), std::system_error);
}

TEST_F(AppleModelsTest, ChatGPTRequestRunsTheShortcutOnItsFiles) {
    writeTool("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$DIR/args\"\n"
              "cp \"$4\" \"$DIR/input.copy\"\nprintf '  Antwort\\n' > \"$6\"");
    EXPECT_EQ(askChatGPT(request), "  Antwort\n");
    EXPECT_EQ(file("input.copy"), "Sys A\n\nSys B\n\nUser 1\n\nUser 2");
    const std::string args = file("args");
    const std::string tmp = (folder / "tmp").string();
    EXPECT_TRUE(args.starts_with("run\n" + shortcut + "\n--input-path\n" + tmp + "/orvel-")) << args;
    EXPECT_TRUE(args.ends_with(".txt\n--output-type\npublic.text\n")) << args;
    EXPECT_NE(args.find("\n--output-path\n" + tmp + "/orvel-"), std::string::npos) << args;
    EXPECT_TRUE(temporaryFolderIsEmpty());

    ChatClient client;
    client.settings.endpoint = "apple:chatgpt";
    EXPECT_EQ(client.complete({ChatMessage::user("Only")}, false), "Antwort");
    EXPECT_EQ(file("input.copy"), "\n\nOnly");
}

TEST_F(AppleModelsTest, FailedOrEmptyShortcutRunsLeaveNoFiles) {
    writeTool("exit 1");
    const ChatError failed = chatErrorOf([&] { askChatGPT(request); });
    EXPECT_EQ(
        failed.errorDescription(),
        "The model is not available: the " + shortcut +
            " shortcut failed (exit code 1); check that the ChatGPT extension is on in System Settings > "
            "Apple Intelligence & Siri");
    EXPECT_TRUE(temporaryFolderIsEmpty());

    for (const std::string body : {"printf ' \\n\\t' > \"$6\"", "exit 0", "printf '\\377\\376' > \"$6\""}) {
        writeTool(body);
        EXPECT_EQ(chatErrorOf([&] { askChatGPT(request); }).kind(), ChatError::Kind::emptyResponse) << body;
        EXPECT_TRUE(temporaryFolderIsEmpty()) << body;
    }
}

TEST_F(AppleModelsTest, CancelledRequestStopsTheShortcutAndRemovesItsFiles) {
    writeTool("echo $$ > \"$DIR/run.pid\"\nsleep 30 &\necho $! > \"$DIR/sleep.pid\"\nwait");
    std::stop_source stop;
    auto call = std::async(std::launch::async, [&] { return askChatGPT(request, stop.get_token()); });
    ASSERT_TRUE(eventually([&] { return file("sleep.pid").ends_with("\n"); }));
    EXPECT_FALSE(temporaryFolderIsEmpty());
    stop.request_stop();
    EXPECT_THROW(call.get(), CancellationError);
    EXPECT_TRUE(temporaryFolderIsEmpty());
    const std::string shell = file("run.pid"), sleeper = file("sleep.pid");
    EXPECT_FALSE(isRunning(shell.substr(0, shell.size() - 1)));
    EXPECT_TRUE(eventually([&] { return !isRunning(sleeper.substr(0, sleeper.size() - 1)); }));
}
