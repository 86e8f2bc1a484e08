#include "core/StringsFiles.h"

#include <algorithm>
#include <vector>

#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/PluralRules.h"
#include "core/PropertyList.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/StringsFileParser.h"
#include "core/Unicode.h"
#include "core/XmlPropertyList.h"

namespace orvel::StringsFiles {
namespace {

constexpr std::string_view formatKey = "NSStringLocalizedFormatKey";
constexpr std::string_view specTypeKey = "NSStringFormatSpecTypeKey";
constexpr std::string_view valueTypeKey = "NSStringFormatValueTypeKey";
constexpr std::string_view pluralRuleType = "NSStringPluralRuleType";
constexpr std::string_view variableName = "count";
constexpr std::string_view defaultValueType = "lld";
constexpr std::string_view placeholderPattern = R"(%(?:(\d+)\$)?#@([^@]+)@)";

void appendHex4(std::string& out, unsigned value) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hex[(value >> shift) & 0xF];
}

std::string pluralFormat(std::int64_t argument) {
    if (argument < 2)
        return "%#@count@";
    std::string format = "%";
    format += std::to_string(argument);
    format += "$#@count@";
    return format;
}

// The argument of a placeholder position: ASCII digits that make a valid integer, else 1.
std::int64_t argumentNumber(std::optional<std::string_view> digits) {
    return digits ? parseNumber<std::int64_t>(*digits).value_or(1) : 1;
}

bool looksLikePropertyList(std::string_view bytes) {
    if (bytes.starts_with("bplist"))
        return true;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

std::optional<SimpleTable> simpleTableFromPlist(std::string_view bytes) {
    const auto root = PropertyList::parse(bytes);
    if (!root || !root->is_object())
        return std::nullopt;
    SimpleTable table;
    for (const auto& [key, value] : root->items()) {
        if (!value.is_string())
            return std::nullopt;
        table.emplace(key, value.get<std::string>());
    }
    return table;
}

std::optional<PluralEntry> pluralEntry(const json::Json& value) {
    if (!value.is_object())
        return std::nullopt;
    const auto format = value.find(formatKey);
    if (format == value.end() || !format->is_string())
        return std::nullopt;

    const std::string& formatText = format->get_ref<const std::string&>();
    std::string variable(variableName);
    std::int64_t argument = 1;
    if (const auto pattern = RegexCache::regex(placeholderPattern)) {
        if (const auto match = regex::firstMatch(*pattern, formatText)) {
            argument = argumentNumber(match->group(formatText, 1));
            variable = std::string(*match->group(formatText, 2));
        }
    }

    const auto variableDictionary = value.find(variable);
    if (variableDictionary == value.end() || !variableDictionary->is_object())
        return std::nullopt;

    PluralEntry entry;
    entry.argument = argument;
    for (const auto& category : PluralRules::allCategories()) {
        const auto form = variableDictionary->find(category);
        if (form != variableDictionary->end() && form->is_string())
            entry.forms.emplace(category, text::nfc(form->get_ref<const std::string&>()));
    }
    const auto valueType = variableDictionary->find(valueTypeKey);
    entry.valueType = valueType != variableDictionary->end() && valueType->is_string()
                          ? valueType->get<std::string>()
                          : std::string(defaultValueType);
    return entry;
}

} // namespace

std::string escape(std::string_view raw) {
    const std::string valid = text::decodeUtf8Lossy(raw);
    std::string out;
    out.reserve(valid.size() + 8);
    for (const char c : valid) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\U";
                appendHex4(out, static_cast<unsigned char>(c));
            } else {
                out += c; // every other scalar, including all non-ASCII text, is written unchanged
            }
        }
    }
    return out;
}

std::string stringsText(const SimpleTable& table) {
    // Keys are ordered by the code points of their composed form; equal forms fall back to the bytes.
    std::vector<std::pair<std::string, const SimpleTable::value_type*>> ordered;
    ordered.reserve(table.size());
    for (const auto& pair : table)
        ordered.emplace_back(text::nfc(pair.first), &pair);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::string out;
    for (const auto& [composed, pair] : ordered) {
        out += '"';
        out += escape(pair->first);
        out += "\" = \"";
        out += escape(pair->second);
        out += "\";\n";
    }
    return out;
}

void writeStrings(const SimpleTable& table, const std::filesystem::path& path) {
    writeAtomically(stringsText(table), path);
}

json::Json stringsdictPlist(const PluralTable& table) {
    json::Json root = json::Json::object();
    for (const auto& [key, entry] : table) {
        json::Json variable = json::Json::object();
        variable[std::string(specTypeKey)] = pluralRuleType;
        variable[std::string(valueTypeKey)] = entry.valueType;
        for (const auto& [category, form] : entry.forms)
            variable[category] = form;
        root[key] = {{std::string(formatKey), pluralFormat(entry.argument)},
                     {std::string(variableName), std::move(variable)}};
    }
    return root;
}

std::string stringsdictText(const PluralTable& table) {
    return XmlPropertyList::serialize(stringsdictPlist(table));
}

void writeStringsdict(const PluralTable& table, const std::filesystem::path& path) {
    writeAtomically(stringsdictText(table), path);
}

SimpleTable readStrings(const std::filesystem::path& path) {
    const auto bytes = FileIO::readIfPresent(path);
    if (!bytes)
        return {};
    auto parsed =
        looksLikePropertyList(*bytes) ? simpleTableFromPlist(*bytes) : StringsFileParser::parse(*bytes);
    if (!parsed)
        return {};
    for (auto& [key, value] : *parsed)
        value = text::nfc(value);
    return std::move(*parsed);
}

PluralTable readStringsdict(const std::filesystem::path& path) {
    const auto root = PropertyList::readFile(path);
    if (!root || !root->is_object())
        return {};
    PluralTable table;
    for (const auto& [key, value] : root->items()) {
        if (auto entry = pluralEntry(value))
            table.emplace(key, std::move(*entry));
    }
    return table;
}

} // namespace orvel::StringsFiles
