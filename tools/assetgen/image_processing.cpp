#include "image_processing.h"

#include "palette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace assetgen {

namespace {

int toByte(float value)
{
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

// One pass of the kernel along the rows, or with down, along the columns. Edges repeat outwards,
// so the frame does not darken.
void blurPass(Planes &from, Planes &to, const std::vector<float> &kernel, bool down)
{
    const int radius = static_cast<int>(kernel.size() / 2);
    for (int y = 0; y < from.height; ++y)
        for (int x = 0; x < from.width; ++x)
            for (int c = 0; c < from.channels; ++c) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += kernel[static_cast<std::size_t>(k + radius)]
                           * (down ? from.at(x, std::clamp(y + k, 0, from.height - 1), c)
                                   : from.at(std::clamp(x + k, 0, from.width - 1), y, c));
                to.at(x, y, c) = sum;
            }
}

void gaussianBlur(Planes &planes, double sigma)
{
    const int radius = static_cast<int>(std::ceil(sigma * 3.0));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    float total = 0.0f;
    for (int k = -radius; k <= radius; ++k) {
        const auto weight = static_cast<float>(std::exp(-(k * k) / (2.0 * sigma * sigma)));
        kernel[static_cast<std::size_t>(k + radius)] = weight;
        total += weight;
    }
    for (float &weight : kernel)
        weight /= total;

    Planes pass = planes;
    blurPass(planes, pass, kernel, false);
    blurPass(pass, planes, kernel, true);
}

} // namespace

Planes toPlanes(const QImage &image)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Planes planes{source.width(), source.height(), 4, {}};
    planes.values.resize(static_cast<std::size_t>(planes.width * planes.height * 4));
    for (int y = 0; y < planes.height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < planes.width; ++x) {
            planes.at(x, y, 0) = static_cast<float>(qRed(line[x]));
            planes.at(x, y, 1) = static_cast<float>(qGreen(line[x]));
            planes.at(x, y, 2) = static_cast<float>(qBlue(line[x]));
            planes.at(x, y, 3) = static_cast<float>(qAlpha(line[x]));
        }
    }
    return planes;
}

QImage toImage(Planes &planes)
{
    QImage image(planes.width, planes.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < planes.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < planes.width; ++x) {
            const int alpha = toByte(planes.at(x, y, 3));
            line[x] = qRgba(std::min(toByte(planes.at(x, y, 0)), alpha),
                            std::min(toByte(planes.at(x, y, 1)), alpha),
                            std::min(toByte(planes.at(x, y, 2)), alpha), alpha);
        }
    }
    return image;
}

void blurImage(QImage &image, double sigma)
{
    Planes planes = toPlanes(image);
    gaussianBlur(planes, sigma);
    image = toImage(planes);
}

QImage quantise(const QImage &image, bool transparentGround)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QList<QRgb> table = vga::palette;
    if (transparentGround)
        table.append(qRgba(0, 0, 0, 0));
    QImage result(source.size(), QImage::Format_Indexed8);
    result.setColorTable(table);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *out = result.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            if (transparentGround && qAlpha(in[x]) < 128) {
                out[x] = static_cast<uchar>(vga::palette.size());
                continue;
            }
            int best = 0;
            int bestDistance = std::numeric_limits<int>::max();
            for (int i = 0; i < vga::palette.size(); ++i) {
                const int dr = qRed(in[x]) - qRed(vga::palette[i]);
                const int dg = qGreen(in[x]) - qGreen(vga::palette[i]);
                const int db = qBlue(in[x]) - qBlue(vga::palette[i]);
                const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            out[x] = static_cast<uchar>(best);
        }
    }
    return result;
}

QImage enlarged(const QImage &image, int scale)
{
    if (scale == 1)
        return image;
    return image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool savePng(const QImage &image, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(name), image.width(), image.height());
    return true;
}

} // namespace assetgen
