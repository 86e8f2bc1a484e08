#include "core/LanguageInfo.h"

namespace orvel {

LanguageInfo LanguageInfo::fromJson(const json::Json& value) {
    LanguageInfo info;
    info.protocol = json::required<std::int64_t>(value, "protocol");
    info.language = json::required<std::string>(value, "language");
    info.name = json::optional<std::string>(value, "name");
    info.translator = json::optional<std::string>(value, "translator");
    info.updated = json::optional<Date>(value, "updated");
    return info;
}

json::Json LanguageInfo::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "protocol", protocol);
    json::set(out, "language", language);
    json::set(out, "name", name);
    json::set(out, "translator", translator);
    json::set(out, "updated", updated);
    return out;
}

} // namespace orvel
