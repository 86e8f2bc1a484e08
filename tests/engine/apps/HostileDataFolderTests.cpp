#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include "core/FileCalls.h"
#include "engine/apps/AppNotes.h"
#include "engine/apps/OverlayWriter.h"
#include "engine/apps/UnsafeNameError.h"
#include "engine/capture/ContextMap.h"
#include "tests/engine/apps/OverlayFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::idOf;
using testing::textTranslation;

// Every file below `folder` with its bytes.
std::map<fs::path, std::string> snapshot(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder)] = testing::readBytes(entry.path());
    return files;
}

// A target app controls its data folder; files it wants Orvel to read or replace lie elsewhere.
class HostileDataFolderTest : public testing::OverlayTest {
  protected:
    HostileDataFolderTest() {
        project.translations[idOf("Main", "Open")] = textTranslation("Open", "\u00D6ffnen");
    }

    // The files the app would like read as its overlay, project and notes.
    const std::map<std::string, std::string> planted{
        {"de.lproj/Main.strings", "\"Save\" = \"Planted\";\n"},
        {"de.lproj/Other.stringsdict", "planted"},
        {".translator/de.json",
         R"({"app": "com.example.Notes", "language": "de", "terms": {"planted": "yes"}})"},
        {".translator/notes.json", R"({"notes": "planted", "glossary": []})"},
    };
};

