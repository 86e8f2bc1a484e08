#include "engine/apps/Pseudo.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/FormatSpecifiers.h"
#include "core/Unicode.h"

namespace orvel::Pseudo {

const std::map<std::string, std::string>& accents() {
    static const std::map<std::string, std::string> table{
        {"a", "á"}, {"A", "Á"}, {"e", "é"}, {"E", "É"}, {"i", "í"}, {"I", "Í"}, {"o", "ó"},
        {"O", "Ó"}, {"u", "ú"}, {"U", "Ú"}, {"c", "ç"}, {"C", "Ç"}, {"n", "ñ"}, {"N", "Ñ"},
        {"s", "š"}, {"S", "Š"}, {"z", "ž"}, {"Z", "Ž"}, {"y", "ý"}, {"Y", "Ý"},
    };
    return table;
}

std::string accent(std::string_view run) {
    const std::vector<std::string_view> characters = text::graphemes(run);
    const auto& table = accents();
    std::string out;
    std::size_t i = 0;
    while (i < characters.size()) {
        const std::string_view character = characters[i];
        const bool hasNext = i + 1 < characters.size();
        if (character == "%" && hasNext && characters[i + 1] == "%") {
            out += "%%";
            i += 2;
            continue;
        }
        if (character == "$" && hasNext && characters[i + 1] == "{") {
            const auto closing = std::find(characters.begin() + static_cast<std::ptrdiff_t>(i) + 2,
                                           characters.end(), std::string_view("}"));
            if (closing != characters.end()) {
                const auto last = static_cast<std::size_t>(closing - characters.begin());
                for (; i <= last; ++i)
                    out += characters[i];
                continue;
            }
        }
        const auto substitute = table.find(std::string(character));
        out += substitute == table.end() ? character : std::string_view(substitute->second);
        ++i;
    }
    return out;
}

std::string localize(std::string_view text) {
    std::string out = "⟦";
    std::size_t plainStart = 0;
    for (const FormatSpecifier& specifier : FormatSpecifiers::parse(text)) {
        out += accent(text.substr(plainStart, specifier.range.start - plainStart));
        out += specifier.raw;
        plainStart = specifier.range.end;
    }
    out += accent(text.substr(plainStart));

    std::size_t letters = 0;
    for (std::string_view character : text::graphemes(text))
        if (text::isLetter(character))
            ++letters;
    const std::size_t dots = std::max<std::size_t>(1, 3 * letters / 10);
    for (std::size_t i = 0; i < dots; ++i)
        out += "·";
    out += "⟧";
    return out;
}

} // namespace orvel::Pseudo
