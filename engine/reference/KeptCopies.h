#pragma once
// Where the downloader keeps its copy of a file that is the same for every language.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvel::KeptCopies {

// The address's last path component as a file path has it: the text after the last "/", trailing "/"
// ignored; a query stays part of it.
std::string_view lastComponent(std::string_view address);

// The SHA-256 digest of the address's bytes in 64 lowercase hexadecimal digits, "-", and the first 60
// characters of its last path component.
std::string fileName(std::string_view address);

// folder/fileName(address)
std::filesystem::path file(const std::filesystem::path& folder, std::string_view address);

} // namespace orvel::KeptCopies
