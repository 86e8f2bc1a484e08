#pragma once
// Renders the scenes and writes them as PNG files.

#include "Orvel/shots/ShotScene.h"

#include <QImage>
#include <QString>

#include <vector>

namespace orvel {

// The scene's widget, shown off screen at the scene's size, as an image (of that many pixels on a
// screen of scale 1, as under Xvfb and offscreen).
QImage renderScene(const ShotScene& scene);

struct WrittenShot {
    QString name;
    QString path;
    bool written = false;
};

// Writes every scene as "<name>.png" into `folder`, which is made when missing.
std::vector<WrittenShot> writeShots(const QString& folder);

} // namespace orvel
