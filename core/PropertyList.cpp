#include "core/PropertyList.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

#include <plist/plist.h>

#include "core/BinaryPropertyList.h"
#include "core/FileIO.h"
#include "core/Unicode.h"
#include "core/XmlPropertyListScan.h"

namespace orvel::PropertyList {
namespace {

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};

std::string takeString(char* raw) {
    if (!raw)
        return {};
    std::string out = text::decodeUtf8Lossy(raw);
    std::free(raw);
    return out;
}

// The measure before parsing keeps the depth within the limits; this only guards the recursion itself.
std::optional<json::Json> convert(plist_t node, int depth, int maximumDepth) {
    if (depth > maximumDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_DICT: {
        json::Json object = json::Json::object();
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        if (!iter)
            return object;
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &key, &value);
            if (!value) {
                std::free(key);
                break;
            }
            std::string name = takeString(key);
            auto converted = convert(value, depth + 1, maximumDepth);
            if (!converted) {
                std::free(iter);
                return std::nullopt;
            }
            object[name] = std::move(*converted);
        }
        std::free(iter);
        return object;
    }
    case PLIST_ARRAY: {
        json::Json array = json::Json::array();
        const uint32_t size = plist_array_get_size(node);
        for (uint32_t i = 0; i < size; ++i) {
            auto converted = convert(plist_array_get_item(node, i), depth + 1, maximumDepth);
            if (!converted)
                return std::nullopt;
            array.push_back(std::move(*converted));
        }
        return array;
    }
    case PLIST_STRING: {
        // The pointer form keeps the recorded length: a string holding NUL would trip the
        // library's own consistency assertion in the copying accessor.
        uint64_t length = 0;
        const char* value = plist_get_string_ptr(node, &length);
        if (!value)
            return json::Json(std::string());
        return json::Json(text::decodeUtf8Lossy(std::string_view(value, static_cast<std::size_t>(length))));
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return json::Json(value != 0);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        // Negative integers are kept in two's complement.
        if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
            return json::Json(static_cast<int64_t>(value));
        return json::Json(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return json::Json(value);
    }
    default:
        return json::Json(nullptr);
    }
}

bool isXml(std::string_view bytes) {
    return bytes.find("<plist") != std::string_view::npos;
}

} // namespace

Parsed parseWithinLimits(std::string_view bytes, const PropertyListLimits& limits) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return {};
    const auto length = static_cast<uint32_t>(bytes.size());
    const bool binary = plist_is_binary(bytes.data(), length);
    if (!binary && !isXml(bytes))
        return {};
    const PropertyListShape shape =
        binary ? BinaryPropertyList::measure(bytes, limits) : XmlPropertyListScan::measure(bytes, limits);
    if (shape != PropertyListShape::fits)
        return {std::nullopt, shape == PropertyListShape::overLimits};
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(bytes.data(), length, &root);
    else
        plist_from_xml(bytes.data(), length, &root);
    if (!root)
        return {};
    std::unique_ptr<void, PlistFree> owner(root);
    return {convert(root, 0, limits.maximumDepth)};
}

std::optional<json::Json> parse(std::string_view bytes) {
    return parseWithinLimits(bytes).value;
}

std::optional<json::Json> topLevelScalars(std::string_view bytes, const PropertyListLimits& limits) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    if (plist_is_binary(bytes.data(), static_cast<uint32_t>(bytes.size())))
        return BinaryPropertyList::topLevelScalars(bytes, limits);
    if (isXml(bytes))
        return XmlPropertyListScan::topLevelScalars(bytes, limits);
    return std::nullopt;
}

std::optional<json::Json> readFile(const std::filesystem::path& path) {
    auto bytes = FileIO::readIfPresent(path);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

} // namespace orvel::PropertyList
