#include "Orvel/views/CountFormat.h"

namespace orvel {

QString formatCount(std::int64_t count) {
    // The magnitude is taken in unsigned arithmetic so that the lowest value has one too.
    const std::uint64_t magnitude =
        count < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    const QString digits = QString::number(magnitude);
    QString grouped;
    if (digits.size() <= 4) {
        grouped = digits;
    } else {
        const qsizetype lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
        grouped = digits.left(lead);
        for (qsizetype at = lead; at < digits.size(); at += 3) {
            grouped += QChar(0x202F);
            grouped += digits.mid(at, 3);
        }
    }
    return count < 0 ? QLatin1Char('-') + grouped : grouped;
}

} // namespace orvel
