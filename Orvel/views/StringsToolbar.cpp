#include "Orvel/views/StringsToolbar.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/FilterField.h"
#include "Orvel/views/FlexibleToolbarSpacer.h"
#include "Orvel/views/LivePill.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/Symbols.h"
#include "Orvel/views/TextKeys.h"
#include "core/Languages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace orvel {

namespace {

constexpr int kItemSpacing = 8;
constexpr int kNameLeading = 4;
constexpr int kInspectorIcon = 16;

} // namespace

StringsToolbar::StringsToolbar(Workspace& workspace, QWidget* parent)
    : QToolBar(parent), m_workspace(workspace) {
    setObjectName(QStringLiteral("stringsToolbar"));
    setMovable(false);
    setFloatable(false);

    auto* leading = new QWidget(this);
    auto* row = new QHBoxLayout(leading);
    row->setContentsMargins(kNameLeading, 0, 0, 0);
    row->setSpacing(kItemSpacing);
    m_name = new QLabel(leading);
    m_name->setObjectName(QStringLiteral("appName"));
    QFont headline = m_name->font();
    headline.setBold(true);
    m_name->setFont(headline);
    row->addWidget(m_name);

    m_language = new PillButton(QString(), leading);
    m_language->setObjectName(QStringLiteral("languageMenu"));
    m_language->setChevron(true);
    m_menu = new QMenu(m_language);
    m_language->setMenu(m_menu);
    row->addWidget(m_language);

    m_live = new LivePill(QString(), leading);
    m_live->setObjectName(QStringLiteral("livePill"));
    row->addWidget(m_live);
    addWidget(leading);

    addFlexibleToolbarSpacer(this);
    m_filter = new FilterField(this);
    addWidget(m_filter);

    m_inspector = new QToolButton(this);
    m_inspector->setObjectName(QStringLiteral("inspectorButton"));
    m_inspector->setText(localized("Inspector"));
    m_inspector->setToolTip(localized("Inspector"));
    m_inspector->setIcon(symbolIcon(Symbol::SidebarTrailing, Palette::primary(), kInspectorIcon));
    m_inspector->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addWidget(m_inspector);

    connect(m_inspector, &QToolButton::clicked, this, &StringsToolbar::inspectorToggled);
    connect(m_live, &LivePill::toggleRequested, this,
            [this](bool on) { emit liveRequested(on ? m_workspace.language() : std::nullopt); });
    connect(&workspace, &Workspace::appChanged, this, &StringsToolbar::showApp);
    connect(&workspace, &Workspace::languagesChanged, this, &StringsToolbar::showLanguages);
    connect(&workspace, &Workspace::languageChanged, this, &StringsToolbar::showLanguages);
    connect(&workspace, &Workspace::languageChanged, this, &StringsToolbar::showLive);
    connect(&workspace, &Workspace::appStateChanged, this, &StringsToolbar::showLive);
    connect(&workspace, &Workspace::translatingChanged, this, &StringsToolbar::showTranslating);
    showApp();
    showLanguages();
    showTranslating();
}

void StringsToolbar::showApp() {
    const QString name = QString::fromStdString(m_workspace.app().name);
    setPlainText(m_name, name);
    m_live->setLabel(localizedFormat("Live in %@", {name}));
    m_live->setToolTip(escapedToolTip(localizedFormat("Show this language in %@", {name})));
    showLive();
}

void StringsToolbar::showLanguages() {
    const std::optional<std::string>& chosen = m_workspace.language();
    m_language->setLabel(chosen ? QString::fromStdString(Languages::nativeName(*chosen))
                                : localized("New Language…"));
    m_menu->clear();
    for (const std::string& code : m_workspace.languages()) {
        QAction* action = m_menu->addAction(actionText(QString::fromStdString(Languages::nativeName(code))));
        connect(action, &QAction::triggered, this, [this, code] { m_workspace.selectLanguage(code); });
    }
    if (!m_workspace.languages().empty())
        m_menu->addSeparator();
    connect(m_menu->addAction(localized("New Language…")), &QAction::triggered, this,
            &StringsToolbar::newLanguageRequested);
}

void StringsToolbar::showLive() {
    m_live->setEnabled(m_workspace.language().has_value());
    m_live->setOn(m_workspace.isLive());
}

void StringsToolbar::showTranslating() {
    // Choosing another language would change the project a run writes into.
    m_language->setEnabled(!m_workspace.translating());
}

} // namespace orvel
