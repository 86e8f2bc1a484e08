#pragma once
// Binary property lists ("bplist00") built object by object, so that tests can share objects between
// containers, nest them deeply or break the table on purpose. References and offsets are four bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace orvel::testing {

class BinaryPlistBuilder {
  public:
    using Ref = std::uint32_t;

    Ref ascii(const std::string& text) { return add(counted(0x50, text.size()) + text); }
    Ref utf16(const std::u16string& text) {
        std::string units;
        for (char16_t unit : text)
            units += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
        return add(counted(0x60, text.size()) + units);
    }
    Ref boolean(bool value) { return add(std::string(1, value ? '\x09' : '\x08')); }
    Ref integer(std::uint32_t value) { return add("\x12" + word(value)); }
    Ref array(const std::vector<Ref>& items) { return add(counted(0xA0, items.size()) + words(items)); }
    Ref dict(const std::vector<Ref>& keys, const std::vector<Ref>& values) {
        return add(counted(0xD0, keys.size()) + words(keys) + words(values));
    }
    // Reserves an object to be filled in later, so that containers can refer to objects made after them.
    Ref reserve() { return add(""); }
    void set(Ref ref, Ref from) { m_objects[ref] = m_objects[from]; }
    Ref count() const { return static_cast<Ref>(m_objects.size()); }

    std::string bytes(Ref top) const {
        std::string out = "bplist00";
        std::vector<Ref> offsets;
        for (const auto& object : m_objects) {
            offsets.push_back(static_cast<Ref>(out.size()));
            out += object;
        }
        const auto table = static_cast<std::uint32_t>(out.size());
        out += words(offsets);
        out += std::string(6, '\0') + "\x04\x04";
        out += std::string(4, '\0') + word(count()) + std::string(4, '\0') + word(top) +
               std::string(4, '\0') + word(table);
        return out;
    }

  private:
    static std::string word(std::uint32_t value) {
        return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                static_cast<char>(value)};
    }
    static std::string words(const std::vector<Ref>& refs) {
        std::string out;
        for (Ref ref : refs)
            out += word(ref);
        return out;
    }
    static std::string counted(unsigned marker, std::size_t count) {
        if (count < 15)
            return std::string(1, static_cast<char>(marker | count));
        return std::string(1, static_cast<char>(marker | 0xF)) + "\x12" +
               word(static_cast<std::uint32_t>(count));
    }
    Ref add(std::string object) {
        m_objects.push_back(std::move(object));
        return count() - 1;
    }

    std::vector<std::string> m_objects;
};

} // namespace orvel::testing
