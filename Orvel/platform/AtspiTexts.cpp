#include "Orvel/platform/AtspiTexts.h"

namespace orvel::AtspiTexts {
namespace {

std::optional<std::string> nonEmpty(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool hasTypeNameForm(std::string_view name) {
    if (name.empty() || !isUpper(name.front()))
        return false;
    std::size_t i = 1;
    while (i < name.size() && isLower(name[i]))
        ++i;
    // A namespace of at least two letters, then the type's own capitalised name.
    if (i < 2 || i + 1 >= name.size() || !isUpper(name[i]))
        return false;
    for (; i < name.size(); ++i)
        if (!isUpper(name[i]) && !isLower(name[i]) && !isDigit(name[i]))
            return false;
    return true;
}

Texts texts(const Published& published) {
    const auto name = nonEmpty(published.name);
    auto description = nonEmpty(published.description);
    Texts out;
    if (!published.nameIsContent)
        out.title = name;
    out.placeholder = nonEmpty(published.placeholder);
    if (description == name || description == out.placeholder)
        description.reset();
    if (!description)
        return out;
    if (published.describedByPlaceholder && !out.placeholder)
        out.placeholder = std::move(description);
    else if (name)
        out.help = std::move(description);
    else
        out.label = std::move(description);
    return out;
}

} // namespace orvel::AtspiTexts
