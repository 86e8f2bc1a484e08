#pragma once
// A list or table that nothing is chosen in yet: its first Up or Down chooses its first row. Left alone,
// an item view reached by Tab holds a current row it does not show, and its first Down chooses the row
// after that one.

#include <QObject>

class QAbstractItemView;

namespace orvel {

class FirstRowOnArrow : public QObject {
    Q_OBJECT
  public:
    // Watches the keys of `view`, which owns the watcher.
    static void install(QAbstractItemView* view);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit FirstRowOnArrow(QAbstractItemView* view);

    QAbstractItemView* m_view;
};

} // namespace orvel
