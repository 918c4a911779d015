#include "desktop_icon.h"

#include "image_processing.h"

#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QString>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace assetgen {

namespace {

// The application icon for the desktop: the main window's banknote and coins, in full colour and
// smooth edges. One list of shapes on a 64-unit grid is both painted into the PNG sizes and
// written out as the scalable SVG, so the two cannot drift apart.

struct Shape {
    enum Kind { Rect, Ellipse } kind;
    double x, y, width, height; // the bounding box
    double radius;              // rounded corners of a rectangle
    QRgb fill;                  // fully transparent: none
    QRgb stroke;
    double strokeWidth; // 0: none
};

constexpr QRgb noFill = 0;
constexpr QRgb darkGreen = 0xff14532d, noteGreen = 0xff43b36b, backNoteGreen = 0xff2e8b57, paleGreen = 0xffc6f4d4;
constexpr QRgb darkGold = 0xff8a5a00, rimGold = 0xffc8901a, faceGold = 0xfff5c542, shine = 0xfffff3c4;

QList<Shape> applicationIconShapes()
{
    QList<Shape> shapes = {
        {Shape::Rect, 16, 6, 44, 28, 4, backNoteGreen, darkGreen, 2},
        {Shape::Rect, 4, 14, 44, 28, 4, noteGreen, darkGreen, 2},
        {Shape::Rect, 8.5, 18.5, 35, 19, 2, noFill, paleGreen, 1.5},
        {Shape::Ellipse, 20, 22, 12, 12, 0, paleGreen, darkGreen, 1.5},
    };
    // Three coins stacked, bottom first: the far rim, the side, then the face.
    for (const double top : {48.0, 42.0, 36.0}) {
        shapes.append({Shape::Ellipse, 30, top + 4, 30, 10, 0, rimGold, darkGold, 2});
        shapes.append({Shape::Rect, 30, top + 5, 30, 4, 0, rimGold, noFill, 0});
        shapes.append({Shape::Ellipse, 30, top, 30, 10, 0, faceGold, darkGold, 2});
    }
    shapes.append({Shape::Ellipse, 36, 38.5, 18, 5, 0, noFill, shine, 1.5});
    return shapes;
}

QImage paintApplicationIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    for (const Shape &shape : applicationIconShapes()) {
        p.setBrush(qAlpha(shape.fill) ? QBrush(QColor::fromRgba(shape.fill)) : QBrush(Qt::NoBrush));
        p.setPen(shape.strokeWidth > 0 ? QPen(QColor::fromRgba(shape.stroke), shape.strokeWidth) : QPen(Qt::NoPen));
        const QRectF box(shape.x, shape.y, shape.width, shape.height);
        if (shape.kind == Shape::Rect)
            p.drawRoundedRect(box, shape.radius, shape.radius);
        else
            p.drawEllipse(box);
    }
    return image;
}

QString applicationIconSvg()
{
    const auto colour = [](QRgb rgb) { return u"#%1"_s.arg(rgb & 0xffffff, 6, 16, QLatin1Char('0')); };
    QString svg = u"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"_s;
    for (const Shape &shape : applicationIconShapes()) {
        const QString paint = u" fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\""_s.arg(
            qAlpha(shape.fill) ? colour(shape.fill) : u"none"_s,
            shape.strokeWidth > 0 ? colour(shape.stroke) : u"none"_s, QString::number(shape.strokeWidth));
        if (shape.kind == Shape::Rect)
            svg += u"  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n"_s.arg(shape.x).arg(shape.y).arg(
                shape.width).arg(shape.height).arg(shape.radius).arg(paint);
        else
            svg += u"  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"%5/>\n"_s.arg(shape.x + shape.width / 2).arg(
                shape.y + shape.height / 2).arg(shape.width / 2).arg(shape.height / 2).arg(paint);
    }
    return svg + u"</svg>\n"_s;
}


} // namespace

// The sizes desktops look for in the hicolor theme, and the scalable one.
bool saveApplicationIcons(const QDir &themes)
{
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = u"hicolor/%1x%1/apps"_s.arg(size);
        ok = themes.mkpath(folder) && savePng(paintApplicationIcon(size), QDir(themes.filePath(folder)), u"varnek.png"_s) && ok;
    }
    const QString folder = u"hicolor/scalable/apps"_s;
    QFile svg(themes.filePath(folder + u"/varnek.svg"_s));
    if (!themes.mkpath(folder) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || svg.write(applicationIconSvg().toUtf8()) < 0 || !svg.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    std::printf("varnek.svg\n");
    return ok;
}


} // namespace assetgen
