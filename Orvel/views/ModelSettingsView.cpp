#include "Orvel/views/ModelSettingsView.h"

#include "Orvel/state/Background.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/views/AppleBackendStatus.h"
#include "Orvel/views/CapsuleLabel.h"
#include "Orvel/views/ClampedLabel.h"
#include "Orvel/views/ConnectionTest.h"
#include "Orvel/views/MiniSpinner.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/TextKeys.h"
#include "Orvel/views/UnavailableReason.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <filesystem>

namespace orvel {

namespace {

constexpr int kMargin = 20;
constexpr int kSectionSpacing = 14;
constexpr int kErrorLines = 3;
constexpr const char* kCustom = "Custom";

struct Choice {
    const char* label;
    const char* value;
};
constexpr std::array<Choice, 4> kReasoningEfforts{
    {{"None", "none"}, {"Low", "low"}, {"Medium", "medium"}, {"High", "high"}}};

QFormLayout* sectionForm(QVBoxLayout* column, const char* title, const char* objectName) {
    auto* section = new QGroupBox(localized(title));
    section->setObjectName(QString::fromLatin1(objectName));
    auto* form = new QFormLayout(section);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addWidget(section);
    return form;
}

void forgetMeasures(QLayout* layout) {
    layout->invalidate();
    for (int index = 0; QLayoutItem* item = layout->itemAt(index); ++index)
        if (QLayout* inner = item->layout())
            forgetMeasures(inner);
}

template <class Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void syncText(QLineEdit* field, const std::string& value) {
    const QString text = QString::fromStdString(value);
    // A field keeps its cursor while the text it wrote comes back.
    if (field->text() != text)
        field->setText(text);
}

} // namespace

ModelSettingsView::Services ModelSettingsView::Services::system() {
    return Services{
        .apple = std::make_shared<SystemAppleBackendStatus>(SystemAppleBackendStatus::applicationResources()),
        // Availability checks and connection tests only read: the end of the program leaves them.
        .background =
            [](QObject* receiver, std::function<std::function<void()>()> work) {
                runInBackground(receiver, std::move(work), AtTheEnd::leftBehind);
            },
        .after = [](std::chrono::milliseconds delay, QObject* context,
                    std::function<void()> fire) { QTimer::singleShot(delay, context, std::move(fire)); },
        .testConnection = &connectionTestError,
    };
}

ModelSettingsView::ModelSettingsView(ModelPreferences& prefs, Services services, QWidget* parent)
    : QWidget(parent), m_prefs(prefs), m_services(std::move(services)) {
    setObjectName(QStringLiteral("modelSettings"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSectionSpacing);
    m_modelForm = sectionForm(column, "Model", "modelSection");
    makeModelSection();
    m_requestsForm = sectionForm(column, "Requests", "requestsSection");
    makeRequestsSection();
    makeUpdatesSection(sectionForm(column, "Updates", "updatesSection"));
    bindPreferences();
    showProvider();
    showEndpointKind();
    showTestState();
    closeByKeys();
}

void ModelSettingsView::closeByKeys() {
    // As the settings window of a desktop application: Escape and Ctrl+W close it, from any field too.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (isWindow())
                close();
        });
    }
}

ModelSettingsView::~ModelSettingsView() {
    m_testStop.request_stop();
}

