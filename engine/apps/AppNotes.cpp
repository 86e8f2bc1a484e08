#include "engine/apps/AppNotes.h"

#include "core/FileIO.h"
#include "core/OrvelProtocol.h"
#include "core/StringsFiles.h"

namespace orvel {
namespace {

std::filesystem::path notesFile(const TranslatableApp& app) {
    return app.projectFolder() / "notes.json";
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
    auto bytes = FileIO::readIfPresent(notesFile(app));
    if (!bytes)
        return {};
    try {
        return OrvelProtocol::decode<AppNotes>(*bytes);
    } catch (const json::DecodingError&) {
        return {};
    }
}

void AppNotes::save(const TranslatableApp& app) const {
    StringsFiles::writeAtomically(OrvelProtocol::encode(*this), notesFile(app));
}

} // namespace orvel
