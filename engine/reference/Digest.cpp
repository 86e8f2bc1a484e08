#include "engine/reference/Digest.h"

#include <array>
#include <stdexcept>

#include <openssl/evp.h>

#include "core/SharedLibrary.h"

namespace orvel {
namespace {

struct DigestCalls {
    explicit DigestCalls(const SharedLibrary& library)
        : digest(library.function<decltype(digest)>("EVP_Digest")),
          md5(library.function<decltype(md5)>("EVP_md5")),
          sha256(library.function<decltype(sha256)>("EVP_sha256")) {}

    decltype(&::EVP_Digest) digest;
    decltype(&::EVP_md5) md5;
    decltype(&::EVP_sha256) sha256;
};

const DigestCalls& digestCalls() {
    static const DigestCalls calls{SharedLibrary("libcrypto.so.3")};
    return calls;
}

} // namespace

std::string digest(DigestAlgorithm algorithm, std::string_view bytes) {
    const DigestCalls& calls = digestCalls();
    const EVP_MD* type = algorithm == DigestAlgorithm::md5 ? calls.md5() : calls.sha256();
    std::array<unsigned char, EVP_MAX_MD_SIZE> value{};
    unsigned int length = 0;
    if (!type || calls.digest(bytes.data(), bytes.size(), value.data(), &length, type, nullptr) != 1)
        throw std::runtime_error(algorithm == DigestAlgorithm::md5 ? "MD5 digest unavailable"
                                                                   : "SHA-256 is not available");
    return std::string(reinterpret_cast<const char*>(value.data()), length);
}

} // namespace orvel
