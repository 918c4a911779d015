#include "backdrop_scene.h"

#include "image_processing.h"

#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

using namespace Qt::StringLiterals;

namespace assetgen {

namespace {

// std::mt19937's sequence is fixed by the standard, unlike the library's distributions,
// so the conversions to floating point are done here.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}
    double uniform() { return static_cast<double>(m_engine()) / 4294967296.0; }
    double range(double low, double high) { return low + (high - low) * uniform(); }
    // Close enough to a unit normal for grain.
    double normal()
    {
        double sum = 0.0;
        for (int i = 0; i < 4; ++i)
            sum += uniform();
        return (sum - 2.0) * std::sqrt(3.0);
    }

private:
    std::mt19937 m_engine;
};

constexpr int backdropWidth = 360;
constexpr int backdropHeight = 288;
constexpr int horizon = 198;

// Where the splash window's two buttons sit; kept calm so they stay easy to read.
const QRectF buttonStrip(282, 160, 78, 104);

void paintSky(QPainter &p, Random &random)
{
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(38, 98, 172));
    sky.setColorAt(0.5, QColor(118, 168, 222));
    sky.setColorAt(0.85, QColor(214, 222, 228));
    sky.setColorAt(1.0, QColor(246, 226, 196));
    p.fillRect(QRectF(0, 0, backdropWidth, horizon + 2), sky);

    // The sun sits just outside the frame at the upper left; its glow keeps that side light.
    QRadialGradient sun(QPointF(20, 24), 250);
    sun.setColorAt(0.0, QColor(255, 253, 244, 255));
    sun.setColorAt(0.25, QColor(255, 246, 226, 190));
    sun.setColorAt(0.6, QColor(255, 236, 210, 70));
    sun.setColorAt(1.0, QColor(255, 236, 210, 0));
    p.fillRect(QRectF(0, 0, backdropWidth, backdropHeight), sun);

    QRadialGradient deep(QPointF(backdropWidth, 0), 210);
    deep.setColorAt(0.0, QColor(16, 52, 128, 150));
    deep.setColorAt(1.0, QColor(16, 52, 128, 0));
    p.fillRect(QRectF(0, 0, backdropWidth, horizon), deep);

    for (int i = 0; i < 34; ++i) {
        const QPointF centre(random.range(-20, backdropWidth + 20), random.range(30, 175));
        const double rx = random.range(18, 60);
        const double ry = random.range(4, 11);
        QRadialGradient puff(centre, rx);
        puff.setColorAt(0.0, QColor(255, 255, 255, static_cast<int>(random.range(50, 110))));
        puff.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.save();
        p.translate(centre);
        p.scale(1.0, ry / rx);
        p.translate(-centre);
        p.setPen(Qt::NoPen);
        p.setBrush(puff);
        p.drawEllipse(centre, rx, rx);
        p.restore();
    }
}

void paintSkyline(QPainter &p, Random &random)
{
    struct Row {
        QColor colour;
        double low;
        double high;
        double towerHeight;
        double base;
    };
    // Tall towers stay in the middle, clear of the text and buttons at both sides.
    const Row rows[] = {
        {QColor(150, 168, 196), 6, 22, 96, horizon + 1},
        {QColor(112, 128, 162), 4, 16, 64, horizon + 3},
    };
    for (const Row &row : rows) {
        double x = -6;
        while (x < backdropWidth) {
            const double width = random.range(7, 19);
            const double centre = x + width / 2;
            double height = random.range(row.low, row.high);
            if (centre > 160 && centre < 262)
                height += random.range(0.3, 1.0) * row.towerHeight
                          * std::sin((centre - 160) / 102.0 * std::numbers::pi);
            const QRectF building(x, row.base - height, width, height);
            p.fillRect(building, row.colour);
            if (height > 30 && random.uniform() < 0.5)
                p.fillRect(QRectF(centre - 0.6, building.top() - 8, 1.2, 8), row.colour);
            for (double wy = building.top() + 3; wy < row.base - 2; wy += 3.5)
                for (double wx = x + 2; wx < x + width - 2; wx += 3)
                    if (random.uniform() < 0.18)
                        p.fillRect(QRectF(wx, wy, 1.2, 1.4), QColor(255, 236, 190, 200));
            x += width + random.range(-2, 2);
        }
    }
}

void paintWater(QPainter &p, Random &random)
{
    QLinearGradient water(0, horizon, 0, backdropHeight);
    water.setColorAt(0.0, QColor(196, 208, 220));
    water.setColorAt(0.4, QColor(150, 172, 198));
    water.setColorAt(1.0, QColor(92, 118, 156));
    p.fillRect(QRectF(0, horizon + 3, backdropWidth, backdropHeight - horizon), water);

    // Glitter on the water below the sun: dense near the left, thin towards the buttons.
    for (int i = 0; i < 420; ++i) {
        const double y = random.range(horizon + 4, backdropHeight);
        const double spread = 40 + (y - horizon) * 1.6;
        const double x = 30 + random.normal() * spread * 0.6;
        const QRectF glint(x, y, random.range(2, 12), random.range(0.6, 1.4));
        if (glint.intersects(buttonStrip))
            continue;
        p.fillRect(glint, QColor(255, 250, 235, static_cast<int>(random.range(90, 230))));
    }
}

