#pragma once
// A file of the data folder that exists but does not decode may hold what nothing else can give back
// (a newer format, a hand edit with a typing error). Before a save replaces it, it is kept once beside
// itself as "<name>.broken".

#include <filesystem>
#include <functional>
#include <string>

namespace orvel {

// Copies `file` to "<file>.broken" when it can be read and `decodes` refuses its bytes. An earlier copy
// is never overwritten. Throws the file error when the copy cannot be written, so that the caller does
// not replace the original.
void keepUndecodableFile(const std::filesystem::path& file,
                         const std::function<bool(const std::string&)>& decodes);

} // namespace orvel
