#pragma once
// The application's own texts are keys of its main string table. A value inserted into a text is a
// "%@" (a text) or a "%lld" (an integer) in the key: "Live in %@", "Translate %lld Strings".

#include <QString>

#include <concepts>
#include <initializer_list>
#include <span>

namespace orvel {

// One value for a placeholder of a text key: a text (shown verbatim) or an integer (in decimal).
class TextArgument {
  public:
    TextArgument(const QString& text) : m_text(text) {}
    template <std::integral Number>
    requires(!std::same_as<Number, bool>) TextArgument(Number number) : m_text(QString::number(number)) {}

    const QString& text() const { return m_text; }

  private:
    QString m_text;
};

// The application's text for `key`: its translation when one is installed, else the key itself.
// `comment` tells translators what the text is about.
QString localized(const char* key, const char* comment = nullptr);

// The text for `key` with its placeholders filled in order by `arguments`.
QString localizedFormat(const char* key, std::initializer_list<TextArgument> arguments,
                        const char* comment = nullptr);

// Fills "%@" and "%lld" of `pattern` in order and turns "%%" into "%". Inserted values are never read
// as placeholders again; a placeholder left without a value stays as it is, and any other "%" too.
QString fillPlaceholders(const QString& pattern, std::span<const TextArgument> arguments);

} // namespace orvel
