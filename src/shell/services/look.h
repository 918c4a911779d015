#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace varnek {

// The program's green, for texts on black and for boxes, and the darker one its lines are drawn in.
inline constexpr QColor green(0, 255, 0);
inline constexpr QColor lineGreen(0, 192, 0);

// "Fixedsys" is a Windows bitmap font; elsewhere the nearest monospace face stands in.
QFont fixedsysFont();

// Text colour on background colour, for labels and boxes.
void setColours(QWidget *widget, const QColor &text, const QColor &background);

// Where a caption has to fit: the box its control lays the text out in, and how it draws the text
// there (alignment, wrapping).
struct TextRoom {
    QRect box;
    int flags;

    // As the label lays out its text: inside its frame, margin and indent.
    static TextRoom of(const QLabel *label);
    // As the style lays out a plain push button's caption: centred in the button's contents.
    static TextRoom of(const QPushButton *button);
};

bool textFits(const QFont &font, const QString &text, const TextRoom &room);

// The layout tables were drawn for a smaller dialog font than desktops tend to have: rather than cut
// a caption off, its font gives way until the caption fits, first narrower (the letters keep their
// height, by which they are read), then smaller, at each size as wide as still fits, down to floors
// that stay legible. Never larger than the font it starts from, which comes back unchanged when the
// caption fits already.
QFont fittedFont(QFont font, const QString &text, const TextRoom &room);

// Fits the caption of every label and push button in the window, starting from the font each has
// now. A caption that does not fit even at the floors carries its whole text as tooltip and accessible
// description, where the control has none of its own.
void fitCaptions(QWidget *window);

} // namespace varnek
