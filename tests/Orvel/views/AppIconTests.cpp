#include "Orvel/views/AppIcon.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/Symbols.h"
#include "engine/apps/TranslatableApp.h"
#include "tests/engine/apps/BundleBuilder.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace orvel {
namespace {

std::string pngBytes(const QColor& colour) {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

QImage pixels(const QIcon& icon) {
    return icon.pixmap(QSize(18, 18), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(AppIcon, ShowsTheBundlesPictureOrTheGenericSymbol) {
    struct Case {
        const char* name;
        // Puts what the case needs into the bundle's resources folder; returns CFBundleIconFile.
        std::function<std::string(const std::filesystem::path& resources)> prepare;
        bool ownPicture;
    };
    const std::vector<Case> cases{
        {"a picture",
         [](const std::filesystem::path& resources) {
             testing::writeBytes(resources / "Icon.png", pngBytes(Qt::red));
             return std::string("Icon.png");
         },
         true},
        {"no icon named", [](const std::filesystem::path&) { return std::string(); }, false},
        {"a named icon that is missing", [](const std::filesystem::path&) { return std::string("Gone"); },
         false},
        {"a file that is no picture",
         [](const std::filesystem::path& resources) {
             testing::writeBytes(resources / "Icon.icns", "not a picture");
             return std::string("Icon");
         },
         false},
        {"a link to a picture elsewhere",
         [](const std::filesystem::path& resources) {
             testing::writeBytes(resources.parent_path().parent_path().parent_path() / "outside.png",
                                 pngBytes(Qt::red));
             std::filesystem::create_symlink("../../../outside.png", resources / "Icon.png");
             return std::string("Icon.png");
         },
         false},
    };
    const QImage generic = pixels(symbolIcon(Symbol::GenericApp, Palette::secondary(), 18));
    int number = 0;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        testing::ScratchFolder scratch;
        const std::filesystem::path relative = "App" + std::to_string(++number) + ".app";
        std::filesystem::create_directories(scratch.path() / relative / "Contents" / "Resources");
        const std::string iconFile = row.prepare(scratch.path() / relative / "Contents" / "Resources");
        std::map<std::string, std::string> info{{"CFBundleIdentifier", "com.example.icon"}};
        if (!iconFile.empty())
            info["CFBundleIconFile"] = iconFile;
        TranslatableApp app;
        app.bundleURL = testing::makeBundle(scratch, relative, info);

        const QImage shown = pixels(appIcon(app, 18));
        ASSERT_EQ(shown.size(), QSize(18, 18));
        if (row.ownPicture)
            EXPECT_EQ(shown.pixelColor(9, 9), QColor(Qt::red));
        else
            EXPECT_EQ(shown, generic);
    }
}

} // namespace
} // namespace orvel
