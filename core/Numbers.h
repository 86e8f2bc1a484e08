#pragma once
// Reading numbers written in text, where the whole text must be the number.

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace orvel {

// The number when `text` is exactly one number of type T (no sign for unsigned types, no spaces),
// else nothing; also nothing when it does not fit T.
template <class T> std::optional<T> parseNumber(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace orvel
