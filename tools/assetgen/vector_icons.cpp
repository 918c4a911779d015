#include "vector_icons.h"

#include "palette.h"

#include <QPainterPath>

#include <cmath>
#include <initializer_list>
#include <numbers>

using namespace Qt::StringLiterals;

namespace assetgen {

namespace {

// Set by drawn(): a double-size copy has outlines twice as wide.
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


// An ellipse and a polygon as one shape, so the outline runs round both: a bulb's glass and
// neck, a speech bubble and its tail.
QPainterPath ellipseWith(const QRectF &ellipse, std::initializer_list<QPointF> corners)
{
    QPainterPath polygon;
    polygon.moveTo(*corners.begin());
    for (auto corner = corners.begin() + 1; corner != corners.end(); ++corner)
        polygon.lineTo(*corner);
    polygon.closeSubpath();
    QPainterPath shape;
    shape.addEllipse(ellipse);
    return shape.united(polygon);
}

// An outlined disc filling the icon, lit near its top: the shine, then the body's colour again
// over all of it but a crescent. Leaves the pen off.
void glossyDisc(QPainter &p, const QColor &body, const QColor &shine, const QRectF &shineBox, const QRectF &bodyBox)
{
    p.setPen(outline(vga::black));
    p.setBrush(body);
    p.drawEllipse(QRectF(1, 1, 29, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(shineBox);
    p.setBrush(body);
    p.drawEllipse(bodyBox);
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


} // namespace

// Without antialiasing every pixel keeps the one palette colour it was drawn in.
QImage drawn(int width, int height, bool transparentGround, const std::function<void(QPainter &)> &draw,
             int scale)
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
    glossyDisc(p, vga::green, vga::lime, QRectF(5, 3, 16, 12), QRectF(6, 7, 22, 20));
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
    const QPainterPath glass = ellipseWith(QRectF(8, 4, 16, 16), {{11, 16}, {21, 16}, {20, 22}, {12, 22}});
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

void drawSpeechBubble(QPainter &p)
{
    buttonFace(p, 24, 22);
    const QPainterPath bubble = ellipseWith(QRectF(3, 3, 17, 11), {{6, 11}, {11, 12}, {4, 18}});
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
    glossyDisc(p, vga::navy, vga::blue, QRectF(5, 3, 14, 9), QRectF(5, 6, 22, 22));
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

} // namespace assetgen
