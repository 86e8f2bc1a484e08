#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/reference/AppleReference.h"
#include "tests/engine/reference/FakeSystemFolder.h"

using namespace orvel;
using orvel::testing::FakeSystemFolder;
using Entries = std::vector<AppleReference::Entry>;
using json::Json;

namespace {

constexpr const char* appStrings = "System/Applications/Notes.app/Contents/Resources/Localizable.loctable";

Entries entriesOf(const AppleReference::Table& table, const std::string& folded) {
    const auto found = table.find(folded);
    return found == table.end() ? Entries{} : found->second;
}

} // namespace

TEST(AppleReferenceLanguage, NamesLanguagesAsTheSystemFilesDo) {
    for (const char* english : {"en", "EN", "en-US", "en_us"})
        EXPECT_FALSE(AppleReference::normalizedLanguage(english)) << english;
    EXPECT_EQ(AppleReference::normalizedLanguage("en-GB"), "en_GB");
    EXPECT_EQ(AppleReference::normalizedLanguage("PT"), "pt_BR");
    EXPECT_EQ(AppleReference::normalizedLanguage("zh"), "zh_CN");
    EXPECT_EQ(AppleReference::normalizedLanguage("zh-Hans"), "zh_CN");
    EXPECT_EQ(AppleReference::normalizedLanguage("zh-hant"), "zh_TW");
    EXPECT_EQ(AppleReference::normalizedLanguage("nn"), "no");
    EXPECT_EQ(AppleReference::normalizedLanguage("nb"), "no");
    EXPECT_EQ(AppleReference::normalizedLanguage("pt-PT"), "pt_PT");
    EXPECT_EQ(AppleReference::normalizedLanguage("de"), "de");
}

TEST(AppleReferenceFolding, FoldsPunctuationSpacingAndBritishSpelling) {
    for (const char* save : {"Save…", "Save...", "Save:", "  Save.\n", "SAVE"})
        EXPECT_EQ(AppleReference::americanized(save), "save") << save;
    EXPECT_EQ(AppleReference::americanized(" Colour Picker "), "color picker");
    EXPECT_EQ(AppleReference::americanized("Organisation"), "organization");
    EXPECT_EQ(AppleReference::americanized("Favourite Grey Centre"), "favorite gray center");
    EXPECT_EQ(AppleReference::americanized("Licence behaviour"), "license behavior");
    EXPECT_EQ(AppleReference::americanized("Raise"), "raize") << "every text folds alike, words or not";
    EXPECT_EQ(AppleReference::americanized("Is"), "is") << "no letter before the ending";
    EXPECT_EQ(AppleReference::americanized("Save\t:"), "save") << "spaces left by the marks go too";
    EXPECT_EQ(AppleReference::americanized("…"), "");
}

TEST(AppleReferenceBuild, ReadsRegionalEnglishBesideTheLanguage) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en", {{"a", "Color"}}},
                                       {"en_GB", {{"a", "Colour"}, {"b", "Organise"}, {"n", 5}}},
                                       {"de", {{"a", " Farbe\n"}, {"b", "Organisieren"}, {"n", "x"}}}});
    // Only the plain "en": nothing to take the English from.
    system.writePlist("System/Library/Frameworks/A.framework/Resources/Only.loctable",
                      Json{{"en", {{"a", "Trash"}}}, {"de", {{"a", "Papierkorb"}}}});
    // en_AU stands in when en_GB is missing; en_GB wins over it.
    system.writePlist(
        "System/Library/PrivateFrameworks/B.framework/Australian.loctable",
        Json{{"en_AU", {{"a", "Bin"}}}, {"en_CA", {{"a", "Trash can"}}}, {"de", {{"a", "Tonne"}}}});
    // A first regional English that is no dictionary skips the whole file.
    system.writePlist("System/Library/ExtensionKit/C.appex/Broken.loctable",
                      Json{{"en_GB", "nothing"}, {"en_AU", {{"a", "Window"}}}, {"de", {{"a", "Fenster"}}}});
    // Other languages are not read; files of other extensions are never opened.
    system.writePlist("System/Library/CoreServices/D.app/Other.loctable",
                      Json{{"en_GB", {{"a", "Dock"}}}, {"fr", {{"a", "Dock"}}}});
    system.writePlist("System/Applications/E.app/Strings.plist",
                      Json{{"en_GB", {{"a", "Print"}}}, {"de", {{"a", "Drucken"}}}});
    system.write("System/Applications/F.app/Garbage.loctable", "not a property list");

    const auto table = AppleReference::build("de");
    EXPECT_EQ(entriesOf(table, "color"), (Entries{{"Farbe", 1}})) << "wording trimmed, English folded";
    EXPECT_EQ(entriesOf(table, "organize"), (Entries{{"Organisieren", 1}}));
    EXPECT_EQ(entriesOf(table, "bin"), (Entries{{"Tonne", 1}}));
    EXPECT_EQ(table.size(), 3u) << "nothing from plain English, a broken English side, French or a plist";
}

