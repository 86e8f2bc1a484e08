#pragma once
// A file of the data folder that exists but does not decode may hold what nothing else can give back
// (a newer format, a hand edit with a typing error). Before a save replaces it, it is kept once beside
// itself as "<name>.broken". A file that cannot even be read (no permission, too large, a special file
// or a link) is moved there whole instead, since its bytes cannot be copied. All of it happens in the
// folder the save holds open, so that a folder swapped for a link meanwhile sends nothing elsewhere.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace orvel {

class OpenFolder;

// Copies the file `name` of `folder` to "<name>.broken" when it can be read and `decodes` refuses its
// bytes; an earlier copy is never overwritten. Moves the file to "<name>.broken" when it exists but
// cannot be read, and says so in the system log; when that name is taken or the move fails, throws
// UnkeptFileError, so that the caller does not replace the original. A folder is left alone. Throws the
// file error when the copy cannot be written.
void keepUndecodableFile(const OpenFolder& folder, const std::string& name,
                         const std::function<bool(const std::string&)>& decodes);

// A file that could not be read, and could not be kept aside either, so it was not replaced.
class UnkeptFileError : public std::runtime_error {
  public:
    explicit UnkeptFileError(const std::filesystem::path& file);
};

} // namespace orvel
