#include "Orvel/shots/ShotScene.h"

#include <algorithm>

namespace orvel {

namespace {
// Filled while static objects are made, so it must exist before the first registration runs.
std::vector<ShotScene>& registry() {
    static std::vector<ShotScene> scenes;
    return scenes;
}
} // namespace

ShotSceneRegistration::ShotSceneRegistration(const char* name, QSize size,
                                             std::function<std::unique_ptr<QWidget>()> build) {
    registry().push_back(ShotScene{QString::fromUtf8(name), size, std::move(build)});
}

std::vector<ShotScene> shotScenes() {
    std::vector<ShotScene> scenes = registry();
    std::sort(scenes.begin(), scenes.end(),
              [](const ShotScene& a, const ShotScene& b) { return a.name < b.name; });
    return scenes;
}

} // namespace orvel
