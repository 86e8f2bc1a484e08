#pragma once
// The Translation column of the strings table: a status symbol (no translation, the model's, the
// person's) in a slot of its own so that every row's text starts at the same place, then the
// translation. A plain translation is edited in place and every keystroke is stored as the person's
// translation; a translation with plural forms is shown read-only on up to two lines.

#include "Orvel/views/Symbols.h"
#include "engine/apps/StringTranslation.h"

#include "Orvel/views/TextCell.h"

#include <QPointer>

#include <optional>
#include <string>

namespace orvel {

class Workspace;

class TranslationCell : public TextCell {
    Q_OBJECT
  public:
    // What one cell shows for a translation, or for none.
    struct Look {
        Symbol symbol = Symbol::CircleDashed;
        // The person's translation: the symbol takes the accent colour, else the secondary one.
        bool accent = false;
        // Plural forms are edited in the inspector, not here.
        bool editable = true;
        bool operator==(const Look&) const = default;
    };

    static constexpr int kSymbolFrame = 14;
    static constexpr int kSpacing = 6;
    static constexpr int kPluralLines = 2;

    // The symbol: "circle.dashed" for none or an empty translation, else "pencil" for the person's and
    // "sparkles" for the model's.
    static Symbol statusIcon(const StringTranslation* translation);
    static Look look(const StringTranslation* translation);
    // The symbol's colour on a row of `palette`: the accent or the secondary colour; on a selected row,
    // whose highlight is the accent itself, the highlighted text's colour, full for the person's and
    // faded for the rest, so that every symbol stays in sight.
    static QColor symbolColour(const Look& look, bool selected, const QPalette& palette);
    // The field's text: the translation's own text, empty without one.
    static QString editText(const StringTranslation* translation);

    explicit TranslationCell(Workspace& workspace, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // Every keystroke was stored already; closing the editor writes nothing more.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // Escape in `editor`: once something was typed there, the translation goes back to what it was when
    // the editor opened, its origin included, so that a model's translation stays the model's.
    void revert(QWidget* editor);

  signals:
    // An editor opened on the row of `id`; it is held until editorClosed().
    void editorOpened(const QString& id) const;
    void editorClosed(const QString& id) const;

  private:
    // The open editor and what its row held before it.
    struct OpenEdit {
        QPointer<QWidget> editor;
        std::string id;
        std::optional<std::string> language;
        std::optional<StringTranslation> before;
        bool typed = false;
    };

    const StringTranslation* translationAt(const QModelIndex& index) const;

    Workspace& m_workspace;
    // Kept by createEditor(), which the view calls as a const function.
    mutable std::optional<OpenEdit> m_open;
};

} // namespace orvel
