#include "core/Date.h"

#include <cstdio>

namespace orvel {
namespace Dates {
namespace {

using namespace std::chrono;

// Reads exactly `count` ASCII digits at `offset` and advances past them.
bool readDigits(std::string_view text, std::size_t& offset, std::size_t count, int& value) {
    if (offset + count > text.size())
        return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[offset + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    offset += count;
    return true;
}

bool expect(std::string_view text, std::size_t& offset, char c) {
    if (offset >= text.size() || text[offset] != c)
        return false;
    ++offset;
    return true;
}

// The fraction after the decimal point, as milliseconds; later digits are read and dropped.
bool readFraction(std::string_view text, std::size_t& offset, int& milliseconds) {
    const std::size_t start = offset;
    milliseconds = 0;
    while (offset < text.size() && text[offset] >= '0' && text[offset] <= '9') {
        if (offset - start < 3)
            milliseconds = milliseconds * 10 + (text[offset] - '0');
        ++offset;
    }
    const std::size_t count = offset - start;
    if (count == 0)
        return false;
    for (std::size_t i = count; i < 3; ++i)
        milliseconds *= 10;
    return true;
}

// "Z", or "+hh:mm" / "-hh:mm", as the offset east of UTC.
bool readZone(std::string_view text, std::size_t& offset, minutes& zone) {
    if (expect(text, offset, 'Z')) {
        zone = minutes(0);
        return true;
    }
    if (offset >= text.size() || (text[offset] != '+' && text[offset] != '-'))
        return false;
    const int sign = text[offset] == '-' ? -1 : 1;
    ++offset;
    int hour = 0;
    int minute = 0;
    if (!readDigits(text, offset, 2, hour) || !expect(text, offset, ':') ||
        !readDigits(text, offset, 2, minute))
        return false;
    if (hour > 23 || minute > 59)
        return false;
    zone = minutes(sign * (hour * 60 + minute));
    return true;
}

} // namespace

Date now() {
    return floor<milliseconds>(system_clock::now());
}

std::string iso8601(Date date) {
    const auto day = floor<days>(date);
    const year_month_day ymd(day);
    const hh_mm_ss<milliseconds> time(date - day);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return buffer;
}

std::optional<Date> parseIso8601(std::string_view text) {
    std::size_t offset = 0;
    int yearValue = 0, monthValue = 0, dayValue = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    if (!readDigits(text, offset, 4, yearValue) || !expect(text, offset, '-') ||
        !readDigits(text, offset, 2, monthValue) || !expect(text, offset, '-') ||
        !readDigits(text, offset, 2, dayValue) || !expect(text, offset, 'T') ||
        !readDigits(text, offset, 2, hour) || !expect(text, offset, ':') ||
        !readDigits(text, offset, 2, minute) || !expect(text, offset, ':') ||
        !readDigits(text, offset, 2, second))
        return std::nullopt;
    if (expect(text, offset, '.') && !readFraction(text, offset, millisecond))
        return std::nullopt;
    minutes zone{};
    if (!readZone(text, offset, zone) || offset != text.size())
        return std::nullopt;
    const year_month_day ymd{year(yearValue), month(static_cast<unsigned>(monthValue)),
                             day(static_cast<unsigned>(dayValue))};
    if (!ymd.ok() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return sys_days(ymd) + hours(hour) + minutes(minute) + seconds(second) + milliseconds(millisecond) - zone;
}

} // namespace Dates

namespace json {

Date Coder<Date>::decode(const Json& value) {
    const std::string text = Coder<std::string>::decode(value);
    if (auto date = Dates::parseIso8601(text))
        return *date;
    throw DecodingError("Not an ISO 8601 date: " + text);
}

} // namespace json
} // namespace orvel
