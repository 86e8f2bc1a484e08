#pragma once
// The settings window's content: which provider answers the translation requests, the endpoint, key and
// model of an HTTP provider, the size and parallelism of requests, JSON mode, review, the reasoning
// effort and automatic updates. Every control writes straight to ModelPreferences, which persists it.
// For the Apple back-ends it shows whether they can be used now, offers the ChatGPT shortcut and watches
// for it after that; any provider can be tried with a small test request.

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "engine/model/AppleModels.h"
#include "engine/model/ModelSettings.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpacerItem;
class QSpinBox;

namespace orvel {

class AppleBackendStatus;
class CapsuleLabel;
class ClampedLabel;
class MiniSpinner;
class ModelPreferences;

class ModelSettingsView : public QWidget {
    Q_OBJECT
  public:
    // What the form needs from outside; system() gives the real ones.
    struct Services {
        std::shared_ptr<AppleBackendStatus> apple;
        // Runs `work` off the main thread; the continuation it returns runs on the main thread while
        // `receiver` lives.
        std::function<void(QObject* receiver, std::function<std::function<void()>()> work)> background;
        // Calls `fire` once on the main thread, `delay` from now, while `context` lives.
        std::function<void(std::chrono::milliseconds delay, QObject* context, std::function<void()> fire)>
            after;
        // Blocks for one test request: nothing when connected, else the error's description.
        std::function<std::optional<std::string>(const ModelSettings&, std::stop_token)> testConnection;

        static Services system();
    };

    static constexpr int formWidth = 520;
    // After "Install Shortcut" the ChatGPT back-end is checked this often, at most this many times.
    static constexpr std::chrono::milliseconds pollInterval{2000};
    static constexpr int pollChecks = 30;

    // `prefs` outlives the form.
    explicit ModelSettingsView(ModelPreferences& prefs, Services services = Services::system(),
                               QWidget* parent = nullptr);
    ~ModelSettingsView() override;

    bool isTesting() const { return m_testing; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Escape and Ctrl+W close the form when it is a window of its own.
    void closeByKeys();
    enum class Outcome { none, connected, failed };

    void makeModelSection();
    void makeRequestsSection();
    void makeUpdatesSection(QFormLayout* form);
    void bindPreferences();

    void pickProvider(int row);
    void showProvider();
    void showEndpointKind();
    // The note under the key field while no keyring can keep the key.
    void showKeyNote();
    void askAvailability(AppleModels::Kind kind);
    void showStatus();

    void installShortcut();
    void schedulePoll(std::uint64_t generation);
    void pollChecked(std::uint64_t generation, const std::optional<std::string>& reason);

    void testConnection();
    void testFinished(std::uint64_t generation, const std::optional<std::string>& error);
    // Clears the result and forgets a test still running, whose answer would be about the model before.
    void dropTest();
    void showTestState();

    void showReasoningEffort();
    void showSpinValue(QSpinBox* spin, int value);
    void fitHeight();

    ModelPreferences& m_prefs;
    Services m_services;

    bool m_testing = false;
    Outcome m_outcome = Outcome::none;
    QString m_error;
    // Raised by every test and every change of the model: a test's result counts only while it is
    // current.
    std::uint64_t m_testGeneration = 0;
    // Ends the running test request when it is dropped or the form goes away.
    std::stop_source m_testStop;

    // What the polling after "Install Shortcut" last found for the ChatGPT back-end.
    std::optional<std::string> m_appleReason;
    std::uint64_t m_pollGeneration = 0;
    int m_pollCount = 0;

    // The Apple kind the status row shows, and its availability once known (nothing inside: usable).
    std::optional<AppleModels::Kind> m_statusKind;
    std::optional<std::optional<std::string>> m_status;
    std::uint64_t m_statusGeneration = 0;

    QFormLayout* m_modelForm = nullptr;
    QFormLayout* m_requestsForm = nullptr;
    QComboBox* m_providerPicker = nullptr;
    QWidget* m_statusRow = nullptr;
    MiniSpinner* m_statusSpinner = nullptr;
    CapsuleLabel* m_statusPill = nullptr;
    QPushButton* m_installShortcut = nullptr;
    QLineEdit* m_endpoint = nullptr;
    QLineEdit* m_apiKey = nullptr;
    QLabel* m_keyNote = nullptr;
    QLineEdit* m_model = nullptr;
    QHBoxLayout* m_testRowLayout = nullptr;
    QSpacerItem* m_testRowEnd = nullptr;
    QPushButton* m_testButton = nullptr;
    MiniSpinner* m_testSpinner = nullptr;
    ClampedLabel* m_testError = nullptr;
    CapsuleLabel* m_connectedPill = nullptr;
    QSpinBox* m_batchSize = nullptr;
    QSpinBox* m_concurrency = nullptr;
    QCheckBox* m_jsonMode = nullptr;
    QCheckBox* m_review = nullptr;
    QComboBox* m_reasoningEffort = nullptr;
    QCheckBox* m_autoUpdate = nullptr;
};

} // namespace orvel
