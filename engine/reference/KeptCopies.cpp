#include "engine/reference/KeptCopies.h"

#include <array>
#include <memory>
#include <stdexcept>

#include <openssl/evp.h>

#include "core/TextPrefix.h"

namespace orvel::KeptCopies {
namespace {

struct DigestCleanup {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string sha256Hex(std::string_view bytes) {
    std::unique_ptr<EVP_MD_CTX, DigestCleanup> context(EVP_MD_CTX_new());
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1)
        throw std::runtime_error("SHA-256 is not available");
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        hex += digits[digest[i] >> 4];
        hex += digits[digest[i] & 0xF];
    }
    return hex;
}

} // namespace

std::string_view lastComponent(std::string_view address) {
    while (address.size() > 1 && address.ends_with('/'))
        address.remove_suffix(1);
    if (address == "/")
        return address;
    const auto slash = address.rfind('/');
    return slash == std::string_view::npos ? address : address.substr(slash + 1);
}

std::string fileName(std::string_view address) {
    return sha256Hex(address) + "-" + text::firstCharacters(lastComponent(address), 60);
}

std::filesystem::path file(const std::filesystem::path& folder, std::string_view address) {
    return folder / fileName(address);
}

} // namespace orvel::KeptCopies