// A link anywhere between the folder the app can change and a file read or written is refused: the
// writes throw and touch nothing behind the link, the loads give their empty values.
TEST_F(HostileDataFolderTest, LinkedFoldersAreNeverFollowed) {
    struct Case {
        std::string name;
        bool sandboxed;
        // Relative to the folder the app itself can change.
        fs::path linked;
        bool publishRefused;
        bool savesRefused;
    };
    const std::vector<Case> cases{
        {"overlay folder", false, "de.lproj", true, false},
        {"project folder", false, ".translator", false, true},
        {"data folder", false, "", true, true},
        {"folder inside the sandbox container", true, "Library/Application Support", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder outside;
        app.sandboxed = c.sandboxed;
        const fs::path owned = OrvelPaths::appOwnedFolder(app.bundleIdentifier, app.sandboxed);
        const fs::path link = (owned / c.linked).lexically_normal();
        const fs::path linkPath = link.has_filename() ? link : link.parent_path();
        for (const auto& [file, bytes] : planted) {
            const fs::path inData = app.dataFolder() / file;
            const fs::path behind = inData.lexically_relative(linkPath);
            if (*behind.begin() != "..")
                outside.write(behind, bytes);
        }
        fs::create_directories(linkPath.parent_path());
        fs::create_directory_symlink(outside.path(), linkPath);
        const auto before = snapshot(outside.path());

        if (c.publishRefused)
            EXPECT_THROW(OverlayWriter::publish(project, strings, app, "Orvel"), fs::filesystem_error);
        else
            EXPECT_NO_THROW(OverlayWriter::publish(project, strings, app, "Orvel"));
        if (c.savesRefused) {
            EXPECT_THROW(project.save(app), fs::filesystem_error);
            EXPECT_THROW((AppNotes{"mine", {}}.save(app)), fs::filesystem_error);
        } else {
            EXPECT_NO_THROW(project.save(app));
        }
        EXPECT_EQ(snapshot(outside.path()), before);

        const auto loaded = TranslationProject::load(app, "de");
        EXPECT_FALSE(loaded.terms.contains("planted"));
        EXPECT_FALSE(loaded.translations.contains(idOf("Main", "Save")));
        if (c.savesRefused) {
            EXPECT_EQ(AppNotes::load(app), AppNotes{});
        }
        EXPECT_FALSE(OverlayWriter::read(app, "de").translations.contains(idOf("Main", "Save")));
        if (c.publishRefused) {
            EXPECT_TRUE(app.overlayLanguages().empty());
        }

        fs::remove(linkPath);
        fs::remove_all(app.dataFolder());
    }
}

// The app swaps its overlay folder for a link and back while Orvel publishes, again and again: whenever
// the folder passed the check, every file of that publish must land in it, never behind the link.
TEST_F(HostileDataFolderTest, AFolderSwappedForALinkDuringPublishingGetsNoWriteBehindIt) {
    testing::ScratchFolder outside;
    OverlayWriter::publish(project, strings, app, "Orvel");
    const fs::path folder = overlay();
    const fs::path link = folder.parent_path() / "swapped.lproj";
    fs::create_directory_symlink(outside.path(), link);
    std::atomic<bool> done = false;
    std::thread swapper([&] {
        while (!done) {
            // Each exchange is atomic: the name holds either the folder or the link.
            ::renameat2(AT_FDCWD, folder.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
            std::this_thread::yield();
            ::renameat2(AT_FDCWD, folder.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
        }
    });
    int published = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        try {
            OverlayWriter::publish(project, strings, app, "Orvel");
            ++published;
        } catch (const fs::filesystem_error&) {
            // Refused: the link was in place when the folder was opened.
        }
    }
    done = true;
    swapper.join();
    EXPECT_TRUE(fs::is_empty(outside.path())) << published << " publishes";
}

// Stands in for the system's file calls on the calling thread: right after a save opened the project
// folder, the app puts a link to another folder in its place, as it could at any moment.
class SwapAfterOpening : public FileCalls {
  public:
    SwapAfterOpening(fs::path folder, fs::path moved, fs::path elsewhere)
        : m_folder(std::move(folder)), m_moved(std::move(moved)), m_elsewhere(std::move(elsewhere)),
          m_substitute(*this) {}

    int openFolder(int parent, const std::string& name, bool followLink) override {
        const int fd = FileCalls::openFolder(parent, name, followLink);
        if (fd >= 0 && !m_swapped && name == m_folder.filename()) {
            m_swapped = true;
            fs::rename(m_folder, m_moved);
            fs::create_directory_symlink(m_elsewhere, m_folder);
        }
        return fd;
    }
    bool swapped() const { return m_swapped; }

  private:
    fs::path m_folder, m_moved, m_elsewhere;
    bool m_swapped = false;
    FileCalls::Substitute m_substitute;
};

// The file kept aside before a save replaces it goes where the save goes: into the folder the save
// opened, never behind the link that took its name meanwhile.
TEST_F(HostileDataFolderTest, AKeptAsideFileFollowsTheSaveNotAFolderSwappedForALink) {
    enum class Planted { undecodable, unreadable };
    struct Case {
        const char* name;
        std::string file;
        Planted planted;
        // What the folder behind the link holds under the same name, if anything.
        std::optional<std::string> elsewhere;
    };
    const std::vector<Case> cases{
        {"project that does not decode", "de.json", Planted::undecodable, std::nullopt},
        {"project that cannot be read", "de.json", Planted::unreadable, std::nullopt},
        {"notes that do not decode", "notes.json", Planted::undecodable, std::nullopt},
        {"notes that cannot be read", "notes.json", Planted::unreadable, std::nullopt},
        {"project that does not decode, beside one behind the link", "de.json", Planted::undecodable,
         "not json either"},
        {"notes that cannot be read, beside undecodable ones behind the link", "notes.json",
         Planted::unreadable, "not json either"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder outside;
        if (c.elsewhere)
            outside.write(c.file, *c.elsewhere);
        const auto before = snapshot(outside.path());
        const fs::path folder = app.projectFolder();
        const fs::path moved = folder.parent_path() / "moved";
        fs::create_directories(folder);
        if (c.planted == Planted::undecodable)
            testing::writeBytes(folder / c.file, "{\"broken\": ");
        else
            fs::create_symlink("/dev/zero", folder / c.file);
        {
            SwapAfterOpening swap(folder, moved, outside.path());
            if (c.file == "notes.json")
                AppNotes{"mine", {}}.save(app);
            else
                project.save(app);
            EXPECT_TRUE(swap.swapped());
        }
        EXPECT_EQ(snapshot(outside.path()), before);
        const fs::path broken = moved / (c.file + ".broken");
        if (c.planted == Planted::undecodable) {
            EXPECT_EQ(testing::readBytes(broken), "{\"broken\": ");
        } else {
            EXPECT_TRUE(fs::is_symlink(broken));
        }
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(moved / c.file)));
        fs::remove(folder);
        fs::remove_all(app.dataFolder());
    }
}

// A kill in the middle of a write leaves its temporary file; the next write into that folder removes it,
// whichever of the data folder's files it writes.
TEST_F(HostileDataFolderTest, TheNextWriteIntoAFolderRemovesTheTemporaryFilesOfAKilledOne) {
    struct Case {
        const char* name;
        fs::path folder;
        std::function<void()> write;
    };
    const std::vector<Case> cases{
        {"publish", overlay(), [&] { OverlayWriter::publish(project, strings, app, "Orvel"); }},
        {"project", app.projectFolder(), [&] { project.save(app); }},
        {"notes", app.projectFolder(),
         [&] {
             AppNotes{"mine", {}}.save(app);
         }},
        {"context", app.projectFolder(), [&] { ContextMap{}.save(app); }},
    };
    const std::vector<std::string> leftovers{".Main.strings.0123ABCD-4567-89EF-0123-456789ABCDEF.tmp",
                                             ".de.json.FEDCBA98-7654-4321-8FED-CBA987654321.tmp"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::create_directories(c.folder);
        // Left by writes cut short long ago: a temporary file younger than a write's start is kept.
        for (const std::string& leftover : leftovers) {
            testing::writeBytes(c.folder / leftover, "half");
            fs::last_write_time(c.folder / leftover,
                                fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        c.write();
        for (const std::string& leftover : leftovers)
            EXPECT_FALSE(fs::exists(c.folder / leftover)) << leftover;
        fs::remove_all(app.dataFolder());
    }
}

// A FIFO would block the reader for ever and a device would be read until memory runs out.
TEST_F(HostileDataFolderTest, SpecialFilesReadAsMissing) {
    struct Case {
        std::string name;
        std::string file;
        bool fifo;
    };
    const std::vector<Case> cases{
        {"project file as FIFO", ".translator/de.json", true},
        {"project file linked to a device", ".translator/de.json", false},
        {"notes as FIFO", ".translator/notes.json", true},
        {"notes linked to a device", ".translator/notes.json", false},
        {"overlay table as FIFO", "de.lproj/Main.strings", true},
        {"context map as FIFO", ".translator/context.json", true},
        {"context map linked to a device", ".translator/context.json", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = app.dataFolder() / c.file;
        fs::create_directories(file.parent_path());
        if (c.fifo)
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        else
            fs::create_symlink("/dev/zero", file);
        EXPECT_TRUE(TranslationProject::load(app, "de").translations.empty());
        EXPECT_EQ(AppNotes::load(app), AppNotes{});
        EXPECT_EQ(ContextMap::load(app), ContextMap{});
        fs::remove_all(app.dataFolder());
    }
}

// A record made by hand may hold any identifier; none may lead out of "Application Support/Orvel".
TEST_F(HostileDataFolderTest, UnsafeIdentifiersReachNoFolder) {
    for (const std::string identifier : {"..", "../x", "a/b", ""}) {
        SCOPED_TRACE(identifier);
        TranslatableApp handMade = app;
        handMade.bundleIdentifier = identifier;
        EXPECT_THROW(OverlayWriter::publish(project, strings, handMade, "Orvel"), UnsafeNameError);
        EXPECT_THROW(project.save(handMade), UnsafeNameError);
        EXPECT_THROW(AppNotes{}.save(handMade), UnsafeNameError);
        EXPECT_TRUE(TranslationProject::load(handMade, "de").translations.empty());
        EXPECT_EQ(AppNotes::load(handMade), AppNotes{});
        EXPECT_TRUE(handMade.overlayLanguages().empty());
        EXPECT_FALSE(fs::exists(scratch.path() / "home"));
    }
}

} // namespace
} // namespace orvel
