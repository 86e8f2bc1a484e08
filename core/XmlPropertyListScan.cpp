#include "core/XmlPropertyListScan.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "core/Numbers.h"
#include "core/Unicode.h"

namespace orvel::XmlPropertyListScan {
namespace {

struct Tag {
    enum class Kind { open, close, empty } kind;
    std::string_view name;
    std::size_t begin; // offset of "<"
    std::size_t end;   // offset after ">"
};

constexpr std::string_view nameEnds = " \t\r\n/>";

// The element tags in document order; comments, CDATA sections, processing instructions and the
// document type are passed over.
class Tags {
  public:
    explicit Tags(std::string_view bytes) : m_bytes(bytes) {}

    bool malformed() const { return m_malformed; }

    std::optional<Tag> next() {
        while (true) {
            const std::size_t begin = m_bytes.find('<', m_position);
            if (begin == std::string_view::npos)
                return std::nullopt;
            const std::string_view rest = m_bytes.substr(begin);
            if (rest.starts_with("<!--")) {
                if (!skipPast(begin, "-->"))
                    return std::nullopt;
            } else if (rest.starts_with("<![CDATA[")) {
                if (!skipPast(begin, "]]>"))
                    return std::nullopt;
            } else if (rest.starts_with("<?")) {
                if (!skipPast(begin, "?>"))
                    return std::nullopt;
            } else if (rest.starts_with("<!")) {
                if (!skipDeclaration(begin))
                    return std::nullopt;
            } else {
                return element(begin);
            }
        }
    }

  private:
    bool skipPast(std::size_t from, std::string_view terminator) {
        const std::size_t found = m_bytes.find(terminator, from);
        if (found == std::string_view::npos)
            return fail();
        m_position = found + terminator.size();
        return true;
    }

    // "<!DOCTYPE ...>", whose internal subset in brackets may hold ">".
    bool skipDeclaration(std::size_t from) {
        int brackets = 0;
        char quote = 0;
        for (std::size_t i = from + 2; i < m_bytes.size(); ++i) {
            const char c = m_bytes[i];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++brackets;
            } else if (c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                m_position = i + 1;
                return true;
            }
        }
        return fail();
    }

    std::optional<Tag> element(std::size_t begin) {
        const bool closing = m_bytes.substr(begin).starts_with("</");
        const std::size_t nameStart = begin + (closing ? 2 : 1);
        const std::size_t nameEnd = std::min(m_bytes.find_first_of(nameEnds, nameStart), m_bytes.size());
        char quote = 0;
        for (std::size_t i = nameEnd; i < m_bytes.size(); ++i) {
            const char c = m_bytes[i];
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                m_position = i + 1;
                const std::string_view name = m_bytes.substr(nameStart, nameEnd - nameStart);
                if (name.empty()) {
                    fail();
                    return std::nullopt;
                }
                const Tag::Kind kind = closing                 ? Tag::Kind::close
                                       : m_bytes[i - 1] == '/' ? Tag::Kind::empty
                                                               : Tag::Kind::open;
                return Tag{kind, name, begin, m_position};
            }
        }
        fail();
        return std::nullopt;
    }

    bool fail() {
        m_malformed = true;
        m_position = m_bytes.size();
        return false;
    }

    std::string_view m_bytes;
    std::size_t m_position = 0;
    bool m_malformed = false;
};

void appendReference(std::string& out, std::string_view name) {
    static constexpr std::pair<std::string_view, char> named[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, character] : named)
        if (name == entity) {
            out += character;
            return;
        }
    std::optional<std::uint32_t> scalar;
    if (name.starts_with("#x")) {
        std::uint32_t value = 0;
        const std::string_view digits = name.substr(2);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size())
            scalar = value;
    } else if (name.starts_with("#")) {
        scalar = parseNumber<std::uint32_t>(name.substr(1));
    }
    if (scalar)
        text::appendScalar(out, *scalar);
    else
        out.append("&").append(name).append(";");
}

// Character data with its references resolved and its CDATA sections and comments unwrapped.
std::string characterData(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    std::size_t i = 0;
    while (i < raw.size()) {
        const std::string_view rest = raw.substr(i);
        // The tag scan found the end of every section it passed over, so each one ends within `raw`.
        if (rest.starts_with("<![CDATA[") && rest.find("]]>") != std::string_view::npos) {
            const std::size_t end = rest.find("]]>");
            out.append(rest.substr(9, end - 9));
            i += end + 3;
        } else if (rest.starts_with("<!--") && rest.find("-->") != std::string_view::npos) {
            i += rest.find("-->") + 3;
        } else if (rest[0] == '&' && rest.find(';') != std::string_view::npos) {
            const std::size_t end = rest.find(';');
            appendReference(out, rest.substr(1, end - 1));
            i += end + 1;
        } else {
            out += rest[0];
            ++i;
        }
    }
    return text::decodeUtf8Lossy(out);
}

