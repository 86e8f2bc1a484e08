#include "engine/apps/OverlayWriter.h"

#include <algorithm>
#include <optional>

#include "core/FileIO.h"
#include "core/FolderWrites.h"
#include "core/FormatSpecifiers.h"
#include "core/LanguageInfo.h"
#include "core/Languages.h"
#include "core/Markers.h"
#include "core/OpenFolder.h"
#include "core/OrvelPaths.h"
#include "core/OrvelProtocol.h"
#include "core/PathComponent.h"
#include "core/PluralRules.h"
#include "core/StringsFiles.h"
#include "core/Unicode.h"
#include "core/WrittenFiles.h"
#include "engine/apps/UnsafeNameError.h"

namespace orvel::OverlayWriter {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view stringsExtension = ".strings";
constexpr std::string_view stringsdictExtension = ".stringsdict";

struct TableKey {
    std::string table;
    std::string key;
};

// The table and the key of an id, when both are there and the table can name a file of the folder. An
// id without a separator has an empty table; one whose table part is empty is never published, even
// when its key holds another separator.
std::optional<TableKey> tableAndKey(const std::string& id) {
    const auto [table, key] = SourceString::splitId(id);
    if (key.empty() || !isSafePathComponent(table))
        return std::nullopt;
    return TableKey{std::string(table), std::string(key)};
}

// The forms with their markers removed, without the ones left empty, in the canonical category order.
std::vector<std::pair<std::string, std::string>>
cleanForms(const std::map<std::string, std::string>& plural) {
    std::vector<std::pair<std::string, std::string>> forms;
    for (const auto& [category, form] : plural)
        if (std::string clean = Markers::clean(form); !clean.empty())
            forms.emplace_back(category, std::move(clean));
    std::stable_sort(forms.begin(), forms.end(), [](const auto& a, const auto& b) {
        return PluralRules::canonicalIndex(a.first) < PluralRules::canonicalIndex(b.first);
    });
    return forms;
}

class Entries {
  public:
    std::map<std::string, StringsFiles::SimpleTable> simple;
    std::map<std::string, StringsFiles::PluralTable> plural;

    void add(const std::string& id, const StringTranslation& translation, OverlaySources::Search& sources) {
        if (translation.isEmpty())
            return;
        const SourceString* source = sources.find(id);
        // A translation of other English than the app now shows is stale: the app shows its own text.
        if (source && !text::canonicallyEqual(translation.source, source->text))
            return;
        // The developer asked for the English here. The project keeps the translation, which comes back
        // once the string is translatable again.
        if (source && !source->translate)
            return;
        auto place = tableAndKey(id);
        if (!place)
            return;
        if (translation.plural) {
            auto forms = cleanForms(*translation.plural);
            if (!forms.empty()) {
                addPlural(*place, forms, source ? source->text : place->key);
                return;
            }
        }
        addSimple(*place, translation.text);
    }

  private:
    void addSimple(TableKey& place, const std::optional<std::string>& text) {
        if (!text)
            return;
        std::string clean = Markers::clean(*text);
        if (!clean.empty())
            simple[place.table].insert_or_assign(std::move(place.key), std::move(clean));
    }

