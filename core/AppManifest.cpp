#include "core/AppManifest.h"

#include "core/Hash.h"

namespace orvel {

AppManifest::Term AppManifest::Term::fromJson(const json::Json& value) {
    return {json::required<std::string>(value, "term"), json::optional<std::string>(value, "note"),
            json::optional<bool>(value, "translate")};
}

json::Json AppManifest::Term::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "term", term);
    json::set(out, "note", note);
    json::set(out, "translate", translate);
    return out;
}

AppManifest AppManifest::fromJson(const json::Json& value) {
    AppManifest manifest;
    manifest.protocol = json::optional<std::int64_t>(value, "protocol");
    manifest.description = json::optional<std::string>(value, "description");
    manifest.context = json::optional<std::string>(value, "context");
    manifest.glossary = json::optional<std::vector<Term>>(value, "glossary");
    return manifest;
}

json::Json AppManifest::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "protocol", protocol);
    json::set(out, "description", description);
    json::set(out, "context", context);
    json::set(out, "glossary", glossary);
    return out;
}

} // namespace orvel

std::size_t
std::hash<orvel::AppManifest::Term>::operator()(const orvel::AppManifest::Term& term) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, term.term);
    orvel::hashCombine(seed, term.note);
    orvel::hashCombine(seed, term.translate);
    return seed;
}