void ModelSettingsView::makeModelSection() {
    m_providerPicker = named(new QComboBox, "providerPicker");
    for (const ModelSettings::Preset& preset : ModelSettings::presets())
        m_providerPicker->addItem(ModelPreferences::providerName(preset.name),
                                  QString::fromStdString(preset.name));
    m_providerPicker->addItem(localized(kCustom), QString::fromLatin1(kCustom));
    m_modelForm->addRow(localized("Provider"), m_providerPicker);

    m_statusRow = named(new QWidget, "statusRow");
    auto* status = new QHBoxLayout(m_statusRow);
    status->setContentsMargins(0, 0, 0, 0);
    m_statusSpinner = named(new MiniSpinner(12), "statusSpinner");
    status->addWidget(m_statusSpinner);
    m_statusPill = named(new CapsuleLabel({}, CapsuleLabel::statusLook(Palette::green())), "statusPill");
    status->addWidget(m_statusPill);
    m_installShortcut = named(new QPushButton(localized("Install Shortcut")), "installShortcutButton");
    status->addWidget(m_installShortcut);
    status->addStretch();
    m_modelForm->addRow(localized("Status"), m_statusRow);

    m_endpoint = named(new QLineEdit, "endpointField");
    m_modelForm->addRow(localized("Endpoint"), m_endpoint);
    m_apiKey = named(new QLineEdit, "apiKeyField");
    m_apiKey->setEchoMode(QLineEdit::Password);
    m_modelForm->addRow(localized("API key"), m_apiKey);
    m_keyNote =
        named(new QLabel(localized("No keyring keeps this key: it is used only until Orvel quits. Set "
                                   "ORVEL_API_KEY to keep it for every start.")),
              "apiKeyNote");
    m_keyNote->setTextFormat(Qt::PlainText);
    m_keyNote->setWordWrap(true);
    Palette::setTextColour(m_keyNote, Palette::orange());
    m_modelForm->addRow(QString(), m_keyNote);
    m_model = named(new QLineEdit, "modelField");
    m_modelForm->addRow(localized("Model"), m_model);

    // A layout of the form itself, not a widget of its own: a change of the error's height reaches the
    // form's layout directly.
    m_testRowLayout = new QHBoxLayout;
    m_testRowLayout->setContentsMargins(0, 0, 0, 0);
    m_testButton = named(new QPushButton(localized("Test Connection")), "testConnectionButton");
    m_testRowLayout->addWidget(m_testButton);
    m_testSpinner = named(new MiniSpinner(12), "testSpinner");
    m_testRowLayout->addWidget(m_testSpinner);
    m_testError = named(new ClampedLabel(kErrorLines), "testError");
    // An error wraps at the width the row gives it, once the row is laid out: the form follows.
    connect(m_testError, &ClampedLabel::linesChanged, this, &ModelSettingsView::fitHeight,
            Qt::QueuedConnection);
    QPalette red = m_testError->palette();
    red.setColor(QPalette::WindowText, Palette::red());
    m_testError->setPalette(red);
    m_testRowLayout->addWidget(m_testError, 1);
    m_connectedPill =
        named(new CapsuleLabel(localized("Connected"), CapsuleLabel::statusLook(Palette::green())),
              "connectedPill");
    m_testRowLayout->addWidget(m_connectedPill);
    // Takes the rest of the row unless an error does.
    m_testRowEnd = new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum);
    m_testRowLayout->addSpacerItem(m_testRowEnd);
    m_modelForm->addRow(m_testRowLayout);
}

