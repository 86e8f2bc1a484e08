#include <gtest/gtest.h>

#include <cstdlib>
#include <unordered_set>

#include <plist/plist.h>

#include "core/OrvelPaths.h"
#include "engine/apps/TranslatableApp.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/support/BinaryPlistBuilder.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::makeBundle;
using testing::minimalCatalog;

class TranslatableAppTest : public ::testing::Test {
  protected:
    std::optional<TranslatableApp> open(const fs::path& bundle) {
        return TranslatableApp::open(bundle, platform);
    }

    testing::ScratchFolder scratch;
    testing::FakeAppPlatform platform;
    const std::map<std::string, std::string> identified{{"CFBundleIdentifier", "com.example.Notes"}};
};

TEST_F(TranslatableAppTest, NeedsACatalogInTheManifestFolder) {
    EXPECT_FALSE(open(makeBundle(scratch, "Manifest.app", identified,
                                 {{"app.json", "{}"}, {"context.md", "A notes app."}})));
    EXPECT_FALSE(open(makeBundle(scratch, "Capitals.app", identified, {{"Main.XCSTRINGS", minimalCatalog}})));
    EXPECT_FALSE(open(makeBundle(scratch, "NoIdentifier.app", {{"CFBundleName", "Notes"}})));
    EXPECT_FALSE(open(scratch.path() / "Missing.app"));
    EXPECT_FALSE(open(scratch.write("File.app", "not a folder")));

    // Catalogs elsewhere in the bundle do not count.
    const auto elsewhere = makeBundle(scratch, "Elsewhere.app", identified, {});
    scratch.write("Elsewhere.app/Contents/Resources/Localizable.xcstrings", minimalCatalog);
    EXPECT_FALSE(open(elsewhere));

    auto app = open(makeBundle(scratch, "Notes.app", identified, {{"Main.xcstrings", "not even JSON"}}));
    ASSERT_TRUE(app);
    EXPECT_EQ(app->bundleIdentifier, "com.example.Notes");
    EXPECT_EQ(app->id(), "com.example.Notes");
}

TEST_F(TranslatableAppTest, RefusesIdentifiersThatLeaveTheDataFolder) {
    for (const char* identifier : {"", ".", "..", "com/example", "../../etc"}) {
        const auto bundle = makeBundle(scratch, "Bad.app", {{"CFBundleIdentifier", identifier}});
        EXPECT_FALSE(open(bundle)) << identifier;
        fs::remove_all(bundle);
    }
}

TEST_F(TranslatableAppTest, CatalogOrderAndSourceLanguage) {
    const auto bundle =
        makeBundle(scratch, "Notes.app", identified,
                   {{"b.xcstrings", R"({"sourceLanguage": "de", "strings": {}})"},
                    {"a.xcstrings", "{"},
                    {"Z.xcstrings", R"({"sourceLanguage": "fr", "strings": {}, "version": 1})"}});
    auto app = open(bundle);
    ASSERT_TRUE(app);
    const fs::path folder = bundle / "Contents/Resources/Orvel";
    EXPECT_EQ(app->catalogURLs, (std::vector<fs::path>{folder / "Z.xcstrings", folder / "a.xcstrings",
                                                       folder / "b.xcstrings"}));
    EXPECT_EQ(app->sourceLanguage, "de");

    auto withRegion = identified;
    withRegion["CFBundleDevelopmentRegion"] = "it";
    app =
        open(makeBundle(scratch, "Region.app", withRegion, {{"a.xcstrings", R"({"sourceLanguage": "de"})"}}));
    ASSERT_TRUE(app);
    EXPECT_EQ(app->sourceLanguage, "it");

    app = open(makeBundle(scratch, "Plain.app", identified, {{"a.xcstrings", "[]"}}));
    ASSERT_TRUE(app);
    EXPECT_EQ(app->sourceLanguage, "en");
}

TEST_F(TranslatableAppTest, NamePrecedence) {
    auto info = identified;
    info["CFBundleName"] = "Notes";
    info["CFBundleDisplayName"] = "Notes Pro";
    EXPECT_EQ(open(makeBundle(scratch, "A.app", info))->name, "Notes Pro");
    info.erase("CFBundleDisplayName");
    EXPECT_EQ(open(makeBundle(scratch, "B.app", info))->name, "Notes");
    EXPECT_EQ(open(makeBundle(scratch, "Foo Bar.app", identified))->name, "Foo Bar");
    EXPECT_EQ(open(scratch.path() / "Foo Bar.app/")->name, "Foo Bar");
}

