#include "Orvel/state/LanguageNames.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "core/Languages.h"

namespace orvel {
namespace {

std::mutex interfaceMutex;
std::optional<std::string> configuredInterfaceLanguage;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allOf(std::string_view text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::vector<std::string_view> subtags(std::string_view identifier) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= identifier.size(); ++i) {
        if (i == identifier.size() || identifier[i] == '-' || identifier[i] == '_') {
            parts.push_back(identifier.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool isLanguageSubtag(std::string_view part) {
    const bool lengthFits = (part.size() >= 2 && part.size() <= 3) || (part.size() >= 5 && part.size() <= 8);
    return lengthFits && allOf(part, isAsciiLetter);
}

bool isScriptSubtag(std::string_view part) {
    return part.size() == 4 && allOf(part, isAsciiLetter);
}

bool isRegionSubtag(std::string_view part) {
    return (part.size() == 2 && allOf(part, isAsciiLetter)) ||
           (part.size() == 3 && allOf(part, isAsciiDigit));
}

} // namespace

std::string interfaceLanguage() {
    std::lock_guard lock(interfaceMutex);
    return configuredInterfaceLanguage.value_or("en");
}

void setInterfaceLanguage(std::optional<std::string> language) {
    std::lock_guard lock(interfaceMutex);
    configuredInterfaceLanguage = std::move(language);
}

std::string displayName(std::string_view language) {
    return Languages::displayName(language, interfaceLanguage());
}

std::optional<std::string> normalizedLanguage(std::string_view identifier) {
    const std::vector<std::string_view> parts = subtags(identifier);
    if (!isLanguageSubtag(parts.front()))
        return std::nullopt;
    std::string language;
    std::transform(parts.front().begin(), parts.front().end(), std::back_inserter(language), lower);

    std::size_t next = 1;
    std::string script;
    if (next < parts.size() && isScriptSubtag(parts[next])) {
        script += upper(parts[next][0]);
        std::transform(parts[next].begin() + 1, parts[next].end(), std::back_inserter(script), lower);
        ++next;
    }
    std::string region;
    if (next < parts.size() && isRegionSubtag(parts[next]))
        std::transform(parts[next].begin(), parts[next].end(), std::back_inserter(region), upper);

    if (language == "zh") {
        if (script.empty())
            script = region == "TW" || region == "HK" || region == "MO" ? "Hant" : "Hans";
        return "zh-" + script;
    }
    if (language == "pt")
        return region == "BR" ? "pt-BR" : "pt";
    return language;
}

} // namespace orvel
