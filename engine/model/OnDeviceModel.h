#pragma once
// The system's on-device language model, where the platform has one. This system has none; the
// interface keeps the request path whole so that a platform model (or a test's) can be put in.

#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>

namespace orvel {

class OnDeviceModel {
  public:
    enum class Availability {
        available,
        deviceNotEligible,
        appleIntelligenceNotEnabled,
        modelNotReady,
        otherReason
    };

    // A failure of generation as the platform reports it; what() is its localized description.
    class GenerationError : public std::runtime_error {
      public:
        enum class Kind { exceededContextWindowSize, unsupportedLanguageOrLocale, rateLimited, other };
        GenerationError(Kind kind, const std::string& description)
            : std::runtime_error(description), m_kind(kind) {}
        Kind kind() const { return m_kind; }

      private:
        Kind m_kind;
    };

    virtual ~OnDeviceModel() = default;

    virtual Availability availability() const = 0;
    virtual bool supportsLocale(std::string_view languageCode) const = 0;
    // Answers `prompt` in a new session made for this call alone, with `instructions` as its system text,
    // the platform's default sampling and no limit on the answer's length. Throws GenerationError.
    virtual std::string respond(const std::string& instructions, const std::string& prompt,
                                std::optional<double> temperature, std::stop_token stop) = 0;
};

} // namespace orvel
