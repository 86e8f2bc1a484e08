#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>

#include "core/FileIO.h"
#include "core/OrvelProtocol.h"
#include "engine/apps/AppNotes.h"
#include "engine/apps/OverlayWriter.h"
#include "engine/apps/UndecodableFileCopy.h"
#include "engine/apps/UnsafeNameError.h"
#include "tests/engine/apps/OverlayFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::idOf;
using testing::readBytes;
using testing::textTranslation;

class ProjectFilesTest : public testing::OverlayTest {
  protected:
    fs::path projectFile(const std::string& language) const {
        return TranslationProject::fileURL(app, language);
    }
};

TEST_F(ProjectFilesTest, LoadFallsBackToTheOverlayThenToAnEmptyProject) {
    auto fresh = TranslationProject::load(app, "fr");
    EXPECT_EQ(fresh.app, "com.example.Notes");
    EXPECT_EQ(fresh.language, "fr");
    EXPECT_TRUE(fresh.translations.empty());
    EXPECT_EQ(fresh.style, TranslationStyle{});

    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    OverlayWriter::publish(project, strings, app, "Orvel");
    auto rebuilt = TranslationProject::load(app, "de");
    ASSERT_EQ(rebuilt.translations.size(), 1u);
    EXPECT_EQ(rebuilt.translations.begin()->second.origin, StringTranslation::Origin::person);

    // A stored project wins over the overlay.
    project.terms["File"] = "Datei";
    project.save(app);
    EXPECT_EQ(TranslationProject::load(app, "de").terms, project.terms);
    EXPECT_EQ(TranslationProject::load(app, "de").translations, project.translations);

    // A file of the wrong shape counts as unreadable.
    testing::writeBytes(projectFile("de"), R"({"app": "com.example.Notes"})");
    EXPECT_TRUE(TranslationProject::load(app, "de").terms.empty());
}

TEST_F(ProjectFilesTest, SaveCreatesTheFoldersAndNamesTheFileByLanguage) {
    project.language = "pt-BR";
    project.appVersion = "1.2 (57)";
    project.save(app);
    EXPECT_EQ(projectFile("pt-BR"), app.dataFolder() / ".translator" / "pt-BR.json");
    ASSERT_TRUE(fs::exists(projectFile("pt-BR")));
    EXPECT_EQ(readBytes(projectFile("pt-BR")), OrvelProtocol::encode(project));
    EXPECT_EQ(TranslationProject::load(app, "pt-BR").appVersion, "1.2 (57)");

    // A failed write leaves the previous file whole.
    scratch.write(app.projectFolder() / "it.json" / "blocker", "");
    project.language = "it";
    EXPECT_THROW(project.save(app), fs::filesystem_error);
    EXPECT_TRUE(fs::is_directory(projectFile("it")));
}

TEST_F(ProjectFilesTest, ALargeProjectSavedLoadsBackEqual) {
    for (int i = 0; i < 5000; ++i)
        project.translations[idOf("Main", "Key " + std::to_string(i))] =
            textTranslation("Key " + std::to_string(i), "Schlüssel \"" + std::to_string(i) + "\" 日本");
    project.terms["File"] = "Datei";
    project.save(app);
    EXPECT_EQ(readBytes(projectFile("de")), project.encoded());
    const TranslationProject loaded = TranslationProject::load(app, "de");
    EXPECT_EQ(loaded.translations, project.translations);
    EXPECT_EQ(loaded.terms, project.terms);
}

