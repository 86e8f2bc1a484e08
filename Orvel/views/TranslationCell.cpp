#include "Orvel/views/TranslationCell.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/ElidedLines.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/StringsTableModel.h"

#include <QLineEdit>
#include <QPainter>

#include <utility>

namespace orvel {

namespace {

QRect textBox(const QRect& cell) {
    const int left = TextCell::kMargin + TranslationCell::kSymbolFrame + TranslationCell::kSpacing;
    return cell.adjusted(left, 0, -TextCell::kMargin, 0);
}

} // namespace

Symbol TranslationCell::statusIcon(const StringTranslation* translation) {
    if (!translation || translation->isEmpty())
        return Symbol::CircleDashed;
    return translation->origin == StringTranslation::Origin::person ? Symbol::Pencil : Symbol::Sparkles;
}

TranslationCell::Look TranslationCell::look(const StringTranslation* translation) {
    return {statusIcon(translation), translation && translation->origin == StringTranslation::Origin::person,
            !translation || !translation->plural};
}

QColor TranslationCell::symbolColour(const Look& cellLook, bool selected, const QPalette& palette) {
    if (!selected)
        return cellLook.accent ? Palette::accent() : Palette::secondary();
    const QColor onHighlight = palette.color(QPalette::HighlightedText);
    return cellLook.accent ? onHighlight : Palette::withOpacity(onHighlight, 0.7);
}

QString TranslationCell::editText(const StringTranslation* translation) {
    return translation ? QString::fromStdString(translation->text.value_or(std::string())) : QString();
}

TranslationCell::TranslationCell(Workspace& workspace, QObject* parent)
    : TextCell(parent), m_workspace(workspace) {}

const StringTranslation* TranslationCell::translationAt(const QModelIndex& index) const {
    return m_workspace.translation(index.data(StringsTableModel::IdRole).toString().toStdString());
}

void TranslationCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {

    const StringTranslation* translation = translationAt(index);
    const Look cellLook = look(translation);
    const QRect symbolBox(option.rect.left() + kMargin, option.rect.top(), kSymbolFrame,
                          option.rect.height());
    const int symbolSize = std::min(kSymbolFrame, option.rect.height());
    painter->save();
    paintBackground(painter, option, index);
    paintSymbol(*painter, cellLook.symbol,
                QRectF(symbolBox.left(), symbolBox.center().y() - symbolSize / 2.0, kSymbolFrame, symbolSize),
                symbolColour(cellLook, option.state.testFlag(QStyle::State_Selected), option.palette));
    const QString text = index.data(Qt::DisplayRole).toString();
    paintElidedLines(*painter, textBox(option.rect), text, cellLook.editable ? 1 : kPluralLines);
    painter->restore();
}

QSize TranslationCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    return {kMargin * 2 + kSymbolFrame + kSpacing + metrics.horizontalAdvance(index.data().toString()),
            metrics.height() * kPluralLines + kMargin};
}

QWidget* TranslationCell::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex& index) const {
    const QString id = index.data(StringsTableModel::IdRole).toString();
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("translationEditor"));
    editor->setFrame(false);
    const StringTranslation* before = translationAt(index);
    editor->setText(editText(before));
    m_open = OpenEdit{editor, id.toStdString(), m_workspace.language(),
                      before ? std::optional<StringTranslation>(*before) : std::nullopt};
    connect(editor, &QLineEdit::textEdited, this, [this, editor, id](const QString& text) {
        if (m_open && m_open->editor == editor)
            m_open->typed = true;
        m_workspace.setText(text.toStdString(), id.toStdString());
    });
    connect(editor, &QObject::destroyed, this, [this, editor, id] {
        if (m_open && m_open->editor == editor)
            m_open.reset();
        emit editorClosed(id);
    });
    emit editorOpened(id);
    return editor;
}

void TranslationCell::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* field = static_cast<QLineEdit*>(editor);
    const QString stored = editText(translationAt(index));
    // While the person types, the stored text is what the field already shows; leave its cursor alone.
    if (field->text() != stored)
        field->setText(stored);
}

void TranslationCell::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

void TranslationCell::revert(QWidget* editor) {
    if (!m_open || m_open->editor != editor)
        return;
    OpenEdit open = *std::exchange(m_open, std::nullopt);
    // A run's batch may have landed on an untouched row meanwhile; only what was typed is taken back.
    if (open.typed && open.language == m_workspace.language())
        m_workspace.restoreTranslation(open.id, std::move(open.before));
}

void TranslationCell::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                           const QModelIndex&) const {
    editor->setGeometry(textBox(option.rect));
}

} // namespace orvel
