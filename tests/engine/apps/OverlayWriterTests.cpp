#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/LanguageInfo.h"
#include "core/OrvelProtocol.h"
#include "core/StringsFiles.h"
#include "engine/apps/OverlayWriter.h"
#include "engine/apps/UnsafeNameError.h"
#include "tests/engine/apps/OverlayFixture.h"
#include "tests/support/RecordingFileCalls.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::idOf;
using testing::pluralTranslation;
using testing::readBytes;
using testing::textTranslation;

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class OverlayWriterTest : public testing::OverlayTest {
  protected:
    // An overlay published before: its record, and a table that has no entries any more.
    void publishedBefore() {
        fs::remove_all(overlay());
        scratch.write(overlay() / "language.json", "previous record");
        scratch.write(overlay() / "Old.strings", "\"Quit\" = \"Ende\";\n");
    }
};

TEST_F(OverlayWriterTest, EveryTableIsOnDiskBeforeTheRecordThatNamesIt) {
    struct Case {
        const char* name;
        bool translated;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> record{"create language.json", "write language.json",
                                          "sync language.json",   "close language.json",
                                          "rename language.json", "sync folder"};
    const std::vector<Case> cases{
        {"tables written and one removed",
         true,
         {"create Alerts.strings", "write Alerts.strings", "sync Alerts.strings", "close Alerts.strings",
          "create Main.stringsdict", "write Main.stringsdict", "sync Main.stringsdict",
          "close Main.stringsdict", "create Main.strings", "write Main.strings", "sync Main.strings",
          "close Main.strings", "remove Alerts.stringsdict", "rename Alerts.strings",
          "rename Main.stringsdict", "rename Main.strings", "remove Old.stringsdict", "remove Old.strings",
          "sync folder"}},
        {"no translations left", false, {"remove Old.stringsdict", "remove Old.strings", "sync folder"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        publishedBefore();
        project.translations.clear();
        if (c.translated) {
            project.translations[idOf("Alerts", "Quit")] = textTranslation("Quit", "Beenden");
            project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
            project.translations[idOf("Main", "files")] =
                pluralTranslation("%lld files", {{"other", "%lld Dateien"}});
        }
        testing::RecordingFileCalls recorder;
        OverlayWriter::publish(project, strings, app, "Orvel");
        std::vector<std::string> expected = c.expected;
        expected.insert(expected.end(), record.begin(), record.end());
        EXPECT_EQ(recorder.calls(), expected);
    }
}

// A publish that follows one of this process writes the tables whose translations changed and every one
// another program changed, took away or added since, and leaves the overlay as a whole publish would.
TEST_F(OverlayWriterTest, APublishAfterTheLastWritesOnlyTheTablesThatChangedOrThatOthersChanged) {
    struct Case {
        const char* name;
        std::function<void(TranslationProject&)> change;
        std::set<std::string> changedTables;
        std::function<void()> others;
        std::set<std::string> written;
    };
    const std::vector<Case> cases{
        {"a translation of one table changed",
         [](TranslationProject& p) { p.translations[idOf("Main", "Open")] = textTranslation("Open", "Auf"); },
         {"Main"},
         [] {},
         {"Main.strings", "Main.stringsdict"}},
        {"nothing changed", [](TranslationProject&) {}, {}, [] {}, {}},
        {"another program rewrote a table that did not change",
         [](TranslationProject& p) { p.translations[idOf("Main", "Open")] = textTranslation("Open", "Auf"); },
         {"Main"},
         [&] { scratch.write(overlay() / "Alerts.strings", "\"Quit\" = \"Raus hier\";\n"); },
         {"Alerts.strings", "Main.strings", "Main.stringsdict"}},
        {"another program took a table file away",
         [](TranslationProject&) {},
         {},
         [&] { fs::remove(overlay() / "Alerts.strings"); },
         {"Alerts.strings"}},
        {"another program added a table file",
         [](TranslationProject&) {},
         {},
         [&] { scratch.write(overlay() / "Extra.strings", "\"Quit\" = \"Ende\";\n"); },
         {}},
        {"a table left without translations",
         [](TranslationProject& p) { p.translations.erase(idOf("Alerts", "Quit")); },
         {"Alerts"},
         [] {},
         {}},
    };
    const OverlaySources sources(strings);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(overlay());
        project.translations.clear();
        project.translations[idOf("Alerts", "Quit")] = textTranslation("Quit", "Beenden");
        project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
        project.translations[idOf("Main", "files")] =
            pluralTranslation("%lld files", {{"other", "%lld Dateien"}});
        OverlayWriter::Staged first(project, sources, app, "Orvel");
        first.commit();

        c.change(project);
        c.others();
        testing::RecordingFileCalls recorder;
        OverlayWriter::Staged next(project, sources, app, "Orvel", first.files(), c.changedTables);
        next.commit();
        std::set<std::string> written;
        for (const std::string& call : recorder.calls())
            if (call.starts_with("create ") && call != "create language.json")
                written.insert(call.substr(7));
        EXPECT_EQ(written, c.written);
        EXPECT_TRUE(OverlayWriter::isPublished(project, strings, app));
    }
}

TEST_F(OverlayWriterTest, AFailedPublishKeepsTheRecordAndLeavesNoTemporaryFile) {
    struct Case {
        const char* failing;
        const char* message;
        bool tablesReplaced;
    };
    const std::vector<Case> cases{
        {"write Main.strings", "Cannot write the file", false},
        {"sync Main.stringsdict", "Cannot flush the file to disk", false},
        {"rename Alerts.strings", "Cannot replace the file", false},
        {"sync folder", "Cannot flush the folder to disk", true},
    };
    project.translations[idOf("Alerts", "Quit")] = textTranslation("Quit", "Beenden");
    project.translations[idOf("Main", "files")] =
        pluralTranslation("%lld files", {{"other", "%lld Dateien"}});
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        publishedBefore();
        std::string message;
        {
            testing::RecordingFileCalls recorder(c.failing);
            try {
                OverlayWriter::publish(project, strings, app, "Orvel");
            } catch (const fs::filesystem_error& error) {
                message = error.what();
            }
        }
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(readBytes(overlay() / "language.json"), "previous record");
        const std::set<std::string> tables =
            c.tablesReplaced ? std::set<std::string>{"Alerts.strings", "Main.strings", "Main.stringsdict"}
                             : std::set<std::string>{"Old.strings"};
        std::set<std::string> expected = tables;
        expected.insert("language.json");
        EXPECT_EQ(filesIn(overlay()), expected);
    }
}

TEST_F(OverlayWriterTest, PublishesAGeneratedApp) {
    const std::string marker = Markers::encode(7);
    auto& translations = project.translations;
    translations[idOf("Main", "Open")] = textTranslation("Open", "Öff" + marker + "nen");
    translations[idOf("Main", "Save")] = textTranslation("Save as", "Sichern unter"); // stale English
    translations[idOf("Main", "Gone")] = textTranslation("Gone", "Weg");              // no longer in the app
    translations[idOf("Main", "files")] =
        pluralTranslation("%lld files", {{"one", "%lld Datei"}, {"other", "%lld Dateien" + marker}});
    translations[idOf("Main", "moved")] =
        pluralTranslation("Moved %2$ld items to %1$@",
                          {{"one", "%2$lld Objekt nach %1$@"}, {"other", "%2$lld Objekte nach %1$@"}});
    translations[idOf("Alerts", "Quit")] = textTranslation("Quit", marker + marker); // only markers
    translations[idOf("Empty", "Quit")] = textTranslation("Quit", "");

    scratch.write(overlay() / "Alerts.strings", "\"Quit\" = \"Beenden\";\n");
    scratch.write(overlay() / "Legacy.stringsdict", "<plist/>");
    scratch.write(overlay() / "notes.txt", "left alone");

    OverlayWriter::publish(project, strings, app, "Orvel");

    EXPECT_EQ(filesIn(overlay()),
              (std::set<std::string>{"Main.strings", "Main.stringsdict", "language.json", "notes.txt"}));
    EXPECT_EQ(StringsFiles::readStrings(overlay() / "Main.strings"),
              (StringsFiles::SimpleTable{{"Gone", "Weg"}, {"Open", "Öffnen"}}));
    const auto plurals = StringsFiles::readStringsdict(overlay() / "Main.stringsdict");
    ASSERT_EQ(plurals.size(), 2u);
    EXPECT_EQ(plurals.at("files"),
              (StringsFiles::PluralEntry{{{"one", "%lld Datei"}, {"other", "%lld Dateien"}}, "lld", 1}));
    // The counted number is the app's English second argument, whatever the translation writes.
    EXPECT_EQ(plurals.at("moved").valueType, "ld");
    EXPECT_EQ(plurals.at("moved").argument, 2);

    const auto info = OrvelProtocol::decode<LanguageInfo>(readBytes(overlay() / "language.json"));
    EXPECT_EQ(info.protocol, 1);
    EXPECT_EQ(info.language, "de");
    EXPECT_EQ(info.name, "Deutsch");
    EXPECT_EQ(info.translator, "Orvel");
    ASSERT_TRUE(info.updated);
    EXPECT_LE(*info.updated, Dates::now());
    // The record is written after every table file.
    const auto written = fs::last_write_time(overlay() / "language.json");
    EXPECT_GE(written, fs::last_write_time(overlay() / "Main.strings"));
    EXPECT_GE(written, fs::last_write_time(overlay() / "Main.stringsdict"));
}

TEST_F(OverlayWriterTest, PluralFallbacks) {
    const fs::path folder = scratch.path() / "xx.lproj";
    auto& translations = project.translations;
    // Forms empty once the markers are gone: published from the text.
    auto markersOnly = pluralTranslation("%lld files", {{"other", Markers::encode(3)}, {"one", ""}});
    markersOnly.text = "Dateien";
    translations[idOf("Main", "files")] = markersOnly;
    // Nothing counts: the "other" form becomes a simple entry; without one nothing is written.
    translations[idOf("T", "no count")] =
        pluralTranslation("no count", {{"one", "eins"}, {"other", "viele"}});
    translations[idOf("T", "no other")] = pluralTranslation("no other", {{"one", "eins"}});
    // The English has no count placeholder but a translated form does.
    translations[idOf("T", "form counts")] =
        pluralTranslation("form counts", {{"one", "%d Ding"}, {"few", "x"}});
    // A string the app does not have: the key is the English.
    translations[idOf("T", "%2$ld apples")] = pluralTranslation("old", {{"other", "%2$ld Äpfel"}});

    OverlayWriter::write(project, strings, folder);

    EXPECT_EQ(StringsFiles::readStrings(folder / "Main.strings"),
              (StringsFiles::SimpleTable{{"files", "Dateien"}}));
    EXPECT_FALSE(fs::exists(folder / "Main.stringsdict"));
    EXPECT_EQ(StringsFiles::readStrings(folder / "T.strings"),
              (StringsFiles::SimpleTable{{"no count", "viele"}}));
    const auto plurals = StringsFiles::readStringsdict(folder / "T.stringsdict");
    ASSERT_EQ(plurals.size(), 2u);
    EXPECT_EQ(plurals.at("form counts"),
              (StringsFiles::PluralEntry{{{"few", "x"}, {"one", "%d Ding"}}, "d", 1}));
    EXPECT_EQ(plurals.at("%2$ld apples").valueType, "ld");
    EXPECT_EQ(plurals.at("%2$ld apples").argument, 2);
}

TEST_F(OverlayWriterTest, TablesFollowTheirEntries) {
    const fs::path folder = overlay();
    project.translations[idOf("Main", "files")] =
        pluralTranslation("%lld files", {{"other", "%lld Dateien"}});
    OverlayWriter::write(project, strings, folder);
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"Main.stringsdict"});

    project.translations.clear();
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    OverlayWriter::write(project, strings, folder);
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"Main.strings"});
    EXPECT_EQ(OverlayWriter::existingTables(folder), std::set<std::string>{"Main"});

    // No translations: every table file goes, the record is written afresh, the folder stays.
    scratch.write(folder / "language.json", "old");
    project.translations.clear();
    OverlayWriter::publish(project, strings, app, "Orvel");
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"language.json"});
    EXPECT_NE(readBytes(folder / "language.json"), "old");
    EXPECT_TRUE(OverlayWriter::existingTables(scratch.path() / "missing").empty());
}

