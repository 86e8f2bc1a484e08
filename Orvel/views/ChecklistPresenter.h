#pragma once
// What the checklist shows, worked out from the workspace and the model preferences: the title, each of
// the six cards (state, count, explanation) and which actions are offered and enabled. Pure functions
// of a snapshot, so that every rule can be checked without a widget.

#include <QString>

#include <array>
#include <optional>
#include <string>

#include "Orvel/state/WorkspaceFilter.h"
#include "Orvel/views/StepBadge.h"
#include "Orvel/views/StepsFooterPresenter.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {

class ModelPreferences;
class Workspace;

// The readings of the workspace and the preferences that the checklist depends on.
struct ChecklistFacts {
    std::string appName{};
    std::optional<std::string> language{};
    bool capturing = false;
    bool translating = false;
    std::optional<TranslationJob::Progress> progress{};
    WorkspaceFilter filter = WorkspaceFilter::all;
    int translatable = 0;
    int translated = 0;
    int seen = 0;
    int notes = 0;
    // Absent while the problems are being computed.
    std::optional<int> problemCount{};
    bool live = false;
    std::string provider{};
    std::string model{};
};

ChecklistFacts checklistFacts(const Workspace& workspace, const ModelPreferences& preferences);

enum class ChecklistStep { model, context, glossary, translate, review, live };
inline constexpr int kChecklistSteps = 6;

struct ChecklistCardContent {
    StepState state = StepState::ToCome;
    QString title{};
    bool optional = false;
    // Empty: no count pill.
    QString count{};
    std::optional<ProgressBarValue> bar{};
    QString explanation{};
};

enum class TranslateCardAction { none, stop, translate };

struct ChecklistPresentation {
    QString title{};
    std::array<ChecklistCardContent, kChecklistSteps> cards{};
    // While a capture runs its button shows a spinner and cannot be pressed.
    bool capturing = false;
    TranslateCardAction translateAction = TranslateCardAction::none;
    QString translateActionText{};
    bool showProblemsEnabled = false;
    QString liveLabel{};
    bool liveOn = false;
    bool liveEnabled = false;

    const ChecklistCardContent& card(ChecklistStep step) const { return cards[static_cast<int>(step)]; }
};

ChecklistPresentation presentChecklist(const ChecklistFacts& facts);

// The states of the six cards, in step order.
std::array<StepState, kChecklistSteps> checklistStates(const ChecklistFacts& facts);
// The Model card's label of the chosen model.
QString modelLabel(const std::string& provider, const std::string& model);
// The filter "Show Problems" sets before closing the checklist; none when it is already the problems.
std::optional<WorkspaceFilter> showProblemsFilter(WorkspaceFilter current);

} // namespace orvel