TEST(TranslationProjectText, IsWhatTheSharedEncoderWritesForTheProject) {
    using testing::pluralTranslation;
    const auto withPerson = [](StringTranslation translation) {
        translation.origin = StringTranslation::Origin::person;
        translation.model.reset();
        return translation;
    };
    const auto project = [](std::function<void(TranslationProject&)> fill) {
        TranslationProject out;
        out.app = "com.example.Notes";
        out.language = "de";
        fill(out);
        return out;
    };
    const struct {
        const char* what;
        TranslationProject project;
    } rows[] = {
        {"nothing but the required keys", project([](TranslationProject&) {})},
        {"every optional key", project([&](TranslationProject& p) {
             p.appVersion = "1.2 (57)";
             p.sourceText = std::map<std::string, std::string>{{idOf("Main", "Open"), "Open"}};
             p.style = {TranslationStyle::Terms::translateAll, TranslationStyle::Address::formal};
             p.terms = {{"File", "Datei"}, {"Window", "Fenster"}};
             p.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
             p.retired[idOf("Old", "Gone")] = withPerson(textTranslation("Gone", "Weg"));
         })},
        {"an empty recorded English", project([](TranslationProject& p) { p.sourceText.emplace(); })},
        {"plural forms and an empty text", project([&](TranslationProject& p) {
             p.translations["a"] =
                 pluralTranslation("%lld items", {{"one", "%lld Objekt"}, {"other", "%lld Objekte"}});
             p.translations["b"] = textTranslation("Empty", "");
             p.translations["c"] = pluralTranslation("none", {});
         })},
        {"texts that need escaping or replacing", project([&](TranslationProject& p) {
             p.translations["Main.strings\x1fQu\"ote"] = textTranslation("Say \"hi\"\n", "Sag \\\"hallo\"\t");
             p.translations["bad\xff"] = withPerson(textTranslation("ab\xe2\x82", "\xc0\xaf/x"));
             p.terms["\x01"] = "\x7f";
         })},
        {"many pieces, multi-byte texts and escapes across their edges", project([&](TranslationProject& p) {
             for (int i = 0; i < 3000; ++i)
                 p.translations["Main.strings\x1f" + std::to_string(i)] =
                     textTranslation("Open \"" + std::to_string(i) + "\"\n", "Öffnen 日本語 😀\t\\");
         })},
    };
    for (const auto& row : rows) {
        std::string pieced;
        PrettyJsonWriter writer([&](std::string_view piece) { pieced += piece; });
        row.project.encode(writer);
        writer.finish();
        EXPECT_EQ(pieced, row.project.encoded()) << row.what;
        EXPECT_EQ(row.project.encoded(), OrvelProtocol::encode(row.project.toJson())) << row.what;
        EXPECT_EQ(OrvelProtocol::decode<TranslationProject>(row.project.encoded()).translations.size(),
                  row.project.translations.size())
            << row.what;
    }
}

TEST_F(ProjectFilesTest, AnUndecodableFileIsKeptOnceBeforeItIsReplaced) {
    const std::string broken =
        R"({"app": "com.example.Notes", "language": "de", "terms": {"File": 1}, "retired": {)";
    scratch.write(projectFile("de"), broken);
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    OverlayWriter::publish(project, strings, app, "Orvel");

    auto loaded = TranslationProject::load(app, "de");
    EXPECT_EQ(loaded.translations.size(), 1u);
    EXPECT_EQ(readBytes(projectFile("de")), broken);

    fs::path copy = projectFile("de");
    copy += ".broken";
    loaded.save(app);
    EXPECT_EQ(readBytes(copy), broken);
    EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), 1u);

    // Saving over a good file makes no copy; a second broken file never replaces the first copy.
    loaded.save(app);
    EXPECT_EQ(readBytes(copy), broken);
    scratch.write(projectFile("de"), "not JSON");
    loaded.save(app);
    EXPECT_EQ(readBytes(copy), broken);
    EXPECT_EQ(readBytes(projectFile("de")), OrvelProtocol::encode(loaded));

    // Without a place for the copy the broken file is not replaced.
    scratch.write(projectFile("fr"), "not JSON either");
    fs::path frCopy = projectFile("fr");
    frCopy += ".broken";
    scratch.write(frCopy / "blocker", "a folder where the copy must go");
    loaded.language = "fr";
    EXPECT_THROW(loaded.save(app), fs::filesystem_error);
    EXPECT_EQ(readBytes(projectFile("fr")), "not JSON either");
}

