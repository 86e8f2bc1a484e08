#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/FileIO.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;
using orvel::testing::ScratchFolder;
namespace fs = std::filesystem;

namespace {

// What sits at the path being read; each kind is made fresh in a scratch folder.
enum class Kind { regular, missing, folder, fifo, linkToRegular, linkToDevice, danglingLink };

fs::path make(const ScratchFolder& scratch, Kind kind) {
    const fs::path path = scratch / "target";
    switch (kind) {
    case Kind::regular:
        scratch.write("target", "bytes");
        break;
    case Kind::missing:
        break;
    case Kind::folder:
        fs::create_directory(path);
        break;
    case Kind::fifo:
        if (::mkfifo(path.c_str(), 0600) != 0)
            throw std::runtime_error("mkfifo failed");
        break;
    case Kind::linkToRegular:
        fs::create_symlink(scratch.write("elsewhere", "bytes"), path);
        break;
    case Kind::linkToDevice:
        fs::create_symlink("/dev/zero", path);
        break;
    case Kind::danglingLink:
        fs::create_symlink(scratch / "nothing", path);
        break;
    }
    return path;
}

// readPadded's bytes, checked to be followed by its zeros; nothing when it throws.
std::optional<std::string> paddedRead(const fs::path& path, FileIO::Links links = FileIO::Links::follow,
                                      std::uint64_t cap = FileIO::defaultMaximumSize) {
    constexpr std::size_t padding = 64;
    try {
        const FileIO::PaddedBytes bytes = FileIO::readPadded(path, padding, links, cap);
        EXPECT_EQ(bytes.padding(), padding);
        EXPECT_EQ(std::string(bytes.text().data() + bytes.text().size(), padding),
                  std::string(padding, '\0'));
        return std::string(bytes.text());
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

} // namespace

// A read that blocked on a FIFO or filled memory from a device would hang or kill the test itself.
TEST(FileIO, ReadsOnlyRegularFilesAndFollowsLinksOnlyWhenAllowed) {
    struct Case {
        std::string name;
        Kind kind;
        FileIO::Links links;
        std::optional<std::string> expected;
        std::errc error = {};
    };
    const std::vector<Case> cases{
        {"regular file", Kind::regular, FileIO::Links::refuse, "bytes"},
        {"missing file", Kind::missing, FileIO::Links::follow, std::nullopt,
         std::errc::no_such_file_or_directory},
        {"folder", Kind::folder, FileIO::Links::follow, std::nullopt, std::errc::is_a_directory},
        {"FIFO without a writer", Kind::fifo, FileIO::Links::follow, std::nullopt,
         std::errc::invalid_argument},
        {"link followed", Kind::linkToRegular, FileIO::Links::follow, "bytes"},
        {"link refused", Kind::linkToRegular, FileIO::Links::refuse, std::nullopt,
         std::errc::too_many_symbolic_link_levels},
        {"link to a device followed", Kind::linkToDevice, FileIO::Links::follow, std::nullopt,
         std::errc::invalid_argument},
        {"dangling link refused", Kind::danglingLink, FileIO::Links::refuse, std::nullopt,
         std::errc::too_many_symbolic_link_levels},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const fs::path path = make(scratch, c.kind);
        EXPECT_EQ(FileIO::readIfPresent(path, c.links), c.expected);
        EXPECT_EQ(paddedRead(path, c.links), c.expected);
        if (c.expected)
            continue;
        try {
            FileIO::read(path, c.links);
            ADD_FAILURE() << "no error";
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), std::make_error_code(c.error));
            EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
        }
    }
}

TEST(FileIO, RefusesFilesOverTheSizeCap) {
    struct Case {
        std::size_t size;
        std::uint64_t cap;
        bool read;
    };
    const std::vector<Case> cases{
        {0, 0, true}, {10, 10, true}, {11, 10, false}, {5000, 4999, false}, {5000, 5000, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes, cap " + std::to_string(c.cap));
        ScratchFolder scratch;
        const auto path = scratch.write("file", std::string(c.size, 'x'));
        const auto bytes = FileIO::readIfPresent(path, FileIO::Links::follow, c.cap);
        EXPECT_EQ(bytes.has_value(), c.read);
        if (bytes) {
            EXPECT_EQ(bytes->size(), c.size);
        }
        EXPECT_EQ(paddedRead(path, FileIO::Links::follow, c.cap), bytes);
    }
}

// Files whose reported size is zero (as under /proc) are still read to their end.
TEST(FileIO, ReadsFilesThatReportNoSize) {
    const auto bytes = FileIO::readIfPresent("/proc/self/stat");
    ASSERT_TRUE(bytes);
    EXPECT_FALSE(bytes->empty());
    const auto padded = paddedRead("/proc/self/stat");
    ASSERT_TRUE(padded);
    EXPECT_FALSE(padded->empty());
}

TEST(FileIO, RegularFileReadsOnlyRangesInsideTheFile) {
    ScratchFolder scratch;
    const FileIO::RegularFile file(scratch.write("file", "0123456789"));
    struct Case {
        std::uint64_t offset;
        std::uint64_t length;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{{0, 10, "0123456789"}, {3, 2, "34"},
                                  {10, 0, ""},           {9, 2, std::nullopt},
                                  {11, 0, std::nullopt}, {2, UINT64_MAX, std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + "+" + std::to_string(c.length));
        EXPECT_EQ(file.read(c.offset, c.length), c.expected);
    }
    EXPECT_EQ(file.size(), 10u);
    EXPECT_THROW(FileIO::RegularFile(scratch.path()), std::system_error);
}
