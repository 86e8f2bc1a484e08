#include "engine/capture/CaptureError.h"

#include <utility>

namespace orvel {

CaptureError::CaptureError(Kind kind, std::string path, std::string description)
    : m_kind(kind), m_path(std::move(path)), m_description(std::move(description)) {}

CaptureError CaptureError::otherCopyRunning(std::string path) {
    std::string description = "The running copy is " + path +
                              ", which does not include Orvel. Quit it and open the build you want to check.";
    return CaptureError(Kind::otherCopyRunning, std::move(path), std::move(description));
}

CaptureError CaptureError::notTrusted() {
    return CaptureError(Kind::notTrusted, {}, "Accessibility access is off for this translator");
}

CaptureError CaptureError::notRunning() {
    return CaptureError(Kind::notRunning, {}, "The app is not running");
}

CaptureError CaptureError::noAnswer() {
    return CaptureError(Kind::noAnswer, {},
                        "The app did not answer. It may not use OrvelKit, or it is an older version.");
}

CaptureError CaptureError::noAccessibilityTree() {
    return CaptureError(
        Kind::noAccessibilityTree, {},
        "The app answered, but its windows show nothing to accessibility: it was probably "
        "opened before accessibility was turned on. Quit the app, open it again, then capture "
        "again.");
}

CaptureError CaptureError::stoppedAnswering() {
    return CaptureError(Kind::stoppedAnswering, {},
                        "The app stopped answering while its windows were read. Capture again once it "
                        "responds.");
}

} // namespace orvel