void ModelSettingsView::makeRequestsSection() {
    m_batchSize = named(new QSpinBox, "batchSizeSpin");
    m_batchSize->setRange(1, 200);
    m_batchSize->setSingleStep(10);
    m_requestsForm->addRow(localized("Strings per request"), m_batchSize);
    m_concurrency = named(new QSpinBox, "concurrencySpin");
    m_concurrency->setRange(1, 16);
    m_concurrency->setSingleStep(1);
    m_requestsForm->addRow(localized("Requests at once"), m_concurrency);
    for (QSpinBox* spin : {m_batchSize, m_concurrency}) {
        // Typing "150" writes 150, not 1 and 15 on the way.
        spin->setKeyboardTracking(false);
        spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    m_jsonMode = named(new QCheckBox(localized("JSON mode")), "jsonModeToggle");
    m_requestsForm->addRow(m_jsonMode);
    m_review = named(new QCheckBox(localized("Review translations")), "reviewToggle");
    m_requestsForm->addRow(m_review);
    m_reasoningEffort = named(new QComboBox, "reasoningPicker");
    for (const Choice& effort : kReasoningEfforts)
        m_reasoningEffort->addItem(localized(effort.label), QString::fromLatin1(effort.value));
    m_requestsForm->addRow(localized("Reasoning effort"), m_reasoningEffort);
}

void ModelSettingsView::makeUpdatesSection(QFormLayout* form) {
    m_autoUpdate = named(new QCheckBox(localized("Translate app updates")), "autoUpdateToggle");
    form->addRow(m_autoUpdate);
}

void ModelSettingsView::bindPreferences() {
    ModelPreferences* prefs = &m_prefs;
    connect(m_providerPicker, &QComboBox::activated, this, &ModelSettingsView::pickProvider);
    connect(m_installShortcut, &QPushButton::clicked, this, &ModelSettingsView::installShortcut);
    connect(m_testButton, &QPushButton::clicked, this, &ModelSettingsView::testConnection);
    connect(m_endpoint, &QLineEdit::textEdited, this,
            [prefs](const QString& text) { prefs->setEndpoint(text.toStdString()); });
    connect(m_apiKey, &QLineEdit::textEdited, this, [this, prefs](const QString& text) {
        prefs->setApiKey(text.toStdString());
        // The one place the person changes the key; a key loaded for a new endpoint follows a change
        // that cleared the result already.
        dropTest();
    });
    connect(m_model, &QLineEdit::textEdited, this,
            [prefs](const QString& text) { prefs->setModel(text.toStdString()); });
    connect(m_batchSize, &QSpinBox::valueChanged, prefs, &ModelPreferences::setBatchSize);
    connect(m_concurrency, &QSpinBox::valueChanged, prefs, &ModelPreferences::setConcurrency);
    connect(m_jsonMode, &QCheckBox::clicked, prefs, &ModelPreferences::setJsonMode);
    connect(m_review, &QCheckBox::clicked, prefs, &ModelPreferences::setReview);
    connect(m_autoUpdate, &QCheckBox::clicked, prefs, &ModelPreferences::setAutoUpdate);
    connect(m_reasoningEffort, &QComboBox::activated, this, [this, prefs](int row) {
        prefs->setReasoningEffort(m_reasoningEffort->itemData(row).toString().toStdString());
    });

    connect(prefs, &ModelPreferences::providerChanged, this, &ModelSettingsView::showProvider);
    // A result was about the model as it stood: a change from anywhere (the footer's model menu too)
    // makes it stale.
    for (auto changed : {&ModelPreferences::providerChanged, &ModelPreferences::endpointChanged,
                         &ModelPreferences::modelChanged})
        connect(prefs, changed, this, &ModelSettingsView::dropTest);
    connect(prefs, &ModelPreferences::endpointChanged, this, &ModelSettingsView::showEndpointKind);
    connect(prefs, &ModelPreferences::apiKeyChanged, this, [this] { syncText(m_apiKey, m_prefs.apiKey()); });
    connect(prefs, &ModelPreferences::keyNotKeptChanged, this, [this] {
        showKeyNote();
        fitHeight();
    });
    connect(prefs, &ModelPreferences::modelChanged, this, [this] { syncText(m_model, m_prefs.model()); });
    connect(prefs, &ModelPreferences::batchSizeChanged, this,
            [this] { showSpinValue(m_batchSize, m_prefs.batchSize()); });
    connect(prefs, &ModelPreferences::concurrencyChanged, this,
            [this] { showSpinValue(m_concurrency, m_prefs.concurrency()); });
    connect(prefs, &ModelPreferences::jsonModeChanged, this,
            [this] { m_jsonMode->setChecked(m_prefs.jsonMode()); });
    connect(prefs, &ModelPreferences::reviewChanged, this,
            [this] { m_review->setChecked(m_prefs.review()); });
    connect(prefs, &ModelPreferences::autoUpdateChanged, this,
            [this] { m_autoUpdate->setChecked(m_prefs.autoUpdate()); });
    connect(prefs, &ModelPreferences::reasoningEffortChanged, this, &ModelSettingsView::showReasoningEffort);

    syncText(m_apiKey, m_prefs.apiKey());
    syncText(m_model, m_prefs.model());
    showSpinValue(m_batchSize, m_prefs.batchSize());
    showSpinValue(m_concurrency, m_prefs.concurrency());
    m_jsonMode->setChecked(m_prefs.jsonMode());
    m_review->setChecked(m_prefs.review());
    m_autoUpdate->setChecked(m_prefs.autoUpdate());
    showReasoningEffort();
}

void ModelSettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Sizes measured before the first show lack the style's polish.
    fitHeight();
    m_prefs.loadKey();
    // Asked afresh each time: the person may have changed what the back-end needs meanwhile.
    if (m_statusKind)
        askAvailability(*m_statusKind);
}

