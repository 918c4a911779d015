#pragma once

#include <QColor>
#include <QList>

// The 16 standard colours that the icons and button pictures are drawn in.
namespace assetgen::vga {

inline const QColor black(0, 0, 0);
inline const QColor maroon(128, 0, 0);
inline const QColor green(0, 128, 0);
inline const QColor olive(128, 128, 0);
inline const QColor navy(0, 0, 128);
inline const QColor teal(0, 128, 128);
inline const QColor silver(192, 192, 192);
inline const QColor gray(128, 128, 128);
inline const QColor red(255, 0, 0);
inline const QColor lime(0, 255, 0);
inline const QColor yellow(255, 255, 0);
inline const QColor blue(0, 0, 255);
inline const QColor aqua(0, 255, 255);
inline const QColor white(255, 255, 255);

// The standard 16-colour palette, in its usual order.
inline const QList<QRgb> palette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

} // namespace assetgen::vga
