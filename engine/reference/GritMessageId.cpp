#include "engine/reference/GritMessageId.h"

#include <array>
#include <stdexcept>

#include <openssl/evp.h>

namespace orvel::SoftwareFormats {

std::uint64_t fingerprint(std::string_view text) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest.data(), &length, EVP_md5(), nullptr) != 1 || length < 8)
        throw std::runtime_error("MD5 digest unavailable");
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i)
        value = (value << 8) | digest[i];
    return value;
}

std::string messageID(std::string_view idText, std::string_view meaning) {
    std::uint64_t id = fingerprint(idText);
    if (!meaning.empty())
        id = fingerprint(meaning) + (id << 1) + (id >> 63);
    return std::to_string(id & 0x7FFFFFFFFFFFFFFFULL);
}

} // namespace orvel::SoftwareFormats
