#include "core/BinaryPropertyList.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/Unicode.h"

namespace orvel::BinaryPropertyList {
namespace {

constexpr std::string_view magic = "bplist";
constexpr std::size_t headerSize = 8;
constexpr std::size_t trailerSize = 32;

enum Kind : std::uint8_t {
    simple = 0x0,
    integer = 0x1,
    real = 0x2,
    date = 0x3,
    data = 0x4,
    asciiString = 0x5,
    utf16String = 0x6,
    uid = 0x8,
    array = 0xA,
    orderedSet = 0xB,
    set = 0xC,
    dictionary = 0xD,
};

constexpr std::uint8_t falseMarker = 0x08;
constexpr std::uint8_t trueMarker = 0x09;

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool hasCount(std::uint8_t kind) {
    switch (kind) {
    case data:
    case asciiString:
    case utf16String:
    case array:
    case orderedSet:
    case set:
    case dictionary:
        return true;
    default:
        return false;
    }
}

// Bytes of content per counted element.
std::uint64_t unitSize(std::uint8_t kind, std::uint64_t referenceSize) {
    switch (kind) {
    case utf16String:
        return 2;
    case array:
    case orderedSet:
    case set:
        return referenceSize;
    case dictionary:
        return 2 * referenceSize;
    default:
        return 1;
    }
}

// Bytes of the fixed-size objects after their marker.
std::uint64_t fixedSize(std::uint8_t kind, std::uint8_t low) {
    switch (kind) {
    case integer:
    case real:
        return low < 5 ? std::uint64_t{1} << low : UINT64_MAX;
    case date:
        return 8;
    case uid:
        return std::uint64_t{low} + 1;
    default:
        return 0;
    }
}

struct Object {
    std::uint8_t kind;
    std::uint8_t low;
    std::uint64_t count; // elements of a counted object
    std::size_t content; // offset of the content after the marker (and count)
};

class Table {
  public:
    static std::optional<Table> open(std::string_view bytes) {
        if (bytes.size() < headerSize + trailerSize + 1 || !bytes.starts_with(magic))
            return std::nullopt;
        Table table;
        table.m_bytes = bytes;
        const std::size_t trailer = bytes.size() - trailerSize;
        table.m_offsetSize = static_cast<unsigned char>(bytes[trailer + 6]);
        table.m_referenceSize = static_cast<unsigned char>(bytes[trailer + 7]);
        table.m_count = bigEndian(bytes, trailer + 8, 8);
        table.m_top = bigEndian(bytes, trailer + 16, 8);
        const std::uint64_t offsets = bigEndian(bytes, trailer + 24, 8);
        if (table.m_offsetSize < 1 || table.m_offsetSize > 8 || table.m_referenceSize < 1 ||
            table.m_referenceSize > 8 || table.m_count == 0 || table.m_top >= table.m_count ||
            offsets <= headerSize || offsets >= trailer ||
            table.m_count > (trailer - offsets) / table.m_offsetSize)
            return std::nullopt;
        table.m_offsets = static_cast<std::size_t>(offsets);
        return table;
    }

    std::uint64_t top() const { return m_top; }

    std::optional<Object> object(std::uint64_t index) const {
        if (index >= m_count)
            return std::nullopt;
        const std::uint64_t at =
            bigEndian(m_bytes, static_cast<std::size_t>(m_offsets + index * m_offsetSize), m_offsetSize);
        // Objects lie between the header and the offset table.
        if (at < headerSize || at >= m_offsets)
            return std::nullopt;
        const auto marker = static_cast<unsigned char>(m_bytes[at]);
        Object object{static_cast<std::uint8_t>(marker >> 4), static_cast<std::uint8_t>(marker & 0xF), 0,
                      static_cast<std::size_t>(at + 1)};
        std::uint64_t contentSize = fixedSize(object.kind, object.low);
        if (hasCount(object.kind)) {
            object.count = object.low;
            if (object.low == 0xF) {
                // A larger count follows as an integer object of 1, 2, 4 or 8 bytes.
                if (object.content >= m_offsets)
                    return std::nullopt;
                const auto countMarker = static_cast<unsigned char>(m_bytes[object.content]);
                if ((countMarker >> 4) != integer || (countMarker & 0xF) > 3)
                    return std::nullopt;
                const std::size_t countSize = std::size_t{1} << (countMarker & 0xF);
                if (m_offsets - object.content - 1 < countSize)
                    return std::nullopt;
                object.count = bigEndian(m_bytes, object.content + 1, countSize);
                object.content += 1 + countSize;
            }
            const std::uint64_t unit = unitSize(object.kind, m_referenceSize);
            if (object.count > (m_offsets - object.content) / unit)
                return std::nullopt;
            contentSize = object.count * unit;
        }
        if (contentSize > m_offsets - object.content)
            return std::nullopt;
        return object;
    }

    // The `i`-th reference held by a container.
    std::optional<std::uint64_t> reference(const Object& container, std::uint64_t i) const {
        const std::uint64_t index = bigEndian(
            m_bytes, static_cast<std::size_t>(container.content + i * m_referenceSize), m_referenceSize);
        if (index >= m_count)
            return std::nullopt;
        return index;
    }

    std::string_view content(const Object& object, std::uint64_t size) const {
        return m_bytes.substr(object.content, static_cast<std::size_t>(size));
    }

