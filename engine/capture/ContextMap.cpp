#include "engine/capture/ContextMap.h"

#include <algorithm>
#include <set>

#include "core/FileIO.h"
#include "core/OrvelProtocol.h"
#include "core/PathComponent.h"
#include "core/StringsFiles.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel {
namespace {

constexpr std::string_view fileName = "context.json";

bool samePlace(const Occurrence& a, const Occurrence& b) {
    return a.screen == b.screen && a.role == b.role && a.row == b.row;
}

} // namespace

ContextMap ContextMap::fromJson(const json::Json& value) {
    ContextMap out;
    for (auto& [id, list] :
         json::required<std::map<std::string, std::vector<Occurrence>>>(value, "occurrences"))
        out.occurrences.emplace(id, std::move(list));
    return out;
}

json::Json ContextMap::toJson() const {
    json::Json byId = json::Json::object();
    for (const auto& [id, list] : occurrences)
        byId[id] = json::encode(list);
    json::Json out = json::Json::object();
    out["occurrences"] = std::move(byId);
    return out;
}

std::filesystem::path ContextMap::fileURL(const TranslatableApp& app) {
    return app.projectFolder() / fileName;
}

ContextMap ContextMap::load(const TranslatableApp& app) {
    if (!isSafePathComponent(app.bundleIdentifier) || !app.hasNoLinks(app.projectFolder()))
        return {};
    return load(fileURL(app));
}

ContextMap ContextMap::load(const std::filesystem::path& file) {
    try {
        const auto bytes = FileIO::readIfPresent(file, FileIO::Links::refuse);
        if (!bytes)
            return {};
        return OrvelProtocol::decode<ContextMap>(*bytes);
    } catch (const std::exception&) {
        // A damaged file is replaced at the next save.
        return {};
    }
}

void ContextMap::save(const TranslatableApp& app) const {
    app.openWithoutLinks(app.projectFolder())
        .replaceFile(std::string(fileName), OrvelProtocol::encode(*this));
}

void ContextMap::save(const std::filesystem::path& file) const {
    StringsFiles::writeAtomically(OrvelProtocol::encode(*this), file);
}

namespace {

// A screen read only in part, or a menu path below it ("Menu bar > File" below "Menu bar").
bool within(const std::string& screen, const std::vector<std::string>& partial) {
    return std::any_of(partial.begin(), partial.end(), [&](const std::string& name) {
        return screen == name || (screen.starts_with(name) && screen.substr(name.size()).starts_with(" > "));
    });
}

} // namespace

void ContextMap::merge(const ContextMap& captured, const std::vector<std::string>& partial) {
    if (&captured == this) {
        // The capture must be seen as it was before the stored lists change.
        const ContextMap copy = captured;
        merge(copy, partial);
        return;
    }

    std::set<std::string, std::less<>> screens;
    for (const auto& [id, list] : captured.occurrences)
        for (const auto& occurrence : list)
            screens.insert(occurrence.screen);

    for (auto& [id, list] : occurrences)
        std::erase_if(list, [&](const Occurrence& stored) {
            return screens.contains(stored.screen) && !within(stored.screen, partial);
        });

    for (const auto& [id, list] : captured.occurrences) {
        for (const auto& occurrence : list) {
            auto& stored = occurrences[id];
            const bool known = std::any_of(stored.begin(), stored.end(), [&](const Occurrence& other) {
                return samePlace(other, occurrence);
            });
            if (!known)
                stored.push_back(occurrence);
        }
    }

    std::erase_if(occurrences, [](const auto& entry) { return entry.second.empty(); });
}

std::optional<std::string> ContextMap::summary(std::string_view id) const {
    const auto it = occurrences.find(id);
    if (it == occurrences.end() || it->second.empty())
        return std::nullopt;
    const Occurrence& first = it->second.front();
    std::string out = first.screen;
    if (first.section)
        out += " > " + *first.section;
    out += " · " + first.role;
    if (it->second.size() > 1)
        out += " +" + std::to_string(it->second.size() - 1);
    return out;
}

} // namespace orvel