TEST(AppleReferenceBuild, WeighsBundleNamesAndFolderNames) {
    FakeSystemFolder system;
    system.writePlist(
        "System/Applications/Notes.app/Contents/Resources/InfoPlist.loctable",
        Json{{"en_GB", {{"CFBundleDisplayName", "Notes"}, {"CFBundleName", "Notes"}, {"NSHuman", "Notes"}}},
             {"de",
              {{"CFBundleDisplayName", "Notizen"}, {"CFBundleName", "Notizen"}, {"NSHuman", "Notizen"}}}});
    system.writePlist(appStrings, Json{{"en_GB", {{"CFBundleName", "Notes"}, {"x", "Notes"}, {"y", "Notes"}}},
                                       {"de", {{"CFBundleName", "Notizblock"}, {"x", ""}, {"y", " \n"}}}});
    const std::string folders = "System/Library/CoreServices/SystemFolderLocalizations/";
    system.write(folders + "en.lproj/SystemFolderLocalizations.strings",
                 "\"Downloads\" = \"Downloads\";\n\"Movies\" = \"Movies\";\n\"Public\" = \"Public\";\n");
    system.write(folders + "de.lproj/SystemFolderLocalizations.strings",
                 "\"Downloads\" = \" Downloads \";\n\"Movies\" = \"Filme\";\n\"Public\" = \" \";\n");

    const auto table = AppleReference::build("de");
    // 50 + 50 + 1 from the InfoPlist file; outside one a bundle name weighs 1; a blank wording names
    // nothing and is not counted, in a loctable or among the folder names.
    EXPECT_EQ(entriesOf(table, "notes"), (Entries{{"Notizen", 101}, {"Notizblock", 1}}));
    EXPECT_EQ(entriesOf(table, "movies"), (Entries{{"Filme", 50}}));
    EXPECT_EQ(entriesOf(table, "downloads"), (Entries{{" Downloads ", 50}}))
        << "folder names are not trimmed";
    EXPECT_TRUE(entriesOf(table, "public").empty());
}

TEST(AppleReferenceBuild, FallsBackToTheHyphenatedFolderOfTheLanguage) {
    FakeSystemFolder system;
    const std::string folders = "System/Library/CoreServices/SystemFolderLocalizations/";
    system.write(folders + "en.lproj/SystemFolderLocalizations.strings", "\"Music\" = \"Music\";");
    system.write(folders + "pt-BR.lproj/SystemFolderLocalizations.strings", "\"Music\" = \"Música\";");
    EXPECT_EQ(entriesOf(AppleReference::build("pt_BR"), "music"), (Entries{{"Música", 50}}));
    // An empty translated dictionary gives nothing.
    system.write(folders + "fr.lproj/SystemFolderLocalizations.strings", "");
    EXPECT_TRUE(AppleReference::build("fr").empty());
}

TEST(AppleReferenceBuild, CountsEnglishOfEightyCharactersAtMost) {
    FakeSystemFolder system;
    const std::string eighty(79, 'a');
    system.writePlist(appStrings, Json{{"en_GB", {{"a", eighty + "é"}, {"b", eighty + "bb"}}},
                                       {"de", {{"a", "kurz"}, {"b", "lang"}}}});
    const auto table = AppleReference::build("de");
    EXPECT_EQ(entriesOf(table, eighty + "é"), (Entries{{"kurz", 1}}));
    EXPECT_EQ(table.size(), 1u) << "81 characters are too many";
}

