#pragma once
// One section of a grouped form: a caption above a rounded card of rows. A labelled row has its label
// at its side, and the labels of one section share one width.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QVBoxLayout;

namespace orvel {

class FormSection : public QWidget {
    Q_OBJECT
  public:
    // An empty `title` shows no caption.
    explicit FormSection(const QString& title, QWidget* parent = nullptr);

    void addRow(QWidget* field, Qt::Alignment alignment = {});
    // A row with `label` in the secondary colour at its side; hide the returned row to leave it out.
    QWidget* addLabelledRow(const QString& label, QWidget* field);
    // The same row for a layout of rows of the section's own (the plural editor's, for one).
    QWidget* labelledRow(const QString& label, QWidget* field);

  private:
    QVBoxLayout* m_rows = nullptr;
    std::vector<QPointer<QLabel>> m_labels;
};

} // namespace orvel
