#pragma once
// MD5 and SHA-256 digests through libcrypto, which is loaded at the first digest: only the reference
// build needs one.

#include <string>
#include <string_view>

namespace orvel {

enum class DigestAlgorithm { md5, sha256 };

// The digest's bytes; throws std::runtime_error when libcrypto or the algorithm cannot be had.
std::string digest(DigestAlgorithm algorithm, std::string_view bytes);

} // namespace orvel
