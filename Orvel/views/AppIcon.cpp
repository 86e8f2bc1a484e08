#include "Orvel/views/AppIcon.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/Symbols.h"
#include "engine/apps/TranslatableApp.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <filesystem>
#include <optional>

namespace orvel {

namespace {

// Icon files hold a handful of sizes; anything larger is not an icon.
constexpr std::uintmax_t kMaxIconFileBytes = 8 * 1024 * 1024;
constexpr int kMaxDecodedMegabytes = 64;

std::optional<QByteArray> iconFileBytes(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::is_regular_file(status))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxIconFileBytes)
        return std::nullopt;
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(static_cast<qint64>(kMaxIconFileBytes));
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

// The largest picture of the file, or a null image when it is not one Qt can read.
QImage decodeIcon(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage best;
    int index = 0;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height())
            best = image;
    } while (reader.jumpToNextImage() && ++index < 32);
    return best;
}

QPixmap scaled(const QImage& image, int pixels, qreal ratio) {
    const int side = qRound(pixels * ratio);
    QPixmap pixmap =
        QPixmap::fromImage(image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QIcon appIcon(const TranslatableApp& app, int pixels) {
    if (const auto path = app.icon()) {
        if (const auto bytes = iconFileBytes(*path)) {
            const int previousLimit = QImageReader::allocationLimit();
            QImageReader::setAllocationLimit(kMaxDecodedMegabytes);
            const QImage image = decodeIcon(*bytes);
            QImageReader::setAllocationLimit(previousLimit);
            if (!image.isNull()) {
                QIcon icon;
                icon.addPixmap(scaled(image, pixels, 1));
                icon.addPixmap(scaled(image, pixels, 2));
                return icon;
            }
        }
    }
    return symbolIcon(Symbol::GenericApp, Palette::secondary(), pixels);
}

} // namespace orvel
