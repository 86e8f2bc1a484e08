#pragma once
// Why the files of one reference program could not be had.

#include <stdexcept>
#include <string>

#include "engine/reference/SoftwareReference.h"

namespace orvel {

class SoftwareReference::SourceError : public std::runtime_error {
  public:
    enum class Kind {
        // The program has no such file, or no translation into the language.
        missing,
        // Any other failure.
        failed,
    };

    static SourceError missing(const std::string& text) { return {Kind::missing, text}; }
    static SourceError failed(const std::string& text) { return {Kind::failed, text}; }

    Kind kind() const { return m_kind; }
    // The text the error was made with; what() is its description ("no " + text when missing).
    const std::string& text() const { return m_text; }

  private:
    SourceError(Kind kind, const std::string& text)
        : std::runtime_error(kind == Kind::missing ? "no " + text : text), m_kind(kind), m_text(text) {}

    Kind m_kind;
    std::string m_text;
};

} // namespace orvel
