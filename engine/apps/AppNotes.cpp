#include "engine/apps/AppNotes.h"

#include <optional>

#include "core/FileIO.h"
#include "core/OpenFolder.h"
#include "core/OrvelProtocol.h"
#include "core/PathComponent.h"
#include "engine/apps/UndecodableFileCopy.h"

namespace orvel {
namespace {

std::filesystem::path notesFile(const TranslatableApp& app) {
    return app.projectFolder() / "notes.json";
}

std::optional<AppNotes> decoded(const std::string& bytes) {
    try {
        return OrvelProtocol::decode<AppNotes>(bytes);
    } catch (const json::DecodingError&) {
        return std::nullopt;
    }
}

} // namespace

AppNotes AppNotes::fromJson(const json::Json& value) {
    return AppNotes{json::required<std::string>(value, "notes"),
                    json::required<std::vector<AppManifest::Term>>(value, "glossary")};
}

json::Json AppNotes::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "notes", notes);
    json::set(out, "glossary", glossary);
    return out;
}

AppNotes AppNotes::load(const TranslatableApp& app) {
    if (!isSafePathComponent(app.bundleIdentifier) || !app.hasNoLinks(app.projectFolder()))
        return AppNotes{};
    auto bytes = FileIO::readIfPresent(notesFile(app), FileIO::Links::refuse);
    return bytes ? decoded(*bytes).value_or(AppNotes{}) : AppNotes{};
}

void AppNotes::save(const TranslatableApp& app) const {
    const std::string bytes = OrvelProtocol::encode(*this);
    const OpenFolder folder = app.openWithoutLinks(app.projectFolder());
    // Notes that load as empty because their file does not decode are still the person's words.
    const std::string name = notesFile(app).filename().string();
    keepUndecodableFile(folder, name,
                        [](const std::string& existing) { return decoded(existing).has_value(); });
    folder.replaceFile(name, bytes);
}

} // namespace orvel
