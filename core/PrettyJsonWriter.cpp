#include "core/PrettyJsonWriter.h"

#include <simdjson.h>

namespace orvel {
namespace {

constexpr std::size_t indentStep = 2;

bool isValidUtf8(std::string_view text) {
    for (const unsigned char c : text)
        if (c >= 0x80)
            return simdjson::validate_utf8(text.data(), text.size());
    return true;
}

void appendEscaped(std::string& out, unsigned char c) {
    static constexpr char hex[] = "0123456789abcdef";
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\b':
        out += "\\b";
        return;
    case '\f':
        out += "\\f";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        out += "\\u00";
        out += hex[c >> 4];
        out += hex[c & 0xf];
    }
}

// The text for `value` as the shared encoder quotes and escapes it, invalid UTF-8 replaced by U+FFFD.
void appendQuotedJson(std::string& out, std::string_view value) {
    if (!isValidUtf8(value)) {
        // Invalid text takes the shared encoder's own replacement, so both agree on every byte.
        out.append(json::dump(json::Json(std::string(value))));
        return;
    }
    out += '"';
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(value, plainFrom, i - plainFrom);
        appendEscaped(out, c);
        plainFrom = i + 1;
    }
    out.append(value, plainFrom);
    out += '"';
}

} // namespace

PrettyJsonWriter::PrettyJsonWriter(ByteSink sink, std::size_t pieceSize)
    : m_sink(std::move(sink)), m_pieceSize(pieceSize) {
    m_text.reserve(pieceSize);
}

void PrettyJsonWriter::beginObject() {
    m_text += '{';
    m_hasMembers.push_back(false);
    handOverFullPiece();
}

void PrettyJsonWriter::endObject() {
    const bool hasMembers = m_hasMembers.back();
    m_hasMembers.pop_back();
    if (hasMembers) {
        m_text += '\n';
        indent(m_hasMembers.size());
    }
    m_text += '}';
    handOverFullPiece();
}

void PrettyJsonWriter::key(std::string_view name) {
    m_text += m_hasMembers.back() ? ",\n" : "\n";
    m_hasMembers.back() = true;
    indent(m_hasMembers.size());
    appendQuotedJson(m_text, name);
    m_text += ": ";
    handOverFullPiece();
}

void PrettyJsonWriter::string(std::string_view text) {
    appendQuotedJson(m_text, text);
    handOverFullPiece();
}

void PrettyJsonWriter::member(std::string_view name, std::string_view text) {
    key(name);
    string(text);
}

void PrettyJsonWriter::memberIfPresent(std::string_view name, const std::optional<std::string>& text) {
    if (text)
        member(name, *text);
}

void PrettyJsonWriter::textMap(const std::map<std::string, std::string>& texts) {
    beginObject();
    for (const auto& [name, text] : texts)
        member(name, text);
    endObject();
}

void PrettyJsonWriter::value(const json::Json& value) {
    // A line break only ever separates members in the encoder's text (strings carry theirs escaped), so
    // the tree's own text is indented to the current depth line by line.
    const std::string text = json::dump(value, static_cast<int>(indentStep));
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        m_text.append(text, start, end + 1 - start);
        indent(m_hasMembers.size());
        start = end + 1;
    }
    m_text.append(text, start);
    handOverFullPiece();
}

std::string PrettyJsonWriter::take() {
    std::string text = std::move(m_text);
    m_text.clear();
    m_hasMembers.clear();
    return text;
}

void PrettyJsonWriter::finish() {
    if (!m_text.empty())
        m_sink(m_text);
    m_text.clear();
}

void PrettyJsonWriter::handOverFullPiece() {
    if (m_sink && m_text.size() >= m_pieceSize) {
        m_sink(m_text);
        m_text.clear();
    }
}

void PrettyJsonWriter::indent(std::size_t depth) {
    m_text.append(depth * indentStep, ' ');
}

} // namespace orvel
