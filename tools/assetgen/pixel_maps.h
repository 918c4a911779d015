#pragma once

#include <QImage>

#include <initializer_list>

namespace assetgen {

// Pictures drawn pixel by pixel, one letter a pixel, where shapes scaled to 16 pixels (or the
// hand's fine detail at 32) would fall between pixels: . transparent, k black, m maroon,
// g green, o olive, n navy, t teal, s silver, a gray, r red, l lime, y yellow, b blue,
// c aqua, w white.
using PixelMap = std::initializer_list<const char *>;

extern const PixelMap main16, conversion16, run16, rateEntry16, calculator32, calculator16;

QImage fromPixelMap(const PixelMap &rows);

} // namespace assetgen
