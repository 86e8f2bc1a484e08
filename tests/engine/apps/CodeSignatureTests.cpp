#include <gtest/gtest.h>

#include "engine/apps/CodeSignature.h"
#include "engine/apps/LinuxAppPlatform.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/SyntheticMachO.h"
#include "tests/support/BinaryPlistBuilder.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

using testing::entitlementsPlist;
using testing::signatureSuperBlob;
using testing::thinImage;

const std::string sandboxOn = entitlementsPlist("<true/>");

TEST(CodeSignature, ReadsEntitlementsOfThinAndUniversalBinaries) {
    testing::ScratchFolder scratch;
    const auto thin = scratch.write("thin", thinImage(signatureSuperBlob(sandboxOn)));
    auto entitlements = CodeSignature::entitlements(thin);
    ASSERT_TRUE(entitlements);
    EXPECT_EQ(entitlements->at("com.apple.security.app-sandbox"), true);

    const auto universal = scratch.write(
        "universal", testing::universalBinary({thinImage(""), thinImage(signatureSuperBlob(sandboxOn))}));
    entitlements = CodeSignature::entitlements(universal);
    ASSERT_TRUE(entitlements);
    EXPECT_EQ(entitlements->at("com.apple.security.app-sandbox"), true);
}

TEST(CodeSignature, NothingWithoutSignatureOrEntitlements) {
    testing::ScratchFolder scratch;
    EXPECT_FALSE(CodeSignature::entitlements(scratch.write("unsigned", thinImage(""))));
    EXPECT_FALSE(
        CodeSignature::entitlements(scratch.write("no-entitlements", thinImage(signatureSuperBlob("")))));
    EXPECT_FALSE(CodeSignature::entitlements(scratch.write("script", "#!/bin/sh\necho hello\n")));
    EXPECT_FALSE(CodeSignature::entitlements(scratch.write("empty", "")));
    EXPECT_FALSE(CodeSignature::entitlements(scratch.path() / "missing"));
    EXPECT_FALSE(CodeSignature::entitlements(scratch.path()));
}

// Entitlements are read on every scan: a tiny list whose arrays share their children must not expand
// to hundreds of thousands of nodes, which real entitlements never hold.
TEST(CodeSignature, EntitlementsThatExpandFarBeyondRealOnesAreNotRead) {
    const auto sharing = [](int levels) {
        testing::BinaryPlistBuilder b;
        auto below = b.ascii("x");
        for (int i = 0; i < levels; ++i)
            below = b.array({below, below});
        return b.bytes(
            b.dict({b.ascii("com.apple.security.app-sandbox"), b.ascii("shared")}, {b.boolean(true), below}));
    };
    struct Row {
        const char* name;
        int levels;
        bool read;
    };
    const std::vector<Row> rows = {
        {"a few thousand nodes", 11, true},
        {"over a hundred thousand nodes", 17, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::ScratchFolder scratch;
        const auto binary = scratch.write("thin", thinImage(signatureSuperBlob(sharing(row.levels))));
        const auto entitlements = CodeSignature::entitlements(binary);
        EXPECT_EQ(entitlements.has_value(), row.read);
        if (entitlements) {
            EXPECT_EQ(entitlements->at("com.apple.security.app-sandbox"), true);
        }
    }
}

// Every prefix of a signed binary and every corrupted length field must give nothing, never a crash or a
// read past the end (the sanitizer build checks the latter).
TEST(CodeSignature, SurvivesTruncatedAndCorruptedBinaries) {
    testing::ScratchFolder scratch;
    const std::string image = thinImage(signatureSuperBlob(sandboxOn));
    for (std::size_t length = 0; length < image.size(); ++length)
        EXPECT_FALSE(CodeSignature::entitlements(scratch.write("cut", image.substr(0, length)))) << length;

    const std::size_t signatureStart = image.find("\xfa\xde\x0c\xc0");
    ASSERT_NE(signatureStart, std::string::npos);
    // Commands size, the signature command's size, offset and length, the blob count, the entitlements
    // blob's offset and its length.
    for (std::size_t offset : {std::size_t{20}, std::size_t{60}, std::size_t{64}, std::size_t{68},
                               signatureStart + 8, signatureStart + 24, signatureStart + 40}) {
        std::string corrupted = image;
        corrupted.replace(offset, 4, "\xff\xff\xff\x7f");
        EXPECT_FALSE(CodeSignature::entitlements(scratch.write("corrupt", corrupted))) << offset;
    }

    std::string hugeFat;
    testing::appendBigEndian(hugeFat, 0xcafebabe);
    testing::appendBigEndian(hugeFat, 0x7fffffff);
    EXPECT_FALSE(CodeSignature::entitlements(scratch.write("fat", hugeFat)));
}

TEST(CodeSignature, SandboxFlagOfABundle) {
    testing::ScratchFolder scratch;
    const LinuxAppPlatform platform;
    const auto bundleWith = [&](const std::string& name, const std::string& executable,
                                const std::string& binary) {
        const auto bundle = testing::makeBundle(scratch, name, {{"CFBundleExecutable", executable}});
        scratch.write(std::filesystem::path(name) / "Contents" / "MacOS" / "Tool", binary);
        return bundle;
    };
    EXPECT_TRUE(
        platform.isSandboxed(bundleWith("Boxed.app", "Tool", thinImage(signatureSuperBlob(sandboxOn)))));
    EXPECT_FALSE(platform.isSandboxed(
        bundleWith("Open.app", "Tool", thinImage(signatureSuperBlob(entitlementsPlist("<false/>"))))));
    EXPECT_FALSE(platform.isSandboxed(bundleWith(
        "Text.app", "Tool", thinImage(signatureSuperBlob(entitlementsPlist("<string>true</string>"))))));
    EXPECT_FALSE(platform.isSandboxed(
        bundleWith("Other.app", "Tool",
                   thinImage(signatureSuperBlob(
                       "<plist version=\"1.0\"><dict><key>com.apple.security.network.client</key>"
                       "<true/></dict></plist>")))));
    EXPECT_FALSE(platform.isSandboxed(bundleWith("Unsigned.app", "Tool", thinImage(""))));
    EXPECT_FALSE(platform.isSandboxed(
        bundleWith("Escape.app", "../MacOS/Tool", thinImage(signatureSuperBlob(sandboxOn)))));
    EXPECT_FALSE(platform.isSandboxed(scratch.path() / "Missing.app"));
}

} // namespace
} // namespace orvel