TEST(AppleReferenceBuild, KeepsTheFourMostUsedWordings) {
    FakeSystemFolder system;
    const std::vector<std::pair<std::string, int>> uses{{"A", 1}, {"B", 6}, {"C", 2},
                                                        {"D", 5}, {"E", 3}, {"F", 4}};
    int file = 0;
    for (const auto& [wording, count] : uses)
        for (int i = 0; i < count; ++i)
            system.writePlist("System/Applications/X.app/" + std::to_string(file++) + ".loctable",
                              Json{{"en_GB", {{"k", "Share"}}}, {"de", {{"k", wording}}}});
    EXPECT_EQ(entriesOf(AppleReference::build("de"), "share"),
              (Entries{{"B", 6}, {"D", 5}, {"F", 4}, {"E", 3}}));
}

TEST(AppleReferenceBuild, WalksHiddenFoldersAndSurvivesLinkLoops) {
    FakeSystemFolder system;
    system.writePlist("System/Library/Frameworks/.Hidden/Deep/Pkg.bundle/Contents/x.loctable",
                      Json{{"en_GB", {{"k", "Hidden"}}}, {"de", {{"k", "Versteckt"}}}});
    std::filesystem::create_directory_symlink(system.root() / "System",
                                              system.root() / "System/Library/Frameworks/loop");
    EXPECT_EQ(entriesOf(AppleReference::build("de"), "hidden"), (Entries{{"Versteckt", 1}}));
}

TEST(AppleReferenceLoad, BuildsOnceThenReadsTheCache) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en_GB", {{"a", "Share…"}}}, {"pt_BR", {{"a", "Compartilhar…"}}}});
    const auto cache = system.cacheFolder() / "v2-pt_BR-Version151Build24B83.json";
    EXPECT_EQ(AppleReference::cacheURL("pt_BR"), cache);

    const auto built = AppleReference::load("pt-BR");
    ASSERT_TRUE(built);
    EXPECT_EQ(built->language(), "pt-BR") << "the caller's code, not the normalized one";
    EXPECT_EQ(json::parse(orvel::testing::readBytes(cache)),
              json::parse(R"({"share": [{"text": "Compartilhar…", "count": 1}]})"));

    std::filesystem::remove_all(system.root());
    const auto cached = AppleReference::load("pt_BR");
    ASSERT_TRUE(cached) << "the cache serves once the system files are gone";
    EXPECT_EQ(cached->table(), built->table());
    EXPECT_EQ(cached->language(), "pt_BR");

    // Another system version names another file, which must be built.
    SystemLocalizations::setVersionOverride("Version 15.2 (Build 24C101)");
    EXPECT_FALSE(AppleReference::load("pt-BR"));
}

TEST(AppleReferenceLoad, TrustsAnEmptyCacheAndRebuildsAnUndecodableOne) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en_GB", {{"a", "Trash"}}}, {"de", {{"a", "Papierkorb"}}}});
    const auto cache = *AppleReference::cacheURL("de");
    std::filesystem::create_directories(cache.parent_path());

    orvel::testing::writeBytes(cache, "{}");
    const auto empty = AppleReference::load("de");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->table().empty());

    for (const char* broken : {"[]", "{\"trash\": [{\"text\": \"x\"}]}", "{\"trash\": 3}", "not json"}) {
        orvel::testing::writeBytes(cache, broken);
        const auto rebuilt = AppleReference::load("de");
        ASSERT_TRUE(rebuilt) << broken;
        EXPECT_EQ(rebuilt->wordings("trash").size(), 1u);
        EXPECT_EQ(json::parse(orvel::testing::readBytes(cache)),
                  json::parse(R"({"trash": [{"text": "Papierkorb", "count": 1}]})"))
            << "overwritten after " << broken;
    }
}

TEST(AppleReferenceLoad, IsAbsentWithoutAnythingToRead) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en_GB", {{"a", "Trash"}}}, {"de", {{"a", "Papierkorb"}}}});
    EXPECT_FALSE(AppleReference::load("en-US"));
    EXPECT_FALSE(AppleReference::load("fr")) << "no French on this system";
    EXPECT_FALSE(std::filesystem::exists(system.cacheFolder())) << "nothing is cached for nothing";

    SystemLocalizations::setRootOverride(std::nullopt);
    unsetenv("ORVEL_SYSTEM_ROOT");
    EXPECT_FALSE(AppleReference::load("de")) << "no system folder configured";
}

