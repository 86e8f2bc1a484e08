#include "core/Regex.h"
#include "core/TextReplacing.h"
#include "core/Unicode.h"
#include "engine/reference/MozillaStrings.h"

namespace orvel::SoftwareFormats {
namespace {

// Every "<!--" up to the first "-->" after it removed; an unclosed comment and what follows stay. Done by
// hand because a lazy expression would rescan to the end of the text from every unclosed opening.
std::string withoutComments(std::string_view text) {
    std::string out;
    std::size_t copied = 0;
    while (true) {
        const std::size_t open = text.find("<!--", copied);
        if (open == std::string_view::npos)
            break;
        const std::size_t close = text.find("-->", open + 4);
        if (close == std::string_view::npos)
            break;
        out.append(text.substr(copied, open - copied));
        copied = close + 3;
    }
    out.append(text.substr(copied));
    return out;
}

std::string entityValue(std::string_view raw) {
    std::string value = numericReferencesDecoded(raw);
    if (value.find('&') == std::string::npos)
        return value;
    value = text::replacingAll(value, "&quot;", "\"");
    value = text::replacingAll(value, "&apos;", "'");
    value = text::replacingAll(value, "&lt;", "<");
    value = text::replacingAll(value, "&gt;", ">");
    return text::replacingAll(value, "&amp;", "&");
}

} // namespace

KeyedTexts dtdStrings(std::string_view source) {
    const std::string text = withoutComments(source);
    const auto entity = RegexCache::regex(R"re(<!ENTITY\s+([\w.\-]+)\s+(?:"([^"]*)"|'([^']*)')\s*>)re");
    KeyedTexts result;
    if (!entity)
        return result;
    for (const auto& match : regex::allMatches(*entity, text)) {
        const auto doubleQuoted = match.group(text, 2);
        const std::string_view raw = doubleQuoted ? *doubleQuoted : match.group(text, 3).value_or("");
        result[std::string(*match.group(text, 1))] = text::nfc(entityValue(raw));
    }
    return result;
}

} // namespace orvel::SoftwareFormats
