#include "shell/services/contrast.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>

namespace varnek {

namespace {

qreal linear(float channel)
{
    return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

qreal relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

qreal contrastRatio(qreal luminance, qreal otherLuminance)
{
    return (std::max(luminance, otherLuminance) + 0.05) / (std::min(luminance, otherLuminance) + 0.05);
}

qreal meanLuminance(const QImage &picture, const QRectF &area)
{
    const qreal scale = picture.devicePixelRatio();
    const QRect pixels = QRectF(area.topLeft() * scale, area.size() * scale).toAlignedRect() & picture.rect();
    if (pixels.isEmpty())
        return 0;
    // A picture's pixels take only 256 values a channel: linearised once, not each time.
    static const std::array<qreal, 256> linearOf = [] {
        std::array<qreal, 256> table{};
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = linear(float(i) / 255.0f);
        return table;
    }();
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    qreal sum = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            sum += 0.2126 * linearOf[qRed(line[x])] + 0.7152 * linearOf[qGreen(line[x])]
                + 0.0722 * linearOf[qBlue(line[x])];
    }
    return sum / (qreal(pixels.width()) * pixels.height());
}

QColor standingOut(const QColor &wanted, qreal backgroundLuminance, qreal minimum)
{
    if (contrastRatio(relativeLuminance(wanted), backgroundLuminance) >= minimum)
        return wanted;
    return contrastRatio(0, backgroundLuminance) >= contrastRatio(1, backgroundLuminance) ? QColor(Qt::black)
                                                                                          : QColor(Qt::white);
}

} // namespace varnek