    // The counted number's type and place come from the English when it has a count placeholder,
    // else from the first translated form that has one.
    void addPlural(TableKey& place, const std::vector<std::pair<std::string, std::string>>& forms,
                   const std::string& format) {
        auto valueType = FormatSpecifiers::countValueType(format);
        auto argument = FormatSpecifiers::countArgument(format);
        for (auto form = forms.begin(); !valueType && form != forms.end(); ++form) {
            valueType = FormatSpecifiers::countValueType(form->second);
            argument = FormatSpecifiers::countArgument(form->second);
        }
        if (!valueType) {
            // Nothing counts, so there is nothing to choose a form by: the general form is the text.
            auto other =
                std::find_if(forms.begin(), forms.end(), [](const auto& f) { return f.first == "other"; });
            if (other != forms.end())
                addSimple(place, other->second);
            return;
        }
        StringsFiles::PluralEntry entry{
            {forms.begin(), forms.end()}, std::move(*valueType), argument.value_or(1)};
        plural[place.table].insert_or_assign(std::move(place.key), std::move(entry));
    }
};

bool isTableFile(const fs::path& file) {
    return file.extension() == stringsExtension || file.extension() == stringsdictExtension;
}

std::set<std::string> tablesIn(const OpenFolder& folder) {
    std::set<std::string> tables;
    for (const std::string& name : folder.entryNames())
        if (const fs::path file(name); isTableFile(file))
            tables.insert(file.stem().string());
    return tables;
}

// What publish() writes of the project's translations; of the tables `only` alone when given, though
// entries of other tables may come with them.
Entries entriesOf(const TranslationProject& project, const OverlaySources& sources,
                  const std::set<std::string>* only = nullptr) {
    Entries entries;
    OverlaySources::Search search(sources);
    if (!only) {
        for (const auto& [id, translation] : project.translations)
            entries.add(id, translation, search);
        return entries;
    }
    for (const std::string& table : *only) {
        // Every id of the table begins with its name and the separator.
        const std::string first = table + SourceString::idSeparator;
        const std::string past = table + static_cast<char>(SourceString::idSeparator + 1);
        for (auto entry = project.translations.lower_bound(first);
             entry != project.translations.end() && entry->first < past; ++entry)
            entries.add(entry->first, entry->second, search);
    }
    return entries;
}

// The tables a publish that follows `published` writes: those whose translations changed, every one whose
// file another program changed or took away since, and every one with a file that publish did not leave.
std::set<std::string> tablesToWrite(const OpenFolder& folder, const TableFiles& published,
                                    std::set<std::string> changed) {
    for (const std::string& name : published)
        if (!WrittenFiles::isUnchanged(folder.path() / name))
            changed.insert(fs::path(name).stem().string());
    for (const std::string& name : folder.entryNames())
        if (const fs::path file(name); isTableFile(file) && !published.contains(name))
            changed.insert(file.stem().string());
    return changed;
}

std::string safeLanguage(const std::string& code) {
    requireSafeLanguageCode(code);
    return code;
}

// The files of the tables `tables` written and flushed into `writes`, to replace their old ones at the
// commit (the folder is flushed once for all of them then), with `entries` their translations; `files`
// becomes the table files the folder holds once committed.
void stageTables(const Entries& entries, const std::set<std::string>& tables, FolderWrites& writes,
                 TableFiles& files) {
    // A table file with its text, or without one to go.
    const auto stage = [&](const std::string& name, const std::optional<std::string>& text) {
        if (text) {
            writes.replace(name, *text);
            files.insert(name);
        } else {
            writes.remove(name);
            files.erase(name);
        }
    };
    for (const auto& table : tables) {
        const auto plural = entries.plural.find(table);
        stage(table + std::string(stringsdictExtension),
              plural == entries.plural.end() ? std::nullopt
                                             : std::optional(StringsFiles::stringsdictText(plural->second)));
        const auto simple = entries.simple.find(table);
        stage(table + std::string(stringsExtension),
              simple == entries.simple.end() ? std::nullopt
                                             : std::optional(StringsFiles::stringsText(simple->second)));
    }
}

// Every table file of the project's translations and every other in the folder, staged as above.
TableFiles stageEveryTable(const TranslationProject& project, const OverlaySources& sources,
                           const OpenFolder& folder, FolderWrites& writes) {
    const Entries entries = entriesOf(project, sources);
    std::set<std::string> tables = tablesIn(folder);
    for (const auto& [table, _] : entries.simple)
        tables.insert(table);
    for (const auto& [table, _] : entries.plural)
        tables.insert(table);
    TableFiles files;
    stageTables(entries, tables, writes, files);
    return files;
}

} // namespace

void write(const TranslationProject& project, const std::vector<SourceString>& strings,
           const fs::path& folder) {
    // Removals and writes through a linked folder would land in whatever folder it points at.
    write(project, strings, OpenFolder::openBelow(folder, folder, true));
}

void write(const TranslationProject& project, const std::vector<SourceString>& strings,
           const OpenFolder& folder) {
    write(project, OverlaySources(strings), folder);
}

void write(const TranslationProject& project, const OverlaySources& sources, const OpenFolder& folder) {
    FolderWrites writes(folder);
    stageEveryTable(project, sources, folder, writes);
    writes.commit();
}

std::set<std::string> existingTables(const fs::path& folder) {
    try {
        return tablesIn(OpenFolder::openBelow(folder, folder, false));
    } catch (const std::exception&) {
        return {};
    }
}

bool isPublished(const TranslationProject& project, const std::vector<SourceString>& strings,
                 const TranslatableApp& app) {
    if (!isSafePathComponent(project.language) || !isSafePathComponent(app.bundleIdentifier))
        return true;
    const fs::path folder = OrvelPaths::lproj(project.language, app.dataFolder());
    if (!app.hasNoLinks(folder))
        return true;
    const Entries entries = entriesOf(project, OverlaySources(strings));

    // Every table file there must be one the publish writes.
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path name = it->path().filename();
        const std::string table = name.stem().string();
        if (name.extension() == stringsExtension && !entries.simple.contains(table))
            return false;
        if (name.extension() == stringsdictExtension && !entries.plural.contains(table))
            return false;
    }
    if (entries.simple.empty() && entries.plural.empty())
        return true;
    const auto holds = [&](const std::string& file, const std::string& text) {
        const std::optional<std::string> bytes = FileIO::readIfPresent(folder / file, FileIO::Links::refuse);
        return bytes && *bytes == text;
    };
    for (const auto& [table, entry] : entries.simple)
        if (!holds(table + std::string(stringsExtension), StringsFiles::stringsText(entry)))
            return false;
    for (const auto& [table, entry] : entries.plural)
        if (!holds(table + std::string(stringsdictExtension), StringsFiles::stringsdictText(entry)))
            return false;
    // The record is written last: without it the tables may be of a publish that never ended.
    std::error_code statusError;
    return fs::is_regular_file(fs::symlink_status(folder / OrvelProtocol::languageFile, statusError));
}

