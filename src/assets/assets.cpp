#include "assets/assets.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QString>

#include <array>

using namespace Qt::StringLiterals;

namespace varnek::assets {

namespace {

QString pathOf(const PictureFiles &files, int size, int scale = 1)
{
    return u":/varnek/"_s + fileName(files, size, scale);
}

QPixmap loadPixmap(const PictureFiles &files)
{
    const int largest = fileSizes(files).constFirst();
    // Only a dense screen pays for decoding the double-size copy, and it then decodes nothing else.
    if (qGuiApp->devicePixelRatio() > 1) {
        const QString dense = pathOf(files, largest, 2);
        if (QFile::exists(dense)) {
            QPixmap image(dense);
            image.setDevicePixelRatio(2);
            return image;
        }
    }
    return QPixmap(pathOf(files, largest));
}

QIcon loadIcon(const PictureFiles &files)
{
    QIcon result;
    // Without a size QIcon records each file at the size it really has, rather than trusting
    // the name and scaling a wrong file to fit. On a dense screen it adds the "@2x" copy of each
    // file by itself.
    for (int size : fileSizes(files))
        result.addFile(pathOf(files, size));
    return result;
}

// Every window asks again for the same pictures. A new QIcon decodes its files again, and its pixmaps
// get new cache keys, so each window drawn would leave its own scaled copies in QPixmapCache; shared
// ones are decoded once and scaled once.
constexpr std::size_t kPictureCount = pictureFiles.size();

struct Loaded {
    std::array<QPixmap, kPictureCount> pixmaps;
    std::array<QIcon, kPictureCount> icons;
    std::array<QPixmap, kPictureCount> scaled;
};

Loaded *loaded = nullptr;

Loaded &loadedPictures()
{
    if (!loaded) {
        loaded = new Loaded;
        // No pixmap may outlive the application object.
        qAddPostRoutine([] {
            delete loaded;
            loaded = nullptr;
        });
    }
    return *loaded;
}

// The picture's shared copy in one of the caches, loaded on first use.
template <typename Image, std::size_t Count>
Image shared(std::array<Image, Count> Loaded::*cache, Picture picture, Image (*load)(const PictureFiles &))
{
    const auto index = std::size_t(picture);
    if (index >= Count)
        return {};
    Image &copy = (loadedPictures().*cache)[index];
    if (copy.isNull())
        copy = load(pictureFiles[index]);
    return copy;
}

} // namespace

QPixmap pixmap(Picture picture) { return shared(&Loaded::pixmaps, picture, loadPixmap); }

QPixmap pixmap(Picture picture, qreal scale)
{
    const auto index = std::size_t(picture);
    if (scale == 1 || index >= kPictureCount)
        return pixmap(picture);
    QPixmap &kept = loadedPictures().scaled[index];
    const qreal ratio = qGuiApp->devicePixelRatio();
    const PictureFiles &files = pictureFiles[index];
    const int largest = fileSizes(files).constFirst();
    const QSize logical = (pixmap(picture).deviceIndependentSize() * scale).toSize();
    if (kept.isNull() || kept.deviceIndependentSize().toSize() != logical || kept.devicePixelRatio() != ratio) {
        const QString dense = pathOf(files, largest, 2);
        const QPixmap source(QFile::exists(dense) ? dense : pathOf(files, largest));
        kept = source.scaled(logical * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        kept.setDevicePixelRatio(ratio);
    }
    return kept;
}

QIcon icon(Picture picture) { return shared(&Loaded::icons, picture, loadIcon); }

} // namespace varnek::assets
