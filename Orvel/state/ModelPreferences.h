#pragma once
// The person's model settings for the whole application and the API key of the configured endpoint.
// Every setting but the key lives in the application's defaults under its own name; the key lives in
// the secret store, one item per endpoint host, unless the environment provides one.

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/SecretStore.h"
#include "Orvel/state/SerialQueue.h"
#include "core/DefaultsStore.h"
#include "engine/model/ModelSettings.h"

namespace orvel {

class ModelPreferences : public QObject {
    Q_OBJECT

  public:
    // The value of a variable of the process environment, or nothing when it is not set.
    using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

    static constexpr const char* keyService = "Orvel model endpoint";
    static constexpr const char* keyVariable = "ORVEL_API_KEY";
    static constexpr int defaultBatchSize = 25;

    static EnvironmentLookup processEnvironment();

    // Reads every setting from `defaults`; the key stays empty until the first loadKey().
    ModelPreferences(DefaultsStore defaults, std::shared_ptr<SecretStore> secrets,
                     EnvironmentLookup environment = processEnvironment(), QObject* parent = nullptr);

    // Each setter stores the value in the defaults on every call and notifies only on a change.
    const std::string& provider() const { return m_provider; }
    void setProvider(const std::string& value);
    const std::string& endpoint() const { return m_endpoint; }
    // A change of endpoint also loads the key of the new endpoint's account, a moment later.
    void setEndpoint(const std::string& value);
    const std::string& model() const { return m_model; }
    void setModel(const std::string& value);
    bool jsonMode() const { return m_jsonMode; }
    void setJsonMode(bool value);
    const std::string& reasoningEffort() const { return m_reasoningEffort; }
    void setReasoningEffort(const std::string& value);
    int concurrency() const { return m_concurrency; }
    void setConcurrency(int value);
    int batchSize() const { return m_batchSize; }
    void setBatchSize(int value);
    bool review() const { return m_review; }
    void setReview(bool value);
    bool autoUpdate() const { return m_autoUpdate; }
    void setAutoUpdate(bool value);

    // Empty means no key.
    const std::string& apiKey() const { return m_apiKey; }
    // The person's edit: stored under the current account, in the order the edits were made; an empty
    // key deletes the account's item.
    void setApiKey(const std::string& value);
    // True while the secret store cannot keep the key (no keyring runs, say): its last read failed, or
    // the last write of a key did. A key typed meanwhile serves only until the program ends. Observed.
    bool keyNotKept() const { return m_keyNotKept; }
    // The account whose key apiKey() holds; nothing until the first load or edit.
    const std::optional<std::string>& loadedAccount() const { return m_loadedAccount; }
    // The endpoint's host, or the whole endpoint text when it has no host.
    std::string account() const;

    // Makes `preset` the current provider; review starts off for the on-device model and local servers.
    void apply(const ModelSettings::Preset& preset);
    // The settings of one run. The key is sent only when it belongs to the current account.
    ModelSettings settings() const;
    // Makes apiKey() hold the key of the current account, then runs `done` on the main thread while
    // `receiver` (when given) lives; at once when nothing needs reading.
    void loadKey(QObject* receiver = nullptr, std::function<void()> done = {});

    // The name shown for a provider: the built-in Apple providers and "Custom" are translated.
    static QString providerName(const std::string& provider);

  signals:
    void providerChanged();
    void endpointChanged();
    void modelChanged();
    void jsonModeChanged();
    void reasoningEffortChanged();
    void concurrencyChanged();
    void batchSizeChanged();
    void reviewChanged();
    void autoUpdateChanged();
    void apiKeyChanged();
    void keyNotKeptChanged();
    // The settings file or the key could not be saved; sent once until a save of that kind succeeds.
    void saveFailed(const QString& message);

  private:
    template <class T>
    void assign(T& field, const T& value, const char* key, void (ModelPreferences::*changed)());
    void persist(const char* key, const DefaultsStore::Value& value);
    void loadKeyThen(std::function<void()> done);
    void keyRead(const std::string& account, std::uint64_t edits, const std::optional<std::string>& key);
    void assignLoadedKey(const std::string& key, const std::string& account);
    void storeKey(const std::string& key, const std::string& account);
    void keyStored(const std::string& account, const std::string& key,
                   const std::optional<std::string>& error);
    enum class KeyringCall { read, remove, write };
    // Follows what a call to the secret store for `account` found: an error, or none.
    void noteKeyring(const std::string& account, KeyringCall call, const std::optional<std::string>& error);

    DefaultsStore m_defaults;
    std::shared_ptr<SecretStore> m_secrets;
    EnvironmentLookup m_environment;
    SerialQueue m_keyWrites{this};

    std::string m_provider;
    std::string m_endpoint;
    std::string m_model;
    bool m_jsonMode = false;
    std::string m_reasoningEffort;
    int m_concurrency = 1;
    int m_batchSize = defaultBatchSize;
    bool m_review = true;
    bool m_autoUpdate = false;

    std::string m_apiKey;
    std::optional<std::string> m_loadedAccount;
    // The callers waiting for each account's read still running: one read serves them all.
    std::map<std::string, std::vector<std::function<void()>>> m_readsInFlight;
    // Counts the person's edits, so that a read started before one does not undo it.
    std::uint64_t m_keyEdits = 0;
    // Keys the person typed whose write has not succeeded (yet), by account: they serve this session
    // even when no keyring is reachable.
    std::map<std::string, std::string> m_unsavedKeys;
    bool m_settingsFailureReported = false;
    bool m_keyFailureReported = false;
    bool m_keyNotKept = false;
    bool m_keyReadFailed = false;
    bool m_keyWriteFailed = false;
};

} // namespace orvel
