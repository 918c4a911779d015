#include "assets/assets.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QList>
#include <QString>

#include <array>

using namespace Qt::StringLiterals;

namespace varnek::assets {

namespace {

struct Source {
    QString name;
    QList<int> sizes; // square sizes, largest first; empty for a single picture of its own size
};

Source sourceOf(Picture picture)
{
    switch (picture) {
    case Picture::Backdrop: return {u"backdrop"_s, {}};
    case Picture::MainIcon: return {u"main"_s, {32, 16}};
    case Picture::ConversionIcon: return {u"conversion"_s, {32, 16}};
    case Picture::RunButton: return {u"run"_s, {32, 16}};
    case Picture::RateEntryIcon: return {u"rate-entry"_s, {32, 16}};
    case Picture::BulbOff: return {u"bulb-off"_s, {32}};
    case Picture::BulbOn: return {u"bulb-on"_s, {32}};
    case Picture::CalculatorIcon: return {u"calculator"_s, {32, 16}};
    case Picture::SpeechBubble: return {u"speech-bubble"_s, {}};
    case Picture::Envelope: return {u"envelope"_s, {}};
    case Picture::CloseDisc: return {u"close-disc"_s, {32, 16}};
    case Picture::AboutIcon: return {u"about"_s, {32}};
    case Picture::WarningIcon: return {u"warning"_s, {32}};
    }
    return {};
}

QString pathOf(const Source &source, int size)
{
    return u":/varnek/%1-%2.png"_s.arg(source.name).arg(size);
}

QString pathOf(const Source &source)
{
    return u":/varnek/%1.png"_s.arg(source.name);
}

QPixmap loadPixmap(Picture picture)
{
    const Source source = sourceOf(picture);
    if (source.name.isEmpty())
        return {};
    const QString path = source.sizes.isEmpty() ? pathOf(source) : pathOf(source, source.sizes.constFirst());
    // Only a dense screen pays for decoding the double-size copy, and it then decodes nothing else.
    if (qGuiApp->devicePixelRatio() > 1) {
        const QString dense = QString(path).insert(path.size() - 4, u"@2x"_s);
        if (QFile::exists(dense)) {
            QPixmap image(dense);
            image.setDevicePixelRatio(2);
            return image;
        }
    }
    return QPixmap(path);
}

QIcon loadIcon(Picture picture)
{
    const Source source = sourceOf(picture);
    QIcon result;
    if (source.name.isEmpty())
        return result;
    // Without a size QIcon records each file at the size it really has, rather than trusting
    // the name and scaling a wrong file to fit. On a dense screen it adds the "@2x" copy of each
    // file by itself.
    if (source.sizes.isEmpty())
        result.addFile(pathOf(source));
    for (int size : source.sizes)
        result.addFile(pathOf(source, size));
    return result;
}

// Every window asks again for the same pictures. A new QIcon decodes its files again, and its pixmaps
// get new cache keys, so each window drawn would leave its own scaled copies in QPixmapCache; shared
// ones are decoded once and scaled once.
constexpr std::size_t kPictureCount = std::size_t(Picture::WarningIcon) + 1;

struct Loaded {
    std::array<QPixmap, kPictureCount> pixmaps;
    std::array<QIcon, kPictureCount> icons;
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

} // namespace

QPixmap pixmap(Picture picture)
{
    const auto index = std::size_t(picture);
    if (index >= kPictureCount)
        return {};
    QPixmap &shared = loadedPictures().pixmaps[index];
    if (shared.isNull())
        shared = loadPixmap(picture);
    return shared;
}

QIcon icon(Picture picture)
{
    const auto index = std::size_t(picture);
    if (index >= kPictureCount)
        return {};
    QIcon &shared = loadedPictures().icons[index];
    if (shared.isNull())
        shared = loadIcon(picture);
    return shared;
}

} // namespace varnek::assets
