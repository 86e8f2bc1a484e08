#include "Orvel/views/TextKeys.h"

#include <QCoreApplication>

namespace orvel {

namespace {
constexpr const char* kStringTable = "Localizable";
}

QString localized(const char* key, const char* comment) {
    return QCoreApplication::translate(kStringTable, key, comment);
}

QString localizedFormat(const char* key, std::initializer_list<TextArgument> arguments, const char* comment) {
    return fillPlaceholders(localized(key, comment), std::span(arguments.begin(), arguments.size()));
}

QString fillPlaceholders(const QString& pattern, std::span<const TextArgument> arguments) {
    static const QString textPlaceholder = QStringLiteral("%@");
    static const QString integerPlaceholder = QStringLiteral("%lld");
    static const QString percent = QStringLiteral("%%");

    QString filled;
    filled.reserve(pattern.size());
    std::size_t next = 0;
    qsizetype at = 0;
    while (at < pattern.size()) {
        const qsizetype sign = pattern.indexOf(QLatin1Char('%'), at);
        if (sign < 0) {
            filled += QStringView(pattern).mid(at);
            break;
        }
        filled += QStringView(pattern).mid(at, sign - at);
        const QStringView rest = QStringView(pattern).mid(sign);
        qsizetype placeholderLength = 0;
        if (rest.startsWith(textPlaceholder))
            placeholderLength = textPlaceholder.size();
        else if (rest.startsWith(integerPlaceholder))
            placeholderLength = integerPlaceholder.size();

        if (rest.startsWith(percent)) {
            filled += QLatin1Char('%');
            at = sign + percent.size();
        } else if (placeholderLength > 0 && next < arguments.size()) {
            filled += arguments[next++].text();
            at = sign + placeholderLength;
        } else {
            filled += QLatin1Char('%');
            at = sign + 1;
        }
    }
    return filled;
}

} // namespace orvel
