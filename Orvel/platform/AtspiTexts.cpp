#include "Orvel/platform/AtspiTexts.h"

namespace orvel::AtspiTexts {
namespace {

std::optional<std::string> nonEmpty(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

} // namespace

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
