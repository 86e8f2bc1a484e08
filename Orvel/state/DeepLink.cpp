#include "Orvel/state/DeepLink.h"

#include <algorithm>
#include <vector>

#include "core/Unicode.h"

namespace orvel {
namespace {

constexpr std::string_view scheme = "orvel";
constexpr std::string_view host = "translate";

struct QueryItem {
    std::string name;
    std::optional<std::string> value;
};

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<int> hexDigit(char c) {
    if (isAsciiDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

// C0 and C1 controls and DEL, in UTF-8 text; a C1 control is the byte 0xC2 before 0x80 to 0x9F.
bool hasControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7f)
            return true;
        if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

// The text with every "%XY" replaced by its byte; nothing for a malformed escape or a result that is
// not UTF-8 or holds a control character.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const std::optional<int> high = hexDigit(text[i + 1]);
        const std::optional<int> low = hexDigit(text[i + 2]);
        if (!high || !low)
            return std::nullopt;
        decoded += static_cast<char>(*high * 16 + *low);
        i += 2;
    }
    if (!text::isValidUtf8(decoded) || hasControlCharacter(decoded))
        return std::nullopt;
    return decoded;
}

// The host of an authority: without the user part before the last "@" and the port after ":".
std::string_view hostOf(std::string_view authority) {
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (const std::size_t colon = authority.rfind(':');
        colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos)
        authority = authority.substr(0, colon);
    return authority;
}

// The items of a query in order; nothing when one of them does not decode.
std::optional<std::vector<QueryItem>> queryItems(std::string_view query) {
    std::vector<QueryItem> items;
    std::size_t start = 0;
    while (start <= query.size()) {
        const std::size_t end = std::min(query.find('&', start), query.size());
        const std::string_view item = query.substr(start, end - start);
        const std::size_t equals = item.find('=');
        std::optional<std::string> name = percentDecoded(item.substr(0, equals));
        if (!name)
            return std::nullopt;
        std::optional<std::string> value;
        if (equals != std::string_view::npos) {
            value = percentDecoded(item.substr(equals + 1));
            if (!value)
                return std::nullopt;
        }
        items.push_back({std::move(*name), std::move(value)});
        start = end + 1;
    }
    return items;
}

// The value of the first item named `name`; an empty value counts as none.
std::optional<std::string> firstValue(const std::vector<QueryItem>& items, std::string_view name) {
    const auto item =
        std::find_if(items.begin(), items.end(), [&](const QueryItem& each) { return each.name == name; });
    if (item == items.end() || !item->value || item->value->empty())
        return std::nullopt;
    return item->value;
}

} // namespace

std::optional<DeepLink> parseDeepLink(std::string_view url) {
    if (url.find(' ') != std::string_view::npos || hasControlCharacter(url) || !text::isValidUtf8(url))
        return std::nullopt;
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || url.substr(0, colon) != scheme)
        return std::nullopt;
    std::string_view rest = url.substr(colon + 1);
    if (!rest.starts_with("//"))
        return std::nullopt;
    rest.remove_prefix(2);

    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const std::optional<std::string> decodedHost = percentDecoded(hostOf(rest.substr(0, authorityEnd)));
    if (!decodedHost || *decodedHost != host)
        return std::nullopt;

    rest = rest.substr(0, std::min(rest.find('#'), rest.size()));
    const std::size_t question = rest.find('?');
    if (question == std::string_view::npos)
        return std::nullopt;
    const std::optional<std::vector<QueryItem>> items = queryItems(rest.substr(question + 1));
    if (!items)
        return std::nullopt;
    std::optional<std::string> app = firstValue(*items, "app");
    if (!app)
        return std::nullopt;
    return DeepLink{std::move(*app), firstValue(*items, "language")};
}

} // namespace orvel
