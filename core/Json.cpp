#include "core/Json.h"

namespace orvel::json {

std::string typeName(const Json& value) {
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "Bool";
    case Json::value_t::string:
        return "String";
    case Json::value_t::array:
        return "Array";
    case Json::value_t::object:
        return "Dictionary";
    case Json::value_t::number_float:
        return "Double";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
        return "Int";
    default:
        return "unsupported value";
    }
}

void typeMismatch(const char* expected, const Json& found) {
    throw DecodingError(std::string("Expected to decode ") + expected + " but found " + typeName(found) +
                        " instead.");
}

void expectObject(const Json& value) {
    if (!value.is_object())
        typeMismatch("Dictionary", value);
}

std::string Coder<std::string>::decode(const Json& value) {
    if (!value.is_string())
        typeMismatch("String", value);
    return value.get<std::string>();
}

void rethrowWithPath(const DecodingError& error, std::string_view component) {
    std::string path(component);
    if (!error.codingPath().empty()) {
        if (error.codingPath().front() != '[')
            path += '.';
        path += error.codingPath();
    }
    throw DecodingError(error.what(), path);
}

namespace {

// Counted before parsing, so a value too deep to use is never built at all.
bool isNestedTooDeeply(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maximumNesting)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

} // namespace

Json parseWithinNesting(std::string_view text) {
    if (isNestedTooDeeply(text))
        throw DecodingError("The data couldn't be read because it is nested more than " +
                            std::to_string(maximumNesting) + " levels deep.");
    return parse(text);
}

Json parse(std::string_view text) {
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::exception& error) {
        throw DecodingError(
            std::string("The data couldn't be read because it isn't in the correct format. (") +
            error.what() + ")");
    }
}

std::string dump(const Json& value, int indent) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::string dump(const OrderedJson& value, int indent) {
    return value.dump(indent, ' ', false, OrderedJson::error_handler_t::replace);
}

} // namespace orvel::json
