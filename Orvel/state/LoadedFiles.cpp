#include "Orvel/state/LoadedFiles.h"

#include <set>

#include "Orvel/state/DisplayOrder.h"

namespace orvel {

namespace fs = std::filesystem;

template <typename Entry, typename Current, typename Read, typename Fill>
auto LoadedFiles::readOnce(std::map<fs::path, std::shared_ptr<Entry>>& entries, const fs::path& key,
                           Current current, Read read, Fill fill) {
    std::unique_lock lock(m_mutex);
    std::shared_ptr<Entry>& slot = entries[key];
    if (!slot)
        slot = std::make_shared<Entry>();
    // Held by this thread: keepOnly() may drop the map's reference meanwhile.
    const std::shared_ptr<Entry> entry = slot;
    m_readEnded.wait(lock, [&] { return !entry->reading; });
    if (auto value = entry->value.lock(); value && current(*entry))
        return value;
    entry->reading = true;
    lock.unlock();
    decltype(entry->value.lock()) value;
    try {
        value = read();
    } catch (...) {
        lock.lock();
        entry->reading = false;
        m_readEnded.notify_all();
        throw;
    }
    lock.lock();
    fill(*entry);
    entry->value = value;
    entry->reading = false;
    m_readEnded.notify_all();
    return value;
}

LoadedFiles::StringsSource LoadedFiles::sourceOf(const TranslatableApp& app,
                                                 const EngineFacade::SeenLists& seen) {
    StringsSource source{app.catalogURLs, {}, app.version, seen};
    source.stamps.reserve(app.catalogURLs.size());
    for (const fs::path& catalog : app.catalogURLs)
        source.stamps.push_back(FileStamp::of(catalog));
    return source;
}

LoadedFiles::Strings LoadedFiles::strings(const TranslatableApp& app, const EngineFacade::SeenLists& seen,
                                          const EngineFacade& engine, Reuse reuse) {
    const auto read = [&] {
        return std::make_shared<const std::vector<SourceString>>(
            DisplayOrder::sorted(engine.loadStrings(app, seen)));
    };
    if (app.catalogURLs.empty())
        return read();
    // Taken before the read: a catalog rewritten while it is read is read again by the next caller.
    StringsSource source = sourceOf(app, seen);
    return readOnce(
        m_strings, app.bundleURL,
        [&](const StringsEntry& entry) { return reuse == Reuse::whileUnchanged && entry.source == source; },
        read,
        [&](StringsEntry& entry) {
            entry.bundle = app.bundleURL;
            entry.source = std::move(source);
        });
}

LoadedFiles::Project LoadedFiles::project(const TranslatableApp& app, const std::string& language) {
    const fs::path file = TranslationProject::fileURL(app, language);
    const std::optional<FileStamp> stamp = FileStamp::of(file);
    return readOnce(
        m_projects, file, [&](const ProjectEntry& entry) { return entry.stamp == stamp; },
        [&] { return std::make_shared<const TranslationProject>(TranslationProject::load(app, language)); },
        [&](ProjectEntry& entry) {
            entry.bundle = app.bundleURL;
            entry.stamp = stamp;
        });
}

std::optional<LoadedFiles::Count> LoadedFiles::count(const TranslatableApp& app, const std::string& language,
                                                     const EngineFacade::SeenLists& seen) {
    const fs::path file = TranslationProject::fileURL(app, language);
    const std::optional<FileStamp> stamp = FileStamp::of(file);
    std::lock_guard lock(m_mutex);
    const auto found = m_counts.find(file);
    if (found == m_counts.end() || found->second.projectStamp != stamp)
        return std::nullopt;
    if (found->second.strings && *found->second.strings != sourceOf(app, seen))
        return std::nullopt;
    return found->second.count;
}

void LoadedFiles::rememberCount(const TranslatableApp& app, const std::string& language,
                                const EngineFacade::SeenLists& seen, const Project& project,
                                const Strings& strings, Count count) {
    const fs::path file = TranslationProject::fileURL(app, language);
    std::lock_guard lock(m_mutex);
    m_counts.erase(file);
    // Only values still known as what their files held can vouch for a count; an app without catalogs
    // has strings that no file stamps.
    const auto projectEntry = m_projects.find(file);
    if (projectEntry == m_projects.end() || projectEntry->second->value.lock() != project)
        return;
    CountEntry entry{app.bundleURL, projectEntry->second->stamp, std::nullopt, count};
    if (strings) {
        const auto stringsEntry = m_strings.find(app.bundleURL);
        if (stringsEntry == m_strings.end() || stringsEntry->second->value.lock() != strings ||
            stringsEntry->second->source.seen != seen)
            return;
        entry.strings = stringsEntry->second->source;
    }
    m_counts.emplace(file, std::move(entry));
}

void LoadedFiles::keepOnly(const std::vector<TranslatableApp>& apps) {
    std::set<fs::path> kept;
    for (const TranslatableApp& app : apps)
        kept.insert(app.bundleURL);
    const auto gone = [&](const fs::path& bundle) { return !kept.contains(bundle); };
    std::lock_guard lock(m_mutex);
    std::erase_if(m_strings,
                  [&](const auto& entry) { return !entry.second->reading && gone(entry.second->bundle); });
    std::erase_if(m_projects,
                  [&](const auto& entry) { return !entry.second->reading && gone(entry.second->bundle); });
    std::erase_if(m_counts, [&](const auto& entry) { return gone(entry.second.bundle); });
}

} // namespace orvel
