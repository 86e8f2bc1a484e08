#include "engine/pipeline/AnswerFields.h"

namespace orvel::AnswerFields {

std::optional<std::string> text(const json::Json& object, const char* key) {
    const auto value = object.find(key);
    if (value == object.end() || !value->is_string())
        return std::nullopt;
    return value->get<std::string>();
}

std::optional<std::map<std::string, std::string>> pluralForms(const json::Json& object) {
    const auto plural = object.find("plural");
    if (plural == object.end() || !plural->is_object() || plural->empty())
        return std::nullopt;
    std::map<std::string, std::string> forms;
    for (const auto& [category, form] : plural->items()) {
        if (!form.is_string())
            return std::nullopt;
        forms.emplace(category, form.get<std::string>());
    }
    return forms;
}

} // namespace orvel::AnswerFields
