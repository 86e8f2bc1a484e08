#include "engine/apps/AppNotes.h"

namespace orvel {

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

} // namespace orvel
