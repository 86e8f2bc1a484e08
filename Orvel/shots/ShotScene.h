#pragma once
// The scenes of the screenshot program. A scene is one function that builds a widget from fixture
// state; the widget is shown at the scene's size and written as "<name>.png". A scene file registers
// its functions where it defines them:
//
//     static const ShotSceneRegistration footerScene{"footer-running", {900, 38}, &buildFooterRunning};

#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace orvel {

struct ShotScene {
    QString name;
    QSize size;
    std::function<std::unique_ptr<QWidget>()> build;
};

class ShotSceneRegistration {
  public:
    ShotSceneRegistration(const char* name, QSize size, std::function<std::unique_ptr<QWidget>()> build);
};

// Every registered scene, ordered by name.
std::vector<ShotScene> shotScenes();

} // namespace orvel
