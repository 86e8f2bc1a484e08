#include "engine/reference/GritMessageId.h"

#include <stdexcept>

#include "engine/reference/Digest.h"

namespace orvel::SoftwareFormats {

std::uint64_t fingerprint(std::string_view text) {
    const std::string value = digest(DigestAlgorithm::md5, text);
    if (value.size() < 8)
        throw std::runtime_error("MD5 digest unavailable");
    std::uint64_t result = 0;
    for (std::size_t i = 0; i < 8; ++i)
        result = (result << 8) | static_cast<unsigned char>(value[i]);
    return result;
}

std::string messageID(std::string_view idText, std::string_view meaning) {
    std::uint64_t id = fingerprint(idText);
    if (!meaning.empty())
        id = fingerprint(meaning) + (id << 1) + (id >> 63);
    return std::to_string(id & 0x7FFFFFFFFFFFFFFFULL);
}

} // namespace orvel::SoftwareFormats
