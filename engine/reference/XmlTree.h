#pragma once
// A small in-memory element tree of an XML document, as the readers of other programs' translation
// files need it: element names as written (prefix included), attributes, and text in document order.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvel::SoftwareFormats {

// A document that is not well-formed, or one the reader refuses (too deep, too much entity expansion).
class XmlError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Tree {
  public:
    // One child: an element or a run of character data.
    using Piece = std::variant<std::shared_ptr<const Tree>, std::string>;

    // Turns parser events into a tree; the root (empty name) is never popped.
    class Builder {
      public:
        Builder();
        void didStartElement(std::string name, std::map<std::string, std::string, std::less<>> attributes);
        void didEndElement();
        void foundCharacters(std::string_view characters);
        std::size_t depth() const { return m_stack.size() - 1; }
        std::shared_ptr<const Tree> root() const { return m_root; }

      private:
        std::shared_ptr<Tree> m_root;
        std::vector<Tree*> m_stack;
    };

    std::string name;
    std::map<std::string, std::string, std::less<>> attributes;
    std::vector<Piece> children;

    // The child elements in order, text skipped.
    std::vector<std::shared_ptr<const Tree>> elements() const;
    // All text inside, markup removed and its content kept.
    std::string text() const;
    // The attribute's value, or nothing when the element lacks it.
    const std::string* attribute(std::string_view key) const;
};

using Trees = std::vector<std::shared_ptr<const Tree>>;

// The root (empty name) whose children are the document's top-level pieces. Throws XmlError when the
// document is not well-formed, nests deeper than the reader allows or expands entities beyond a bound.
// External entities are never fetched.
std::shared_ptr<const Tree> tree(std::string_view bytes);

// Every tree among `trees` and below them whose name equals `name`, in document order.
Trees elements(std::string_view name, const Trees& trees);

} // namespace orvel::SoftwareFormats
