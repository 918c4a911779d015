// Draws every picture of the program into PNG files, and the desktop icon. It runs only through
// the varnek_generate_assets target; what it writes is committed, so an ordinary build embeds
// those files and never needs this program.
//
// Re-running it on the same system gives the same files: all randomness comes from one fixed
// seed, and the lettering uses the DejaVu faces that the program already depends on.
#include "assets/pictures.h"
#include "backdrop_scene.h"
#include "desktop_icon.h"
#include "fonts.h"
#include "image_processing.h"
#include "pixel_maps.h"
#include "vector_icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QSet>

#include <cstdio>

using namespace Qt::StringLiterals;
using varnek::assets::Picture;

namespace {

using namespace assetgen;

// A 16-colour square icon on a transparent ground.
QImage icon(int size, int scale, const std::function<void(QPainter &)> &draw)
{
    return quantise(drawn(size, size, true, draw, scale), true);
}

QImage icon(const PixelMap &map, int scale)
{
    return quantise(enlarged(fromPixelMap(map), scale), true);
}

// These sit on a button face of their own, so they have no transparent ground.
QImage onButtonFace(int scale, const std::function<void(QPainter &)> &draw)
{
    return quantise(drawn(24, 22, false, draw, scale), false);
}

// One file of a picture: a square of size pixels (0 for a picture of its own size), scale times
// as large. The 16-pixel icons are pixel maps, where shapes would fall between pixels.
QImage drawPicture(Picture picture, int size, int scale, const Fonts &fonts)
{
    const bool small = size == 16;
    switch (picture) {
    case Picture::Backdrop: return backdrop(fonts, scale);
    case Picture::MainIcon: return small ? icon(main16, scale) : icon(size, scale, drawMain);
    case Picture::ConversionIcon:
        return small ? icon(conversion16, scale)
                     : icon(size, scale, [&fonts](QPainter &p) { drawConversion(p, fonts); });
    case Picture::RunButton: return small ? icon(run16, scale) : icon(size, scale, drawRun);
    case Picture::RateEntryIcon: return small ? icon(rateEntry16, scale) : icon(size, scale, drawRateEntry);
    case Picture::BulbOff: return icon(size, scale, [](QPainter &p) { drawBulb(p, false); });
    case Picture::BulbOn: return icon(size, scale, [](QPainter &p) { drawBulb(p, true); });
    // The gloved hand's fine detail is a pixel map at both sizes.
    case Picture::CalculatorIcon: return icon(small ? calculator16 : calculator32, scale);
    case Picture::SpeechBubble: return onButtonFace(scale, drawSpeechBubble);
    case Picture::Envelope: return onButtonFace(scale, drawEnvelope);
    case Picture::CloseDisc: return icon(size, scale, [size](QPainter &p) { drawCloseDisc(p, size); });
    case Picture::AboutIcon: return icon(size, scale, drawAbout);
    case Picture::WarningIcon: return icon(size, scale, drawWarning);
    }
    return {};
}

// Every file of the list, the double-size copies among them. The build embeds every PNG of the
// folder, so one that the list does not name is a fault to be mended by hand.
bool savePictures(const QDir &dir, const Fonts &fonts)
{
    bool ok = true;
    QSet<QString> written;
    const auto save = [&](Picture picture, const QString &name, int size, int scale) {
        const QImage image = drawPicture(picture, size, scale, fonts);
        ok = !image.isNull() && savePng(image, dir, name) && ok;
        written.insert(name);
    };
    for (const varnek::assets::PictureFiles &files : varnek::assets::pictureFiles) {
        const QList<int> sizes = varnek::assets::fileSizes(files);
        for (int size : sizes)
            save(files.picture, varnek::assets::fileName(files, size), size, 1);
        // Qt picks these by name on screens of twice the density.
        save(files.picture, varnek::assets::fileName(files, sizes.constFirst(), 2), sizes.constFirst(), 2);
    }
    for (const QString &name : dir.entryList({u"*.png"_s}, QDir::Files))
        if (!written.contains(name)) {
            std::fprintf(stderr, "%s is not a picture of src/assets/pictures.h; delete it, or the build embeds it\n",
                         qPrintable(dir.filePath(name)));
            ok = false;
        }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IMAGES_DIRECTORY ICON_THEMES_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QDir themes(QString::fromLocal8Bit(argv[2]));
    if (!dir.mkpath(u"."_s) || !themes.mkpath(u"."_s)) {
        std::fprintf(stderr, "cannot create %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    Fonts fonts;
    if (!loadFonts(fonts))
        return 1;

    bool ok = savePictures(dir, fonts);
    ok = saveApplicationIcons(themes) && ok;
    return ok ? 0 : 1;
}
