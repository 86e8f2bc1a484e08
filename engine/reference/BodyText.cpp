#include "engine/reference/BodyText.h"

#include "core/Unicode.h"

namespace orvel::BodyText {
namespace {

std::string decodedUtf16(std::string_view bytes, bool littleEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(littleEndian ? first | second << 8 : second | first << 8));
    }
    if (bytes.size() % 2 != 0)
        units.push_back(u'\uFFFD');
    return text::fromUtf16(units);
}

} // namespace

std::string decoded(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE"))
        return decodedUtf16(bytes.substr(2), true);
    if (bytes.starts_with("\xFE\xFF"))
        return decodedUtf16(bytes.substr(2), false);
    std::string result = text::decodeUtf8Lossy(bytes);
    if (result.starts_with("\xEF\xBB\xBF"))
        result.erase(0, 3);
    return result;
}

} // namespace orvel::BodyText
