#include "engine/model/PromptItems.h"

#include <algorithm>

#include "core/PluralRules.h"
#include "core/TextPieces.h"

namespace orvel::Prompt {
namespace {

using json::OrderedJson;

template <class T> void setIfPresent(OrderedJson& object, const char* key, const std::optional<T>& value) {
    if (value)
        object[key] = *value;
}

// Plural forms in the order the prompts list categories in.
OrderedJson pluralObject(const std::map<std::string, std::string>& forms) {
    std::vector<std::pair<std::string, std::string>> ordered(forms.begin(), forms.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return PluralRules::canonicalIndex(a.first) < PluralRules::canonicalIndex(b.first);
    });
    OrderedJson out = OrderedJson::object();
    for (const auto& [category, form] : ordered)
        out[category] = form;
    return out;
}

template <class T> std::string arrayOf(const std::vector<T>& items) {
    std::vector<std::string> lines;
    lines.reserve(items.size());
    for (const auto& item : items) {
        try {
            // Compact, "/" unescaped, non-ASCII as UTF-8; text that is not UTF-8 is refused.
            lines.push_back(item.toJson().dump(-1, ' ', false, OrderedJson::error_handler_t::strict));
        } catch (const OrderedJson::exception&) {
        }
    }
    return "[\n" + text::joined(lines, ",\n") + "\n]";
}

} // namespace

json::OrderedJson Item::toJson() const {
    OrderedJson out = OrderedJson::object();
    out["id"] = id;
    out["text"] = text;
    setIfPresent(out, "plural", plural);
    setIfPresent(out, "countable", countable);
    setIfPresent(out, "where", where);
    setIfPresent(out, "note", note);
    setIfPresent(out, "key", key);
    setIfPresent(out, "current", current);
    setIfPresent(out, "feedback", feedback);
    setIfPresent(out, "problem", problem);
    setIfPresent(out, "os", os);
    setIfPresent(out, "phrases", phrases);
    return out;
}

json::OrderedJson TermItem::toJson() const {
    OrderedJson out = OrderedJson::object();
    out["term"] = term;
    out["examples"] = examples;
    setIfPresent(out, "os", os);
    setIfPresent(out, "evidence", evidence);
    return out;
}

json::OrderedJson ReviewItem::toJson() const {
    OrderedJson out = OrderedJson::object();
    out["id"] = id;
    out["source"] = source;
    setIfPresent(out, "translation", translation);
    if (plural)
        out["plural"] = pluralObject(*plural);
    setIfPresent(out, "where", where);
    setIfPresent(out, "problem", problem);
    return out;
}

json::OrderedJson JudgeItem::toJson() const {
    OrderedJson out = OrderedJson::object();
    out["id"] = id;
    out["source"] = source;
    out["A"] = a;
    out["B"] = b;
    setIfPresent(out, "where", where);
    return out;
}

std::string jsonArray(const std::vector<Item>& items) {
    return arrayOf(items);
}

std::string jsonArray(const std::vector<TermItem>& items) {
    return arrayOf(items);
}

std::string jsonArray(const std::vector<ReviewItem>& items) {
    return arrayOf(items);
}

std::string jsonArray(const std::vector<JudgeItem>& items) {
    return arrayOf(items);
}

} // namespace orvel::Prompt
