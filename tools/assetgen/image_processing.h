#pragma once

#include <QDir>
#include <QImage>
#include <QString>

#include <cstddef>
#include <vector>

namespace assetgen {

// Floating-point pixels, so repeated blurring does not band.
struct Planes {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<float> values;

    float &at(int x, int y, int c)
    {
        return values[static_cast<std::size_t>((y * width + x) * channels + c)];
    }
};

Planes toPlanes(const QImage &image);
// Rounded and clamped to bytes, and to premultiplied alpha.
QImage toImage(Planes &planes);

// A Gaussian blur of sigma pixels; the edges repeat outwards, so the frame does not darken.
void blurImage(QImage &image, double sigma);

// Every opaque pixel to its nearest standard colour; half-covered pixels to the ground.
QImage quantise(const QImage &image, bool transparentGround);

// Pixel art stays pixel art: each pixel becomes a square of scale by scale.
QImage enlarged(const QImage &image, int scale);

// Writes the PNG and names it on the standard output.
bool savePng(const QImage &image, const QDir &dir, const QString &name);

} // namespace assetgen
