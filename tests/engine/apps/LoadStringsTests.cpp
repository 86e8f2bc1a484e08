#include <gtest/gtest.h>

#include "engine/apps/TranslatableApp.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

std::string catalogOf(const std::vector<std::string>& keys) {
    std::string json = R"({"sourceLanguage": "en", "strings": {)";
    for (std::size_t i = 0; i < keys.size(); ++i)
        json += (i ? "," : "") + ("\"" + keys[i] + "\": {}");
    return json + "}}";
}

std::vector<std::string> idsOf(const std::vector<SourceString>& strings) {
    std::vector<std::string> ids;
    for (const auto& string : strings)
        ids.push_back(string.table + "/" + string.key + (string.discovered ? " (seen)" : ""));
    return ids;
}

class LoadStringsTest : public ::testing::Test {
  protected:
    TranslatableApp app(const std::map<std::string, std::string>& catalogs,
                        const std::string& name = "Notes.app") {
        const auto bundle =
            testing::makeBundle(scratch, name, {{"CFBundleIdentifier", "com.example.Notes"}}, catalogs);
        auto app = TranslatableApp::open(bundle, platform);
        if (!app)
            throw std::runtime_error("the test bundle is not translatable");
        return *app;
    }

    testing::ScratchFolder scratch;
    testing::FakeAppPlatform platform;
};

TEST_F(LoadStringsTest, CatalogsInOrderSkippingInfoPlistAndBrokenOnes) {
    const auto notes = app({{"Main.xcstrings", catalogOf({"Save", "Open", "File 10", "File 9"})},
                            {"InfoPlist.xcstrings", catalogOf({"CFBundleName"})},
                            {"Broken.xcstrings", "{"},
                            {"Alerts.xcstrings", catalogOf({"Quit"})}});
    EXPECT_EQ(
        idsOf(notes.loadStrings({})),
        (std::vector<std::string>{"Alerts/Quit", "Main/File 9", "Main/File 10", "Main/Open", "Main/Save"}));

    const auto infoOnly = app({{"InfoPlist.xcstrings", catalogOf({"CFBundleName"})}}, "Info.app");
    EXPECT_TRUE(infoOnly.loadStrings({}).empty());
}

TEST_F(LoadStringsTest, DiscoveredStringsFromTheSeenList) {
    auto notes = app({{"Main.xcstrings", catalogOf({"Save"})}});
    scratch.write("Notes.app/Contents/Resources/toolbar-icon@2x.png", "png");
    scratch.write("Notes.app/Contents/Resources/de.lproj/Banner.PDF", "pdf");
    scratch.write("Notes.app/Contents/Resources/Trash Can.png", "png");

    const auto strings = notes.loadStrings({{"Main", "Save"},
                                            {"Main", "Export…"},
                                            {"Main", "Export…"},
                                            {"Main"},
                                            {"Main", "Print", "extra"},
                                            {"InfoPlist", "CFBundleName"},
                                            {"Main", "toolbar-icon"},
                                            {"Main", "Banner"},
                                            {"Main", "Trash Can"},
                                            {"Other", "Save"}});
    EXPECT_EQ(idsOf(strings), (std::vector<std::string>{"Main/Save", "Main/Export… (seen)",
                                                        "Main/Trash Can (seen)", "Other/Save (seen)"}));
    const SourceString& discovered = strings[1];
    EXPECT_EQ(discovered.text, "Export…");
    EXPECT_TRUE(discovered.translate);
    EXPECT_FALSE(discovered.plural);
    EXPECT_FALSE(discovered.comment);
    EXPECT_FALSE(strings[0].discovered);
}

// The target platform's file system finds "Logo.PNG" under the name "logo": so does the image test.
TEST_F(LoadStringsTest, ImageNamesMatchWithoutRegardToCase) {
    struct Case {
        std::string file;
        std::string key;
        bool isImage;
    };
    const std::vector<Case> cases{
        {"Logo.PNG", "logo", true},
        {"logo.png", "LOGO", true},
        {"Icon@2X.png", "ICON", true},
        {"logo.png", "Logo.png", true},
        {"\u00C9cran.png", "\u00E9CRAN", true},
        {"logo.png", "logos", false},
    };
    auto notes = app({{"Main.xcstrings", catalogOf({})}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + " / " + c.key);
        const auto image = scratch.write("Notes.app/Contents/Resources/" + c.file, "image");
        EXPECT_EQ(notes.loadStrings({{"Main", c.key}}).empty(), c.isImage);
        fs::remove(image);
    }
}

TEST_F(LoadStringsTest, ASeenKeyInTheOtherUnicodeFormIsTheCatalogsString) {
    const std::string decomposed = "Cafe\xCC\x81", precomposed = "Caf\xC3\xA9";
    const auto menu = app({{"Main.xcstrings", catalogOf({decomposed})}});
    EXPECT_EQ(idsOf(menu.loadStrings({{"Main", precomposed}, {"Main", decomposed}})),
              std::vector<std::string>{"Main/" + decomposed});
}

TEST_F(LoadStringsTest, KeepsDiscoveredStringsWhenTheBundleIsGone) {
    auto notes = app({{"Main.xcstrings", catalogOf({"Save"})}});
    scratch.write("Notes.app/Contents/Resources/logo.png", "png");
    notes.catalogURLs.clear();
    fs::remove_all(notes.bundleURL);
    EXPECT_EQ(idsOf(notes.loadStrings({{"Main", "logo"}})), std::vector<std::string>{"Main/logo (seen)"});
}

} // namespace
} // namespace orvel