void publish(const TranslationProject& project, const std::vector<SourceString>& strings,
             const TranslatableApp& app, std::string_view translator) {
    publish(project, OverlaySources(strings), app, translator);
}

void publish(const TranslationProject& project, const OverlaySources& sources, const TranslatableApp& app,
             std::string_view translator) {
    Staged(project, sources, app, translator).commit();
}

Staged::Staged(const TranslationProject& project, const TranslatableApp& app, std::string_view translator)
    : m_language(safeLanguage(project.language)),
      // The checks for links and every write below happen on this one open folder, so an app that swaps
      // its folder for a link while the overlay is written cannot send a file elsewhere.
      m_folder(app.openWithoutLinks(OrvelPaths::lproj(project.language, app.dataFolder()))),
      m_tables(m_folder), m_translator(translator) {}

Staged::Staged(const TranslationProject& project, const OverlaySources& sources, const TranslatableApp& app,
               std::string_view translator)
    : Staged(project, app, translator) {
    m_files = stageEveryTable(project, sources, m_folder, m_tables);
}

Staged::Staged(const TranslationProject& project, const OverlaySources& sources, const TranslatableApp& app,
               std::string_view translator, const TableFiles& published, std::set<std::string> changed)
    : Staged(project, app, translator) {
    m_files = published;
    const std::set<std::string> tables = tablesToWrite(m_folder, published, std::move(changed));
    stageTables(entriesOf(project, sources, &tables), tables, m_tables, m_files);
}

void Staged::commit() {
    // The tables are on disk, their folder flushed, before the record that names them is written: not even
    // after a power loss does the app find a record newer than its tables.
    m_tables.commit();
    // As this process left them, for the next publish to tell another program's change from its own.
    for (const std::string& name : m_files)
        WrittenFiles::remember(m_folder.path() / name);
    const LanguageInfo info(m_language, Languages::nativeName(m_language), m_translator, Dates::now());
    m_folder.replaceFile(std::string(OrvelProtocol::languageFile), OrvelProtocol::encode(info));
}

TranslationProject read(const TranslatableApp& app, const std::string& language) {
    TranslationProject project;
    project.app = app.bundleIdentifier;
    project.language = language;
    if (!isSafePathComponent(language) || !isSafePathComponent(app.bundleIdentifier))
        return project;
    const fs::path folder = OrvelPaths::lproj(language, app.dataFolder());
    if (!app.hasNoLinks(folder))
        return project;

    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_symlink(typeError) && !typeError)
            files.push_back(it->path());
    }
    if (error)
        return project;
    // Sorted so that a key in both files of a table always ends up with its plural forms.
    std::sort(files.begin(), files.end());

    const auto strings = app.loadStrings({});
    const OverlaySources sources(strings);
    OverlaySources::Search search(sources);
    const Date now = Dates::now();
    const auto rebuilt = [&](const std::string& table, const std::string& key) {
        std::string id = SourceString::id(table, key);
        const SourceString* source = search.find(id);
        if (source)
            id = source->id();
        StringTranslation translation;
        translation.origin = StringTranslation::Origin::person;
        translation.source = source ? source->text : key;
        translation.updated = now;
        return std::pair{std::move(id), std::move(translation)};
    };
    for (const auto& file : files) {
        const std::string table = file.stem().string();
        if (file.extension() == stringsExtension) {
            for (auto& [key, value] : StringsFiles::readStrings(file)) {
                auto [id, translation] = rebuilt(table, key);
                translation.text = std::move(value);
                project.translations.insert_or_assign(std::move(id), std::move(translation));
            }
        } else if (file.extension() == stringsdictExtension) {
            for (auto& [key, entry] : StringsFiles::readStringsdict(file)) {
                auto [id, translation] = rebuilt(table, key);
                translation.plural = std::move(entry.forms);
                project.translations.insert_or_assign(std::move(id), std::move(translation));
            }
        }
    }
    return project;
}

} // namespace orvel::OverlayWriter
