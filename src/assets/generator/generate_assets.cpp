// Draws every picture of the program into PNG files. It runs only through the
// varnek_generate_assets target; what it writes under images/ is committed, so an ordinary
// build embeds those files and never needs this program.
//
// Re-running it on the same system gives the same files: all randomness comes from one fixed
// seed, and the lettering uses the DejaVu faces that the program already depends on.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

namespace vga {
const QColor black(0, 0, 0);
const QColor maroon(128, 0, 0);
const QColor green(0, 128, 0);
const QColor olive(128, 128, 0);
const QColor navy(0, 0, 128);
const QColor teal(0, 128, 128);
const QColor silver(192, 192, 192);
const QColor gray(128, 128, 128);
const QColor red(255, 0, 0);
const QColor lime(0, 255, 0);
const QColor yellow(255, 255, 0);
const QColor blue(0, 0, 255);
const QColor aqua(0, 255, 255);
const QColor white(255, 255, 255);

// The standard 16-colour palette, in its usual order.
const QList<QRgb> palette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};
} // namespace vga

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

struct Fonts {
    QString sansBold;
    QString serifBold;
};

bool loadFonts(Fonts &fonts)
{
    const QStringList dirs = {u"/usr/share/fonts/truetype/dejavu"_s, u"/usr/share/fonts/dejavu"_s,
                              u"/usr/local/share/fonts/dejavu"_s};
    auto load = [&dirs](const QString &file) -> QString {
        for (const QString &dir : dirs) {
            const int id = QFontDatabase::addApplicationFont(dir + u'/' + file);
            if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty())
                return QFontDatabase::applicationFontFamilies(id).constFirst();
        }
        std::fprintf(stderr, "font %s not found (install fonts-dejavu-core)\n", qPrintable(file));
        return {};
    };
    fonts.sansBold = load(u"DejaVuSans-Bold.ttf"_s);
    fonts.serifBold = load(u"DejaVuSerif-Bold.ttf"_s);
    return !fonts.sansBold.isEmpty() && !fonts.serifBold.isEmpty();
}

QFont boldFont(const QString &family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

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

int toByte(float value)
{
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
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

// Edges repeat outwards, so the frame does not darken.
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
    for (int y = 0; y < planes.height; ++y)
        for (int x = 0; x < planes.width; ++x)
            for (int c = 0; c < planes.channels; ++c) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += kernel[static_cast<std::size_t>(k + radius)]
                           * planes.at(std::clamp(x + k, 0, planes.width - 1), y, c);
                pass.at(x, y, c) = sum;
            }
    for (int y = 0; y < planes.height; ++y)
        for (int x = 0; x < planes.width; ++x)
            for (int c = 0; c < planes.channels; ++c) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k)
                    sum += kernel[static_cast<std::size_t>(k + radius)]
                           * pass.at(x, std::clamp(y + k, 0, planes.height - 1), c);
                planes.at(x, y, c) = sum;
            }
}

void blurImage(QImage &image, double sigma)
{
    Planes planes = toPlanes(image);
    gaussianBlur(planes, sigma);
    image = toImage(planes);
}

// The backdrop: a hazy sunlit harbour city, thrown out of focus, with the lettering in focus.

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
        p.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
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

