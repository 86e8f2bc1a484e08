#include "Orvel/platform/AtspiPlatform.h"

#include "Orvel/platform/AccessibilityStatus.h"
#include "Orvel/platform/AtspiElement.h"

namespace orvel {
namespace {

// libatspi connects once per process; a failure is final for this process.
bool atspiReady() {
    static const bool ready = [] {
        // 0: connected now, 1: connected before; anything else: no accessibility bus to reach.
        if (atspi_init() > 1)
            return false;
        AtspiCalls::setTimeout(static_cast<int>(AtspiPlatform::callTimeout * 1000));
        return true;
    }();
    return ready;
}

} // namespace

AtspiPlatform::AtspiPlatform(QDBusConnection sessionBus)
    : m_status(std::make_unique<AccessibilityStatus>(std::move(sessionBus))) {}

bool AtspiPlatform::isTrusted() const {
    return m_status->isEnabled();
}

void AtspiPlatform::requestTrust() const {
    m_status->enable();
}

AXElementRef AtspiPlatform::application(pid_t pid) const {
    std::lock_guard guard(atspiLock());
    if (!atspiReady())
        return nullptr;
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop)
        return nullptr;
    AXElementRef out;
    GError* countError = nullptr;
    const gint count = atspi_accessible_get_child_count(desktop, &countError);
    g_clear_error(&countError);
    for (gint i = 0; i < count && !out; ++i) {
        GError* error = nullptr;
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        g_clear_error(&error);
        if (!application)
            continue;
        const guint processID = atspi_accessible_get_process_id(application, &error);
        const bool matches = !error && processID == static_cast<guint>(pid);
        g_clear_error(&error);
        if (matches) {
            // A capture reads what the app shows now, not what an earlier read cached.
            atspi_accessible_clear_cache(application);
            auto read = std::make_shared<AtspiElement::Read>(
                static_cast<AtspiAccessible*>(g_object_ref(application)), AtspiCalls::timeoutMs());
            out =
                std::make_shared<AtspiElement>(application, "desktop frame", AtspiElement::Shape::application,
                                               AtspiElement::Reach::onScreen, std::move(read));
        } else {
            g_object_unref(application);
        }
    }
    g_object_unref(desktop);
    return out;
}

} // namespace orvel
