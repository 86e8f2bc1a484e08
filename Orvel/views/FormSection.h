#pragma once
// One section of a grouped form: a caption above a rounded card whose rows are laid out as a form.

#include <QFrame>
#include <QString>

class QFormLayout;
class QLabel;

namespace orvel {

class FormSection : public QWidget {
    Q_OBJECT
  public:
    // An empty `title` shows no caption.
    explicit FormSection(const QString& title, QWidget* parent = nullptr);

    QFormLayout* rows() const { return m_rows; }
    // A row with `label` in the secondary colour at its side.
    void addLabelledRow(const QString& label, QWidget* field);

  private:
    QFormLayout* m_rows = nullptr;
};

} // namespace orvel
