#include <array>

#include "engine/pipeline/Normalizer.h"

namespace orvel::Normalizer {
namespace {

// The character after a backslash and the character that the escape stands for.
struct Escape {
    char written;
    char meant;
};

constexpr std::array<Escape, 4> escapesUndone{{{'n', '\n'}, {'t', '\t'}, {'"', '"'}, {'\\', '\\'}}};

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A model that writes its answer as a string literal escapes it: where the source holds the character
// itself and never the escape, the backslash would be shown in the app.
bool isDoubled(const Escape& escape, std::string_view source) {
    const char written[] = {'\\', escape.written};
    return contains(source, std::string_view(&escape.meant, 1)) &&
           !contains(source, std::string_view(written, sizeof written));
}

} // namespace

std::string escapes(std::string_view text, std::string_view source) {
    if (!contains(text, "\\"))
        return std::string(text);
    std::array<bool, escapesUndone.size()> undone{};
    for (std::size_t at = 0; at < escapesUndone.size(); ++at)
        undone[at] = isDoubled(escapesUndone[at], source);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\' || at + 1 == text.size()) {
            out += text[at];
            continue;
        }
        // One pass from left to right, so that an escaped backslash is never read again.
        const char next = text[at + 1];
        std::size_t kind = 0;
        while (kind < escapesUndone.size() && escapesUndone[kind].written != next)
            ++kind;
        if (kind < escapesUndone.size() && undone[kind])
            out += escapesUndone[kind].meant;
        else
            out.append(text.substr(at, 2));
        ++at;
    }
    return out;
}

} // namespace orvel::Normalizer
