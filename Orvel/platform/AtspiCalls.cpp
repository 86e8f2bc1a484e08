#include "Orvel/platform/AtspiCalls.h"

#include <algorithm>
#include <atomic>

namespace orvel::AtspiCalls {
namespace {

struct GFree {
    void operator()(void* pointer) const { g_free(pointer); }
};

// Every libatspi call reports failure through a GError; a failed read is simply an absent value.
class ErrorSlot {
  public:
    ErrorSlot() = default;
    ErrorSlot(const ErrorSlot&) = delete;
    ErrorSlot& operator=(const ErrorSlot&) = delete;
    ~ErrorSlot() { g_clear_error(&m_error); }
    GError** operator&() { return &m_error; }
    bool failed() const { return m_error != nullptr; }

  private:
    GError* m_error = nullptr;
};

std::optional<std::string> ownedText(gchar* text, bool failed) {
    std::unique_ptr<gchar, GFree> owner(text);
    if (failed || !text)
        return std::nullopt;
    return std::string(text);
}

std::atomic<int> callTimeout{-1};

} // namespace

void setTimeout(int milliseconds) {
    callTimeout = milliseconds;
    atspi_set_timeout(milliseconds, -1);
}

int timeoutMs() {
    return callTimeout;
}

std::string roleName(AtspiAccessible* accessible) {
    ErrorSlot error;
    const AtspiRole role = atspi_accessible_get_role(accessible, &error);
    if (error.failed())
        return {};
    return ownedText(atspi_role_get_name(role), false).value_or("");
}

std::optional<std::string> name(AtspiAccessible* accessible) {
    ErrorSlot error;
    return ownedText(atspi_accessible_get_name(accessible, &error), error.failed());
}

std::optional<std::string> toolkitName(AtspiAccessible* accessible) {
    ErrorSlot error;
    return ownedText(atspi_accessible_get_toolkit_name(accessible, &error), error.failed());
}

std::optional<std::string> objectAttribute(AtspiAccessible* accessible, const char* key) {
    ErrorSlot error;
    GHashTable* table = atspi_accessible_get_attributes(accessible, &error);
    if (error.failed() || !table)
        return std::nullopt;
    std::optional<std::string> out;
    if (const auto* found = static_cast<const gchar*>(g_hash_table_lookup(table, key)); found && *found)
        out = found;
    g_hash_table_unref(table);
    return out;
}

std::optional<std::string> text(AtspiAccessible* accessible, int limit) {
    AtspiText* text = ATSPI_TEXT(accessible);
    ErrorSlot countError;
    const gint count = atspi_text_get_character_count(text, &countError);
    if (countError.failed() || count < 0)
        return std::nullopt;
    if (count == 0)
        return std::string();
    ErrorSlot error;
    return ownedText(atspi_text_get_text(text, 0, std::min(count, limit), &error), error.failed());
}

std::optional<double> currentValue(AtspiAccessible* accessible) {
    ErrorSlot error;
    const double current = atspi_value_get_current_value(ATSPI_VALUE(accessible), &error);
    if (error.failed())
        return std::nullopt;
    return current;
}

int childCount(AtspiAccessible* accessible, int limit) {
    ErrorSlot error;
    const gint count = atspi_accessible_get_child_count(accessible, &error);
    return error.failed() ? 0 : std::clamp(count, 0, limit);
}

AtspiAccessible* childAt(AtspiAccessible* accessible, int index) {
    ErrorSlot error;
    AtspiAccessible* child = atspi_accessible_get_child_at_index(accessible, index, &error);
    if (error.failed()) {
        if (child)
            g_object_unref(child);
        return nullptr;
    }
    return child;
}

} // namespace orvel::AtspiCalls
