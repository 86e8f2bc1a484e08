// orvel-shots [folder]: writes a PNG of every scene into the folder (build/shots by default).
#include "Orvel/shots/FixedLook.h"
#include "Orvel/shots/ShotWriter.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    orvel::useFixedLook(application);
    const QStringList arguments = QApplication::arguments();
    const QString folder = arguments.size() > 1 ? arguments.at(1) : QStringLiteral("build/shots");
    int failures = 0;
    for (const orvel::WrittenShot& shot : orvel::writeShots(folder)) {
        std::printf("%s %s\n", shot.written ? "wrote" : "FAILED", qPrintable(shot.path));
        failures += shot.written ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
