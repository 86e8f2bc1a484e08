#pragma once
// The overlay that the companion inside a target app loads in place of the app's own strings: one
// "<code>.lproj" folder in the app's data folder with a ".strings" and a ".stringsdict" file per table
// and a "language.json" record, always written after the tables.

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/FolderWrites.h"
#include "core/OpenFolder.h"
#include "core/SourceString.h"
#include "engine/apps/OverlaySources.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"

namespace orvel::OverlayWriter {

// Writes the project's translations into the ".lproj" folder `folder`, creating it when missing. Only
// translations made from the app's current English (`strings`) are published, without id markers, and
// none of a string the app marks not to translate; a table left without entries loses its files. Entries
// whose id does not name a table that is a plain file name and a key are left out. Throws the file system's
// error of the folder or of the first table file that cannot be written; tables not yet visited keep their
// old files. Every table file is written and flushed before the first is renamed into place, so a write
// that fails replaces none.
void write(const TranslationProject& project, const std::vector<SourceString>& strings,
           const std::filesystem::path& folder);
// The same into a folder already open: every file is written and removed relative to it.
void write(const TranslationProject& project, const std::vector<SourceString>& strings,
           const OpenFolder& folder);
// The same with the strings already indexed, as every write of a run is made for the same strings.
void write(const TranslationProject& project, const OverlaySources& sources, const OpenFolder& folder);

// The table names of the ".strings" and ".stringsdict" files in `folder`; empty when it cannot be
// listed.
std::set<std::string> existingTables(const std::filesystem::path& folder);

// Whether the app's overlay of the project's language holds what publish() would write for `strings`:
// each table file byte for byte, no other table file, and the language record beside them. A kill between
// a project's write and its overlay's leaves them apart, which file dates alone may not tell. True where
// nothing could be published (an unsafe name, a linked folder).
bool isPublished(const TranslationProject& project, const std::vector<SourceString>& strings,
                 const TranslatableApp& app);

// Writes the overlay of the project's language into the app's data folder, then its "language.json".
// A failure of the tables leaves "language.json" as it was. Throws UnsafeNameError for a language code
// that is not a plain file name, and the first file error met.
void publish(const TranslationProject& project, const std::vector<SourceString>& strings,
             const TranslatableApp& app, std::string_view translator);
void publish(const TranslationProject& project, const OverlaySources& sources, const TranslatableApp& app,
             std::string_view translator);

// The table files a publish left in an overlay folder.
using TableFiles = std::set<std::string>;

// An overlay written beside another file that it must not go ahead of (the project file): its tables are
// written and flushed when it is made, and replace the old ones, the language record after them, only at
// commit(). Made and dropped without a commit, it leaves the folder as it was. Throws as publish() does.
class Staged {
  public:
    // Every table.
    Staged(const TranslationProject& project, const OverlaySources& sources, const TranslatableApp& app,
           std::string_view translator);
    // Only what changed since a publish of this process for the same strings, which left `published`,
    // while only the translations of the tables `changed` changed: those tables, every one whose file is
    // no longer as this process wrote it, and every one with a file that publish did not leave. The other
    // files hold what they would be written with, and a large project's write is not made whole again for
    // the few tables a run's batches changed.
    Staged(const TranslationProject& project, const OverlaySources& sources, const TranslatableApp& app,
           std::string_view translator, const TableFiles& published, std::set<std::string> changed);
    Staged(const Staged&) = delete;
    Staged& operator=(const Staged&) = delete;
    void commit();
    // The table files the folder holds once committed.
    const TableFiles& files() const { return m_files; }

  private:
    // The folder opened, nothing staged yet.
    Staged(const TranslationProject& project, const TranslatableApp& app, std::string_view translator);

    std::string m_language;
    OpenFolder m_folder;
    FolderWrites m_tables;
    std::string m_translator;
    TableFiles m_files;
};

// The project rebuilt from the app's overlay of `language`: every key of its table files as a
// translation of the person made from the app's current English (or from the key, for a string the app
// no longer has). Never fails: without a readable overlay, or for an unsafe language code, the project
// has no translations.
TranslationProject read(const TranslatableApp& app, const std::string& language);

} // namespace orvel::OverlayWriter
