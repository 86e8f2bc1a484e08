#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "engine/capture/StateFilePoll.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

TEST(StateFilePollTests, TheFileIsDecodedAgainOnlyOnceItChanged) {
    struct Case {
        std::string name;
        std::function<void(const fs::path&)> change;
        bool decodedAgain;
        std::optional<std::string> state;
    };
    const std::vector<Case> cases{
        {"nothing changed", [](const fs::path&) {}, false, "first"},
        {"other bytes of the same size at the same time",
         [](const fs::path& file) {
             const auto time = fs::last_write_time(file);
             write(file, "FIRST");
             fs::last_write_time(file, time);
         },
         false, "first"},
        {"the same bytes at a later time",
         [](const fs::path& file) {
             const auto time = fs::last_write_time(file);
             write(file, "first");
             fs::last_write_time(file, time + std::chrono::seconds(1));
         },
         true, "first"},
        {"bytes of another size at the same time",
         [](const fs::path& file) {
             const auto time = fs::last_write_time(file);
             write(file, "second");
             fs::last_write_time(file, time);
         },
         true, "second"},
        {"replaced by a file of the same size and time",
         [](const fs::path& file) {
             const auto time = fs::last_write_time(file);
             const fs::path next = file.string() + ".next";
             write(next, "other");
             fs::last_write_time(next, time);
             fs::rename(next, file);
         },
         true, "other"},
        {"removed", [](const fs::path& file) { fs::remove(file); }, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder scratch;
        const fs::path file = scratch / "state.json";
        write(file, "first");
        int decoded = 0;
        StateFilePoll poll(file, [&]() -> std::optional<AppState> {
            ++decoded;
            std::ifstream in(file, std::ios::binary);
            if (!in)
                return std::nullopt;
            AppState state;
            state.language = std::string(std::istreambuf_iterator<char>(in), {});
            return state;
        });
        ASSERT_EQ(poll.read()->language, "first");
        c.change(file);
        const std::optional<AppState> state = poll.read();
        EXPECT_EQ(decoded, c.decodedAgain ? 2 : 1);
        EXPECT_EQ(state ? state->language : std::nullopt, c.state);
    }
}

TEST(StateFilePollTests, AFileThatAppearsIsDecoded) {
    testing::ScratchFolder scratch;
    const fs::path file = scratch / "state.json";
    int decoded = 0;
    StateFilePoll poll(file, [&]() -> std::optional<AppState> {
        ++decoded;
        if (!fs::exists(file))
            return std::nullopt;
        return AppState{};
    });
    EXPECT_FALSE(poll.read());
    EXPECT_FALSE(poll.read());
    write(file, "{}");
    EXPECT_TRUE(poll.read());
    EXPECT_TRUE(poll.read());
    EXPECT_EQ(decoded, 3);
}

} // namespace
} // namespace orvel
