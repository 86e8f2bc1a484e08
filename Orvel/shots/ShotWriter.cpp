#include "Orvel/shots/ShotWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>

namespace orvel {

QImage renderScene(const ShotScene& scene) {
    std::unique_ptr<QWidget> widget = scene.build();
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    widget->resize(scene.size);
    widget->show();
    // A scroll area sizes its page over a few rounds of posted layout requests; let them all run.
    for (int round = 0; round < 4; ++round)
        QCoreApplication::processEvents();
    return widget->grab().toImage();
}

std::vector<WrittenShot> writeShots(const QString& folder) {
    QDir().mkpath(folder);
    const QDir directory(folder);
    std::vector<WrittenShot> written;
    for (const ShotScene& scene : shotScenes()) {
        const QString path = directory.filePath(scene.name + QStringLiteral(".png"));
        written.push_back(WrittenShot{scene.name, path, renderScene(scene).save(path, "PNG")});
    }
    return written;
}

} // namespace orvel
