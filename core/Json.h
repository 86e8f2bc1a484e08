#pragma once
// Strict JSON decoding and lenient-safe encoding on nlohmann/json.
//
// Decoding behaves like a typed platform decoder: a required key that is missing or null fails, a value
// of the wrong JSON type fails, optional keys may be absent or null, unknown keys are ignored.
// Encoding leaves absent optional values out and never throws on invalid UTF-8 (it is replaced).
//
// A record type takes part by declaring
//     static T fromJson(const orvel::json::Json&);   // throws DecodingError
//     orvel::json::Json toJson() const;
// or by specialising orvel::json::Coder<T>.

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvel::json {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// A decoding failure with a user-facing description and the path of the offending value.
class DecodingError : public std::runtime_error {
  public:
    DecodingError(const std::string& description, std::string codingPath = {})
        : std::runtime_error(description), m_codingPath(std::move(codingPath)) {}
    const std::string& codingPath() const { return m_codingPath; }

  private:
    std::string m_codingPath;
};

[[noreturn]] void typeMismatch(const char* expected, const Json& found);
void expectObject(const Json& value);
std::string typeName(const Json& value);

template <class T, class = void> struct Coder;

template <class T>
concept JsonRecord = requires(const Json& j, const T& t) {
    { T::fromJson(j) } -> std::same_as<T>;
    { t.toJson() } -> std::convertible_to<Json>;
};

template <JsonRecord T> struct Coder<T> {
    static T decode(const Json& value) { return T::fromJson(value); }
    static Json encode(const T& value) { return value.toJson(); }
};

template <> struct Coder<std::string> {
    static std::string decode(const Json& value);
    static Json encode(const std::string& value) { return value; }
};

template <> struct Coder<bool> {
    static bool decode(const Json& value) {
        if (!value.is_boolean())
            typeMismatch("Bool", value);
        return value.get<bool>();
    }
    static Json encode(bool value) { return value; }
};

template <class T>
requires(std::is_integral_v<T> && !std::is_same_v<T, bool>) struct Coder<T> {
    static T decode(const Json& value) {
        if (value.is_number_unsigned()) {
            auto v = value.get<std::uint64_t>();
            if (v <= static_cast<std::uint64_t>(std::numeric_limits<T>::max()))
                return static_cast<T>(v);
        } else if (value.is_number_integer()) {
            auto v = value.get<std::int64_t>();
            if (std::in_range<T>(v))
                return static_cast<T>(v);
        } else if (value.is_number_float()) {
            // Integral values written with a fraction part (2.0) are accepted; real fractions are not.
            double v = value.get<double>();
            if (std::isfinite(v) && std::trunc(v) == v &&
                v >= static_cast<double>(std::numeric_limits<T>::min()) &&
                v <= static_cast<double>(std::numeric_limits<T>::max()))
                return static_cast<T>(v);
        } else {
            typeMismatch("Int", value);
        }
        throw DecodingError("The number " + value.dump() + " does not fit the integer type.");
    }
    static Json encode(T value) { return value; }
};

template <> struct Coder<double> {
    static double decode(const Json& value) {
        if (!value.is_number())
            typeMismatch("Double", value);
        return value.get<double>();
    }
    static Json encode(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }
};

template <class T> struct Coder<std::vector<T>> {
    static std::vector<T> decode(const Json& value);
    static Json encode(const std::vector<T>& value) {
        Json out = Json::array();
        for (const auto& element : value)
            out.push_back(Coder<T>::encode(element));
        return out;
    }
};

template <class T> struct Coder<std::map<std::string, T>> {
    static std::map<std::string, T> decode(const Json& value);
    static Json encode(const std::map<std::string, T>& value) {
        Json out = Json::object();
        for (const auto& [key, element] : value)
            out[key] = Coder<T>::encode(element);
        return out;
    }
};

// Prefixes the coding path of an error raised while decoding `component`.
[[noreturn]] void rethrowWithPath(const DecodingError& error, std::string_view component);

template <class T> T decode(const Json& value) {
    return Coder<T>::decode(value);
}

template <class T> Json encode(const T& value) {
    return Coder<T>::encode(value);
}

// A required key: missing or null fails.
template <class T> T required(const Json& object, std::string_view key) {
    expectObject(object);
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        throw DecodingError("No value associated with key \"" + std::string(key) + "\".", std::string(key));
    try {
        return Coder<T>::decode(*it);
    } catch (const DecodingError& error) {
        rethrowWithPath(error, key);
    }
}

// An optional key: absent or null gives no value; a present value of the wrong type still fails.
template <class T> std::optional<T> optional(const Json& object, std::string_view key) {
    expectObject(object);
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return std::nullopt;
    try {
        return Coder<T>::decode(*it);
    } catch (const DecodingError& error) {
        rethrowWithPath(error, key);
    }
}

template <class T> void set(Json& object, const std::string& key, const T& value) {
    object[key] = Coder<T>::encode(value);
}

// Leaves the key out when the value is absent.
template <class T> void set(Json& object, const std::string& key, const std::optional<T>& value) {
    if (value)
        object[key] = Coder<T>::encode(*value);
}

template <class T> std::vector<T> Coder<std::vector<T>>::decode(const Json& value) {
    if (!value.is_array())
        typeMismatch("Array", value);
    std::vector<T> out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        try {
            out.push_back(Coder<T>::decode(value[i]));
        } catch (const DecodingError& error) {
            rethrowWithPath(error, "[" + std::to_string(i) + "]");
        }
    }
    return out;
}

template <class T> std::map<std::string, T> Coder<std::map<std::string, T>>::decode(const Json& value) {
    if (!value.is_object())
        typeMismatch("Dictionary", value);
    std::map<std::string, T> out;
    for (auto it = value.begin(); it != value.end(); ++it) {
        try {
            out.emplace(it.key(), Coder<T>::decode(it.value()));
        } catch (const DecodingError& error) {
            rethrowWithPath(error, it.key());
        }
    }
    return out;
}

// Parses JSON text; malformed input (including invalid UTF-8) throws DecodingError.
Json parse(std::string_view text);

// As deep as the platform's JSON reader goes. Copying, comparing or writing a JSON value recurses once
// per level, so a value nested deeper (a hostile file or answer) would exhaust the stack of its user.
inline constexpr int maximumNesting = 512;

// Parses like parse(), for values that are kept, copied or written again: arrays and objects nested
// more than maximumNesting levels deep also throw DecodingError, before any value is built.
Json parseWithinNesting(std::string_view text);

// Serialises without throwing: invalid UTF-8 in strings is replaced by U+FFFD.
// `indent` < 0 gives compact output; otherwise one key per line with that many spaces.
std::string dump(const Json& value, int indent = -1);
std::string dump(const OrderedJson& value, int indent = -1);

} // namespace orvel::json
