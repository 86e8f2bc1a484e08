#pragma once
// The shared pieces of the quick readings, which decode large JSON files straight from a SIMD parser's
// document into their records instead of through a general-purpose JSON tree (several times the parse
// itself). A quick reading accepts a subset of what its strict decoding accepts and gives the same
// records for it; anything else (a wrong type, a missing value, a number it does not take) it refuses
// by throwing Refused, and the strict decoding then gives the result or the error the caller sees.

#include <simdjson.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace orvel::QuickJson {

using simdjson::dom::element;
using simdjson::dom::object;

// Thrown inside a quick reading for anything it leaves to the strict decoding.
struct Refused {};

// How many readable bytes after a text let the parser read it where it lies instead of copying it.
inline constexpr std::size_t padding = simdjson::SIMDJSON_PADDING;

template <class T> T take(simdjson::simdjson_result<T> result) {
    T value;
    if (std::move(result).get(value) != simdjson::SUCCESS)
        throw Refused{};
    return value;
}

inline object asObject(element value) {
    return take(value.get_object());
}

// Leaves give views and plain values: nothing is allocated for a value that is only checked.
inline std::string_view asText(element value) {
    return take(value.get_string());
}

inline bool asBool(element value) {
    return take(value.get_bool());
}

inline std::int64_t asInteger(element value) {
    // Numbers with a fraction part or beyond the signed range are left to the strict decoding.
    if (value.type() != simdjson::dom::element_type::INT64)
        throw Refused{};
    return take(value.get_int64());
}

// A later duplicate of a key replaces the earlier value, as in the strict decoding; null clears an
// optional field. Without a field the value is only checked.
template <class T, class Leaf> void assignLeaf(std::optional<T>* field, element value, Leaf leaf) {
    if (value.is_null()) {
        if (field)
            field->reset();
        return;
    }
    const auto decoded = leaf(value);
    if (field)
        *field = T(decoded);
}

// A required field takes its last value; `present` tells whether that value was not null.
template <class T, class Decode> void assignRequired(T& field, bool& present, element value, Decode decode) {
    present = !value.is_null();
    if (present)
        field = T(decode(value));
}

// The document's root, parsed with `parser`; nothing when the text does not parse or nests more than
// `maximumDepth` levels (the document itself the first). The strict decoding skips a byte-order mark at
// the start, and so does this. `readableAfter` bytes after the text may be read.
inline std::optional<element> parse(simdjson::dom::parser& parser, std::string_view text,
                                    std::size_t maximumDepth, std::size_t readableAfter = 0) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark))
        text.remove_prefix(byteOrderMark.size());
    if (parser.allocate(text.size(), maximumDepth) != simdjson::SUCCESS)
        return std::nullopt;
    element root;
    if (parser.parse(text.data(), text.size(), readableAfter < padding).get(root) != simdjson::SUCCESS)
        return std::nullopt;
    return root;
}

} // namespace orvel::QuickJson
