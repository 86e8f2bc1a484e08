#include "Orvel/views/NewLanguageSheet.h"

#include "Orvel/state/LanguageNames.h"
#include "Orvel/views/FirstRowOnArrow.h"
#include "Orvel/views/LanguageCandidates.h"
#include "Orvel/views/LanguageRowDelegate.h"
#include "Orvel/views/TextKeys.h"
#include "core/Languages.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
constexpr int kPadding = 16;
constexpr int kSpacing = 12;
constexpr int kListMinimumHeight = 280;
constexpr int kCodeRole = Qt::UserRole;
} // namespace

NewLanguageSheet::NewLanguageSheet(std::vector<std::string> existing, Create create, QWidget* parent)
    : QDialog(parent), m_existing(std::move(existing)), m_create(std::move(create)) {
    setObjectName(QStringLiteral("newLanguageSheet"));
    setFixedSize(sheetWidth, sheetHeight);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);

    auto* title = new QLabel(localized("New Language"));
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    column->addWidget(title);

    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("languageSearch"));
    m_search->setPlaceholderText(localized("Search languages"));
    m_search->setClearButtonEnabled(false);
    column->addWidget(m_search);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("languageList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setItemDelegate(new LanguageRowDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setMinimumHeight(kListMinimumHeight);
    column->addWidget(m_list, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(localized("Cancel"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    buttons->addWidget(cancel);
    m_createButton = new QPushButton(localized("Create"));
    m_createButton->setObjectName(QStringLiteral("createButton"));
    m_createButton->setDefault(true);
    m_createButton->setEnabled(false);
    buttons->addWidget(m_createButton);
    column->addLayout(buttons);

    // Down from the search field chooses the first candidate; the list's own arrows go on from there.
    m_search->installEventFilter(this);
    FirstRowOnArrow::install(m_list);

    connect(m_search, &QLineEdit::textChanged, this, &NewLanguageSheet::showRows);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &NewLanguageSheet::selectionMoved);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_createButton, &QPushButton::clicked, this, &NewLanguageSheet::createSelected);
    showRows();
}

NewLanguageSheet* NewLanguageSheet::present(QWidget* parent, std::vector<std::string> existing,
                                            Create create) {
    auto* sheet = new NewLanguageSheet(std::move(existing), std::move(create), parent);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

bool NewLanguageSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_search || event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Down || m_list->count() == 0)
        return QDialog::eventFilter(watched, event);
    m_list->setFocus(Qt::TabFocusReason);
    m_list->setCurrentRow(0);
    return true;
}

std::vector<std::string> NewLanguageSheet::shownCodes() const {
    std::vector<std::string> codes;
    codes.reserve(static_cast<std::size_t>(m_list->count()));
    for (int row = 0; row < m_list->count(); ++row)
        codes.push_back(m_list->item(row)->data(kCodeRole).toString().toStdString());
    return codes;
}

void NewLanguageSheet::showRows() {
    const std::vector<std::string> codes = LanguageCandidates::filtered(
        LanguageCandidates::shared(), m_existing, m_search->text().toStdString());
    m_fillingRows = true;
    m_list->clear();
    for (const std::string& code : codes) {
        auto* item = new QListWidgetItem(QString::fromStdString(Languages::nativeName(code)));
        item->setData(kCodeRole, QString::fromStdString(code));
        item->setData(LanguageRowDelegate::secondaryNameRole, QString::fromStdString(displayName(code)));
        m_list->addItem(item);
        if (code == m_selection)
            item->setSelected(true);
    }
    m_fillingRows = false;
}

void NewLanguageSheet::selectionMoved() {
    if (m_fillingRows)
        return;
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        m_selection.reset();
    else
        m_selection = selected.front()->data(kCodeRole).toString().toStdString();
    m_createButton->setEnabled(m_selection.has_value());
}

void NewLanguageSheet::createSelected() {
    if (!m_selection)
        return;
    if (m_create)
        m_create(*m_selection);
    accept();
}

} // namespace orvel
