#include "engine/reference/PoEntries.h"

#include <algorithm>
#include <map>

#include "core/Numbers.h"
#include "core/Unicode.h"
#include "engine/reference/BackslashEscapes.h"
#include "engine/reference/TextLines.h"

namespace orvel::SoftwareFormats {
namespace {

using Block = std::vector<std::string>;

std::vector<Block> blocks(std::string_view text) {
    std::vector<Block> out(1);
    for (auto& line : lines(text)) {
        if (trimmedHorizontally(line).empty()) {
            if (!out.back().empty())
                out.emplace_back();
        } else {
            out.back().push_back(std::move(line));
        }
    }
    if (out.back().empty())
        out.pop_back();
    return out;
}

bool isKeyword(std::string_view keyword) {
    return keyword == "msgctxt" || keyword == "msgid" || keyword == "msgid_plural" ||
           keyword.starts_with("msgstr");
}

// Keyword to its text, continuation strings joined.
std::map<std::string, std::string, std::less<>> keywordTexts(const Block& block) {
    std::map<std::string, std::string, std::less<>> texts;
    std::string* current = nullptr;
    for (const auto& line : block) {
        if (line.starts_with('#'))
            continue;
        const std::string_view trimmed = trimmedHorizontally(line);
        if (trimmed.starts_with('"')) {
            if (current)
                *current += poString(trimmed);
            continue;
        }
        const std::size_t space = trimmed.find(' ');
        if (space == std::string_view::npos)
            continue;
        const std::string_view keyword = trimmed.substr(0, space);
        if (!isKeyword(keyword))
            continue;
        current = &(texts[std::string(keyword)] = poString(trimmedHorizontally(trimmed.substr(space + 1))));
    }
    return texts;
}

// The n of "msgstr[n]"; a missing or malformed number counts as 0.
int pluralIndex(std::string_view keyword) {
    constexpr std::size_t prefix = std::string_view("msgstr[").size();
    if (keyword.size() <= prefix)
        return 0;
    return parseNumber<int>(keyword.substr(prefix, keyword.size() - prefix - 1)).value_or(0);
}

std::optional<POEntry> entry(const Block& block) {
    for (const auto& line : block)
        if (line.starts_with("#~"))
            return std::nullopt;
    for (const auto& line : block)
        if (line.starts_with("#,") && line.find("fuzzy") != std::string::npos)
            return std::nullopt;
    const auto texts = keywordTexts(block);
    const auto id = texts.find("msgid");
    if (id == texts.end() || id->second.empty())
        return std::nullopt;
    POEntry result;
    result.id = text::nfc(id->second);
    if (const auto context = texts.find("msgctxt"); context != texts.end())
        result.context = text::nfc(context->second);
    if (const auto plural = texts.find("msgid_plural"); plural != texts.end()) {
        result.plural = text::nfc(plural->second);
        std::vector<std::pair<int, std::string>> forms;
        for (const auto& [keyword, text] : texts)
            if (keyword.starts_with("msgstr["))
                forms.emplace_back(pluralIndex(keyword), text);
        std::stable_sort(forms.begin(), forms.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [index, form] : forms) {
            if (form.empty())
                return std::nullopt;
            result.strings.push_back(text::nfc(form));
        }
        return result;
    }
    const auto translation = texts.find("msgstr");
    if (translation == texts.end() || translation->second.empty())
        return std::nullopt;
    result.strings.push_back(text::nfc(translation->second));
    return result;
}

} // namespace

std::vector<POEntry> poEntries(std::string_view text) {
    std::vector<POEntry> result;
    for (const auto& block : blocks(text))
        if (auto found = entry(block))
            result.push_back(std::move(*found));
    return result;
}

std::string poString(std::string_view literal) {
    if (literal.size() >= 2 && literal.front() == '"' && literal.back() == '"')
        literal = literal.substr(1, literal.size() - 2);
    return unescaped(literal, escapeTable());
}

} // namespace orvel::SoftwareFormats
