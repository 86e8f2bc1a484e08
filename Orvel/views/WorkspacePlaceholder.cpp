#include "Orvel/views/WorkspacePlaceholder.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/PlainText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace orvel {

namespace {
constexpr int kNamePixels = 20;
} // namespace

WorkspacePlaceholder::WorkspacePlaceholder(Workspace& workspace, QWidget* parent)
    : QWidget(parent), m_workspace(&workspace), m_appName(new QLabel(this)) {
    setObjectName(QStringLiteral("workspaceDetail"));
    m_appName->setObjectName(QStringLiteral("detailAppName"));
    m_appName->setFont(systemFont(kNamePixels, QFont::DemiBold));
    m_appName->setAlignment(Qt::AlignCenter);
    m_appName->setWordWrap(true);
    QPalette palette = m_appName->palette();
    palette.setColor(QPalette::WindowText, Palette::secondary());
    m_appName->setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(m_appName);

    connect(&workspace, &Workspace::appChanged, this, &WorkspacePlaceholder::showApp);
    showApp();
}

void WorkspacePlaceholder::showApp() {
    if (!m_workspace)
        return;
    const QString name = QString::fromStdString(m_workspace->app().name);
    setPlainText(m_appName, name);
    setWindowTitle(name);
}

} // namespace orvel
