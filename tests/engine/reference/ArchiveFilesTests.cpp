#include <gtest/gtest.h>

#include "ArchiveBuilder.h"
#include "engine/reference/ArchiveFiles.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/SourceError.h"

using namespace orvel;
using orvel::testing::ArchiveEntry;
using orvel::testing::buildArchive;
using orvel::testing::fileEntry;
using orvel::testing::folderEntry;
using orvel::testing::linkEntry;
using Files = std::map<std::string, std::string>;

namespace {

std::string unpackFailure(const std::string& archive, bool zip, const ArchiveFiles::Limits& limits = {}) {
    try {
        ArchiveFiles::files(archive, zip, {"po"}, limits);
    } catch (const SoftwareReference::SourceError& error) {
        EXPECT_EQ(error.kind(), SoftwareReference::SourceError::Kind::failed);
        return error.what();
    }
    ADD_FAILURE() << "the archive was unpacked";
    return {};
}

} // namespace

TEST(ArchiveFiles, ZipLosesItsTopFolderAndSkipsRootFiles) {
    const auto zip =
        buildArchive({folderEntry("top/"), fileEntry("top/po/de.po", "de"), fileEntry("top/main.po", "main"),
                      fileEntry("root.po", "root"), fileEntry("top/notes.txt", "skip")},
                     true);
    EXPECT_EQ(Downloader::files(zip, true, {"po"}), (Files{{"po/de.po", "de"}, {"main.po", "main"}}));
}

TEST(ArchiveFiles, TarKeepsEveryComponentAndCleansDotsAndDoubleSlashes) {
    const auto tar = buildArchive({fileEntry("./values/strings.xml", "a"), fileEntry("strings.xml", "b"),
                                   fileEntry("res//values/./x.xml", "c"), fileEntry("values/other.txt", "d")},
                                  false);
    EXPECT_EQ(Downloader::files(tar, false, {"xml"}),
              (Files{{"values/strings.xml", "a"}, {"strings.xml", "b"}, {"res/values/x.xml", "c"}}));
}

TEST(ArchiveFiles, ExtensionsMatchExactlyAndALaterFileWins) {
    const auto tar = buildArchive({fileEntry("a/x.po", "first"), fileEntry("a/X.PO", "upper"),
                                   fileEntry("a/po", "bare"), fileEntry("a/.po", "hidden"),
                                   fileEntry("a/x.po.bak", "backup"), fileEntry("a/x.po", "second")},
                                  false);
    EXPECT_EQ(Downloader::files(tar, false, {"po"}), (Files{{"a/x.po", "second"}}));
    EXPECT_EQ(Downloader::files(tar, false, {"PO", "bak"}),
              (Files{{"a/X.PO", "upper"}, {"a/x.po.bak", "backup"}}));
    EXPECT_TRUE(Downloader::files(tar, false, {}).empty());
}

TEST(ArchiveFiles, HostileEntriesAreLeftOutAndTheRestKept) {
    for (const bool zip : {false, true}) {
        std::vector<ArchiveEntry> entries{
            fileEntry("/etc/passwd.po", "absolute"),           fileEntry("top/../../escape.po", "climb"),
            fileEntry("top/sub/../inside.po", "climb inside"), fileEntry("../top/x.po", "climb first"),
            linkEntry("top/link.po", "/etc/passwd", false),    fileEntry("top/good.po", "good"),
        };
        if (!zip)
            entries.push_back(linkEntry("top/hard.po", "top/good.po", true));
        EXPECT_EQ(ArchiveFiles::files(buildArchive(entries, zip), zip, {"po"}),
                  (Files{{zip ? "good.po" : "top/good.po", "good"}}))
            << (zip ? "zip" : "tar");
    }
}

TEST(ArchiveFiles, CapsOnEntriesAndSizesEndTheUnpacking) {
    const auto tar = buildArchive({fileEntry("a/1.txt", "skipped but counted"), fileEntry("a/2.po", "12345"),
                                   fileEntry("a/3.po", "67890")},
                                  false);
    EXPECT_EQ(unpackFailure(tar, false, {.entries = 2}), "could not unpack an archive (more than 2 entries)");
    EXPECT_EQ(unpackFailure(tar, false, {.fileBytes = 4}),
              "could not unpack an archive (a file larger than 4 bytes)");
    EXPECT_EQ(unpackFailure(tar, false, {.totalBytes = 9}),
              "could not unpack an archive (more than 9 bytes of files)");
    EXPECT_EQ(
        ArchiveFiles::files(tar, false, {"po"}, {.entries = 3, .fileBytes = 5, .totalBytes = 10}).size(), 2u);
}

TEST(ArchiveFiles, BrokenOrMismatchedArchivesFailClearly) {
    const auto zip = buildArchive({fileEntry("top/a.po", "a")}, true);
    const auto tar = buildArchive({fileEntry("a.po", "a")}, false);
    for (const auto& [bytes, asZip] :
         {std::pair{zip, false}, std::pair{tar, true}, std::pair{std::string("not an archive"), true},
          std::pair{std::string("not an archive"), false}, std::pair{tar.substr(0, tar.size() / 2), false}})
        EXPECT_TRUE(unpackFailure(bytes, asZip).starts_with("could not unpack an archive ("));
}

TEST(ArchiveFiles, NamesOutsideAsciiAreReadAsUtf8WhateverTheLocale) {
    // The test program runs in the C locale, where such names used to vanish.
    for (const bool zip : {true, false}) {
        SCOPED_TRACE(zip ? "zip" : "tar");
        const auto archive = buildArchive({folderEntry("top/"), fileEntry("top/Grüße/de.po", "de"),
                                           fileEntry("top/日本語.po", "ja"), fileEntry("top/plain.po", "en")},
                                          zip);
        const std::string prefix = zip ? "" : "top/";
        EXPECT_EQ(Downloader::files(archive, zip, {"po"}), (Files{{prefix + "Grüße/de.po", "de"},
                                                                  {prefix + "日本語.po", "ja"},
                                                                  {prefix + "plain.po", "en"}}));
    }
}