TEST_F(ProjectFilesTest, AFileThatCannotBeReadIsKeptAsideOrLeftInPlace) {
    const fs::path elsewhere = scratch.path() / "elsewhere.json";
    scratch.write(elsewhere, "another file of the person");
    struct Case {
        const char* name;
        // Puts something that cannot be read at the path.
        std::function<void(const fs::path&)> make;
        // What stands at the path afterwards, and whether it is what was made.
        std::function<bool(const fs::path&)> isWhatWasMade;
    };
    const std::vector<Case> kinds{
        {"a special file", [](const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         [](const fs::path& path) { return fs::is_fifo(fs::symlink_status(path)); }},
        {"a file over the size cap",
         [](const fs::path& path) {
             testing::writeBytes(path, "{");
             fs::resize_file(path, FileIO::defaultMaximumSize + 1);
         },
         [](const fs::path& path) {
             return fs::is_regular_file(fs::symlink_status(path)) &&
                    fs::file_size(path) == FileIO::defaultMaximumSize + 1;
         }},
        {"a link", [&](const fs::path& path) { fs::create_symlink(elsewhere, path); },
         [&](const fs::path& path) { return fs::read_symlink(path) == elsewhere; }},
    };
    struct Target {
        const char* name;
        fs::path file;
        std::function<void()> save;
        std::function<bool()> savedIsLoaded;
    };
    const AppNotes notes{"Keep it short.", {}};
    project.terms["File"] = "Datei";
    const std::vector<Target> targets{
        {"the project", projectFile("de"), [&] { project.save(app); },
         [&] { return TranslationProject::load(app, "de").terms == project.terms; }},
        {"the notes", app.projectFolder() / "notes.json", [&] { notes.save(app); },
         [&] { return AppNotes::load(app) == notes; }},
    };
    for (const Target& target : targets)
        for (const Case& c : kinds) {
            SCOPED_TRACE(std::string(target.name) + ", " + c.name);
            fs::create_directories(target.file.parent_path());
            fs::path copy = target.file;
            copy += ".broken";
            fs::remove(target.file);
            fs::remove(copy);

            c.make(target.file);
            target.save();
            EXPECT_TRUE(c.isWhatWasMade(copy));
            EXPECT_TRUE(target.savedIsLoaded());

            // With the name of the copy taken, the file is not replaced.
            fs::remove(target.file);
            c.make(target.file);
            EXPECT_THROW(target.save(), UnkeptFileError);
            EXPECT_TRUE(c.isWhatWasMade(target.file));
            EXPECT_EQ(readBytes(elsewhere), "another file of the person");
        }
}

// What another program does to the project file between two saves. Each writes undecodable bytes of
// the saved file's size.
struct OutsideChange {
    const char* name;
    std::function<void(const fs::path& file, const std::string& undecodable)> change;
    // Whether the second save still reads the file, and so keeps the undecodable one aside.
    bool read;
    // The project is loaded between the change and the second save.
    bool loadedBetween = false;
};

void rewriteInPlace(const fs::path& file, const std::string& bytes) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class ProjectSaveOverOutsideChange : public ProjectFilesTest,
                                     public ::testing::WithParamInterface<OutsideChange> {};

TEST_P(ProjectSaveOverOutsideChange, ReadsThePreviousFileOnlyWhenSomeoneElseChangedIt) {
    project.translations[idOf("Main", "Open")] = textTranslation("Open", "Öffnen");
    project.save(app);
    const fs::path file = projectFile("de");
    const std::string undecodable(readBytes(file).size(), '{');
    GetParam().change(file, undecodable);
    const std::string left = readBytes(file);
    if (GetParam().loadedBetween)
        (void)TranslationProject::load(app, "de");

    project.terms["File"] = "Datei";
    project.save(app);

    EXPECT_EQ(readBytes(file), OrvelProtocol::encode(project));
    fs::path copy = file;
    copy += ".broken";
    EXPECT_EQ(fs::exists(copy), GetParam().read);
    if (GetParam().read) {
        EXPECT_EQ(readBytes(copy), left);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ProjectSaveOverOutsideChange,
    ::testing::Values(
        OutsideChange{"Untouched", [](const fs::path&, const std::string&) {}, false},
        // The stamp cannot tell this one apart: proof that an unchanged file is not read.
        OutsideChange{"RewrittenInPlaceKeepingItsTime",
                      [](const fs::path& file, const std::string& bytes) {
                          const auto time = fs::last_write_time(file);
                          rewriteInPlace(file, bytes);
                          fs::last_write_time(file, time);
                      },
                      false},
        // A load that could not decode it no longer vouches for the stamp (nor would a read error).
        OutsideChange{"RewrittenInPlaceKeepingItsTimeThenLoaded",
                      [](const fs::path& file, const std::string& bytes) {
                          const auto time = fs::last_write_time(file);
                          rewriteInPlace(file, bytes);
                          fs::last_write_time(file, time);
                      },
                      true, true},
        OutsideChange{"UntouchedThenLoaded", [](const fs::path&, const std::string&) {}, false, true},
        OutsideChange{"RewrittenInPlace",
                      [](const fs::path& file, const std::string& bytes) {
                          const auto time = fs::last_write_time(file);
                          rewriteInPlace(file, bytes);
                          fs::last_write_time(file, time + std::chrono::seconds(1));
                      },
                      true},
        OutsideChange{"GrownInPlaceKeepingItsTime",
                      [](const fs::path& file, const std::string& bytes) {
                          const auto time = fs::last_write_time(file);
                          std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
                          fs::last_write_time(file, time);
                      },
                      true},
        OutsideChange{"ReplacedKeepingSizeAndTime",
                      [](const fs::path& file, const std::string& bytes) {
                          const fs::path other = file.parent_path() / "other.tmp";
                          testing::writeBytes(other, bytes);
                          fs::last_write_time(other, fs::last_write_time(file));
                          fs::rename(other, file);
                      },
                      true},
        OutsideChange{"Removed", [](const fs::path& file, const std::string&) { fs::remove(file); }, false}),
    [](const ::testing::TestParamInfo<OutsideChange>& info) { return std::string(info.param.name); });

TEST_F(ProjectFilesTest, UnsafeLanguageCodesReadAndWriteNothing) {
    scratch.write(app.dataFolder() / "secret.json", R"({"app": "x", "language": "y", "terms": {"a": "b"}})");
    for (const std::string& language :
         std::vector<std::string>{"", ".", "..", "../secret", std::string("d\0e", 3)}) {
        const auto loaded = TranslationProject::load(app, language);
        EXPECT_EQ(loaded.app, "com.example.Notes");
        EXPECT_TRUE(loaded.terms.empty() && loaded.translations.empty()) << language;
        project.language = language;
        EXPECT_THROW(project.save(app), UnsafeNameError) << language;
    }
    EXPECT_FALSE(fs::exists(app.projectFolder()));
}

TEST_F(ProjectFilesTest, Notes) {
    EXPECT_EQ(AppNotes::load(app), AppNotes{});
    AppNotes{}.save(app);
    EXPECT_EQ(readBytes(app.projectFolder() / "notes.json"), "{\n  \"glossary\": [],\n  \"notes\": \"\"\n}");

    const AppNotes notes{"Keep it short.", {AppManifest::Term{"Vault", "a notebook", std::nullopt}}};
    notes.save(app);
    EXPECT_EQ(AppNotes::load(app), notes);

    testing::writeBytes(app.projectFolder() / "notes.json", R"({"notes": "only notes"})");
    EXPECT_EQ(AppNotes::load(app), AppNotes{});

    // The person's words in a file that does not decode are kept once before the next save.
    notes.save(app);
    EXPECT_EQ(readBytes(app.projectFolder() / "notes.json.broken"), R"({"notes": "only notes"})");
    EXPECT_EQ(AppNotes::load(app), notes);
    notes.save(app);
    EXPECT_EQ(readBytes(app.projectFolder() / "notes.json.broken"), R"({"notes": "only notes"})");
}

} // namespace
} // namespace orvel