  private:
    std::string_view m_bytes;
    std::uint64_t m_offsetSize = 0;
    std::uint64_t m_referenceSize = 0;
    std::uint64_t m_count = 0;
    std::uint64_t m_top = 0;
    std::size_t m_offsets = 0;
};

bool isContainer(std::uint8_t kind) {
    return kind == array || kind == orderedSet || kind == set || kind == dictionary;
}

std::uint64_t references(const Object& object) {
    return object.kind == dictionary ? 2 * object.count : object.count;
}

// Bytes a text or data object takes once expanded; a UTF-16 unit becomes at most three UTF-8 bytes.
std::uint64_t textBytes(const Object& object) {
    switch (object.kind) {
    case data:
    case asciiString:
        return object.count;
    case utf16String:
        return 3 * object.count;
    default:
        return 0;
    }
}

std::optional<std::string> string(const Table& table, const Object& object) {
    if (object.kind == asciiString)
        return text::decodeUtf8Lossy(table.content(object, object.count));
    if (object.kind != utf16String)
        return std::nullopt;
    const std::string_view units = table.content(object, 2 * object.count);
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); i += 2) {
        char32_t unit = static_cast<char32_t>(bigEndian(units, i, 2));
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < units.size()) {
            const auto low = static_cast<char32_t>(bigEndian(units, i + 2, 2));
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        text::appendScalar(out, unit >= 0xD800 && unit < 0xE000 ? U'\uFFFD' : unit);
    }
    return out;
}

std::optional<json::Json> scalar(const Table& table, const Object& object) {
    switch (object.kind) {
    case simple:
        if (object.low == (falseMarker & 0xF) || object.low == (trueMarker & 0xF))
            return json::Json(object.low == (trueMarker & 0xF));
        return std::nullopt;
    case integer: {
        const std::size_t size = std::size_t{1} << object.low;
        if (size > 8)
            return std::nullopt;
        const std::uint64_t value = bigEndian(table.content(object, size), 0, size);
        // Eight-byte integers are signed; shorter ones are not.
        if (size == 8)
            return json::Json(static_cast<std::int64_t>(value));
        return json::Json(value);
    }
    case real: {
        if (object.low == 2) {
            const auto bits = static_cast<std::uint32_t>(bigEndian(table.content(object, 4), 0, 4));
            return json::Json(static_cast<double>(std::bit_cast<float>(bits)));
        }
        if (object.low == 3)
            return json::Json(std::bit_cast<double>(bigEndian(table.content(object, 8), 0, 8)));
        return std::nullopt;
    }
    case asciiString:
    case utf16String:
        return json::Json(*string(table, object));
    default:
        return std::nullopt;
    }
}

// The parser asserts that a key has no NUL: its copying accessor measures keys with strlen.
bool holdsNul(const Table& table, const Object& object) {
    if (object.kind == asciiString)
        return table.content(object, object.count).find('\0') != std::string_view::npos;
    if (object.kind != utf16String)
        return false;
    const std::string_view units = table.content(object, 2 * object.count);
    for (std::size_t i = 0; i < units.size(); i += 2)
        if (units[i] == 0 && units[i + 1] == 0)
            return true;
    return false;
}

struct Pending {
    std::uint64_t index;
    int depth;
    bool isKey;
};

} // namespace

PropertyListShape measure(std::string_view bytes, const PropertyListLimits& limits) {
    const auto table = Table::open(bytes);
    if (!table)
        return PropertyListShape::malformed;
    std::vector<Pending> pending{{table->top(), 0, false}};
    std::uint64_t nodes = 0;
    std::uint64_t texts = 0;
    while (!pending.empty()) {
        const auto [index, depth, isKey] = pending.back();
        pending.pop_back();
        if (++nodes > limits.maximumNodes || depth > limits.maximumDepth)
            return PropertyListShape::overLimits;
        const auto object = table->object(index);
        if (!object || (isKey && holdsNul(*table, *object)))
            return PropertyListShape::malformed;
        texts += textBytes(*object);
        if (texts > limits.maximumTextBytes)
            return PropertyListShape::overLimits;
        if (!isContainer(object->kind))
            continue;
        const std::uint64_t children = references(*object);
        if (children > limits.maximumNodes - nodes - pending.size())
            return PropertyListShape::overLimits;
        for (std::uint64_t i = 0; i < children; ++i) {
            const auto child = table->reference(*object, i);
            if (!child)
                return PropertyListShape::malformed;
            pending.push_back({*child, depth + 1, object->kind == dictionary && i < object->count});
        }
    }
    return PropertyListShape::fits;
}

std::optional<json::Json> topLevelScalars(std::string_view bytes, const PropertyListLimits& limits) {
    const auto table = Table::open(bytes);
    if (!table)
        return std::nullopt;
    const auto root = table->object(table->top());
    if (!root || root->kind != dictionary || root->count > limits.maximumNodes)
        return std::nullopt;
    json::Json out = json::Json::object();
    std::uint64_t texts = 0;
    for (std::uint64_t i = 0; i < root->count; ++i) {
        const auto keyIndex = table->reference(*root, i);
        const auto valueIndex = table->reference(*root, root->count + i);
        if (!keyIndex || !valueIndex)
            return std::nullopt;
        const auto key = table->object(*keyIndex);
        const auto value = table->object(*valueIndex);
        if (!key || !value)
            return std::nullopt;
        texts += textBytes(*key) + textBytes(*value);
        if (texts > limits.maximumTextBytes)
            return std::nullopt;
        auto name = string(*table, *key);
        if (!name)
            return std::nullopt;
        if (auto converted = scalar(*table, *value))
            out[*name] = std::move(*converted);
    }
    return out;
}

} // namespace orvel::BinaryPropertyList
