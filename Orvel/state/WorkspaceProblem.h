#pragma once
// The one trouble a workspace shows above its strings.

#include <string>

namespace orvel {

struct WorkspaceProblem {
    enum class Kind {
        // A run, a publish or a capture failed; `text` is what went wrong.
        failed,
        // The chosen Apple model cannot handle the language whose code is `text`.
        unsupportedLanguage,
        // Accessibility access is not granted.
        accessibility,
        // No copy of the app runs to capture from.
        notRunning,
    };

    Kind kind = Kind::failed;
    // The message of `failed`, the language code of `unsupportedLanguage`; empty for the others.
    std::string text;

    static WorkspaceProblem failed(std::string message) { return {Kind::failed, std::move(message)}; }
    static WorkspaceProblem unsupportedLanguage(std::string code) {
        return {Kind::unsupportedLanguage, std::move(code)};
    }
    static WorkspaceProblem accessibility() { return {Kind::accessibility, {}}; }
    static WorkspaceProblem notRunning() { return {Kind::notRunning, {}}; }

    bool operator==(const WorkspaceProblem&) const = default;
};

} // namespace orvel