TEST_F(OverlayWriterTest, AStringMarkedNotToTranslateShowsItsEnglish) {
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    project.translations[idOf("Main", "files")] =
        pluralTranslation("%lld files", {{"one", "%lld Datei"}, {"other", "%lld Dateien"}});
    const auto markedNotToTranslate = [&](const std::string& key, bool marked) {
        std::vector<SourceString> current = strings;
        for (SourceString& string : current)
            if (string.key == key)
                string.translate = !marked;
        return current;
    };
    struct Case {
        const char* name;
        std::string markedKey;
        bool marked;
        bool expectOpen;
        bool expectFiles;
    };
    // In this order: a string marked by its developer, then marked translatable again.
    const std::vector<Case> cases{
        {"a plain string marked", "Open", true, false, true},
        {"the plain string translatable again", "Open", false, true, true},
        {"a plural string marked", "files", true, true, false},
        {"the plural string translatable again", "files", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OverlayWriter::write(project, markedNotToTranslate(c.markedKey, c.marked), overlay());
        EXPECT_EQ(StringsFiles::readStrings(overlay() / "Main.strings").contains("Open"), c.expectOpen);
        EXPECT_EQ(StringsFiles::readStringsdict(overlay() / "Main.stringsdict").contains("files"),
                  c.expectFiles);
    }
}

TEST_F(OverlayWriterTest, ATableWriteFailureLeavesTheLanguageRecord) {
    scratch.write(overlay() / "language.json", "previous record");
    scratch.write(overlay() / "Main.stringsdict" / "blocker", "a folder where a file must go");
    project.translations[idOf("Alerts", "Quit")] = textTranslation("Quit", "Beenden");
    project.translations[idOf("Main", "files")] =
        pluralTranslation("%lld files", {{"other", "%lld Dateien"}});

    EXPECT_THROW(OverlayWriter::publish(project, strings, app, "Orvel"), fs::filesystem_error);
    EXPECT_EQ(readBytes(overlay() / "language.json"), "previous record");
    // Tables visited before the failure keep their new files.
    EXPECT_EQ(StringsFiles::readStrings(overlay() / "Alerts.strings").at("Quit"), "Beenden");

    // A folder that cannot be created is reported before anything is written.
    scratch.write(overlay("fr"), "a file where the folder must go");
    project.language = "fr";
    EXPECT_THROW(OverlayWriter::publish(project, strings, app, "Orvel"), fs::filesystem_error);
}

TEST_F(OverlayWriterTest, NamesThatLeaveTheFolderAreNeverUsed) {
    for (const char* table : {"", ".", "..", "../escape", "sub/dir"})
        project.translations[std::string(table) + "\x1F" + "Key"] = textTranslation("Key", "Schlüssel");
    project.translations["no separator"] = textTranslation("no separator", "ohne");
    project.translations[idOf("Main", "")] = textTranslation("", "leer");
    project.translations[std::string("\x1F") + "Main\x1F" + "Open"] = textTranslation("Open", "empty table");
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");

    OverlayWriter::publish(project, strings, app, "Orvel");
    EXPECT_EQ(filesIn(overlay()), (std::set<std::string>{"Main.strings", "language.json"}));
    EXPECT_EQ(StringsFiles::readStrings(overlay() / "Main.strings"),
              (StringsFiles::SimpleTable{{"Open", "Öffnen"}}));
    EXPECT_EQ(filesIn(app.dataFolder()), std::set<std::string>{"de.lproj"});

    for (const std::string& language :
         std::vector<std::string>{"", ".", "..", "../de", std::string("de\0x", 4)}) {
        project.language = language;
        EXPECT_THROW(OverlayWriter::publish(project, strings, app, "Orvel"), UnsafeNameError) << language;
        EXPECT_TRUE(OverlayWriter::read(app, language).translations.empty()) << language;
    }
    EXPECT_EQ(filesIn(app.dataFolder()), std::set<std::string>{"de.lproj"});
    EXPECT_EQ(filesIn(app.dataFolder().parent_path()), std::set<std::string>{"com.example.Notes"});
}

// A text typed with a combining accent and the same text precomposed are one text.
TEST_F(OverlayWriterTest, CanonicallyEquivalentIdsAndEnglishMatch) {
    const std::string cafe = "Cafe\xCC\x81", precomposedCafe = "Caf\xC3\xA9";
    const std::string creme = "Cre\xCC\x80me", precomposedCreme = "Cr\xC3\xA8me";
    const auto bundle =
        testing::makeBundle(scratch, "Cafe.app", {{"CFBundleIdentifier", "com.example.Cafe"}},
                            {{"Menu.xcstrings", R"({"sourceLanguage": "en", "strings": {")" + cafe +
                                                    R"(": {}, ")" + creme + R"(": {}}})"}});
    const auto menuApp = *TranslatableApp::open(bundle, platform);
    TranslationProject menu;
    menu.app = menuApp.bundleIdentifier;
    menu.language = "de";
    // Made from the app's English, written the other way: not stale.
    menu.translations[idOf("Menu", cafe)] = textTranslation(precomposedCafe, "Kaffeehaus");
    // Stored under the other form of the app's id: still checked against the app's English.
    menu.translations[idOf("Menu", precomposedCreme)] = textTranslation("Cream", "Sahne");
    OverlayWriter::publish(menu, menuApp.loadStrings({}), menuApp, "Orvel");
    const fs::path folder = OrvelPaths::lproj("de", menuApp.dataFolder());
    // The key is written as the app wrote it, so the companion finds it byte for byte.
    EXPECT_EQ(StringsFiles::readStrings(folder / "Menu.strings"),
              (StringsFiles::SimpleTable{{cafe, "Kaffeehaus"}}));

    // The rebuild files the translation under the app's own id, made from the app's English.
    const auto rebuilt = OverlayWriter::read(menuApp, "de");
    ASSERT_EQ(rebuilt.translations.size(), 1u);
    EXPECT_EQ(rebuilt.translations.begin()->first, idOf("Menu", cafe));
    EXPECT_EQ(rebuilt.translations.begin()->second.source, cafe);
}