// The value of a root dictionary entry whose tag was just read, when it is a scalar; the tags of any
// other value are passed over.
class TopLevelReader {
  public:
    TopLevelReader(std::string_view bytes, const PropertyListLimits& limits)
        : m_bytes(bytes), m_tags(bytes), m_limits(limits) {}

    std::optional<json::Json> read() {
        auto plist = m_tags.next();
        if (!plist || plist->name != "plist" || plist->kind != Tag::Kind::open)
            return std::nullopt;
        auto root = m_tags.next();
        if (!root || root->name != "dict")
            return std::nullopt;
        json::Json out = json::Json::object();
        if (root->kind == Tag::Kind::empty)
            return out;
        if (root->kind != Tag::Kind::open)
            return std::nullopt;
        while (true) {
            auto tag = m_tags.next();
            if (!tag)
                return std::nullopt;
            if (tag->kind == Tag::Kind::close && tag->name == "dict")
                return out;
            std::string key;
            if (tag->name != "key" || !text(*tag, key))
                return std::nullopt;
            auto value = m_tags.next();
            if (!value || value->kind == Tag::Kind::close)
                return std::nullopt;
            if (!entry(*value, key, out))
                return std::nullopt;
        }
    }

  private:
    // The text of an element whose opening tag was just read, up to its closing tag.
    bool text(const Tag& tag, std::string& out) {
        if (tag.kind == Tag::Kind::empty) {
            out.clear();
            return true;
        }
        auto close = m_tags.next();
        if (!close || close->kind != Tag::Kind::close || close->name != tag.name)
            return false;
        out = characterData(m_bytes.substr(tag.end, close->begin - tag.end));
        m_texts += out.size();
        return m_texts <= m_limits.maximumTextBytes;
    }

    bool entry(const Tag& value, const std::string& key, json::Json& out) {
        if (value.name == "true" || value.name == "false") {
            out[key] = value.name == "true";
            return value.kind == Tag::Kind::empty || skipElement();
        }
        std::string content;
        if (value.name == "string") {
            if (!text(value, content))
                return false;
            out[key] = std::move(content);
            return true;
        }
        if (value.name == "integer" || value.name == "real") {
            if (!text(value, content))
                return false;
            if (value.name == "real") {
                if (auto number = parseNumber<double>(content))
                    out[key] = *number;
            } else if (auto number = parseNumber<std::int64_t>(content)) {
                out[key] = *number;
            }
            return true;
        }
        return value.kind == Tag::Kind::empty || skipElement();
    }

    // Passes over every tag up to the one closing the element just opened.
    bool skipElement() {
        std::uint64_t depth = 1;
        while (depth > 0) {
            auto tag = m_tags.next();
            if (!tag)
                return false;
            if (tag->kind == Tag::Kind::open)
                ++depth;
            else if (tag->kind == Tag::Kind::close)
                --depth;
        }
        return true;
    }

    std::string_view m_bytes;
    Tags m_tags;
    const PropertyListLimits& m_limits;
    std::uint64_t m_texts = 0;
};

} // namespace

PropertyListShape measure(std::string_view bytes, const PropertyListLimits& limits) {
    Tags tags(bytes);
    // The "plist" element and the root value sit above the depth that the limits count.
    const std::int64_t deepest = static_cast<std::int64_t>(limits.maximumDepth) + 2;
    std::int64_t depth = 0;
    std::uint64_t elements = 0;
    while (auto tag = tags.next()) {
        if (tag->kind == Tag::Kind::close) {
            if (--depth < 0)
                return PropertyListShape::malformed;
            continue;
        }
        if (++elements > limits.maximumNodes)
            return PropertyListShape::overLimits;
        if (tag->kind == Tag::Kind::open && ++depth > deepest)
            return PropertyListShape::overLimits;
    }
    return tags.malformed() || depth != 0 ? PropertyListShape::malformed : PropertyListShape::fits;
}

std::optional<json::Json> topLevelScalars(std::string_view bytes, const PropertyListLimits& limits) {
    return TopLevelReader(bytes, limits).read();
}

} // namespace orvel::XmlPropertyListScan
