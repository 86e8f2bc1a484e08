#pragma once
// The warning panel above a string's translation: "Possible problem", the phrase it points at in
// guillemets, the problem text, and Fix and Keep. It knows no workspace; its host acts on the signals.

#include <QFrame>
#include <QString>

#include <optional>

class QLabel;
class QPushButton;

namespace orvel {

// The highlighted phrase as shown: guillemets around it, no spaces added.
QString quotedMatch(const QString& match);

class ProblemCallout : public QFrame {
    Q_OBJECT
  public:
    explicit ProblemCallout(QWidget* parent = nullptr);

    // Both texts are shown as they are; without a match the phrase takes no room.
    void showProblem(const QString& problem, const std::optional<QString>& match);

  signals:
    void fixRequested();
    void keepRequested();

  private:
    QLabel* m_match = nullptr;
    QLabel* m_problem = nullptr;
};

} // namespace orvel