void paintBokeh(QPainter &p, Random &random)
{
    int placed = 0;
    while (placed < 16) {
        const bool low = placed < 11;
        const QPointF centre(random.range(0, 280),
                             low ? random.range(horizon - 10, backdropHeight) : random.range(10, 150));
        const double radius = random.range(5, low ? 18 : 11);
        const QRectF disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        if (disc.intersects(buttonStrip))
            continue;
        const int alpha = static_cast<int>(random.range(26, 60));
        QRadialGradient fill(centre, radius);
        fill.setColorAt(0.0, QColor(255, 248, 226, alpha));
        fill.setColorAt(0.82, QColor(255, 246, 220, alpha + 10));
        fill.setColorAt(0.94, QColor(255, 250, 236, alpha + 40));
        fill.setColorAt(1.0, QColor(255, 250, 236, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(disc);
        ++placed;
    }
}

void addGrainAndVignette(QImage &image, Random &random)
{
    Planes planes = toPlanes(image);
    for (int y = 0; y < planes.height; ++y)
        for (int x = 0; x < planes.width; ++x) {
            const double dx = (x - planes.width / 2.0) / (planes.width / 2.0);
            const double dy = (y - planes.height / 2.0) / (planes.height / 2.0);
            const double shade = 1.0 - 0.16 * std::pow((dx * dx + dy * dy) / 2.0, 1.5);
            const double grain = random.normal() * 2.6;
            for (int c = 0; c < 3; ++c)
                planes.at(x, y, c) = static_cast<float>(
                    planes.at(x, y, c) * shade + grain + random.normal() * 0.9);
        }
    image = toImage(planes);
}

// The shape and offset are in picture units; sigma is in pixels of the target.
void paintShadow(QImage &target, const QPainterPath &shape, QPointF offset, double sigma, int alpha, int scale)
{
    QImage layer(target.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(offset);
        p.setPen(QPen(QColor(0, 0, 0, alpha), 3));
        p.setBrush(QColor(0, 0, 0, alpha));
        p.drawPath(shape);
    }
    blurImage(layer, sigma);
    QPainter p(&target);
    p.drawImage(0, 0, layer);
}

QPainterPath textPath(const QFont &font, const QString &text)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPen roundPen(const QColor &colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A pen whose width follows the stroke's direction, as a broad nib does.
void inkStroke(QPainter &p, const QPainterPath &stroke, const QColor &ink, double thin, double thick)
{
    constexpr int steps = 240;
    constexpr double nibAngle = 0.7;
    QPointF previous = stroke.pointAtPercent(0.0);
    for (int i = 1; i <= steps; ++i) {
        const QPointF point = stroke.pointAtPercent(static_cast<double>(i) / steps);
        const QPointF d = point - previous;
        if (std::hypot(d.x(), d.y()) < 1e-6)
            continue;
        const double angle = std::atan2(d.y(), d.x());
        const double width = thin + (thick - thin) * std::abs(std::sin(angle - nibAngle));
        p.setPen(roundPen(ink, width));
        p.drawLine(previous, point);
        previous = point;
    }
}

QList<QPainterPath> handwrittenVersion()
{
    QPainterPath one;
    one.moveTo(0.4, 4.8);
    one.quadTo(3.0, 3.0, 5.0, 0.0);
    one.cubicTo(4.4, 5.0, 3.4, 11.0, 2.7, 16.0);
    QPainterPath dot;
    dot.moveTo(7.0, 15.0);
    dot.quadTo(7.9, 14.6, 7.6, 15.8);
    QPainterPath six;
    six.moveTo(17.0, 0.6);
    six.cubicTo(13.0, 1.4, 10.0, 7.0, 10.2, 11.8);
    six.cubicTo(10.3, 15.6, 14.6, 16.8, 16.2, 13.6);
    six.cubicTo(17.6, 10.8, 15.0, 8.4, 12.4, 10.0);
    six.cubicTo(11.4, 10.6, 10.8, 11.6, 10.5, 12.6);
    return {one, dot, six};
}

// A signature: a looped capital, joined small letters of uneven height (one of them dipping
// below the line), and an underline that flies back beneath the name.
QList<QPainterPath> signature()
{
    QPainterPath capital;
    capital.moveTo(2.0, 20.0);
    capital.cubicTo(-2.0, 12.0, 6.0, -1.0, 10.0, 0.5);
    capital.cubicTo(13.0, 1.5, 9.0, 12.0, 6.0, 16.0);
    capital.cubicTo(4.0, 19.0, 1.0, 17.0, 4.0, 14.5);
    capital.cubicTo(8.0, 11.5, 12.0, 12.5, 13.0, 16.0);

    struct Letter {
        double width;
        double height; // negative: a loop below the line
        double loop;   // above one the stroke crosses itself
    };
    const Letter letters[] = {{5.0, 6.0, 0.5},  {6.5, 12.0, 1.7}, {5.0, 5.0, 0.9}, {4.5, 4.5, 0.4},
                              {6.0, -9.0, 1.5}, {5.5, 5.5, 1.1},  {7.0, 13.0, 1.8}, {4.5, 4.0, 0.5},
                              {5.0, 4.5, 0.6}};
    const double baseline = 16.0;
    QPainterPath word;
    word.moveTo(13.0, baseline);
    double left = 13.0;
    for (const Letter &letter : letters) {
        const double a = letter.width / (2.0 * std::numbers::pi);
        const double b = a * letter.loop * 1.6;
        for (double theta = -std::numbers::pi + 0.1; theta <= std::numbers::pi + 1e-9; theta += 0.1) {
            const double rise = (1.0 + std::cos(theta)) / 2.0;
            word.lineTo(left + a * (theta + std::numbers::pi) - b * std::sin(theta),
                        baseline - letter.height * rise);
        }
        left += letter.width;
    }

    const QPointF end = word.currentPosition();
    QPainterPath underline;
    underline.moveTo(end);
    underline.cubicTo(end.x() + 9.0, end.y() - 3.0, end.x() + 8.0, 24.0, end.x() - 12.0, 24.0);
    underline.cubicTo(45.0, 24.0, 18.0, 25.0, 4.0, 28.0);
    return {capital, word, underline};
}

// The project's version, drawn large in the corner.
const QString projectVersion = QStringLiteral(VARNEK_VERSION);

void paintLettering(QImage &image, const Fonts &fonts, int scale)
{
    QPainterPath figures = textPath(boldFont(fonts.sansBold, 80), projectVersion);
    figures.translate(349 - figures.boundingRect().right(), 6 - figures.boundingRect().top());

    QFont versionFont = boldFont(fonts.sansBold, 15);
    versionFont.setLetterSpacing(QFont::AbsoluteSpacing, 3.5);
    QPainterPath version = textPath(versionFont, u"VERSION"_s);
    version.translate(figures.boundingRect().center().x() - version.boundingRect().center().x(),
                      figures.boundingRect().bottom() + 7 - version.boundingRect().top());

    QPainterPath name = textPath(boldFont(fonts.serifBold, 54), u"Varnek"_s);
    name = QTransform().shear(-0.18, 0.0).map(name);
    name.translate(16 - name.boundingRect().left(), 248);

    QPainterPath top = figures;
    top.addPath(version);
    paintShadow(image, top, QPointF(2.5, 3.0), 2.2 * scale, 150, scale);
    paintShadow(image, name, QPointF(2.5, 3.0), 2.4 * scale, 140, scale);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    QLinearGradient gold(0, figures.boundingRect().top(), 0, version.boundingRect().bottom());
    gold.setColorAt(0.0, QColor(255, 250, 150));
    gold.setColorAt(0.35, QColor(255, 226, 20));
    gold.setColorAt(0.75, QColor(250, 186, 0));
    gold.setColorAt(1.0, QColor(255, 214, 40));
    p.setPen(roundPen(QColor(70, 40, 0), 2.2));
    p.setBrush(gold);
    p.drawPath(figures);
    p.setPen(roundPen(QColor(70, 40, 0), 1.4));
    p.drawPath(version);

    QLinearGradient redFill(0, name.boundingRect().top(), 0, name.boundingRect().bottom());
    redFill.setColorAt(0.0, QColor(255, 96, 70));
    redFill.setColorAt(0.5, QColor(228, 20, 16));
    redFill.setColorAt(1.0, QColor(168, 0, 0));
    p.setPen(roundPen(QColor(255, 255, 255), 3.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(name);
    p.setPen(roundPen(QColor(96, 0, 0), 1.0));
    p.setBrush(redFill);
    p.drawPath(name);

    const QColor ink(18, 28, 92);
    const QRectF nameBox = name.boundingRect();
    QTransform hand;
    hand.translate(nameBox.right() + 5, nameBox.top() - 2);
    hand.scale(1.15, 1.15);
    hand.shear(-0.12, 0.0);
    for (const QPainterPath &stroke : handwrittenVersion())
        inkStroke(p, hand.map(stroke), ink, 1.0, 2.2);

    QTransform pen;
    pen.translate(nameBox.left() + 118, nameBox.bottom() - 5);
    pen.scale(1.6, 1.0);
    pen.shear(-0.3, 0.0);
    for (const QPainterPath &stroke : signature())
        inkStroke(p, pen.map(stroke), ink, 0.7, 1.8);
}

} // namespace

QImage backdrop(const Fonts &fonts, int scale)
{
    Random random(19760601);
    QImage image(backdropWidth * scale, backdropHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        paintSky(p, random);
        paintSkyline(p, random);
        paintWater(p, random);
    }
    blurImage(image, 3.2 * scale);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        paintBokeh(p, random);
    }
    blurImage(image, 0.8 * scale);
    addGrainAndVignette(image, random);
    paintLettering(image, fonts, scale);
    QImage picture = image.convertToFormat(QImage::Format_RGB888);
    // Kept in the file too, where a test can hold it to the version the program is built as.
    picture.setText(u"Version"_s, projectVersion);
    return picture;
}

} // namespace assetgen
