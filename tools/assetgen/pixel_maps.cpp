#include "pixel_maps.h"

#include "palette.h"

#include <QColor>

#include <cstring>

namespace assetgen {

const PixelMap main16 = {
    "................",
    "................",
    "kkkkkkkkkkkkkk..",
    "kggggggggggggk..",
    "kgllllllllllgk..",
    "kglgggllggglgk..",
    "kglgglgglgglgk..",
    "kglgggllggglgk..",
    "kglllllllkkkkkk.",
    "kggggggggkyywyyk",
    "kkkkkkkkkooooook",
    "........kyyyyyyk",
    "........kooooook",
    "........kyyyyyyk",
    "........kooooook",
    ".........kkkkkk.",
};

const PixelMap conversion16 = {
    "..kkkkk.........",
    ".kyyyyyk..rrr...",
    "kywwyyyok....r..",
    "kywyyyyok....r..",
    "kyyyyyyok...rrr.",
    "kyyyyyyok....r..",
    "kyyyyyook.......",
    ".koooook.kkkkk..",
    "..kkkkk.kwssssk.",
    ".......kwsssssak",
    "..r....kssssssak",
    ".rrr...kssssssak",
    "..r....kssssssak",
    "..r....ksssssaak",
    "...rrr..kaaaaak.",
    ".........kkkkk..",
};

const PixelMap run16 = {
    ".....kkkkkk.....",
    "...kkllllggkk...",
    "..kllllggggggk..",
    ".kllgwggggggggk.",
    ".klggwwgggggggk.",
    "klgggwwwgggggggk",
    "kggggwwwwggggggk",
    "kggggwwwwwgggggk",
    "kggggwwwwkgggggk",
    "kggggwwwkggggggk",
    "kggggwwkgggggggk",
    ".kgggwkgggggggk.",
    ".kgggkggggggggk.",
    "..kggggggggggk..",
    "...kkggggggkk...",
    ".....kkkkkk.....",
};

const PixelMap rateEntry16 = {
    ".kkkkkkkkkkkkkk.",
    ".krrrrrrrrrrrrk.",
    ".kyyyyyyyyyyyyk.",
    ".kyoyyoyyoyyoyk.",
    ".kynnnnnnnnnnyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyoyyoyyoyyoyk.",
    ".kynnnnnnnnnnyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyoyyoyyoyyoyk.",
    ".kynnnnnnnyyyyk.",
    ".kyyyyyyyykkkkk.",
    ".kyoyyoyyokook..",
    ".kyyyyyyyykok...",
    ".kyyyyyyyykk....",
    ".kkkkkkkkkk.....",
};

const PixelMap calculator32 = {
    "...........kkkkkkkkkkkkk........",
    "...........kwwwwwwwwwwsk........",
    "...........kwwwwwwwwwwsk........",
    "..........kkkkkkkkkkkkkkk.......",
    ".........kwwwwwwwwwwwwwwsk......",
    "........kwwwwwwwwwwwwwwwwsk.....",
    "........kwwwwwkwwwkwwwkwwsk.....",
    "......kkkwwwwwkwwwkwwwkwwsk.....",
    ".....kwwwkwwwwkwwwkwwwkwwsk.....",
    ".....kwwwwkwwwwwwwwwwwwwwsk.....",
    ".....kwwwwkwwwwwwwwwwwwwwsk.....",
    ".....kswwwkwwwwwwwwwwwwwwsk.....",
    ".....ksswwkwwwwkkkwwwkkkwsk.....",
    "......kkkkwwwwkwwwkwwwkwwsk.....",
    ".........kwwwwkwwwkwwwkwsk......",
    ".........kwwwwkwwwkwwwkwsk......",
    ".........kwwwskssskssskssk......",
    ".........kwwwskkkkkkkkkkk.......",
    ".........kwwwsk.................",
    ".........kwwwsk.................",
    ".........kwwwsk.................",
    "..kkkkkkkkwwwskkkkkkkkkkkkkkkk..",
    "..kwwwwwwkwwwskwwwwwwwwwwwwwsk..",
    "..ksssssskwwwskssssssssssssssk..",
    "..kssssssskkkssssssssssssssssk..",
    "..kssssssssssssssssssssssssssk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "..kaaaaaaaaaaaaaaaaaaaaaaaaaak..",
    "..kaaaaaaaaaaaaaaaaaaaaaaaaaak..",
    "..kaaaaaaaaaaaaaaaaaaaaaaaaaak..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "................................",
};

const PixelMap calculator16 = {
    ".....kkkkkkk....",
    ".....kwwwwsk....",
    "....kkkkkkkkk...",
    "...kwwwwwwwwsk..",
    "..kkwwkwkwkwsk..",
    ".kwwkwkwkwkwsk..",
    ".kswkwwwwwwwsk..",
    "..kkkwwkwwkwsk..",
    "....kwsksskssk..",
    "....kwskkkkkk...",
    "....kwsk........",
    ".kkkkwskkkkkkkk.",
    ".kwwkwskwwwwwsk.",
    ".kssskkssssssak.",
    ".kaaaaaaaaaaaak.",
    ".kkkkkkkkkkkkkk.",
};

QImage fromPixelMap(const PixelMap &rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(std::strlen(*rows.begin()));
    QImage image(width, height, QImage::Format_ARGB32);
    int y = 0;
    for (const char *row : rows) {
        if (static_cast<int>(std::strlen(row)) != width)
            qFatal("pixel map row %d has the wrong length", y);
        for (int x = 0; x < width; ++x) {
            QColor colour;
            switch (row[x]) {
            case '.': colour = Qt::transparent; break;
            case 'k': colour = vga::black; break;
            case 'm': colour = vga::maroon; break;
            case 'g': colour = vga::green; break;
            case 'o': colour = vga::olive; break;
            case 'n': colour = vga::navy; break;
            case 't': colour = vga::teal; break;
            case 's': colour = vga::silver; break;
            case 'a': colour = vga::gray; break;
            case 'r': colour = vga::red; break;
            case 'l': colour = vga::lime; break;
            case 'y': colour = vga::yellow; break;
            case 'b': colour = vga::blue; break;
            case 'c': colour = vga::aqua; break;
            case 'w': colour = vga::white; break;
            default: qFatal("pixel map letter '%c' is not in the palette", row[x]);
            }
            image.setPixelColor(x, y, colour);
        }
        ++y;
    }
    return image;
}


} // namespace assetgen
