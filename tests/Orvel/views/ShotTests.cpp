#include "Orvel/shots/ShotWriter.h"

#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvel {
namespace {

// Every scene is written, at its own size, and shows something: never a single flat colour.
TEST(Shots, EverySceneIsWrittenAtItsSizeAndIsNotBlank) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::vector<ShotScene> scenes = shotScenes();
    ASSERT_FALSE(scenes.empty());
    const std::vector<WrittenShot> shots = writeShots(folder.filePath("shots"));
    ASSERT_EQ(shots.size(), scenes.size());
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        SCOPED_TRACE(scenes[i].name.toStdString());
        EXPECT_EQ(shots[i].name, scenes[i].name);
        ASSERT_TRUE(shots[i].written);
        const QImage image(shots[i].path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), scenes[i].size);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height() && colours.size() < 3; y += 2)
            for (int x = 0; x < image.width() && colours.size() < 3; x += 2)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 3) << "blank";
    }
}

} // namespace
} // namespace orvel