TEST_F(TranslatableAppTest, Versions) {
    const auto versionOf = [&](const std::map<std::string, std::string>& versions) {
        auto info = identified;
        info.insert(versions.begin(), versions.end());
        const auto bundle = makeBundle(scratch, "Versioned.app", info);
        auto app = open(bundle);
        fs::remove_all(bundle);
        return app ? app->version : std::optional<std::string>("not translatable");
    };
    EXPECT_EQ(versionOf({{"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "1.2"}}), "1.2");
    EXPECT_EQ(versionOf({{"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "57"}}), "1.2 (57)");
    EXPECT_EQ(versionOf({{"CFBundleVersion", "57"}}), "57");
    EXPECT_EQ(versionOf({{"CFBundleShortVersionString", "1.2"}}), "1.2");
    EXPECT_EQ(versionOf({}), std::nullopt);
}

TEST_F(TranslatableAppTest, ReadsABinaryInfoPlist) {
    const std::string xml =
        testing::stringDictionaryPlist({{"CFBundleIdentifier", "a.b"}, {"CFBundleShortVersionString", "2"}});
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    ASSERT_TRUE(root);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    plist_free(root);
    ASSERT_TRUE(bytes);
    const std::string binary(bytes, length);
    std::free(bytes);
    ASSERT_TRUE(binary.starts_with("bplist00"));
    scratch.write("Binary.app/Contents/Info.plist", binary);
    scratch.write("Binary.app/Contents/Resources/Orvel/Main.xcstrings", minimalCatalog);
    auto app = open(scratch.path() / "Binary.app");
    ASSERT_TRUE(app);
    EXPECT_EQ(app->bundleIdentifier, "a.b");
    EXPECT_EQ(app->version, "2");
}

// A value the bundle does not use may be far too deep or large to expand; the identifier beside it is
// still read. Where it cannot be read safely, or the file is broken, the app is not translatable.
TEST_F(TranslatableAppTest, InfoPlistOverTheLimitsStillGivesItsTopLevelStrings) {
    std::string deepXml;
    for (int i = 0; i < 100000; ++i)
        deepXml += "<array>";
    for (int i = 0; i < 100000; ++i)
        deepXml += "</array>";
    const std::string xmlPrefix = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                                  "<key>CFBundleIdentifier</key><string>a.deep</string>"
                                  "<key>CFBundleName</key><string>Deep</string><key>Unrelated</key>";

    testing::BinaryPlistBuilder bomb;
    auto shared = bomb.ascii("x");
    for (int i = 0; i < 40; ++i)
        shared = bomb.array({shared, shared});
    const auto binaryBomb = bomb.bytes(bomb.dict({bomb.ascii("CFBundleIdentifier"), bomb.ascii("Unrelated")},
                                                 {bomb.ascii("a.shared"), shared}));
    const auto rootBomb = bomb.bytes(shared);

    struct Case {
        std::string name;
        std::string info;
        std::optional<std::string> identifier;
        std::optional<std::string> name_;
    };
    const std::vector<Case> cases{
        {"deep XML value", xmlPrefix + deepXml + "</dict></plist>", "a.deep", "Deep"},
        {"shared binary children", binaryBomb, "a.shared", "Bomb"},
        {"root over the limits", rootBomb, std::nullopt, std::nullopt},
        {"broken XML", xmlPrefix + "<array></dict></plist>", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch.write("Bomb.app/Contents/Info.plist", c.info);
        scratch.write("Bomb.app/Contents/Resources/Orvel/Main.xcstrings", minimalCatalog);
        const auto app = open(scratch.path() / "Bomb.app");
        EXPECT_EQ(app.has_value(), c.identifier.has_value());
        if (app) {
            EXPECT_EQ(app->bundleIdentifier, c.identifier);
            EXPECT_EQ(app->name, c.name_);
        }
    }
}

TEST_F(TranslatableAppTest, ManifestAndContextFallBackToNothing) {
    auto app =
        open(makeBundle(scratch, "Full.app", identified,
                        {{"Main.xcstrings", minimalCatalog},
                         {"app.json", R"({"description": "Takes notes", "glossary": [{"term": "Vault"}]})"},
                         {"context.md", "Used by \xc3\xa9quipes."}}));
    ASSERT_TRUE(app);
    ASSERT_TRUE(app->manifest);
    EXPECT_EQ(app->manifest->description, "Takes notes");
    EXPECT_EQ(app->manifest->glossary->at(0).term, "Vault");
    EXPECT_EQ(app->contextText, "Used by \xc3\xa9quipes.");

    app = open(makeBundle(scratch, "Broken.app", identified,
                          {{"Main.xcstrings", minimalCatalog},
                           {"app.json", R"({"glossary": [{"note": "no term"}]})"},
                           {"context.md", "\xff\xfe not UTF-8"}}));
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->manifest);
    EXPECT_FALSE(app->contextText);
}

TEST_F(TranslatableAppTest, DataFolderOverlaysIconAndIdentity) {
    OrvelPaths::setHomeOverride(scratch.path() / "home");
    const auto bundle = makeBundle(scratch, "Notes.app", identified);
    platform.sandboxedBundles.insert(bundle);
    auto app = open(bundle);
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->sandboxed);
    const fs::path data = scratch.path() / "home/Library/Containers/com.example.Notes/Data/Library/"
                                           "Application Support/Orvel/com.example.Notes";
    EXPECT_EQ(app->dataFolder(), data);
    EXPECT_EQ(app->projectFolder(), data / ".translator");
    scratch.write(data.lexically_relative(scratch.path()) / "de.lproj/Localizable.strings", "");
    scratch.write(data.lexically_relative(scratch.path()) / "fr.lproj/language.json", "{}");
    EXPECT_EQ(app->overlayLanguages(), std::vector<std::string>{"de"});
    OrvelPaths::setHomeOverride(std::nullopt);

    EXPECT_FALSE(app->icon());
    auto info = identified;
    info["CFBundleIconFile"] = "AppIcon";
    makeBundle(scratch, "Notes.app", info);
    scratch.write("Notes.app/Contents/Resources/AppIcon.icns", "icns");
    EXPECT_EQ(app->icon(), bundle / "Contents/Resources/AppIcon.icns");

    auto again = open(scratch.path() / "." / "Notes.app");
    ASSERT_TRUE(again);
    again->name = "Renamed";
    EXPECT_EQ(*again, *app);
    EXPECT_EQ(std::unordered_set<TranslatableApp>({*app, *again}).size(), 1u);
}

} // namespace
} // namespace orvel
