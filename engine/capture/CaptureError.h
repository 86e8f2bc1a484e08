#pragma once
// Why a context capture could not run; what() is the text shown to the person.

#include <exception>
#include <string>

namespace orvel {

class CaptureError : public std::exception {
  public:
    enum class Kind {
        otherCopyRunning,
        notTrusted,
        notRunning,
        noAnswer,
        noAccessibilityTree,
        stoppedAnswering
    };

    // The running copy of the app comes from `path`, a bundle that cannot be opened as a translatable app.
    static CaptureError otherCopyRunning(std::string path);
    static CaptureError notTrusted();
    static CaptureError notRunning();
    // The app did not turn its markers on in time: it has no companion, or an older one.
    static CaptureError noAnswer();
    // The app answered the probe, but none of its windows shows an element to the accessibility service:
    // it was started before accessibility was turned on.
    static CaptureError noAccessibilityTree();
    // The app answered the probe, then its windows' read timed out before anything was read.
    static CaptureError stoppedAnswering();

    Kind kind() const { return m_kind; }
    // The running copy's bundle path of otherCopyRunning; empty otherwise.
    const std::string& path() const { return m_path; }

    const char* what() const noexcept override { return m_description.c_str(); }

  private:
    CaptureError(Kind kind, std::string path, std::string description);

    Kind m_kind;
    std::string m_path;
    std::string m_description;
};

} // namespace orvel