TEST(AppleReferenceLoad, KeepsTheBuiltReferenceWhenTheCacheCannotBeWritten) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en_GB", {{"a", "Trash"}}}, {"de", {{"a", "Papierkorb"}}}});
    orvel::testing::writeBytes(system.caches(), "a file where the caches folder should be");
    const auto reference = AppleReference::load("de");
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->wordings("trash").size(), 1u);
}

TEST(AppleReferenceLoad, RefusesACodeThatWouldLeaveTheCacheFolder) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en_GB", {{"a", "Trash"}}}, {"../../../escaped", {{"a", "Oops"}}}});
    EXPECT_FALSE(AppleReference::load("../../../escaped"));
    EXPECT_FALSE(std::filesystem::exists(system.caches())) << "nothing written anywhere";
}

TEST(AppleReferenceLoad, KeysTheCacheOnTheConfiguredSystemTree) {
    FakeSystemFolder system;
    system.writePlist(appStrings, Json{{"en_GB", {{"a", "Trash"}}}, {"de", {{"a", "Papierkorb"}}}});
    SystemLocalizations::setVersionOverride(std::nullopt);
    const auto cacheName = [] {
        const auto file = AppleReference::cacheURL("de");
        return file ? file->filename().string() : std::string("none");
    };

    const std::string withoutVersionFile = cacheName();
    EXPECT_TRUE(withoutVersionFile.starts_with("v2-de-Root")) << withoutVersionFile;
    EXPECT_TRUE(AppleReference::load("de"));
    EXPECT_TRUE(std::filesystem::exists(system.cacheFolder() / withoutVersionFile));

    struct Case {
        std::string name;
        Json version;
        std::string file;
    };
    const std::vector<Case> cases{
        {"the tree's own version and build",
         Json{{"ProductVersion", "14.5"}, {"ProductBuildVersion", "23F79"}},
         "v2-de-Version145Build23F79.json"},
        {"a version without a build", Json{{"ProductVersion", "15.0"}}, "v2-de-Version150.json"},
        {"a version file without a version", Json{{"ProductName", "macOS"}}, withoutVersionFile},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        system.writePlist("System/Library/CoreServices/SystemVersion.plist", row.version);
        EXPECT_EQ(cacheName(), row.file);
    }

    // Another tree is another cache: its wordings are built, not served from the first tree's file.
    FakeSystemFolder other;
    SystemLocalizations::setVersionOverride(std::nullopt);
    setenv("XDG_CACHE_HOME", system.caches().c_str(), 1);
    other.writePlist(appStrings, Json{{"en_GB", {{"a", "Trash"}}}, {"de", {{"a", "Abfall"}}}});
    EXPECT_NE(cacheName(), withoutVersionFile);
    ASSERT_TRUE(AppleReference::load("de"));
    EXPECT_EQ(AppleReference::load("de")->wordings("trash")[0].text, "Abfall");

    for (const char* unsafe : {"", ".", "..", "../de", "de/x"})
        EXPECT_FALSE(AppleReference::cacheURL(unsafe)) << unsafe;
    SystemLocalizations::setRootOverride(std::nullopt);
    unsetenv("ORVEL_SYSTEM_ROOT");
    EXPECT_FALSE(AppleReference::cacheURL("de")) << "no tree, no cache";
}

TEST(AppleReference, SummarisesTheLeadingWordings) {
    const AppleReference reference("de", {{"trash", {{"Papierkorb", 120}, {"Müll", 3}, {"Abfall", 1}}}});
    EXPECT_EQ(reference.summary("Trash…", 2), "«Papierkorb» (120), «Müll» (3)");
    EXPECT_EQ(reference.summary("Trash", 9), "«Papierkorb» (120), «Müll» (3), «Abfall» (1)");
    EXPECT_FALSE(reference.summary("Trash", 0));
    EXPECT_FALSE(reference.summary("Bin", 3));
    EXPECT_EQ(reference.entries(" TRASH: ").size(), 3u);
}
