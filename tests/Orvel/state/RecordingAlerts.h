#pragma once
// Alerts that tests read back instead of a person dismissing them.

#include <ostream>
#include <vector>

#include "Orvel/state/Alerts.h"

namespace orvel {

inline void PrintTo(const Alert& alert, std::ostream* out) {
    *out << alert.message.toStdString() << " / " << alert.informativeText.toStdString();
}

namespace testing {

struct RecordingAlerts : Alerts {
    void show(const Alert& alert) override { shown.push_back(alert); }
    std::vector<Alert> shown;
};

} // namespace testing
} // namespace orvel