void ModelSettingsView::pickProvider(int row) {
    const std::string name = m_providerPicker->itemData(row).toString().toStdString();
    const std::vector<ModelSettings::Preset>& presets = ModelSettings::presets();
    const auto preset =
        std::find_if(presets.begin(), presets.end(),
                     [&](const ModelSettings::Preset& candidate) { return candidate.name == name; });
    if (preset != presets.end()) {
        m_prefs.apply(*preset);
    } else {
        m_prefs.setProvider(name);
        // An Apple endpoint would keep the endpoint, key and model fields hidden, and the person could
        // never enter the server they chose "Custom" for. An HTTP endpoint stays to be edited.
        if (AppleModels::kind(m_prefs.endpoint())) {
            m_prefs.setEndpoint({});
            m_prefs.setModel({});
        }
    }
    // Also when the pick changed nothing.
    dropTest();
}

void ModelSettingsView::showProvider() {
    m_providerPicker->setCurrentIndex(m_providerPicker->findData(QString::fromStdString(m_prefs.provider())));
}

void ModelSettingsView::showEndpointKind() {
    syncText(m_endpoint, m_prefs.endpoint());
    const std::optional<AppleModels::Kind> kind = AppleModels::kind(m_prefs.endpoint());
    m_modelForm->setRowVisible(m_statusRow, kind.has_value());
    for (QWidget* field :
         {static_cast<QWidget*>(m_endpoint), static_cast<QWidget*>(m_apiKey), static_cast<QWidget*>(m_model)})
        m_modelForm->setRowVisible(field, !kind);
    m_requestsForm->setRowVisible(m_reasoningEffort, !kind);
    showKeyNote();
    if (kind != m_statusKind) {
        m_statusKind = kind;
        ++m_statusGeneration;
        m_status.reset();
        // A hidden form asks when it is shown.
        if (kind && isVisible())
            askAvailability(*kind);
    }
    showStatus();
    fitHeight();
}

void ModelSettingsView::showKeyNote() {
    m_modelForm->setRowVisible(m_keyNote, !AppleModels::kind(m_prefs.endpoint()) && m_prefs.keyNotKept());
}

void ModelSettingsView::askAvailability(AppleModels::Kind kind) {
    const std::uint64_t generation = ++m_statusGeneration;
    m_status.reset();
    showStatus();
    m_services.background(this,
                          [apple = m_services.apple, kind, generation, this]() -> std::function<void()> {
                              std::optional<std::string> reason = apple->availability(kind);
                              return [this, generation, reason = std::move(reason)] {
                                  if (generation != m_statusGeneration)
                                      return;
                                  m_status = reason;
                                  showStatus();
                              };
                          });
}

void ModelSettingsView::showStatus() {
    if (!m_statusKind)
        return;
    const bool chatGPT = *m_statusKind == AppleModels::Kind::chatGPT;
    // What the polling found is about the ChatGPT back-end only.
    const std::optional<std::optional<std::string>> reason =
        chatGPT && m_appleReason ? std::optional<std::optional<std::string>>(m_appleReason) : m_status;
    m_statusSpinner->setVisible(!reason);
    m_statusPill->setVisible(reason.has_value());
    m_installShortcut->setVisible(reason && *reason && chatGPT);
    if (!reason)
        return;
    if (*reason) {
        m_statusPill->setText(unavailableReason(**reason));
        m_statusPill->setLook(CapsuleLabel::statusLook(Palette::orange()));
    } else {
        m_statusPill->setText(localized("Available"));
        m_statusPill->setLook(CapsuleLabel::statusLook(Palette::green()));
    }
}

void ModelSettingsView::installShortcut() {
    const std::optional<std::filesystem::path> file = m_services.apple->shortcutFile();
    if (!file)
        return;
    m_services.apple->openFile(*file);
    // A second press starts the watch over: one watch at a time, a minute from the last press.
    m_pollCount = 0;
    schedulePoll(++m_pollGeneration);
}

