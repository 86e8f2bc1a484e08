#include "core/StringsFileParser.h"

#include "core/Unicode.h"

namespace orvel::StringsFileParser {
namespace {

std::optional<std::string> decodeUtf16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto high = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
        const auto low = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        units[i] = static_cast<char16_t>(high << 8 | low);
    }
    return text::fromUtf16(units);
}

// The file as UTF-8, by its byte-order mark; without one it is UTF-8.
std::optional<std::string> decode(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE"))
        return decodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return decodeUtf16(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return text::decodeUtf8Lossy(bytes);
}

bool isUnquotedCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<std::map<std::string, std::string>> parseFile() {
        if (!skipSpace())
            return std::nullopt;
        const bool braced = peek('{');
        if (braced) {
            ++m_pos;
            if (!skipSpace())
                return std::nullopt;
        }
        std::map<std::string, std::string> pairs;
        while (!atEnd() && !peek('}')) {
            if (!parsePair(pairs))
                return std::nullopt;
        }
        if (braced) {
            if (!peek('}'))
                return std::nullopt;
            ++m_pos;
            if (!skipSpace())
                return std::nullopt;
        }
        if (!atEnd())
            return std::nullopt;
        return pairs;
    }

  private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    bool peek(char c) const { return !atEnd() && m_text[m_pos] == c; }

    // Skips white space and comments; false on an unterminated block comment.
    bool skipSpace() {
        while (!atEnd()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++m_pos;
            } else if (m_text.substr(m_pos, 2) == "//") {
                const std::size_t end = m_text.find('\n', m_pos);
                m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
            } else if (m_text.substr(m_pos, 2) == "/*") {
                const std::size_t end = m_text.find("*/", m_pos + 2);
                if (end == std::string_view::npos)
                    return false;
                m_pos = end + 2;
            } else {
                return true;
            }
        }
        return true;
    }

    // key = value; or key; (which stands for key = key;)
    bool parsePair(std::map<std::string, std::string>& pairs) {
        auto key = parseString();
        if (!key || !skipSpace())
            return false;
        std::optional<std::string> value;
        if (peek('=')) {
            ++m_pos;
            if (!skipSpace())
                return false;
            value = parseString();
            if (!value || !skipSpace())
                return false;
        } else {
            value = *key;
        }
        if (!peek(';'))
            return false;
        ++m_pos;
        if (!skipSpace())
            return false;
        pairs.insert_or_assign(std::move(*key), std::move(*value));
        return true;
    }

    std::optional<std::string> parseString() {
        if (peek('"') || peek('\''))
            return parseQuoted(m_text[m_pos++]);
        const std::size_t start = m_pos;
        while (!atEnd() && isUnquotedCharacter(m_text[m_pos]))
            ++m_pos;
        if (m_pos == start)
            return std::nullopt; // also a dictionary, array or data value: not a text
        return std::string(m_text.substr(start, m_pos - start));
    }

    std::optional<std::string> parseQuoted(char quote) {
        std::string out;
        char32_t pendingHigh = 0; // a \U high surrogate waiting for its low half
        const auto flushPending = [&] {
            if (pendingHigh)
                text::appendScalar(out, text::replacementCharacter);
            pendingHigh = 0;
        };
        while (!atEnd()) {
            const char c = m_text[m_pos++];
            if (c == quote) {
                flushPending();
                return out;
            }
            if (c != '\\') {
                flushPending();
                out += c;
                continue;
            }
            if (atEnd())
                return std::nullopt;
            const char escaped = m_text[m_pos++];
            if (escaped == 'U') {
                const std::optional<char32_t> unit = readHex();
                if (!unit) {
                    flushPending();
                    out += escaped;
                    continue;
                }
                if (pendingHigh && isLowSurrogate(*unit)) {
                    text::appendScalar(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (*unit - 0xDC00));
                    pendingHigh = 0;
                    continue;
                }
                flushPending();
                if (isHighSurrogate(*unit))
                    pendingHigh = *unit;
                else
                    text::appendScalar(out, isLowSurrogate(*unit) ? text::replacementCharacter : *unit);
                continue;
            }
            flushPending();
            if (escaped >= '0' && escaped <= '7') {
                text::appendScalar(out, readOctal(escaped));
                continue;
            }
            switch (escaped) {
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'v':
                out += '\v';
                break;
            default:
                out += escaped; // \" \' \\ and any other character stand for themselves
            }
        }
        return std::nullopt; // unterminated
    }

    // Up to four hexadecimal digits after \U; nothing when none follows.
    std::optional<char32_t> readHex() {
        char32_t value = 0;
        int count = 0;
        for (; count < 4 && !atEnd(); ++count) {
            const int digit = hexValue(m_text[m_pos]);
            if (digit < 0)
                break;
            value = value * 16 + static_cast<char32_t>(digit);
            ++m_pos;
        }
        if (count == 0)
            return std::nullopt;
        return value;
    }

    // Up to three octal digits, the first already read.
    char32_t readOctal(char first) {
        char32_t value = static_cast<char32_t>(first - '0');
        for (int i = 1; i < 3 && !atEnd() && m_text[m_pos] >= '0' && m_text[m_pos] <= '7'; ++i)
            value = value * 8 + static_cast<char32_t>(m_text[m_pos++] - '0');
        return value;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

std::optional<std::map<std::string, std::string>> parse(std::string_view bytes) {
    const auto text = decode(bytes);
    if (!text)
        return std::nullopt;
    return Parser(*text).parseFile();
}

} // namespace orvel::StringsFileParser
