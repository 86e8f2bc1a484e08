#include "engine/reference/KeptCopies.h"

#include "core/TextPrefix.h"
#include "engine/reference/Digest.h"

namespace orvel::KeptCopies {
namespace {

std::string sha256Hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char byte : digest(DigestAlgorithm::sha256, bytes)) {
        hex += digits[static_cast<unsigned char>(byte) >> 4];
        hex += digits[static_cast<unsigned char>(byte) & 0xF];
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
