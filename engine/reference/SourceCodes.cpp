#include "engine/reference/SourceCodes.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/LanguageCode.h"
#include "core/Unicode.h"
#include "engine/pipeline/Normalizer.h"

namespace orvel {
namespace {

struct Row {
    std::string_view key;
    // android, chromium, mozilla, libreoffice, vlc; an empty code means the project has none.
    std::array<std::string_view, 5> codes;
};

constexpr std::array<Row, 21> rows{{
    {"pt", {"pt-rBR", "pt-BR", "pt-BR", "pt-BR", "pt_BR"}},
    {"pt-PT", {"pt-rPT", "pt-PT", "pt-PT", "pt", "pt_PT"}},
    {"zh-Hans", {"zh-rCN", "zh-CN", "zh-CN", "zh-CN", "zh_CN"}},
    {"zh-Hant", {"zh-rTW", "zh-TW", "zh-TW", "zh-TW", "zh_TW"}},
    {"zh-HK", {"zh-rHK", "zh-TW", "zh-TW", "zh-TW", "zh_TW"}},
    {"he", {"iw", "he", "he", "he", "he"}},
    {"id", {"in", "id", "id", "id", "id"}},
    {"nb", {"nb", "no", "nb-NO", "nb", "nb"}},
    {"nn", {"", "", "nn-NO", "nn", "nn"}},
    {"es", {"es", "es", "es-ES", "es", "es"}},
    {"es-419", {"es-rUS", "es-419", "es-MX", "es", "es_MX"}},
    {"fr-CA", {"fr-rCA", "fr", "fr", "fr", "fr"}},
    {"sv", {"sv", "sv", "sv-SE", "sv", "sv"}},
    {"hi", {"hi", "hi", "hi-IN", "hi", "hi"}},
    {"gu", {"gu", "gu", "gu-IN", "gu", "gu"}},
    {"pa", {"pa", "", "pa-IN", "pa-IN", "pa"}},
    {"bn", {"bn", "bn", "bn-BD", "bn", "bn"}},
    {"hy", {"hy", "", "hy-AM", "", "hy"}},
    {"ga", {"", "", "ga-IE", "ga", "ga"}},
    {"fil", {"tl", "fil", "", "", "tl"}},
    {"sr-Latn", {"b+sr+Latn", "", "", "sr-Latn", ""}},
}};

std::optional<std::string> code(std::string_view value) {
    if (value.empty())
        return std::nullopt;
    return std::string(value);
}

// "hant" -> "Hant".
std::string titlecased(std::string_view part) {
    const auto characters = text::graphemes(part);
    if (characters.empty())
        return {};
    const std::size_t restStart = characters.front().size();
    return text::uppercased(characters.front()) + text::lowercased(part.substr(restStart));
}

bool isDigits(std::string_view part) {
    return std::ranges::all_of(text::scalars(part), [](char32_t scalar) { return text::isNumber(scalar); });
}

std::string joined(const std::vector<std::optional<std::string>>& components) {
    std::string out;
    for (const auto& component : components) {
        if (!component)
            continue;
        if (!out.empty())
            out += '-';
        out += *component;
    }
    return out;
}

} // namespace

const std::map<std::string, SourceCodes, std::less<>>& SourceCodes::table() {
    static const auto instance = [] {
        std::map<std::string, SourceCodes, std::less<>> out;
        for (const auto& row : rows) {
            // Brazilian Portuguese is the language the bare "pt" means; its sources name it in full.
            std::string identifier = row.key == "pt" ? "pt-BR" : std::string(row.key);
            out.emplace(std::string(row.key),
                        SourceCodes{std::move(identifier), code(row.codes[0]), code(row.codes[1]),
                                    code(row.codes[2]), code(row.codes[3]), code(row.codes[4])});
        }
        return out;
    }();
    return instance;
}

const SourceCodes::Aliases& SourceCodes::aliases() {
    static const Aliases instance{{"zh-CN", "zh-Hans"}, {"zh-TW", "zh-Hant"}, {"zh", "zh-Hans"},
                                  {"pt-BR", "pt"},      {"tl", "fil"},        {"iw", "he"},
                                  {"in", "id"},         {"no", "nb"}};
    return instance;
}

std::optional<std::string> SourceCodes::tableKey(std::string_view candidate, const Aliases& aliases) {
    if (table().contains(candidate))
        return std::string(candidate);
    if (auto alias = aliases.find(candidate); alias != aliases.end())
        return alias->second;
    return std::nullopt;
}

std::optional<SourceCodes> SourceCodes::lookup(std::string_view tag) {
    // The codes name cache files and go into download addresses: a tag that is no language code
    // ("de/../../x") must not reach them.
    if (!isPlausibleLanguageCode(tag))
        return std::nullopt;
    const auto parts = Normalizer::codeParts(tag);
    if (parts.empty())
        return std::nullopt;
    const std::string language = text::lowercased(parts.front());
    if (language == "en")
        return std::nullopt;

    std::optional<std::string> script;
    std::optional<std::string> region;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::size_t length = text::graphemeCount(parts[i]);
        if (!script && length == 4)
            script = titlecased(parts[i]);
        if (!region && length == 2)
            region = text::uppercased(parts[i]);
        if (!region && length == 3 && isDigits(parts[i]))
            region = parts[i];
    }

    const std::vector<std::string> candidates{joined({language, script, region}), joined({language, script}),
                                              joined({language, region}), language};
    for (const auto& candidate : candidates) {
        const auto key = tableKey(candidate, aliases());
        if (!key)
            continue;
        if (auto row = table().find(*key); row != table().end())
            return row->second;
        break;
    }
    return SourceCodes{language, language, language, language, language, language};
}

} // namespace orvel