void ModelSettingsView::schedulePoll(std::uint64_t generation) {
    m_services.after(pollInterval, this, [this, generation] {
        if (generation != m_pollGeneration)
            return;
        m_services.background(this, [apple = m_services.apple, generation, this]() -> std::function<void()> {
            apple->forgetShortcutCache();
            std::optional<std::string> reason = apple->availability(AppleModels::Kind::chatGPT);
            return [this, generation, reason = std::move(reason)] { pollChecked(generation, reason); };
        });
    });
}

void ModelSettingsView::pollChecked(std::uint64_t generation, const std::optional<std::string>& reason) {
    if (generation != m_pollGeneration)
        return;
    m_appleReason = reason;
    if (m_statusKind == AppleModels::Kind::chatGPT) {
        // Newer than any check the row started before.
        ++m_statusGeneration;
        m_status = reason;
    }
    showStatus();
    if (!reason || m_pollCount == pollChecks - 1)
        return;
    ++m_pollCount;
    schedulePoll(generation);
}

void ModelSettingsView::testConnection() {
    if (m_testing)
        return;
    m_testing = true;
    m_outcome = Outcome::none;
    const std::uint64_t generation = ++m_testGeneration;
    m_testStop = std::stop_source();
    showTestState();
    m_prefs.loadKey(this, [this, generation] {
        // The model changed while the key loaded: the test was dropped.
        if (generation != m_testGeneration)
            return;
        m_services.background(this,
                              [test = m_services.testConnection, settings = m_prefs.settings(),
                               stop = m_testStop.get_token(), generation, this]() -> std::function<void()> {
                                  std::optional<std::string> error = test(settings, stop);
                                  return [this, generation, error = std::move(error)] {
                                      testFinished(generation, error);
                                  };
                              });
    });
}

void ModelSettingsView::testFinished(std::uint64_t generation, const std::optional<std::string>& error) {
    // A dropped test's answer was about another model; a newer test may be running meanwhile.
    if (generation != m_testGeneration)
        return;
    m_testing = false;
    m_outcome = error ? Outcome::failed : Outcome::connected;
    m_error = error ? QString::fromStdString(*error) : QString();
    showTestState();
}

void ModelSettingsView::dropTest() {
    ++m_testGeneration;
    m_testStop.request_stop();
    m_testing = false;
    m_outcome = Outcome::none;
    showTestState();
}

void ModelSettingsView::showTestState() {
    // A focused button that is disabled hands the focus on to the next field (the batch size, its text
    // selected for the next key to overwrite). The form holds it meanwhile and gives it back.
    if (m_testing && m_testButton->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_testButton->setEnabled(!m_testing);
    if (!m_testing && hasFocus())
        m_testButton->setFocus(Qt::OtherFocusReason);
    m_testSpinner->setVisible(m_testing);
    const bool failed = !m_testing && m_outcome == Outcome::failed;
    m_testError->setVisible(failed);
    m_testError->setFullText(failed ? m_error : QString());
    m_connectedPill->setVisible(!m_testing && m_outcome == Outcome::connected);
    m_testRowEnd->changeSize(0, 0, failed ? QSizePolicy::Fixed : QSizePolicy::Expanding,
                             QSizePolicy::Minimum);
    m_testRowLayout->invalidate();
    fitHeight();
}

void ModelSettingsView::showReasoningEffort() {
    m_reasoningEffort->setCurrentIndex(
        m_reasoningEffort->findData(QString::fromStdString(m_prefs.reasoningEffort())));
}

void ModelSettingsView::showSpinValue(QSpinBox* spin, int value) {
    // A stored value outside the control's range is shown at the nearest bound but never written back.
    const QSignalBlocker quiet(spin);
    spin->setValue(value);
}

void ModelSettingsView::fitHeight() {
    // A section whose rows changed height is measured again, down to the rows of its rows.
    for (QGroupBox* section : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        forgetMeasures(section->layout());
        section->updateGeometry();
    }
    QLayout* column = layout();
    column->activate();
    const int height = column->hasHeightForWidth() ? column->totalHeightForWidth(formWidth)
                                                   : column->totalSizeHint().height();
    setFixedSize(formWidth, height);
}

} // namespace orvel
