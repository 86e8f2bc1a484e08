#include "Orvel/state/ModelPreferences.h"

#include <QUrl>

#include <climits>
#include <cstdlib>

#include "Orvel/state/Background.h"
#include "core/SystemLog.h"
#include "core/Unicode.h"

namespace orvel {
namespace {

// The host of an endpoint URL, or nothing when the text is no URL or names no host.
std::optional<std::string> hostOf(const std::string& endpoint) {
    const QUrl url(QString::fromStdString(endpoint), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return url.host().toStdString();
}

const ModelSettings::Preset& firstPreset() {
    return ModelSettings::presets().front();
}

DefaultsStore::Value stored(bool value) {
    return value;
}
DefaultsStore::Value stored(int value) {
    return std::int64_t{value};
}
DefaultsStore::Value stored(const std::string& value) {
    return value;
}

struct KeyRead {
    std::optional<std::string> key;
    // Why the store could not be read; it has no key to offer then, and the person can still type one.
    std::optional<std::string> error;
};

KeyRead readKey(SecretStore& secrets, const std::string& account) {
    try {
        std::optional<std::string> key = secrets.read(ModelPreferences::keyService, account);
        if (key && text::isValidUtf8(*key))
            return {std::move(key), std::nullopt};
        return {};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

} // namespace

ModelPreferences::EnvironmentLookup ModelPreferences::processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        if (const char* value = std::getenv(name.c_str()))
            return std::string(value);
        return std::nullopt;
    };
}

ModelPreferences::ModelPreferences(DefaultsStore defaults, std::shared_ptr<SecretStore> secrets,
                                   EnvironmentLookup environment, QObject* parent)
    : QObject(parent), m_defaults(std::move(defaults)), m_secrets(std::move(secrets)),
      m_environment(std::move(environment)) {
    const auto text = [&](const char* key, const std::string& fallback) {
        return m_defaults.string(key).value_or(fallback);
    };
    const auto integer = [&](const char* key, int fallback) {
        const std::optional<std::int64_t> value = m_defaults.integer(key);
        return value && *value >= INT_MIN && *value <= INT_MAX ? static_cast<int>(*value) : fallback;
    };
    const auto flag = [&](const char* key, bool fallback) {
        return m_defaults.boolean(key).value_or(fallback);
    };

    m_provider = text("provider", firstPreset().name);
    m_endpoint = text("endpoint", firstPreset().endpoint);
    m_model = text("model", firstPreset().model);
    m_jsonMode = flag("jsonMode", firstPreset().jsonMode);
    m_reasoningEffort = text("reasoningEffort", "");
    if (m_reasoningEffort.empty())
        m_reasoningEffort = "medium";
    m_concurrency = integer("concurrency", firstPreset().concurrency);
    m_batchSize = integer("batchSize", defaultBatchSize);
    m_review = flag("review", true);
    m_autoUpdate = flag("autoUpdate", false);
}

template <class T>
void ModelPreferences::assign(T& field, const T& value, const char* key,
                              void (ModelPreferences::*changed)()) {
    persist(key, stored(value));
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

void ModelPreferences::persist(const char* key, const DefaultsStore::Value& value) {
    try {
        m_defaults.set(key, value);
        m_settingsFailureReported = false;
    } catch (const std::exception& error) {
        if (m_settingsFailureReported)
            return;
        m_settingsFailureReported = true;
        emit saveFailed(tr("The model settings could not be saved: %1").arg(QString::fromUtf8(error.what())));
    }
}

void ModelPreferences::setProvider(const std::string& value) {
    assign(m_provider, value, "provider", &ModelPreferences::providerChanged);
}

void ModelPreferences::setEndpoint(const std::string& value) {
    const bool changed = value != m_endpoint;
    assign(m_endpoint, value, "endpoint", &ModelPreferences::endpointChanged);
    if (changed)
        onMainThread(this, [this] { loadKey(); });
}

void ModelPreferences::setModel(const std::string& value) {
    assign(m_model, value, "model", &ModelPreferences::modelChanged);
}

void ModelPreferences::setJsonMode(bool value) {
    assign(m_jsonMode, value, "jsonMode", &ModelPreferences::jsonModeChanged);
}

void ModelPreferences::setReasoningEffort(const std::string& value) {
    assign(m_reasoningEffort, value, "reasoningEffort", &ModelPreferences::reasoningEffortChanged);
}

void ModelPreferences::setConcurrency(int value) {
    assign(m_concurrency, value, "concurrency", &ModelPreferences::concurrencyChanged);
}

void ModelPreferences::setBatchSize(int value) {
    assign(m_batchSize, value, "batchSize", &ModelPreferences::batchSizeChanged);
}

void ModelPreferences::setReview(bool value) {
    assign(m_review, value, "review", &ModelPreferences::reviewChanged);
}

void ModelPreferences::setAutoUpdate(bool value) {
    assign(m_autoUpdate, value, "autoUpdate", &ModelPreferences::autoUpdateChanged);
}

std::string ModelPreferences::account() const {
    return hostOf(m_endpoint).value_or(m_endpoint);
}

void ModelPreferences::apply(const ModelSettings::Preset& preset) {
    setProvider(preset.name);
    setEndpoint(preset.endpoint);
    setModel(preset.model);
    setJsonMode(preset.jsonMode);
    setConcurrency(preset.concurrency);
    if (preset.batchSize)
        setBatchSize(*preset.batchSize);
    if (QString::fromStdString(preset.endpoint).trimmed().toLower() == QLatin1String("apple:on-device")) {
        setReview(false);
        return;
    }
    const std::string host = hostOf(preset.endpoint).value_or("");
    setReview(host != "localhost" && host != "127.0.0.1");
}

ModelSettings ModelPreferences::settings() const {
    ModelSettings settings;
    settings.endpoint = m_endpoint;
    settings.model = m_model;
    // A key still held from the previous endpoint's host must never reach the new one.
    if (!m_apiKey.empty() && m_loadedAccount == account())
        settings.apiKey = m_apiKey;
    settings.temperature = 0.2;
    settings.jsonMode = m_jsonMode;
    settings.concurrency = m_concurrency < 1 ? 1 : m_concurrency;
    settings.batchSize = m_batchSize < 1 ? 1 : m_batchSize;
    settings.timeout = 600;
    if (!m_reasoningEffort.empty())
        settings.reasoningEffort = m_reasoningEffort;
    return settings;
}

void ModelPreferences::setApiKey(const std::string& value) {
    if (value == m_apiKey)
        return;
    const std::string account = this->account();
    m_apiKey = value;
    ++m_keyEdits;
    m_loadedAccount = account;
    m_unsavedKeys[account] = value;
    emit apiKeyChanged();
    storeKey(value, account);
}

void ModelPreferences::loadKey(QObject* receiver, std::function<void()> done) {
    if (!done)
        return loadKeyThen({});
    const bool guarded = receiver != nullptr;
    loadKeyThen([guard = QPointer<QObject>(receiver), guarded, done = std::move(done)] {
        if (!guarded || guard)
            done();
    });
}

void ModelPreferences::loadKeyThen(std::function<void()> done) {
    const auto finish = [&done] {
        if (done)
            done();
    };
    const std::string account = this->account();
    if (m_loadedAccount == account)
        return finish();
    if (std::optional<std::string> key = m_environment(keyVariable); key && !key->empty()) {
        assignLoadedKey(*key, account);
        return finish();
    }
    if (auto unsaved = m_unsavedKeys.find(account); unsaved != m_unsavedKeys.end()) {
        assignLoadedKey(unsaved->second, account);
        return finish();
    }
    auto [reading, first] = m_readsInFlight.try_emplace(account);
    reading->second.push_back(std::move(done));
    if (!first)
        return;
    runInBackground(
        this,
        [this, secrets = m_secrets, account, edits = m_keyEdits]() -> std::function<void()> {
            KeyRead read = readKey(*secrets, account);
            return [this, account, edits, read = std::move(read)] {
                noteKeyring(account, KeyringCall::read, read.error);
                keyRead(account, edits, read.key);
            };
        },
        AtTheEnd::leftBehind);
}

void ModelPreferences::keyRead(const std::string& account, std::uint64_t edits,
                               const std::optional<std::string>& key) {
    const auto reading = m_readsInFlight.find(account);
    std::vector<std::function<void()>> waiting = std::move(reading->second);
    m_readsInFlight.erase(reading);
    // The endpoint moved on while this read ran: its key belongs to another host. The waiting callers
    // get the key of the account that is current now.
    if (account != this->account()) {
        for (auto& done : waiting)
            loadKeyThen(std::move(done));
        return;
    }
    // A key the person typed meanwhile is newer than the one read.
    if (edits == m_keyEdits)
        assignLoadedKey(key.value_or(""), account);
    for (const auto& done : waiting)
        if (done)
            done();
}

void ModelPreferences::assignLoadedKey(const std::string& key, const std::string& account) {
    m_loadedAccount = account;
    if (key == m_apiKey)
        return;
    m_apiKey = key;
    emit apiKeyChanged();
}

void ModelPreferences::storeKey(const std::string& key, const std::string& account) {
    m_keyWrites.enqueue([this, secrets = m_secrets, key, account]() -> std::function<void()> {
        std::optional<std::string> error;
        try {
            if (key.empty())
                secrets->remove(keyService, account);
            else
                secrets->write(keyService, account, key);
        } catch (const std::exception& failure) {
            error = failure.what();
        }
        return [this, account, key, error] { keyStored(account, key, error); };
    });
}

void ModelPreferences::keyStored(const std::string& account, const std::string& key,
                                 const std::optional<std::string>& error) {
    noteKeyring(account, key.empty() ? KeyringCall::remove : KeyringCall::write, error);
    if (!error) {
        if (auto unsaved = m_unsavedKeys.find(account);
            unsaved != m_unsavedKeys.end() && unsaved->second == key)
            m_unsavedKeys.erase(unsaved);
        m_keyFailureReported = false;
        return;
    }
    if (m_keyFailureReported)
        return;
    m_keyFailureReported = true;
    emit saveFailed(tr("The API key could not be saved: %1 It stays in use until Orvel quits.")
                        .arg(QString::fromUtf8(error->c_str())));
}

void ModelPreferences::noteKeyring(const std::string& account, KeyringCall call,
                                   const std::optional<std::string>& error) {
    // A store that reads may still refuse to keep a key (a keyring without a collection to keep it
    // in): only a kept key shows that a write fails no more.
    if (call == KeyringCall::write) {
        m_keyWriteFailed = error.has_value();
        if (!error)
            m_keyReadFailed = false;
    } else
        m_keyReadFailed = error.has_value();
    const bool notKept = m_keyWriteFailed || m_keyReadFailed;
    if (notKept == m_keyNotKept)
        return;
    m_keyNotKept = notKept;
    if (notKept)
        SystemLog::info("ModelPreferences",
                        "The API key of \"" + account + "\" cannot be kept in the desktop's keyring: " +
                            *error + " A key typed in the settings is used only until Orvel quits; " +
                            keyVariable + " keeps one for every start.");
    else
        SystemLog::info("ModelPreferences", "The desktop's keyring keeps the API key again.");
    emit keyNotKeptChanged();
}

QString ModelPreferences::providerName(const std::string& provider) {
    if (provider == "ChatGPT through Apple Intelligence")
        return tr("ChatGPT through Apple Intelligence");
    if (provider == "Apple Intelligence, on this Mac")
        return tr("Apple Intelligence, on this Mac");
    if (provider == "Custom")
        return tr("Custom");
    return QString::fromStdString(provider);
}

} // namespace orvel