void paintLettering(QImage &image, const Fonts &fonts, int scale)
{
    QPainterPath figures = textPath(boldFont(fonts.sansBold, 80), u"1.6"_s);
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
    p.setPen(QPen(QColor(70, 40, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPath(figures);
    p.setPen(QPen(QColor(70, 40, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(version);

    QLinearGradient redFill(0, name.boundingRect().top(), 0, name.boundingRect().bottom());
    redFill.setColorAt(0.0, QColor(255, 96, 70));
    redFill.setColorAt(0.5, QColor(228, 20, 16));
    redFill.setColorAt(1.0, QColor(168, 0, 0));
    p.setPen(QPen(QColor(255, 255, 255), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(name);
    p.setPen(QPen(QColor(96, 0, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
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

// The same scene at any whole multiple of its size: the random draws that place things do not
// depend on the scale, and blurs widen with it.
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
    return image.convertToFormat(QImage::Format_RGB888);
}

// Icons: 32-pixel pictures drawn as shapes in palette colours; the 16-pixel versions and the
// gloved hand are pixel maps. The double-size copies for high-density screens are the same
// shapes drawn at twice the scale, with outlines twice as wide.

int outlineWidth = 1;

QPen outline(const QColor &colour)
{
    QPen pen(colour, outlineWidth);
    pen.setCosmetic(true);
    return pen;
}

void coinFace(QPainter &p, const QRectF &rect)
{
    p.setPen(outline(vga::black));
    p.setBrush(vga::olive);
    p.drawEllipse(rect);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::yellow);
    p.drawEllipse(rect.adjusted(1.5, 1.5, -2.5, -2.5));
    p.setBrush(vga::white);
    p.drawEllipse(QRectF(rect.left() + rect.width() * 0.22, rect.top() + rect.height() * 0.18,
                         rect.width() * 0.18, rect.height() * 0.18));
}

// A neat stack seen a little from above: one rim band with a ridge between coins, and the
// top coin's face.
void coinStack(QPainter &p, int left, int top, int width, int coins)
{
    constexpr int face = 7;
    constexpr int rim = 3;
    const int bottom = top + coins * rim;
    p.setPen(outline(vga::black));
    p.setBrush(vga::olive);
    p.drawEllipse(QRect(left, bottom, width, face));
    p.setPen(Qt::NoPen);
    p.drawRect(QRect(left + 1, top + face / 2, width - 1, bottom - top + 1));
    p.setPen(outline(vga::black));
    p.drawLine(left, top + face / 2, left, bottom + face / 2);
    p.drawLine(left + width, top + face / 2, left + width, bottom + face / 2);
    p.setPen(outline(vga::yellow));
    p.setBrush(Qt::NoBrush);
    for (int coin = 1; coin < coins; ++coin)
        p.drawArc(QRect(left + 1, top + coin * rim, width - 2, face - 1), 200 * 16, 140 * 16);
    p.setPen(outline(vga::black));
    p.setBrush(vga::yellow);
    p.drawEllipse(QRect(left, top, width, face));
    p.setPen(Qt::NoPen);
    p.setBrush(vga::white);
    p.drawRect(QRect(left + 4, top + 2, 3, 1));
}

void drawMain(QPainter &p)
{
    // A banknote with a stack of coins in front of it.
    p.setPen(outline(vga::black));
    p.setBrush(vga::green);
    p.drawRect(QRectF(5, 2, 24, 15));
    p.drawRect(QRectF(1, 6, 24, 15));
    p.setPen(outline(vga::lime));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 8, 20, 11));
    p.setBrush(vga::lime);
    p.setPen(outline(vga::black));
    p.drawEllipse(QRectF(9, 10, 8, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(vga::green);
    p.drawRect(QRectF(12, 12, 2, 4));

    coinStack(p, 14, 14, 16, 3);
}

void drawLetter(QPainter &p, const QRectF &box, const QString &letter, const QColor &colour,
                const Fonts &fonts, int pixelSize)
{
    QFont font = boldFont(fonts.sansBold, pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, letter);
}

void drawArrow(QPainter &p, const QPainterPath &shaft, const QColor &colour)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(shaft);
    const QPointF tip = shaft.pointAtPercent(1.0);
    const double angle = shaft.angleAtPercent(1.0) * std::numbers::pi / 180.0;
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF across(-along.y(), along.x());
    const QPointF head[] = {tip + along * 4.0, tip - along * 1.0 + across * 4.5,
                            tip - along * 1.0 - across * 4.5};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head, 3);
}

void drawConversion(QPainter &p, const Fonts &fonts)
{
    // Two coins of different currencies with the exchange arrows between them.
    const QRectF first(1, 1, 18, 18);
    const QRectF second(13, 13, 18, 18);
    QPainterPath over;
    over.moveTo(19, 5);
    over.quadTo(25, 5, 26, 11);
    QPainterPath back;
    back.moveTo(13, 27);
    back.quadTo(7, 27, 6, 21);
    drawArrow(p, over, vga::red);
    drawArrow(p, back, vga::red);
    coinFace(p, first);
    p.setPen(outline(vga::black));
    p.setBrush(vga::silver);
    p.drawEllipse(second);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::white);
    p.drawEllipse(QRectF(second.left() + 2, second.top() + 2, second.width() - 4, second.height() - 4));
    p.setBrush(vga::silver);
    p.drawEllipse(QRectF(second.left() + 3, second.top() + 3, second.width() - 5, second.height() - 5));
    drawLetter(p, first, u"$"_s, vga::maroon, fonts, 13);
    drawLetter(p, second, u"\u20BA"_s, vga::navy, fonts, 13);
}

void drawRun(QPainter &p)
{
    p.setPen(outline(vga::black));
    p.setBrush(vga::green);
    p.drawEllipse(QRectF(1, 1, 29, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(vga::lime);
    p.drawEllipse(QRectF(5, 3, 16, 12));
    p.setBrush(vga::green);
    p.drawEllipse(QRectF(6, 7, 22, 20));
    const QPointF shadow[] = {{13, 9}, {25, 17}, {13, 25}};
    const QPointF play[] = {{11, 8}, {23, 16}, {11, 24}};
    p.setBrush(vga::black);
    p.drawPolygon(shadow, 3);
    p.setBrush(vga::white);
    p.drawPolygon(play, 3);
}

void drawRateEntry(QPainter &p)
{
    const QPointF sheet[] = {{4, 3}, {27, 3}, {27, 23}, {20, 30}, {4, 30}};
    p.setPen(outline(vga::black));
    p.setBrush(vga::yellow);
    p.drawPolygon(sheet, 5);
    const QPointF fold[] = {{20, 30}, {20, 23}, {27, 23}};
    p.setBrush(vga::olive);
    p.drawPolygon(fold, 3);

    // Dotted paper: a loose grid of dots that the ruled lines run across.
    p.setPen(Qt::NoPen);
    p.setBrush(vga::olive);
    for (int y = 6; y < 29; y += 3)
        for (int x = 6; x < 26; x += 3)
            if (x < 19 || y < 22)
                p.drawRect(QRect(x, y, 1, 1));

    p.setBrush(vga::navy);
    p.drawRect(QRectF(6, 9, 18, 2));
    p.drawRect(QRectF(6, 15, 18, 2));
    p.drawRect(QRectF(6, 21, 12, 2));
    p.setBrush(vga::red);
    p.drawRect(QRectF(4, 3, 24, 2));
}

void drawBulb(QPainter &p, bool lit)
{
    if (lit) {
        p.setPen(QPen(vga::olive, 2, Qt::SolidLine, Qt::FlatCap));
        const QPointF centre(16, 12);
        for (int i = 0; i < 7; ++i) {
            const double angle = std::numbers::pi * (1.0 + i / 6.0);
            const QPointF direction(std::cos(angle), std::sin(angle));
            p.drawLine(centre + direction * 11.5, centre + direction * 15.0);
        }
    }
    QPainterPath glass;
    glass.addEllipse(QRectF(8, 4, 16, 16));
    QPainterPath neck;
    neck.moveTo(11, 16);
    neck.lineTo(21, 16);
    neck.lineTo(20, 22);
    neck.lineTo(12, 22);
    neck.closeSubpath();
    glass = glass.united(neck);
    p.setPen(outline(vga::black));
    p.setBrush(lit ? vga::yellow : vga::silver);
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::white);
    p.drawEllipse(QRectF(11, 7, 4, 5));
    if (!lit) {
        p.setBrush(vga::gray);
        p.drawRect(QRectF(20, 12, 2, 4));
    }

    QPen wire(lit ? vga::red : vga::gray, outlineWidth);
    wire.setCosmetic(true);
    p.setPen(wire);
    p.setBrush(Qt::NoBrush);
    const QPointF filament[] = {{14, 21}, {14, 14}, {15, 12}, {16, 14}, {17, 12}, {18, 14}, {18, 21}};
    p.drawPolyline(filament, 7);

    p.setPen(outline(vga::black));
    p.setBrush(vga::silver);
    p.drawRect(QRectF(12, 22, 8, 6));
    p.setPen(outline(vga::gray));
    p.drawLine(QPointF(13, 24), QPointF(19, 24));
    p.drawLine(QPointF(13, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(vga::black);
    p.drawRect(QRectF(14, 28, 4, 2));
}

void buttonFace(QPainter &p, int width, int height)
{
    // Bands rather than lines, so that a double-size copy doubles each of them exactly.
    p.fillRect(QRect(0, 0, width, height), vga::silver);
    p.fillRect(QRect(0, 0, width - 1, 1), vga::white);
    p.fillRect(QRect(0, 0, 1, height - 1), vga::white);
    p.fillRect(QRect(0, height - 1, width, 1), vga::black);
    p.fillRect(QRect(width - 1, 0, 1, height), vga::black);
    p.fillRect(QRect(1, height - 2, width - 2, 1), vga::gray);
    p.fillRect(QRect(width - 2, 1, 1, height - 2), vga::gray);
}

void drawSpeechBubble(QPainter &p)
{
    buttonFace(p, 24, 22);
    QPainterPath bubble;
    bubble.addEllipse(QRectF(3, 3, 17, 11));
    QPainterPath tail;
    tail.moveTo(6, 11);
    tail.lineTo(11, 12);
    tail.lineTo(4, 18);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(outline(vga::black));
    p.setBrush(vga::white);
    p.drawPath(bubble);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::navy);
    p.drawRect(QRect(7, 8, 2, 2));
    p.drawRect(QRect(11, 8, 2, 2));
    p.drawRect(QRect(15, 8, 2, 2));
}

void drawEnvelope(QPainter &p)
{
    buttonFace(p, 24, 22);
    const QPointF flap[] = {{3, 9}, {11.5, 2}, {20, 9}};
    p.setPen(outline(vga::black));
    p.setBrush(vga::silver);
    p.drawPolygon(flap, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::white);
    const QPointF inside[] = {{6, 9}, {11.5, 4.5}, {17, 9}};
    p.drawPolygon(inside, 3);
    p.setPen(outline(vga::black));
    p.setBrush(vga::white);
    p.drawRect(QRect(3, 9, 17, 10));
    p.setPen(outline(vga::gray));
    p.drawLine(QPointF(4, 18), QPointF(9, 14));
    p.drawLine(QPointF(19, 18), QPointF(14, 14));
    p.drawLine(QPointF(4, 10), QPointF(11.5, 15));
    p.drawLine(QPointF(19, 10), QPointF(11.5, 15));
    p.setPen(QPen(vga::red, 2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(15, 12), QPointF(20, 17));
    p.drawLine(QPointF(20, 12), QPointF(15, 17));
}

void drawCloseDisc(QPainter &p, int size)
{
    p.setPen(outline(vga::black));
    p.setBrush(vga::white);
    p.drawEllipse(QRect(1, 1, size - 3, size - 3));
}

void drawAbout(QPainter &p)
{
    p.setPen(outline(vga::black));
    p.setBrush(vga::navy);
    p.drawEllipse(QRectF(1, 1, 29, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(vga::blue);
    p.drawEllipse(QRectF(5, 3, 14, 9));
    p.setBrush(vga::navy);
    p.drawEllipse(QRectF(5, 6, 22, 22));
    p.setBrush(vga::white);
    p.drawEllipse(QRectF(14, 5, 5, 5));
    const QPointF stem[] = {{12, 12}, {18, 12}, {18, 23}, {20, 23}, {20, 26},
                            {12, 26}, {12, 23}, {14, 23}, {14, 15}, {12, 15}};
    p.drawPolygon(stem, 10);
}

void drawWarning(QPainter &p)
{
    const QPointF shadow[] = {{17, 3}, {31, 30}, {3, 30}};
    const QPointF triangle[] = {{15, 1}, {29, 28}, {1, 28}};
    p.setPen(Qt::NoPen);
    p.setBrush(vga::gray);
    p.drawPolygon(shadow, 3);
    p.setPen(outline(vga::black));
    p.setBrush(vga::yellow);
    p.drawPolygon(triangle, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::black);
    const QPointF mark[] = {{13, 9}, {18, 9}, {17, 20}, {14, 20}};
    p.drawPolygon(mark, 4);
    p.drawRect(QRectF(14, 22, 3, 3));
}

// Pictures drawn pixel by pixel, one letter a pixel, where shapes scaled to 16 pixels (or the
// hand's fine detail at 32) would fall between pixels: . transparent, k black, m maroon,
// g green, o olive, n navy, t teal, s silver, a gray, r red, l lime, y yellow, b blue,
// c aqua, w white.
using PixelMap = std::initializer_list<const char *>;

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

// Every opaque pixel to its nearest palette colour; half-covered pixels to the ground.
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

// Without antialiasing every pixel keeps the one palette colour it was drawn in.
QImage drawn(int width, int height, bool transparentGround, const std::function<void(QPainter &)> &draw,
             int scale = 1)
{
    QImage canvas(width * scale, height * scale, QImage::Format_ARGB32);
    canvas.fill(transparentGround ? QColor(Qt::transparent) : vga::silver);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.scale(scale, scale);
    outlineWidth = scale;
    draw(p);
    outlineWidth = 1;
    return canvas;
}

QImage drawnIcon(const std::function<void(QPainter &)> &draw, int scale = 1)
{
    return drawn(32, 32, true, draw, scale);
}

// Pixel art stays pixel art: each pixel becomes a square of four.
QImage doubled(const QImage &image)
{
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool save(const QImage &image, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(name), image.width(), image.height());
    return true;
}

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

// The sizes desktops look for in the hicolor theme, and the scalable one.
bool saveApplicationIcons(const QDir &themes)
{
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = u"hicolor/%1x%1/apps"_s.arg(size);
        ok = themes.mkpath(folder) && save(paintApplicationIcon(size), QDir(themes.filePath(folder)), u"varnek.png"_s) && ok;
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
    QDir dir(QString::fromLocal8Bit(argv[1]));
    const QDir themes(QString::fromLocal8Bit(argv[2]));
    if (!dir.mkpath(u"."_s) || !themes.mkpath(u"."_s)) {
        std::fprintf(stderr, "cannot create %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    Fonts fonts;
    if (!loadFonts(fonts))
        return 1;

    bool ok = save(backdrop(fonts, 1), dir, u"backdrop.png"_s);
    ok = save(backdrop(fonts, 2), dir, u"backdrop@2x.png"_s) && ok;

    struct Icon {
        QString file;
        QImage image;
        bool transparentGround = true;
    };
    const QList<Icon> icons = {
        {u"main-32.png"_s, drawnIcon(drawMain)},
        {u"main-16.png"_s, fromPixelMap(main16)},
        {u"conversion-32.png"_s, drawnIcon([&fonts](QPainter &p) { drawConversion(p, fonts); })},
        {u"conversion-16.png"_s, fromPixelMap(conversion16)},
        {u"run-32.png"_s, drawnIcon(drawRun)},
        {u"run-16.png"_s, fromPixelMap(run16)},
        {u"rate-entry-32.png"_s, drawnIcon(drawRateEntry)},
        {u"rate-entry-16.png"_s, fromPixelMap(rateEntry16)},
        {u"bulb-off-32.png"_s, drawnIcon([](QPainter &p) { drawBulb(p, false); })},
        {u"bulb-on-32.png"_s, drawnIcon([](QPainter &p) { drawBulb(p, true); })},
        {u"calculator-32.png"_s, fromPixelMap(calculator32)},
        {u"calculator-16.png"_s, fromPixelMap(calculator16)},
        {u"close-disc-32.png"_s, drawn(32, 32, true, [](QPainter &p) { drawCloseDisc(p, 32); })},
        {u"close-disc-16.png"_s, drawn(16, 16, true, [](QPainter &p) { drawCloseDisc(p, 16); })},
        {u"about-32.png"_s, drawnIcon(drawAbout)},
        {u"warning-32.png"_s, drawnIcon(drawWarning)},
        // These two sit on a button face of their own, so they have no transparent ground.
        {u"speech-bubble.png"_s, drawn(24, 22, false, drawSpeechBubble), false},
        {u"envelope.png"_s, drawn(24, 22, false, drawEnvelope), false},

        // Qt picks these by name on screens of twice the density.
        {u"main-32@2x.png"_s, drawnIcon(drawMain, 2)},
        {u"conversion-32@2x.png"_s, drawnIcon([&fonts](QPainter &p) { drawConversion(p, fonts); }, 2)},
        {u"run-32@2x.png"_s, drawnIcon(drawRun, 2)},
        {u"rate-entry-32@2x.png"_s, drawnIcon(drawRateEntry, 2)},
        {u"bulb-off-32@2x.png"_s, drawnIcon([](QPainter &p) { drawBulb(p, false); }, 2)},
        {u"bulb-on-32@2x.png"_s, drawnIcon([](QPainter &p) { drawBulb(p, true); }, 2)},
        {u"calculator-32@2x.png"_s, doubled(fromPixelMap(calculator32))},
        {u"close-disc-32@2x.png"_s, drawn(32, 32, true, [](QPainter &p) { drawCloseDisc(p, 32); }, 2)},
        {u"about-32@2x.png"_s, drawnIcon(drawAbout, 2)},
        {u"warning-32@2x.png"_s, drawnIcon(drawWarning, 2)},
        {u"speech-bubble@2x.png"_s, drawn(24, 22, false, drawSpeechBubble, 2), false},
        {u"envelope@2x.png"_s, drawn(24, 22, false, drawEnvelope, 2), false},
    };
    for (const Icon &icon : icons)
        ok = save(quantise(icon.image, icon.transparentGround), dir, icon.file) && ok;
    ok = saveApplicationIcons(themes) && ok;
    return ok ? 0 : 1;
}
