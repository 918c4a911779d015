#pragma once

#include <QList>
#include <QString>

#include <array>
#include <cstddef>

namespace varnek::assets {

// The program's fixed pictures. The icons and the two small button pictures use only the 16
// standard colours.
enum class Picture {
    Backdrop,        // 360 x 288 splash / About background
    MainIcon,        // main window icon (32 and 16)
    ConversionIcon,  // both conversion windows (32 and 16)
    RunButton,       // splash "Çalıştır" button picture (32 and 16)
    RateEntryIcon,   // rate-entry window: yellow dotted note sheet (32 and 16)
    BulbOff,         // unlit light bulb, 32 x 32
    BulbOn,          // lit light bulb, 32 x 32
    CalculatorIcon,  // white-gloved hand pressing a grey key (32 and 16)
    SpeechBubble,    // 24 x 22 on a raised grey button face
    Envelope,        // 24 x 22 opened envelope with a red cross on a raised grey button face
    CloseDisc,       // white disc with black outline, transparent ground (32 and 16)
    AboutIcon,       // white letter i on a dark blue disc (32)
    WarningIcon,     // exit confirmation window icon (32); keep it last
};

// The one list of the pictures' files. The loader reads it, the generator (tools/assetgen) draws
// every file it names into images/, and the build embeds whatever images/ holds.
// Each picture also has a double-size copy of its largest file for high-density screens.
struct PictureFiles {
    Picture picture;
    const char *name;
    std::array<int, 2> sizes; // square sizes, largest first, 0 where unused; none: its own size
};

inline constexpr auto pictureFiles = std::to_array<PictureFiles>({
    {Picture::Backdrop, "backdrop", {}},
    {Picture::MainIcon, "main", {32, 16}},
    {Picture::ConversionIcon, "conversion", {32, 16}},
    {Picture::RunButton, "run", {32, 16}},
    {Picture::RateEntryIcon, "rate-entry", {32, 16}},
    {Picture::BulbOff, "bulb-off", {32}},
    {Picture::BulbOn, "bulb-on", {32}},
    {Picture::CalculatorIcon, "calculator", {32, 16}},
    {Picture::SpeechBubble, "speech-bubble", {}},
    {Picture::Envelope, "envelope", {}},
    {Picture::CloseDisc, "close-disc", {32, 16}},
    {Picture::AboutIcon, "about", {32}},
    {Picture::WarningIcon, "warning", {32}},
});

// The loader finds a picture's row by its value.
constexpr bool listedInOrder()
{
    for (std::size_t i = 0; i < pictureFiles.size(); ++i)
        if (pictureFiles[i].picture != Picture(i))
            return false;
    return pictureFiles.size() == std::size_t(Picture::WarningIcon) + 1;
}
static_assert(listedInOrder(), "pictureFiles needs one row a picture, in the order of Picture");

// The sizes a picture's files come in, largest first; a single 0 for one picture of its own size.
inline QList<int> fileSizes(const PictureFiles &files)
{
    QList<int> sizes;
    for (int size : files.sizes)
        if (size > 0)
            sizes.append(size);
    if (sizes.isEmpty())
        sizes.append(0);
    return sizes;
}

// "main-16.png", "backdrop.png" for size 0; with scale 2 the double-size copy, "main-32@2x.png",
// the name Qt looks for on a screen of twice the density.
inline QString fileName(const PictureFiles &files, int size, int scale = 1)
{
    QString name = QString::fromLatin1(files.name);
    if (size > 0)
        name += u'-' + QString::number(size);
    if (scale > 1)
        name += u'@' + QString::number(scale) + u'x';
    return name + QLatin1StringView(".png");
}

} // namespace varnek::assets
