#pragma once
// Writes JSON text byte for byte as the shared encoder (json::dump with an indent of 2) writes it, straight
// from the caller's own data, so that a large file is not first built as a value tree and then walked
// again. The caller writes an object's keys in ascending byte order, as the tree would keep them.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ByteSink.h"
#include "core/Json.h"

namespace orvel {

class PrettyJsonWriter {
  public:
    // What the text is handed over in once so much of it has been written (a text or tree written at once
    // may make a piece larger).
    static constexpr std::size_t defaultPieceSize = 64 * 1024;

    // Keeps the whole text, for take().
    PrettyJsonWriter() = default;
    // Hands the text to `sink` in pieces of about `pieceSize` bytes as it is written, and the rest at
    // finish(), so that no more than a piece is held.
    explicit PrettyJsonWriter(ByteSink sink, std::size_t pieceSize = defaultPieceSize);

    void beginObject();
    void endObject();
    // The next member's key; its value follows.
    void key(std::string_view name);
    void string(std::string_view text);
    // key() and string() at once.
    void member(std::string_view name, std::string_view text);
    // member() for a text that is there; an absent one is left out.
    void memberIfPresent(std::string_view name, const std::optional<std::string>& text);
    // An object of texts.
    void textMap(const std::map<std::string, std::string>& texts);
    // A small value given as a tree, written at the current depth.
    void value(const json::Json& value);

    // The text written so far; the writer is empty afterwards.
    std::string take();
    // Hands the sink what it has not been handed yet (a writer with a sink).
    void finish();

  private:
    ByteSink m_sink;
    std::size_t m_pieceSize = 0;
    std::string m_text;
    // Per open object: whether a member was written, which decides "{}" and the separators.
    std::vector<bool> m_hasMembers;

    void indent(std::size_t depth);
    void handOverFullPiece();
};

} // namespace orvel