TEST_F(OverlayWriterTest, ReadsAPublishedOverlayBack) {
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    project.translations[idOf("Main", "Gone")] = textTranslation("Gone", "Weg");
    project.translations[idOf("Main", "files")] =
        pluralTranslation("%lld files", {{"one", "%lld Datei"}, {"other", "%lld Dateien"}});
    project.translations[idOf("Alerts", "Quit")] = textTranslation("Quit", "Beenden");
    OverlayWriter::publish(project, strings, app, "Orvel");
    scratch.write(overlay() / "Other.Strings", "\"Quit\" = \"Ende\";\n");

    const Date before = Dates::now();
    const auto rebuilt = OverlayWriter::read(app, "de");
    EXPECT_EQ(rebuilt.app, "com.example.Notes");
    EXPECT_EQ(rebuilt.language, "de");
    EXPECT_EQ(rebuilt.style, TranslationStyle{});
    EXPECT_TRUE(rebuilt.terms.empty() && rebuilt.retired.empty());
    EXPECT_FALSE(rebuilt.sourceText || rebuilt.appVersion);
    ASSERT_EQ(rebuilt.translations.size(), 4u);
    for (const auto& [id, translation] : rebuilt.translations) {
        EXPECT_EQ(translation.origin, StringTranslation::Origin::person) << id;
        EXPECT_FALSE(translation.model) << id;
        EXPECT_GE(translation.updated, before) << id;
        EXPECT_EQ(translation.displayText(), project.translations.at(id).displayText()) << id;
    }
    EXPECT_EQ(rebuilt.translations.at(idOf("Main", "Open")).source, "Open");
    EXPECT_EQ(rebuilt.translations.at(idOf("Main", "Gone")).source, "Gone");
    const auto& files = rebuilt.translations.at(idOf("Main", "files"));
    EXPECT_EQ(files.source, "%lld files");
    EXPECT_FALSE(files.text);
    EXPECT_EQ(files.plural, project.translations.at(idOf("Main", "files")).plural);

    // Publishing the rebuild gives the same table files.
    const auto mainStrings = readBytes(overlay() / "Main.strings");
    const auto mainPlurals = readBytes(overlay() / "Main.stringsdict");
    OverlayWriter::publish(rebuilt, strings, app, "Orvel");
    EXPECT_EQ(readBytes(overlay() / "Main.strings"), mainStrings);
    EXPECT_EQ(readBytes(overlay() / "Main.stringsdict"), mainPlurals);

    const auto none = OverlayWriter::read(app, "fr");
    EXPECT_EQ(none.language, "fr");
    EXPECT_TRUE(none.translations.empty());
}

} // namespace
} // namespace orvel
