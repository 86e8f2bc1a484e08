#include "core/XmlPropertyList.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/Unicode.h"

namespace orvel::XmlPropertyList {
namespace {

constexpr std::string_view header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                    "<plist version=\"1.0\">\n";

// Tab, line feed and carriage return are the only characters below U+0020 that XML 1.0 allows;
// U+FFFE and U+FFFF are not characters at all.
bool isXmlCharacter(char32_t scalar) {
    if (scalar < 0x20)
        return scalar == 0x09 || scalar == 0x0A || scalar == 0x0D;
    return scalar != 0xFFFE && scalar != 0xFFFF;
}

void appendEscaped(std::string& out, std::string_view raw) {
    std::size_t offset = 0;
    char32_t scalar = 0;
    while (text::nextScalar(raw, offset, scalar)) {
        switch (scalar) {
        case U'&':
            out += "&amp;";
            break;
        case U'<':
            out += "&lt;";
            break;
        case U'>':
            out += "&gt;";
            break;
        case U'\r':
            // A literal carriage return would reach the reader as a line feed.
            out += "&#13;";
            break;
        default:
            text::appendScalar(out, isXmlCharacter(scalar) ? scalar : text::replacementCharacter);
        }
    }
}

void appendElement(std::string& out, int depth, std::string_view tag, std::string_view content) {
    out.append(static_cast<std::size_t>(depth), '\t');
    out += '<';
    out += tag;
    out += '>';
    appendEscaped(out, content);
    out += "</";
    out += tag;
    out += ">\n";
}

void appendNumber(std::string& out, int depth, const json::Json& value) {
    std::array<char, 32> buffer{};
    std::to_chars_result result{};
    std::string_view tag = "integer";
    if (value.is_number_unsigned()) {
        result = std::to_chars(buffer.begin(), buffer.end(), value.get<std::uint64_t>());
    } else if (value.is_number_integer()) {
        result = std::to_chars(buffer.begin(), buffer.end(), value.get<std::int64_t>());
    } else {
        const double real = value.get<double>();
        if (!std::isfinite(real))
            throw SerializationError("A property list cannot hold the number " + value.dump() + ".");
        result = std::to_chars(buffer.begin(), buffer.end(), real);
        tag = "real";
    }
    appendElement(out, depth, tag,
                  std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())));
}

void appendValue(std::string& out, int depth, const json::Json& value) {
    const auto indent = [&](int level) { out.append(static_cast<std::size_t>(level), '\t'); };
    switch (value.type()) {
    case json::Json::value_t::object:
        indent(depth);
        if (value.empty()) {
            out += "<dict/>\n";
            return;
        }
        out += "<dict>\n";
        for (const auto& [key, item] : value.items()) {
            appendElement(out, depth + 1, "key", key);
            appendValue(out, depth + 1, item);
        }
        indent(depth);
        out += "</dict>\n";
        return;
    case json::Json::value_t::array:
        indent(depth);
        if (value.empty()) {
            out += "<array/>\n";
            return;
        }
        out += "<array>\n";
        for (const auto& item : value)
            appendValue(out, depth + 1, item);
        indent(depth);
        out += "</array>\n";
        return;
    case json::Json::value_t::string:
        appendElement(out, depth, "string", value.get_ref<const std::string&>());
        return;
    case json::Json::value_t::boolean:
        indent(depth);
        out += value.get<bool>() ? "<true/>\n" : "<false/>\n";
        return;
    case json::Json::value_t::number_integer:
    case json::Json::value_t::number_unsigned:
    case json::Json::value_t::number_float:
        appendNumber(out, depth, value);
        return;
    default:
        throw SerializationError("A property list cannot hold the value " + value.dump() + ".");
    }
}

} // namespace

std::string serialize(const json::Json& value) {
    std::string out(header);
    appendValue(out, 0, value);
    out += "</plist>\n";
    return out;
}

} // namespace orvel::XmlPropertyList
